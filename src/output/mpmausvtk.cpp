// ParaView output of a run. Each file is built in memory as ASCII VTK XML
// with every number in its shortest exactly-round-tripping form, then written
// in one go; the collection is replaced only after both files of an output
// are complete, so it never names a file that was not written.

#include "output/mpmausvtk.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unordered_map>

#include "element/eleans.h"
#include "frame/dateinamen.h"
#include "frame/mpmextern.h"
#include "model/mpmobjele.h"
#include "model/mpmobjeletyp.h"
#include "model/mpmobjkno.h"
#include "model/mpmobjmat.h"
#include "model/mpmobjmpu.h"
#include "solver/mpm.h"
#include "solver/mpmobjsys.h"

namespace MPM {

namespace {

// One data array: Nkomp values per point or cell; `typ` is the VTK type,
// "Float64" or an integer type.
struct Tfeld {
  std::string name;
  int Nkomp;
  const char* typ;
  std::vector<double> werte;
};

// An unstructured grid as it goes into one file.
struct Tgitter {
  Tfeld x{"x", 3, "Float64", {}};
  Tfeld verbindung{"connectivity", 1, "Int64", {}}, ende{"offsets", 1, "Int64", {}},
      typ{"types", 1, "UInt8", {}};
  std::vector<Tfeld> punktfelder, zellfelder;

