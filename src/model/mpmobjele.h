#pragma once
// Elements of the background mesh. An element links (does not own) its
// material, its type, its nodes (all, geometry, unknown), its neighbours and
// the material and integration points it currently holds.

#include <iosfwd>
#include <vector>

#include "model/mpmobjbas.h"
#include "numerics/tvm.h"

namespace MPM {

class TElementtyp;
class TMaterial;
class TPunkt;

class TElement : public TObjbasis {
public:
  // `knoten` are the input node numbers (offset already added), in the node
  // order of the family with more nodes. A missing material, type or node is
  // reported and asks the stop question.
  TElement(TModell* mpm, int num, int matnum, int eletypnum, const std::vector<unsigned>& knoten, int farbe);

  std::vector<TPunkt*>& _kno(KNOTYP t);
  int _Nkno(KNOTYP t);
  // mpu: the material points in the element; ipu: its integration points.
  std::vector<TPunkt*>& _pu(OBJTYP ot);
  // X := dim1 x N, column i the position of node i of kind t in configuration k.
  TVM::MatR& _xk(TVM::MatR& X, KONFIGUR k, KNOTYP t);

  TMaterial* material = nullptr;
  TElementtyp* typ = nullptr;
  std::vector<TPunkt*> kno, knox, knou;
  std::vector<TElement*> ele;
  std::vector<TPunkt*> mpu, ipu;

private:
  std::vector<TPunkt*> leer_;
};

std::ostream& operator<<(std::ostream& os, const TElement& e);

inline TElement* ELE_Z(TObjbasis* obj) {
  return static_cast<TElement*>(obj);
}

// Checks the record, creates the element, its integration points and (when
// asked) material points on them; null after an error-log message.
TElement* ele_erzeugen(TModell* mpm, int num, int matnum, int eletypnum, const std::vector<unsigned>& knoten,
                       int farbe);

} // namespace MPM
