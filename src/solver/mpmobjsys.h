#pragma once
// The global node-based equation system of a run: numbering of the unknowns,
// global vectors, the classification of every unknown as free (0),
// prescribed (1) or excluded (2), and the matrices M, KT, Kstraf, Kkon (only
// with contact) and K. The matrices share one compressed row pattern and are
// stored here alone; everyone else reaches them through the operations below.
// Owns the sparse solver with its factorisation.

#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

#include "input/mpmdefs.h"
#include "model/mpmobjbas.h"
#include "numerics/loeser.h"
#include "numerics/tvm.h"

namespace MPM {

class Tmpm;
class TKnoten;

// The matrices of the system.
enum SYSMAT : int { SYSMAT_M = 0, SYSMAT_KT, SYSMAT_KSTRAF, SYSMAT_KKON, SYSMAT_K, SYSMAT_ANZAHL };

class TSystem : public TSystembasis {
public:
  explicit TSystem(Tmpm* mpm);
  ~TSystem();
  TSystem(const TSystem&) = delete;
  TSystem& operator=(const TSystem&) = delete;

  // Numbers the nodes of the unknown-node registry, builds the pattern from
  // the nodes of every element (and a block per node) and sizes everything.
  bool _init();
  // Builds the pattern anew from the supports of the approximations from the
  // nodes: those of every active material and integration point (element
  // approximations through the node sets of their elements, when elements
  // are used), a block per node, and the entries of Kstraf and Kkon that
  // hold a value until their next assembly clears them. Values of entries
  // that stay are kept; an unchanged pattern keeps the solver's analysis.
  // Does nothing unless a support has changed since the last build (an
  // entry outside the pattern still widens it).
  void _muster_erneuern();
  // Marks the unknowns of inactive nodes and of vanishing diagonals as sick;
  // false (after the stop question) when the whole diagonal vanishes.
  bool _gesund_und_krank();
  // Classifies every unknown and counts the classes.
  bool _aufteilen();
  // Stores or restores U, Ut, Utt and clears the iteration vectors.
  bool _umspeichern(RICHTUNG r);

  // Matrix operations. Positions outside 0..N-1 are skipped; an entry outside
  // the pattern widens the pattern (for all matrices) by the block of the
  // positions concerned. A matrix that does not exist (Kkon without contact)
  // reads as zero and ignores additions.
  bool _vorhanden(SYSMAT m) const;
  void _null(SYSMAT m); // every value 0, the pattern is kept
  void _addieren(SYSMAT m, int i, int j, double wert);
  // Adds block[a][b] at (pos[a], pos[b]); negative positions are skipped.
  void _block_addieren(SYSMAT m, const TVM::TVektor<int>& pos, const TVM::MatR& block);
  // The same for two matrices and blocks at the same positions, in one pass.
  void _block_addieren(SYSMAT m1, const TVM::MatR& block1, SYSMAT m2, const TVM::MatR& block2,
                       const TVM::TVektor<int>& pos);
  // ziel := sum of faktor * quelle over the given pairs (absent sources skipped).
  void _linearkombination(SYSMAT ziel, std::initializer_list<std::pair<double, SYSMAT>> summanden);
  double _eintrag(SYSMAT m, int i, int j) const;
  double _diagonale(SYSMAT m, int i) const;
  double _zeilensumme(SYSMAT m, int i) const;
  // y := A x (x of length N).
  TVM::VekR& _produkt(SYSMAT m, const TVM::VekR& x, TVM::VekR& y) const;
  // y := A restricted to rows of class `zeilenklasse` and columns of class
  // `spaltenklasse` times x; rows of other classes get 0.
  TVM::VekR& _produkt(SYSMAT m, const TVM::VekR& x, TVM::VekR& y, unsigned zeilenklasse,
                      unsigned spaltenklasse) const;

