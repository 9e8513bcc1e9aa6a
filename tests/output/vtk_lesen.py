"""Reads a ParaView collection of mpm with VTK's own XML reader and prints, per
data set, one line each: "datensatz" part, time, file; "punkte" count and
coordinates; per cell "zelle" type, point ids, "|" and VTK's position of the
parametric point (0.25, 0.6); per point array "feld" name, components, values.
Numbers are printed so that they read back exactly."""

import sys
import xml.etree.ElementTree as ET
from pathlib import Path

from vtkmodules.vtkCommonCore import reference
from vtkmodules.vtkIOXML import vtkXMLUnstructuredGridReader

sammlung = Path(sys.argv[1])
for ds in ET.parse(sammlung).getroot().iter("DataSet"):
    leser = vtkXMLUnstructuredGridReader()
    leser.SetFileName(str(sammlung.parent / ds.get("file")))
    leser.Update()
    g = leser.GetOutput()
    print("datensatz", ds.get("part"), ds.get("timestep"), ds.get("file"))
    n = g.GetNumberOfPoints()
    print("punkte", n, *[repr(c) for i in range(n) for c in g.GetPoint(i)])
    for i in range(g.GetNumberOfCells()):
        z = g.GetCell(i)
        ids = [z.GetPointId(k) for k in range(z.GetNumberOfPoints())]
        x = [0.0, 0.0, 0.0]
        z.EvaluateLocation(reference(0), [0.25, 0.6, 0.0], x, [0.0] * len(ids))
        print("zelle", z.GetCellType(), *ids, "|", repr(x[0]), repr(x[1]))
    daten = g.GetPointData()
    for a in range(daten.GetNumberOfArrays()):
        f = daten.GetArray(a)
        werte = [repr(f.GetValue(k)) for k in range(f.GetNumberOfValues())]
        print("feld", f.GetName(), f.GetNumberOfComponents(), *werte)
