#pragma once
// Material laws: linear elastic-viscous, linear elastic-plastic-viscous and
// linear viscoelastic solids in the plane, each written as a backward-Euler
// residual of its internal variables, with stress and consistent tangents.

#include <iosfwd>
#include <vector>

#include "input/mpmdefs.h"
#include "model/mpmobjbas.h"
#include "numerics/tvm.h"

namespace MPM {

class TModell;
class TMaterialpunkt;

// Constitutive law shared by all points that name it. Holds only the
// parameters and derived matrices; the per-point state (eps, epst, z, z_n)
// is passed in and belongs to the point. Owned by the simulation, linked
// from the material registry.
class TMaterial : public TObjbasis {
public:
  TMaterial(TModell* mpm, int num, MATERIALTYP typ, double rho);

  // Residual of the evolution equations (size _Nz); biter tells whether the
  // internal variables must be iterated.
  virtual TVM::VekR& _r(const TVM::VekR& eps, const TVM::VekR& epst, const TVM::VekR& z, const TVM::VekR& z_n,
                        TVM::VekR& r, bool& biter, double dt) const = 0;
  // dr/dz, _Nz x _Nz.
  virtual TVM::MatR& _rz(const TVM::VekR& eps, const TVM::VekR& epst, const TVM::VekR& z,
                         const TVM::VekR& z_n, TVM::MatR& rz, double dt) const = 0;
  // CT = dsig/deps and DT = dsig/depst; rzinv is the inverse of rz from the
  // last Newton step (empty when none was taken).
  virtual void _CT_DT(const TVM::VekR& eps, const TVM::VekR& epst, const TVM::VekR& z, const TVM::VekR& z_n,
                      const TVM::MatR& rzinv, TVM::MatR& CT, TVM::MatR& DT, bool biter, double dt) const = 0;
  // Total stress sig and its rate- or history-dependent part q.
  virtual TVM::VekR& _sigma(const TVM::VekR& eps, const TVM::VekR& epst, const TVM::VekR& z, TVM::VekR& sig,
                            TVM::VekR& q, const TMaterialpunkt* mpu) const = 0;

  // Elastic matrix of (E, nu) for the plane state rbdim; zero outside 2-D.
  TVM::MatR& _Cel(TVM::MatR& C, double E, double nu) const;
  // dr/dz by forward differences with step dznumtan.
  TVM::MatR& _rz_num(const TVM::VekR& eps, const TVM::VekR& epst, const TVM::VekR& z, const TVM::VekR& z_n,
                     TVM::MatR& rz, double dt) const;

  static unsigned int _Nz(MATERIALTYP typ);

  double rho;
  MATERIALTYP typ;
};

// Kelvin-Voigt solid: sig = Cel eps + Dvis epst; no internal variables.
class TMaterial_linelvis : public TMaterial {
public:
  // params: rho, E, nu, tau; missing entries take defaults, surplus is ignored.
  TMaterial_linelvis(TModell* mpm, int num, const std::vector<double>& params);

  TVM::VekR& _r(const TVM::VekR& eps, const TVM::VekR& epst, const TVM::VekR& z, const TVM::VekR& z_n,
                TVM::VekR& r, bool& biter, double dt) const override;
  TVM::MatR& _rz(const TVM::VekR& eps, const TVM::VekR& epst, const TVM::VekR& z, const TVM::VekR& z_n,
                 TVM::MatR& rz, double dt) const override;
  void _CT_DT(const TVM::VekR& eps, const TVM::VekR& epst, const TVM::VekR& z, const TVM::VekR& z_n,
              const TVM::MatR& rzinv, TVM::MatR& CT, TVM::MatR& DT, bool biter, double dt) const override;
  TVM::VekR& _sigma(const TVM::VekR& eps, const TVM::VekR& epst, const TVM::VekR& z, TVM::VekR& sig,
                    TVM::VekR& q, const TMaterialpunkt* mpu) const override;

