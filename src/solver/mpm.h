#pragma once
// The simulation object of one run. It lives on the entry point's stack for
// the whole run, owns the control parameters, the equation system, every
// model object and every approximation; its registries only link to the
// objects. What the model objects see of it is its base TModell.

#include <array>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "input/mpmdefs.h"
#include "input/mpmobjmix.h"
#include "model/mpmobjbas.h"

class Tdatein;
enum DATEI : int;

namespace MPM {

class TSystem;
class TPunkt;
class TMaterialpunkt;
class TIntegrationspunkt;
class TWolkenquellen;

class Tmpm : public TModell {
public:
  Tmpm();
  ~Tmpm() override;
  Tmpm(const Tmpm&) = delete;
  Tmpm& operator=(const Tmpm&) = delete;

  // Start phase, time loop, end. An integer stop is announced as "Abbruch"
  // and thrown on.
  bool _steuerung();
  // The time loop, with or without step refinement; returns 1.
  int _zeitschrittsteuerung();
  // One step from t_n to t; false when it failed and was rolled back.
  virtual bool _zeitschritt();
  bool _zeitschrittfehler();
  // Stores (vorwaerts) or restores (rueckwaerts) the state of every point and of the system.
  bool _umspeichern(RICHTUNG r);
  // Strains of every active material point; false when one cannot be
  // formed (a singular or inverted deformation): the step then fails.
  bool _verzerrungen_mpu();
  bool _z_CT_DT_sigma_mpu();
  // Both passes; in one walk over the points where the strains cannot fail
  // for numerical reasons (small strains in the reference configuration).
  bool _verzerrungen_und_material_mpu();
  // Those passes, the copies to the integration points and the element
  // contributions (`_M_Fm_KT_Fint`). Where the walk over the material points
  // can do it all - small strains in the reference configuration, every
  // integration point taking its record from the material point at its place
  // in the registries, the copies carrying nothing, the mass matrix not due
  // to be assembled anew - each point's contribution is added right after
  // its material law, in the same order as by the passes; the system's
  // forces then change only when the walk succeeds. False as
  // `_verzerrungen_und_material_mpu`.
  bool _verzerrungen_material_beitraege();
  // Whether it does so in one walk.
  bool _ein_gang();
  bool _verzerrungen_knou();

  // Model input; mesh and point setup; transfers; assembly and solution;
  // loads, conditions and contact; output.
  void _eingabe_start();
  void _netza();
  void _netz_init_mpu();
  void _netz_init_knou_ipu();
  void _L_G();
  // Points are re-located in the elements at every step: elements are used
  // and nodes and material points are not both body-fixed (or both not).
  bool _punkte_umordnen() const;
  // Nodes and material points are not both body-fixed (or both not): the
  // points move against the nodes, and their approximations must follow.
  bool _punkte_wandern() const;
  // For every active target point its approximation from the source type
  // computes the subset g; an unconfigured pair asks whether to stop.
  bool _transfer(OBJTYP von, OBJTYP nach, ZUSTGROE g);
  bool _transfer_knou_zu_sys();
  bool _transfer_sys_zu_knou();
  // Nodes, material points and integration points after a solution; the
  // nodes' secondary quantities only while `bknoten_sekundaer` is set.
  bool _transfer_ergebnisse();
  bool bknoten_sekundaer = true;
  // Mass, tangent, inertia and internal forces from the integration points.
  bool _M_Fm_KT_Fint();
  // Whether the tangent is symmetric: not for small strains on the current
  // geometry, whose forces have no potential.
  bool _tangente_symmetrisch() const;
  // Effective system, classification, solution of the free unknowns and
  // Newmark update; false when the step must fail.
  bool _U_Ut_Utt();
  // External loads of the step into fext.
  bool _kraftrbs();
  // Prescribed displacements: exact elimination or penalty terms.
  bool _verschiebungsrbs();
  // Compares the penalty parameter with the largest diagonal entry of the
  // effective matrix without penalties at the unknowns a penalty spring acts
  // on, and warns when it is below 1e3 or above 1e7 times that entry. Sets
  // `strafverhaeltnis`; false when no spring acts (nothing is checked).
  bool _strafparameter_pruefen();
  // Start accelerations of the free unknowns from M utt = fext - fint +
  // fstraf at the start time, given to every point; false (with a message,
  // the accelerations of the input kept) when that cannot be solved.
  bool _startbeschleunigung();
  // Contact: penalty force F(g) and dF/dg; the closest contact line of every
  // examined point (returns bkont); penalty forces and stiffness of the
  // penetrating points (returns bdurchdr), of one point (whether it
  // contributed); count and rms gap of the penetrating points.
  bool _kontakt_straffunk(double g, double& F, double& F_g);
  bool _kontakt_geometrie();
  bool _kontakt_bedingungen();
  bool _kontakt_bedingungen(TPunkt* pu);
  bool _kontakt_kontrolle(bool iteration);
  // The output dispatcher; tests may watch the state at every time point.
  virtual int _ausgabe(ZEITPU z);