  // Solves K11 U1 = R1 (minus K12 U2 with `bvorgaben`) for the free unknowns
  // and writes them into U; prescribed and excluded entries of U stay. False
  // when the method fails, leaves fewer than 3 reliable digits, or asks for
  // a dense solution of more than maxNdicht unknowns (with a message).
  bool _loesen(MATHE::LOESER loeser, bool bvorgaben);
  static constexpr int maxNdicht = 2500;
  // Solves M x = b for the unknowns that are neither prescribed nor sick
  // (inactive node, or a mass below 1e-6 of the largest); the other entries
  // of x stay and their coupling moves to the right side. Leaves K = M and
  // the classes of this solution; the next solution chooses new pivots.
  bool _loesen_masse(MATHE::LOESER loeser, const TVM::VekR& b, TVM::VekR& x);

  // Lumped nodal mass at unknown i (row sum of M) and the diagonal of K, for
  // the output; 0 outside the system.
  double M_zeilensumme(int i) const { return _zeilensumme(SYSMAT_M, i); }
  double K_diagonale(int i) const { return _diagonale(SYSMAT_K, i); }

  // Pattern size and the work of the sparse solver so far.
  long _Neintraege() const { return static_cast<long>(spalten_.size()); }
  long _Nanalysen() const { return loeser_.Nanalysen(); }
  long _Nzerlegungen() const { return loeser_.Nzerlegungen(); }
  // 1-norm condition estimate of the last sparse factorisation (0 before one).
  double _kondition() const { return kondition_; }

  Tmpm* mpm;
  std::vector<TKnoten*> Unbekanntenknoten;
  int Nkno = 0, N = 0, N0 = 0, N1 = 0, N2 = 0;
  double Nstraf = 0.0;
  TVM::TVektor<bool> bvorgeschrieben, bgesund;
  TVM::VekR strafgewicht;
  TVM::TVektor<unsigned int> typ;
  TVM::VekR Uvor, U, Ut, Utt, U_n, Ut_n, Utt_n, U_it, dU, dU_alt;
  double normdU = 0.0, normdU_j = 0.0, cosdU = 0.0, konflr = 0.0;
  int Nkonpu = 0;
  TVM::VekR KU_it; // effective matrix times U_it
  TVM::VekR Gfrei; // the residual at the free unknowns, whose norm is normG
  double normG = 0.0;

private:
  // Compressed rows: row i holds the columns spalten_[zeilenanfang_[i] ..
  // zeilenanfang_[i+1]-1] in ascending order, its diagonal at diagonale_[i].
  std::vector<int> zeilenanfang_, spalten_, diagonale_;
  std::vector<double> werte_[SYSMAT_ANZAHL]; // empty: the matrix does not exist
  // Positions of the last block added, so that the next matrix given the same
  // positions skips the search.
  std::vector<int> blockpos_, blockstellen_, blockfolge_;
  // The matrix handed to the solver: K with the unknowns that are not free
  // decoupled, and the classes it was built for.
  std::vector<double> loeserwerte_;
  TVM::TVektor<unsigned int> loesertyp_;
  MATHE::TDuennloeser loeser_;
  double kondition_ = 0.0;
  // K's values and the classes are those of the last successful
  // factorisation by loeser_zerlegt_; any change of K clears the flag.
  bool bK_zerlegt_ = false;
  MATHE::LOESER loeser_zerlegt_ = MATHE::LOESER_UNBEKANNT;
  TVM::VekR arbeit_[3]; // scratch of one operation, so that no iteration allocates

  int stelle(int i, int j) const;
  // The places in the pattern of the block at `pos` (kept for the last
  // positions), the pattern widened where it does not cover them.
  void blockstellen_bilden(const TVM::TVektor<int>& pos);
  void muster_aus_bloecken(const std::vector<std::vector<int>>& nachbarn);
  void muster_erweitern(const TVM::TVektor<int>& pos);
  bool loesen_duenn(MATHE::LOESER loeser, TVM::VekR& rechts, bool& zerlegt);
  bool loesen_dicht(MATHE::LOESER loeser, const TVM::VekR& rechts);
};

} // namespace MPM