  std::size_t Npunkte() const { return x.werte.size() / 3; }
  Tfeld& feld(std::vector<Tfeld>& felder, const char* name, int Nkomp, const char* zahltyp = "Float64") {
    felder.push_back({name, Nkomp, zahltyp, {}});
    return felder.back();
  }
};

void anhaengen(std::string& s, double x) {
  char puffer[32];
  s.append(puffer, std::to_chars(puffer, puffer + sizeof puffer, x).ptr);
}
void anhaengen(std::string& s, long long x) {
  char puffer[24];
  s.append(puffer, std::to_chars(puffer, puffer + sizeof puffer, x).ptr);
}

// The first three components of v, padded with zeros.
void vektor3(std::vector<double>& w, const TVM::VekR& v) {
  for (int i = 0; i < 3; ++i)
    w.push_back(i < v.n ? v[i] : 0.0);
}

// A strain or stress in scaled Voigt form as a symmetric tensor in VTK's
// component order XX, YY, ZZ, XY, YZ, XZ.
void tensor6(std::vector<double>& w, const TVM::VekR& voigt) {
  TVM::VekR t;
  TVM::vektorV_ruecktransform(voigt, t);
  const double xx = t.n > 0 ? t[0] : 0.0, yy = t.n > 1 ? t[1] : 0.0, xy = t.n > 2 ? t[2] : 0.0;
  w.insert(w.end(), {xx, yy, 0.0, xy, 0.0, 0.0});
}

void feld_text(std::string& s, const Tfeld& f) {
  const bool bganz = std::string(f.typ) != "Float64";
  s += std::string("<DataArray type=\"") + f.typ + "\" Name=\"" + f.name + "\" NumberOfComponents=\"" +
       std::to_string(f.Nkomp) + "\" format=\"ascii\">\n";
  for (std::size_t i = 0; i < f.werte.size(); ++i) {
    if (bganz)
      anhaengen(s, static_cast<long long>(f.werte[i]));
    else
      anhaengen(s, f.werte[i]);
    s += (i + 1) % static_cast<std::size_t>(f.Nkomp) == 0 ? '\n' : ' ';
  }
  s += "</DataArray>\n";
}

std::string vtu_text(const Tgitter& g, double zeit) {
  std::string s = "<?xml version=\"1.0\"?>\n"
                  "<VTKFile type=\"UnstructuredGrid\" version=\"1.0\" byte_order=\"LittleEndian\" "
                  "header_type=\"UInt64\">\n<UnstructuredGrid>\n<FieldData>\n"
                  "<DataArray type=\"Float64\" Name=\"TimeValue\" NumberOfTuples=\"1\" format=\"ascii\">";
  anhaengen(s, zeit);
  s += "</DataArray>\n</FieldData>\n<Piece NumberOfPoints=\"" + std::to_string(g.Npunkte()) +
       "\" NumberOfCells=\"" + std::to_string(g.typ.werte.size()) + "\">\n<PointData>\n";
  for (const Tfeld& f : g.punktfelder)
    feld_text(s, f);
  s += "</PointData>\n<CellData>\n";
  for (const Tfeld& f : g.zellfelder)
    feld_text(s, f);
  s += "</CellData>\n<Points>\n";
  feld_text(s, g.x);
  s += "</Points>\n<Cells>\n";
  for (const Tfeld* f : {&g.verbindung, &g.ende, &g.typ})
    feld_text(s, *f);
  s += "</Cells>\n</Piece>\n</UnstructuredGrid>\n</VTKFile>\n";
  return s;
}

// Material points, active and inactive, each a vertex cell. Point data in
// this order: u, ut, utt, epsilon, sigma, z, vol, rho, mat, status, num and,
// with contact, kontaktabstand.
Tgitter mpu_gitter(Tmpm& mpm) {
  Tgitter g;
  std::vector<Tfeld>& p = g.punktfelder;
  for (const char* name : {"u", "ut", "utt"})
    g.feld(p, name, 3);
  g.feld(p, "epsilon", 6);
  g.feld(p, "sigma", 6);
  g.feld(p, "z", TDimensionen::maxNz);
  g.feld(p, "vol", 1);
  g.feld(p, "rho", 1);
  for (const char* name : {"mat", "status", "num"})
    g.feld(p, name, 1, "Int64");
  if (mpm.stw.bkontakt) g.feld(p, "kontaktabstand", 1);
  for (const auto& eintrag : mpm.mpu) {
    TObjbasis* obj = eintrag.second;
    if (!obj || obj->objtyp != OBJTYP_MPU) continue;
    TMaterialpunkt* mp = MPU_Z(obj);
    const TZustgroe& zg = mp->_zg();
    vektor3(g.x.werte, mp->_x(KONFIGUR_MOMKONF));
    vektor3(p[0].werte, zg.u);
    vektor3(p[1].werte, zg.ut);
    vektor3(p[2].werte, zg.utt);
    tensor6(p[3].werte, zg.eps);
    tensor6(p[4].werte, zg.sig);
    for (int i = 0; i < p[5].Nkomp; ++i)
      p[5].werte.push_back(i < zg.z.n ? zg.z[i] : 0.0);
    p[6].werte.push_back(mp->_vol(KONFIGUR_MOMKONF));
    p[7].werte.push_back(mp->_rho(KONFIGUR_MOMKONF));
    p[8].werte.push_back(mp->material ? mp->material->num : 0.0);
    p[9].werte.push_back(mp->status);
    p[10].werte.push_back(mp->num);
    if (p.size() > 11) p[11].werte.push_back(mp->kontaktabstand);
    g.verbindung.werte.push_back(static_cast<double>(g.typ.werte.size()));
    g.ende.werte.push_back(static_cast<double>(g.verbindung.werte.size()));
    g.typ.werte.push_back(VTKZELLE_VERTEX);
  }
  return g;
}

// The node's lumped mass: row sum of the mass matrix at its first unknown.
double knotenmasse(const TKnoten& kn, const TSystem* sys) {
  if (!sys) return 0.0;
  for (int c = 0; c < kn.sysposfhg.n; ++c)
    if (kn.sysposfhg[c] >= 0) return sys->M_zeilensumme(kn.sysposfhg[c]);
  return 0.0;
}

// The nodes with their elements as cells. Point data in this order:
// u, ut, utt, fint, fext, f, M, num.
Tgitter kno_gitter(Tmpm& mpm) {
  Tgitter g;
  for (const char* name : {"u", "ut", "utt", "fint", "fext", "f"})
    g.feld(g.punktfelder, name, 3);
  g.feld(g.punktfelder, "M", 1);
  g.feld(g.punktfelder, "num", 1, "Int64");
  std::vector<Tfeld>& p = g.punktfelder;
  Tfeld& enr = g.feld(g.zellfelder, "num", 1, "Int64");

  std::unordered_map<const TPunkt*, double> index;
  TVM::VekR f;
  for (const auto& eintrag : mpm.kno) {
    if (!eintrag.second) continue;
    TKnoten* kn = KNO_Z(eintrag.second);
    const TZustgroe& zg = kn->_zg();
    index[kn] = static_cast<double>(g.Npunkte());
    vektor3(g.x.werte, kn->_x(KONFIGUR_MOMKONF));
    vektor3(p[0].werte, zg.u);
    vektor3(p[1].werte, zg.ut);
    vektor3(p[2].werte, zg.utt);
    const bool bsys = mpm.sys != nullptr;
    vektor3(p[3].werte, bsys ? kn->_fint(f) : TDimensionen::vek_dim1);
    vektor3(p[4].werte, bsys ? kn->_fext(f) : TDimensionen::vek_dim1);
    vektor3(p[5].werte, bsys ? kn->_f(f) : TDimensionen::vek_dim1);
    p[6].werte.push_back(knotenmasse(*kn, mpm.sys.get()));
    p[7].werte.push_back(kn->num);
  }

  for (const auto& eintrag : mpm.ele) {
    if (!eintrag.second) continue;
    TElement* e = ELE_Z(eintrag.second);
    const ELE::FORM form = e->typ && e->typ->eletyp ? e->typ->eletyp->key.form : ELE::FORM_UNBEKANNT;
    const TVtkzelle zelle = vtk_zelle(form, static_cast<int>(e->kno.size()));
    if (zelle.typ == VTKZELLE_KEINE) {
      *pcf << "VTK: Element " << e->num << " ohne passende Zelle, nicht ausgegeben\n";
      continue;
    }
    bool bknoten = true;
    for (int k : zelle.knoten)
      bknoten = bknoten && index.count(e->kno[k]) > 0;
    if (!bknoten) continue; // cannot happen: elements are built from registered nodes
    for (int k : zelle.knoten)
      g.verbindung.werte.push_back(index[e->kno[k]]);
    if (!zelle.zusatz.empty()) {
      // Auxiliary points: position and fields by the functions of the family
      // the node list follows, no nodal forces, mass or number.
      const ELETYP::Tdataset& ds = *e->typ->eletyp;
      const ELEANS::Tkey key(ds.key.dim, form, ds.Nx() >= ds.Nu() ? ds.key.ansfunkx : ds.key.ansfunku);
      TVM::VekR L;
      for (const auto& xi : zelle.zusatz) {
        ELE::_L(TVM::MatR(), TVM::VekR{xi[0], xi[1]}, L, key);
        std::array<double, 12> w{}; // position, u, ut, utt, three components each
        for (int k = 0; k < L.n && k < static_cast<int>(e->kno.size()); ++k) {
          TPunkt* kn = e->kno[k];
          const TZustgroe& zg = kn->_zg();
          const TVM::VekR* q[4] = {&kn->_x(KONFIGUR_MOMKONF), &zg.u, &zg.ut, &zg.utt};
          for (int a = 0; a < 4; ++a)
            for (int c = 0; c < 3 && c < q[a]->n; ++c)
              w[3 * a + c] += L[k] * (*q[a])[c];
        }
        g.verbindung.werte.push_back(static_cast<double>(g.Npunkte()));
        g.x.werte.insert(g.x.werte.end(), w.begin(), w.begin() + 3);
        for (int a = 0; a < 3; ++a)
          p[a].werte.insert(p[a].werte.end(), w.begin() + 3 * (a + 1), w.begin() + 3 * (a + 2));
        for (int a = 3; a < 6; ++a)
          p[a].werte.insert(p[a].werte.end(), 3, 0.0);
        p[6].werte.push_back(0.0);
        p[7].werte.push_back(-1.0);
      }
    }
    g.ende.werte.push_back(static_cast<double>(g.verbindung.werte.size()));
    g.typ.werte.push_back(zelle.typ);
    enr.werte.push_back(e->num);
  }
  return g;
}

// Writes the whole text; false when the file could not be written completely.
bool schreiben(const std::string& datei, const std::string& text) {
  std::ofstream f(datei, std::ios::binary | std::ios::trunc);
  f << text;
  f.close();
  return !f.fail();
}

// Removes the collection and the series files of an earlier run of this name.
void alte_reihe_loeschen(const std::string& basis) {
  namespace fs = std::filesystem;
  const fs::path pfad(basis);
  const fs::path ordner = pfad.has_parent_path() ? pfad.parent_path() : fs::path(".");
  const std::string name = pfad.filename().string();
  std::error_code fehler;
  fs::remove(basis + ".pvd", fehler);
  std::vector<fs::path> alt;
  for (fs::directory_iterator it(ordner, fehler), ende; !fehler && it != ende; it.increment(fehler))
    if (vtk_reihendatei(it->path().filename().string(), name)) alt.push_back(it->path());
  for (const fs::path& p : alt)
    fs::remove(p, fehler);
}

// Number-format switch of the vector printer at 0 while the writer runs.
class Tformat0 {
public:
  Tformat0() : alt_(TVM::TVekMat::format()) { TVM::TVekMat::format() = 0; }
  ~Tformat0() { TVM::TVekMat::format() = alt_; }
  Tformat0(const Tformat0&) = delete;
  Tformat0& operator=(const Tformat0&) = delete;

private:
  int alt_;
};

std::string xml_text(const std::string& s) {
  std::string r;
  for (char c : s) {
    switch (c) {
    case '&':
      r += "&amp;";
      break;
    case '<':
      r += "&lt;";
      break;
    case '>':
      r += "&gt;";
      break;
    case '"':
      r += "&quot;";
      break;
    default:
      r += c;
    }
  }
  return r;
}

} // namespace

TVtkzelle vtk_zelle(ELE::FORM form, int Nk) {
  TVtkzelle z;
  auto folge = [&](VTKZELLE typ, int n) {
    z.typ = typ;
    for (int k = 0; k < n; ++k)
      z.knoten.push_back(k);
  };
  if (form == ELE::FORM_DREIECK && Nk == 3) folge(VTKZELLE_DREIECK, 3);
  if (form != ELE::FORM_VIERECK) return z;
  switch (Nk) {
  case 4:
    folge(VTKZELLE_VIERECK, 4);
    break;
  case 8:
    folge(VTKZELLE_VIERECK8, 8);
    break;
  case 9:
    folge(VTKZELLE_VIERECK9, 9);
    break;
  case 12:
  case 16: {
    // VTK runs the upper and the left edge, like all rows, in the direction
    // of increasing reference coordinates, and numbers the interior row by row.
    z.typ = VTKZELLE_LAGRANGE4;
    z.knoten = {0, 1, 2, 3, 4, 5, 6, 7, 9, 8, 11, 10};
    const double d = 1.0 / 3.0;
    if (Nk == 16)
      z.knoten.insert(z.knoten.end(), {12, 13, 15, 14});
    else
      z.zusatz = {{-d, -d}, {d, -d}, {-d, d}, {d, d}};
    break;
  }
  default:
    break;
  }
  return z;
}

std::string vtk_zahl(double x) {
  std::string s;
  anhaengen(s, x);
  return s;
}

std::string vtk_dateiname(const std::string& basis, const std::string& teil, int nummer) {
  char ziffern[16];
  std::snprintf(ziffern, sizeof ziffern, "%05d", nummer);
  return basis + "." + teil + "." + ziffern + ".vtu";
}

bool vtk_reihendatei(const std::string& datei, const std::string& name) {
  const std::size_t n = name.size() + 5;
  if (datei.size() < n + 5 || datei.compare(0, name.size(), name) != 0) return false;
  const std::string teil = datei.substr(name.size(), 5);
  if (teil != ".mpu." && teil != ".kno.") return false;
  if (datei.compare(datei.size() - 4, 4, ".vtu") != 0) return false;
  for (std::size_t i = n; i < datei.size() - 4; ++i)
    if (datei[i] < '0' || datei[i] > '9') return false;
  return true;
}

std::string vtk_sammlung(const std::string& name, const std::vector<double>& zeiten) {
  std::string s = "<?xml version=\"1.0\"?>\n"
                  "<VTKFile type=\"Collection\" version=\"0.1\" byte_order=\"LittleEndian\">\n<Collection>\n";
  for (std::size_t i = 0; i < zeiten.size(); ++i) {
    const char* teile[2] = {"mpu", "kno"};
    for (int teil = 0; teil < 2; ++teil) {
      s += "<DataSet timestep=\"";
      anhaengen(s, zeiten[i]);
      s += "\" group=\"\" part=\"" + std::to_string(teil) + "\" name=\"" + teile[teil] + "\" file=\"" +
           xml_text(vtk_dateiname(name, teile[teil], static_cast<int>(i))) + "\"/>\n";
    }
  }
  s += "</Collection>\n</VTKFile>\n";
  return s;
}

bool Tmpm::_ausgabe_vtk(ZEITPU z) {
  if (!bausdat_vtk) return true;
  const Tformat0 format;
  if (z == ZEITPU_STARTWERTE) std::ofstream(dateien.name(DATEI_VTK), std::ios::app);
  if (z != ZEITPU_STARTWERTE && z != ZEITPU_ZEITSCHRITTENDE) return true;
  const std::string basis = dateien.basisname();
  if (basis.empty()) return true;
  if (vtk_zeiten.empty()) alte_reihe_loeschen(basis);

  const int nummer = static_cast<int>(vtk_zeiten.size());
  const std::string mpu_datei = vtk_dateiname(basis, "mpu", nummer);
  const std::string kno_datei = vtk_dateiname(basis, "kno", nummer);
  if (!schreiben(mpu_datei, vtu_text(mpu_gitter(*this), t)) ||
      !schreiben(kno_datei, vtu_text(kno_gitter(*this), t))) {
    std::error_code fehler;
    std::filesystem::remove(mpu_datei, fehler);
    std::filesystem::remove(kno_datei, fehler);
    *pcf << "VTK-Ausgabe zur Zeit t=" << vtk_zahl(t) << " nicht geschrieben: " << mpu_datei << ", "
         << kno_datei << "\n";
    return true;
  }
  vtk_zeiten.push_back(t);

  // A new collection replaces the old one only when it is complete.
  const std::string sammlung = basis + ".pvd";
  const std::string neu = sammlung + ".neu";
  const std::string name = std::filesystem::path(basis).filename().string();
  if (!schreiben(neu, vtk_sammlung(name, vtk_zeiten)) || std::rename(neu.c_str(), sammlung.c_str()) != 0)
    *pcf << "VTK-Sammlung nicht geschrieben: " << sammlung << "\n";
  return true;
}

} // namespace MPM