  // Loads and displacement conditions
  // All loads of kind `art` acting on `punkt` at time `zeit`, combined: for
  // forces and accelerations their vector sum, for displacements up to dim1
  // conditions solved for the prescribed vector. `richtungstyp` tells the
  // axis of the result (winkel_richtung); false when none acts.
  bool _last(double zeit, TPunkt* punkt, LASTTYP art, double& wert, TVM::VekR& richtung, TVM::VekR& winkel,
             int& richtungstyp, int& anzahl);
  // The point loads of one time gathered per point: every load is evaluated
  // once and handed to its own targets, in the order of the loads, and each
  // point's loads are combined as `_last` combines them. The points come in
  // the order of the passes: nodes, then material points, each by number.
  struct TPunktlasten {
    TPunkt* punkt = nullptr;
    // Forces (0) and accelerations (1): how many act, value and direction.
    int Nlast[2] = {0, 0};
    double last[2] = {0.0, 0.0};
    double lastrichtung[2][2] = {};
    // Displacement conditions: as `_last` gives them, and the message (1 too
    // many conditions, 2 one for the same direction) due at every use.
    int anzahl = 0;
    double wert = 0.0;
    double richtung[2] = {0.0, 0.0};
    int richtungstyp = 0;
    int meldung = 0;
  };
  // Forces and accelerations (bverschiebung false, targets among the nodes
  // with unknowns) or displacement conditions (targets among all nodes) at
  // time `zeit`.
  void _punktlasten(double zeit, bool bverschiebung, std::vector<TPunktlasten>& liste);
  // The message of a displacement condition that `_last` ignores on `punkt`.
  void _lastmeldung(int meldung, const TPunkt& punkt) const;
  // Distributes point values of a material point to the support nodes of its
  // approximation from the nodes: N^T f into fziel, N^T k N into the
  // penalty matrix, N^T w into wziel (each only when given).
  void _auf_knoten_verteilen(TPunkt* mp, const TVM::VekR* f, TVM::VekR* fziel, const TVM::MatR* k,
                             const TVM::VekR* w, TVM::VekR* wziel);
  // Decides whether control and data output are due in this step; returns 1.
  int _bausgabe();
  bool _bausgabe(double dtaus, const std::set<double>& taus) const;
  bool _bausgabe(unsigned int dNtaus, const std::set<unsigned int>& Ntaus) const;

  TSystembasis* _system() override;
  TAnsatz* _ansatz_anlegen(TPunkt* heimatpu, OBJTYP heimatOT, OBJTYP stuetzOT, ANSATZ art) override;
  bool _xi_setzen(TAnsatz* a, const TVM::VekR& xi) override;

  std::unique_ptr<TSystem> sys;

  std::string titel = "unbekannt";

  bool bausdat = true; // data output due in this step

  bool bfertig = false;
  bool bkonv = false;
  bool bmatkonv = false;
  bool binel = false;
  bool bkont = false;
  bool bdurchdr = false;
  bool bkonkontr = false;

  int tt = 0;    // current base step, counted from tta
  int zsges = 0; // completed steps and sub-steps
  double t_n = 0.0;
  double t = 0.0;
  double dt = 0.0; // length of the current step or sub-step
  bool bgrundschritt = false;
  int Stufe = 0; // refinement level, 0 = base step
  bool bwiederholung = false;
  int jj = 0;
  int jjges = 0;
  int iiges = 0;

  bool bstrafgeprueft = false;   // the penalty parameter has been checked (once per run)
  double strafverhaeltnis = 0.0; // kappa over the stiffness it acts against, 0 before the check

  // Output: progress display, data tables and the writers of the other output files
  bool _berechnungsanzeige(ZEITPU z);
  bool _ausgabe_dat_mpu(ZEITPU z);
  bool _ausgabe_dat_kno(ZEITPU z);
  bool _ausgabe_dat_ele(ZEITPU z);
  bool _ausgabe_dat_konvaglo(ZEITPU z);
  bool _ausgabe_dat_konvalok(ZEITPU z);
  // One row per inner iteration of a selected material point `mp`; without a
  // point only the header ("Anfang") and closing line ("Ende", "Abbruch").
  bool _ausgabe_dat_konvilok(ZEITPU z, TMaterialpunkt* mp);
  bool _ausgabe_gnuplot(ZEITPU z);
  bool _ausgabe_gid(ZEITPU z);
  bool _ausgabe_vtk(ZEITPU z);
  bool _ausgabe_tecplot(ZEITPU z);
  bool _ausgabe_maple(ZEITPU z);
  // GiD: point mesh of a point type (false for another type), element mesh
  // with the contact lines, result-file header, point results of the chosen
  // point types, node forces. Each appends to the run file `datei`.
  bool _ausgabe_gid_pu_msh(DATEI datei, OBJTYP ot);
  bool _ausgabe_gid_ele_msh(DATEI datei);
  bool _ausgabe_gid_start_res(DATEI datei);
  bool _ausgabe_gid_pu_res(DATEI datei, bool bmpu, bool bipu, bool bkno);
  bool _ausgabe_gid_kno_res(DATEI datei);
  // Gnuplot plot title: the non-empty parts joined by ", ".
  void _plottitel(std::string& ziel, const std::string& a, const std::string& b, const std::string& c,
                  const std::string& d);

