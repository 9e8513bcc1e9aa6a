#pragma once
// ParaView output: at every data-output time one VTK XML file of the material
// points (BASE.mpu.NNNNN.vtu) and one of the background mesh
// (BASE.kno.NNNNN.vtu), and the collection BASE.pvd of both series. The
// writer itself is `Tmpm::_ausgabe_vtk`; the times written so far are kept by
// `Tmpm` in `vtk_zeiten`. The helpers below hold no state.

#include <array>
#include <string>
#include <vector>

#include "element/eledefs.h"

namespace MPM {

// VTK cell types used by the writer.
enum VTKZELLE : int {
  VTKZELLE_KEINE = 0,
  VTKZELLE_VERTEX = 1,
  VTKZELLE_DREIECK = 5,
  VTKZELLE_VIERECK = 9,
  VTKZELLE_VIERECK8 = 23,  // quadratic serendipity quadrilateral
  VTKZELLE_VIERECK9 = 28,  // biquadratic quadrilateral
  VTKZELLE_LAGRANGE4 = 70, // Lagrange quadrilateral of any order
};

// The VTK cell of an element with Nk nodes of shape `form`. The cell's points
// are the element nodes knoten[0], knoten[1], ... (indices into the element's
// node list), followed by auxiliary points at the reference points `zusatz`,
// where the element's own interpolation gives position and field values. The
// 12-node cubic serendipity quadrilateral has no VTK cell; it becomes the
// bicubic Lagrange cell with its four interior points added, which
// represents every cubic serendipity field exactly.
struct TVtkzelle {
  VTKZELLE typ = VTKZELLE_KEINE;
  std::vector<int> knoten;
  std::vector<std::array<double, 2>> zusatz;
};
TVtkzelle vtk_zelle(ELE::FORM form, int Nk);

// Shortest decimal text that reads back to exactly x.
std::string vtk_zahl(double x);

// "BASE.teil.NNNNN.vtu", the number padded with zeros to five digits.
std::string vtk_dateiname(const std::string& basis, const std::string& teil, int nummer);

// Whether `datei` (a name without folder) is a series file of the run named
// `name`: name + ".mpu." or ".kno." + digits + ".vtu".
bool vtk_reihendatei(const std::string& datei, const std::string& name);

// Text of the collection file: for output i the material-point file (part 0)
// and the mesh file (part 1) at time zeiten[i]; `name` is the run's base name
// without folder, as the files lie next to the collection.
std::string vtk_sammlung(const std::string& name, const std::vector<double>& zeiten);

} // namespace MPM