  double E, nu, tau;
  TVM::MatR Cel, Dvis;
};

// Elastic-plastic solid with linear isotropic hardening and a parallel
// viscous part. z = (plastic strain (3), equivalent plastic strain, plastic
// multiplier).
class TMaterial_linelvisplas : public TMaterial {
public:
  // params: rho, E, nu, tau, sigy0, Hiso.
  TMaterial_linelvisplas(TModell* mpm, int num, const std::vector<double>& params);

  TVM::VekR& _r(const TVM::VekR& eps, const TVM::VekR& epst, const TVM::VekR& z, const TVM::VekR& z_n,
                TVM::VekR& r, bool& biter, double dt) const override;
  TVM::MatR& _rz(const TVM::VekR& eps, const TVM::VekR& epst, const TVM::VekR& z, const TVM::VekR& z_n,
                 TVM::MatR& rz, double dt) const override;
  void _CT_DT(const TVM::VekR& eps, const TVM::VekR& epst, const TVM::VekR& z, const TVM::VekR& z_n,
              const TVM::MatR& rzinv, TVM::MatR& CT, TVM::MatR& DT, bool biter, double dt) const override;
  TVM::VekR& _sigma(const TVM::VekR& eps, const TVM::VekR& epst, const TVM::VekR& z, TVM::VekR& sig,
                    TVM::VekR& q, const TMaterialpunkt* mpu) const override;

  // Flow direction N = d/|d|, d = dev eps - plastic strain; a zero vector
  // and bunbest = true when |d| < schranke_normeps (bunbest is otherwise untouched).
  TVM::VekR& N_(const TVM::VekR& eps, const TVM::VekR& z, TVM::VekR& N, bool& bunbest) const;
  // dN/d(plastic strain); zero when the direction is undetermined.
  TVM::MatR& _Ndevepspl(const TVM::VekR& eps, const TVM::VekR& z, TVM::MatR& M) const;

  double E, nu, tau, sigy0, Hiso;
  double G;
  TVM::MatR Cel, Dvis;
};

// Standard linear solid: spring Cel in parallel with a Maxwell branch of
// spring Cel2 and relaxation time tau; z = viscous strain of that branch.
class TMaterial_linvisel : public TMaterial {
public:
  // params: rho, E, nu, tau, E2, nu2.
  TMaterial_linvisel(TModell* mpm, int num, const std::vector<double>& params);

  TVM::VekR& _r(const TVM::VekR& eps, const TVM::VekR& epst, const TVM::VekR& z, const TVM::VekR& z_n,
                TVM::VekR& r, bool& biter, double dt) const override;
  TVM::MatR& _rz(const TVM::VekR& eps, const TVM::VekR& epst, const TVM::VekR& z, const TVM::VekR& z_n,
                 TVM::MatR& rz, double dt) const override;
  void _CT_DT(const TVM::VekR& eps, const TVM::VekR& epst, const TVM::VekR& z, const TVM::VekR& z_n,
              const TVM::MatR& rzinv, TVM::MatR& CT, TVM::MatR& DT, bool biter, double dt) const override;
  TVM::VekR& _sigma(const TVM::VekR& eps, const TVM::VekR& epst, const TVM::VekR& z, TVM::VekR& sig,
                    TVM::VekR& q, const TMaterialpunkt* mpu) const override;

  double E, nu, tau, E2, nu2;
  TVM::MatR Cel, Cel2;
};

// Checks the number, type and parameters, creates the material of the type,
// hands it to the simulation and registers it; null (with an error-log line)
// on refusal.
TMaterial* _material_erzeugen(TModell* mpm, int num, int typ, const std::vector<double>& params);

inline TMaterial* MAT_Z(TObjbasis* obj) {
  return static_cast<TMaterial*>(obj);
}

// mat(1+), typ=<name>, rho=<value>
std::ostream& operator<<(std::ostream& os, const TMaterial& mat);

} // namespace MPM