  std::string zeitanfang = "unbekannt"; // set by the progress display at "Anfang"
  std::string zeitende = "unbekannt";   // set at "Ende" or "Abbruch"
  bool bkopf_ele = false;               // the element table has its header
  std::vector<double> vtk_zeiten;       // times of the ParaView outputs written so far
  bool bkopf_tecpl = false;             // the Tecplot file has its title and connectivity
  bool bnetzneu = false;                // mesh renewed: GiD meshes cannot be written
  // Point and outer iteration count of the last material-iteration row (none yet: null).
  const TObjbasis* konvilok_punkt = nullptr;
  int konvilok_iges = 0;

  // Model input
  // Sets delta_num so that material-point and integration-point numbers stay
  // apart from node numbers in output files; reports to the control log.
  bool _eindeutige_nummern();
  std::unique_ptr<Tdatein> eingabedatei; // the reader of the input file, kept for the whole run
  bool bausdat_konvaglo = false, bausdat_konvalok = false, bausdat_konvilok = false;
  bool bausdat_maple = false;
  bool bausdat_gnupl = false, bausdat_gnupl_farbig = true;
  bool bausdat_tecpl = false, bausdat_gid = false, bausdat_vtk = false;
  bool bausdat_mpu = false, bausdat_kno = false, bausdat_ele = false; // data tables switched on
  std::array<int, 11> Nausdat{}; // per type value: objects selected by "obj_ausdat"

  // Mesh and point setup
  // Elements at every node; false without elements.
  bool _ele_an_kno();
  // Neighbours of every element (elements sharing a node); false without elements.
  bool _ele_an_ele();
  // Volume of every unknown node created with volume 0, from its elements.
  bool _vola_knou();
  // New material points from the sources that emit at the current time.
  bool _mpuerzeugung();
  // Locates every active material point; points outside all elements are switched off.
  bool _mpu_in_ele();
  // Integration points on material points follow them into their elements.
  bool _ipu_in_ele();
  bool bnetza = true; // mesh setup pending
  // Cloud sources are found through a cell grid (false: every cloud is
  // tested, the cost growing with the product of the two point counts).
  bool bwolkenraster = true;

  // Scratch of the per-point kernels (element contributions and their
  // assembly, loads on material points, the material iteration), kept so
  // that the passes need no heap once it is sized.
  struct TArbeit {
    TVM::MatR N, B, Mp, AB, C, D, P, Pt, PC, GF, BF, Me, KTe, NT, kN, kk, rz, rzinv;
    TVM::VekR v, y, sig, Psig, fme, finte, fk, wk;
  };
  TArbeit arbeit;
  // Counts the re-basings of the integration points (their volumes change).
  unsigned long Nipu_neubasis = 0;

private:
  // What the assembled mass matrix depends on: the approximations, volumes
  // and number of the integration points, the numbering and the lumping.
  // While it stays, the mass matrix is not assembled again.
  struct TMassenstand {
    bool bgueltig = false;
    unsigned long ansaetze = 0, neubasis = 0;
    std::size_t Nipu = 0;
    long nummerierung = 0;
    double verklumpen = 0.0;
    bool operator==(const TMassenstand& b) const {
      return bgueltig && b.bgueltig && ansaetze == b.ansaetze && neubasis == b.neubasis && Nipu == b.Nipu &&
             nummerierung == b.nummerierung && verklumpen == b.verklumpen;
    }
  };
  TMassenstand massenstand_;
  // What the mass matrix would be assembled from now.
  TMassenstand massenstand() const;
  // Begins the element contributions: KT (and M when it is assembled anew)
  // zeroed, fm and fint sized to the system and zeroed; whether M is assembled.
  bool beitraege_beginnen(TVM::VekR& fm, TVM::VekR& fint);
  // The contribution of one integration point, formed with `ans` (its own
  // approximation from the nodes or one with the same sources, weights and
  // gradients), added to the system's matrices and to fm and fint.
  void beitrag_addieren(TIntegrationspunkt* ip, TAnsatz* ans, bool bM, TVM::VekR& fm, TVM::VekR& fint);
  // The joint walk of strains and material law; with `bbeitraege` also the
  // contribution of the integration point at each place (`paare()` must pair).
  bool punktgang(bool bbeitraege);
  // Integration and material points at the same places of their registries:
  // whether every integration point takes its record from the material point
  // at its place, and per place the approximation its contribution is
  // formed with - the material point's where both have the same sources,
  // weights and gradients, so that the walk need not read the other. Kept
  // while no approximation changes and the registries keep their sizes.
  struct TPaare {
    unsigned long stand = 0;
    std::size_t Nipu = 0, Nmpu = 0;
    bool bgueltig = false;
    bool bpaarweise = false;
    std::vector<TAnsatz*> ansaetze;
  };
  const TPaare& paare();
  TPaare paare_;
  // The forces the joint walk assembles, given to the system when it succeeds.
  TVM::VekR fm_gang_, fint_gang_;
  // Fetch-ahead for a pass that works on the points of `liste` in order and
  // is at place i: the points some places further on, their approximation
  // from the points of type `quelle` (none for 0) with its arrays, and the
  // doubles von to bis of their state records (and with `bquellen` those of
  // the approximation's sources).
  static void vorausladen(const std::vector<TObjbasis*>& liste, std::size_t i, OBJTYP quelle, int von,
                          int bis, bool bquellen = false);

