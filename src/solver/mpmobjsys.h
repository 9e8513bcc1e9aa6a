#pragma once
// The global node-based equation system of a run: numbering of the unknowns,
// global vectors and dense matrices, the classification of every unknown as
// free (0), prescribed (1) or excluded (2) and the partition blocks. Only
// this class and the assembly and solution steps touch the N x N matrices.

#include <vector>

#include "input/mpmdefs.h"
#include "numerics/tvm.h"

namespace MPM {

class Tmpm;
class TKnoten;

class TSystem {
public:
  explicit TSystem(Tmpm* mpm) : mpm(mpm) {}

  // Numbers the nodes of the unknown-node registry and sizes everything.
  bool _init();
  // Marks the unknowns of inactive nodes and of vanishing diagonals as sick;
  // false (after the stop question) when the whole diagonal vanishes.
  bool _gesund_und_krank();
  // Classifies every unknown and counts the classes.
  bool _aufteilen();
  // Stores or restores U, Ut, Utt and clears the iteration vectors.
  bool _umspeichern(RICHTUNG r);

  // Element access for the other parts of the program, so that the storage
  // of the matrices stays this class's business.
  double M_zeilensumme(int i) const; // row sum of M (the lumped mass of unknown i)
  double K_diagonale(int i) const;
  void Kstraf_addieren(int i, int j, double wert);

  Tmpm* mpm;
  std::vector<TKnoten*> Unbekanntenknoten;
  int Nkno = 0, N = 0, N0 = 0, N1 = 0, N2 = 0;
  double Nstraf = 0.0;
  TVM::TVektor<bool> bvorgeschrieben, bgesund;
  TVM::VekR strafgewicht, kontaktanzeiger;
  TVM::TVektor<unsigned int> typ;
  TVM::VekR Uvor, U, Ut, Utt, U_n, Ut_n, Utt_n, U_it, dU, dU_alt;
  double normdU = 0.0, normdU_j = 0.0, cosdU = 0.0, konflr = 0.0;
  int Nkonpu = 0;
  TVM::VekR fint, fstraf, fckon, fext, fm, KU_it, mG, G, R, KdU, Gnorm;
  double normG = 0.0;
  TVM::MatR M, KT, Kstraf, Kkon, Keff, K, K11inv;
  TVM::VekR U1, U2, R1, R2, G1, G2;
  TVM::MatR K11, K12, K21, K22;
};

} // namespace MPM
