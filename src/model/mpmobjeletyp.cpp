#include "model/mpmobjeletyp.h"

#include <memory>
#include <ostream>

#include "frame/mpmextern.h"
#include "input/mpmdimensionen.h"

namespace MPM {

TElementtyp::TElementtyp(TModell* m, int n, ELE::FORM form, ELE::ANSFUNK x, ELE::ANSFUNK u, ELE::IPU ipu,
                         int Nipu, int farbnr)
    : TObjbasis(m, OBJTYP_ELETYP, n, farbnr, OBJSTATUS_AKTIV),
      eletyp(ELETYP::get_datasetptr(ELETYP::Tkey(dim, form, x, u))),
      integ(ELEIPU::get_datasetptr(ELEIPU::Tkey(dim, form, ipu, static_cast<unsigned>(Nipu)))) {}

std::ostream& operator<<(std::ostream& os, const TElementtyp& typ) {
  return os << static_cast<const TObjbasis&>(typ) << ", ans=" << (typ.eletyp ? typ.eletyp->name : "?")
            << ", integ=" << (typ.integ ? typ.integ->key.name : "?");
}

TElementtyp* eletyp_erzeugen(TModell* mpm, int num, ELE::FORM form, ELE::ANSFUNK x, ELE::ANSFUNK u,
                             ELE::IPU ipu, int Nipu, int farbe) {
  const ELE::DIM d = TDimensionen::dim;
  auto fehler = [mpm](const std::string& text) {
    *pcf << mpm->_str_eindatpos() << "\n" << text;
    return nullptr;
  };
  if (num >= 0 && mpm->eletyp.suchen(num))
    return fehler("Elementtypnummer bereits vorhanden: " + std::to_string(num) + "\n");
  if (form == ELE::FORM_UNBEKANNT) return fehler("Elementform nicht zulaessig\n");
  if (!ELE::b_ANSFUNK_x(x)) return fehler("Ansatzfunktionen fuer Geometrie unzulaessig\n");
  if (!ELE::b_ANSFUNK_u(u)) return fehler("Ansatzfunktionen fuer Unbekannte unzulaessig\n");
  if (!ELETYP::get_datasetptr(ELETYP::Tkey(d, form, x, u)))
    return fehler("Elementansatz unzulaessig: " + ELETYP::_name(d, form, x, u) + "\n");
  if (ipu == ELE::IPU_UNBEKANNT) return fehler("Elementintegrationspunktset unzulaessig\n");
  if (Nipu < 0 || !ELEIPU::get_datasetptr(ELEIPU::Tkey(d, form, ipu, static_cast<unsigned>(Nipu))))
    return fehler("Elementintegration unzulaessig: " +
                  ELEIPU::_name(d, form, ipu, static_cast<unsigned>(Nipu < 0 ? 0 : Nipu)) + "\n");
  TElementtyp* typ = mpm->_anlegen<TElementtyp>(mpm, num, form, x, u, ipu, Nipu, farbe);
  mpm->eletyp.einfuegen(static_cast<int>(typ->num), typ);
  return typ;
}

} // namespace MPM