  // The targets of a transfer that can do something, in registry order, with
  // a partner for each: a transfer between points of the same record does
  // nothing. Kept while no approximation changes and the registries keep
  // their sizes.
  struct TUebertragung {
    unsigned long stand = 0;
    std::size_t Nziele = 0, Nquellen = 0;
    bool bgueltig = false;
    std::vector<std::pair<TObjbasis*, TObjbasis*>> ziele;
  };
  // Copies (ansatz kopieren) from `quelle` to `ziel`: the targets whose
  // record is not the source's; no partners.
  const TUebertragung& kopierziele(OBJTYP quelle, OBJTYP ziel);
  // Displacements from the nodes to the integration points right after those
  // to the material points: a partner is the material point that provides
  // the integration point's record and has the same approximation from the
  // nodes, so that it already received the same values when it is active.
  const TUebertragung& zwillingsziele();
  // One target of `zwillingsziele`.
  void zwilling_bearbeiten(const std::pair<TObjbasis*, TObjbasis*>& ziel);
  // `_transfer`; where the walk is laid out (`plan`) and `zwillinge` has a
  // target at every place of it, the twin at each place is handled right
  // after the target there (`bzwillinge` then set).
  bool uebertragen(OBJTYP quellot, OBJTYP zielot, ZUSTGROE uegroe, const TUebertragung* zwillinge,
                   bool& bzwillinge);
  // A transfer from `quelle` to `ziel` laid out for its walk: per target in
  // registry order the block its approximation writes and the range of its
  // terms, per term the place of its source and its weight; per distinct
  // source its point and block, and while a walk runs whether it is active. A
  // target whose approximation is not a sum over source blocks laid out as
  // its own (a copy, none, no sources, another layout) has no terms here
  // (`anzahl` -1) and goes through its approximation. Kept while no
  // approximation changes and the registry keeps its size.
  struct TPlan {
    struct TZiel {
      TPunkt* punkt;
      double* block;
      int erste, anzahl;
    };
    OBJTYP quelle = OBJTYP_UNBEKANNT, ziel = OBJTYP_UNBEKANNT;
    bool bgueltig = false;
    unsigned long stand = 0;
    std::size_t Nziele = 0;
    std::vector<TZiel> ziele;
    std::vector<int> stelle; // per term the place of its source
    std::vector<double> L;   // per term its weight
    std::vector<const TPunkt*> punkte;
    std::vector<const double*> bloecke;
    std::vector<char> aktiv;
  };
  TPlan& plan(OBJTYP quelle, OBJTYP ziel);
  std::vector<TPlan> plaene_;
  TUebertragung kopieren_, zwillinge_;
  OBJTYP kopieren_quelle_ = OBJTYP_UNBEKANNT, kopieren_ziel_ = OBJTYP_UNBEKANNT;

  // Rebuilds the approximations of material and integration points from the
  // nodes, so that their gradients see the nodes' re-based positions.
  void ansaetze_von_knoten_erneuern();
  int zeitschleife_ohne_steuerung();
  int zeitschleife_mit_steuerung();
  bool zeitschritt_explizit();
  bool kontakt_zu_grob() const;

  // The displacement conditions of the time `verschiebungen_zeit_`, kept
  // for the iterations of a step while the loads and points stay the same.
  std::vector<TPunktlasten> verschiebungen_;
  double verschiebungen_zeit_ = 0.0;
  std::size_t verschiebungen_stand_[3] = {0, 0, 0}; // loads, nodes, material points
  bool bverschiebungen_ = false;
};

} // namespace MPM
