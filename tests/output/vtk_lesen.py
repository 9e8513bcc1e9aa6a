"""Reads a ParaView collection of mpm with VTK's own XML reader and prints per
data set i the lines "i name values...": teil, zeit, x (point coordinates),
typ (cell types), ids (point ids of all cells), ort (VTK's position of the
parametric point (0.25, 0.6) in each cell) and every point array. Numbers are
printed so that they read back exactly."""

import sys
import xml.etree.ElementTree as ET
from pathlib import Path

from vtkmodules.vtkCommonCore import reference
from vtkmodules.vtkIOXML import vtkXMLUnstructuredGridReader

sammlung = Path(sys.argv[1])
for i, ds in enumerate(ET.parse(sammlung).getroot().iter("DataSet")):
    leser = vtkXMLUnstructuredGridReader()
    leser.SetFileName(str(sammlung.parent / ds.get("file")))
    leser.Update()
    g = leser.GetOutput()
    zeilen = {"teil": [ds.get("part")], "zeit": [ds.get("timestep")], "typ": [], "ids": [], "ort": []}
    zeilen["x"] = [repr(c) for k in range(g.GetNumberOfPoints()) for c in g.GetPoint(k)]
    for k in range(g.GetNumberOfCells()):
        z = g.GetCell(k)
        zeilen["typ"].append(z.GetCellType())
        zeilen["ids"] += [z.GetPointId(j) for j in range(z.GetNumberOfPoints())]
        x = [0.0, 0.0, 0.0]
        z.EvaluateLocation(reference(0), [0.25, 0.6, 0.0], x, [0.0] * z.GetNumberOfPoints())
        zeilen["ort"] += [repr(x[0]), repr(x[1])]
    for a in range(g.GetPointData().GetNumberOfArrays()):
        f = g.GetPointData().GetArray(a)
        zeilen[f.GetName()] = [repr(f.GetValue(k)) for k in range(f.GetNumberOfValues())]
    for name, werte in zeilen.items():
        print(i, name, *werte)
