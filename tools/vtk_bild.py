"""Draws the last output of a ParaView series of mpm into a PNG: the mesh as
lines, the material points coloured by the stress component sigma_xx, both
with their displacements exaggerated. Uses VTK's Python module (Debian
python3-vtk9); its render window needs an X display, e.g. from xvfb-run.

    /usr/bin/python3 tools/vtk_bild.py BASE.pvd bild.png [exaggeration]
"""

import sys
import xml.etree.ElementTree as ET
from pathlib import Path

import vtkmodules.vtkInteractionStyle  # noqa: F401
import vtkmodules.vtkRenderingOpenGL2  # noqa: F401
from vtkmodules.vtkFiltersExtraction import vtkExtractEdges
from vtkmodules.vtkFiltersGeneral import vtkWarpVector
from vtkmodules.vtkFiltersGeometry import vtkDataSetSurfaceFilter
from vtkmodules.vtkIOImage import vtkPNGWriter
from vtkmodules.vtkIOXML import vtkXMLUnstructuredGridReader
from vtkmodules.vtkRenderingAnnotation import vtkScalarBarActor
from vtkmodules.vtkRenderingCore import (vtkActor, vtkPolyDataMapper, vtkRenderer, vtkRenderWindow,
                                         vtkTextActor, vtkWindowToImageFilter)

sammlung, bild = Path(sys.argv[1]), sys.argv[2]
faktor = float(sys.argv[3]) if len(sys.argv) > 3 else 50.0

# The last data set of each part.
letzte = {}
for ds in ET.parse(sammlung).getroot().iter("DataSet"):
    letzte[ds.get("part")] = (ds.get("file"), float(ds.get("timestep")))


def verformt(teil):
    """Reader and warp of the part's data set, moved by (faktor - 1) u: the
    files hold the current positions already. Both must be kept alive."""
    leser = vtkXMLUnstructuredGridReader()
    leser.SetFileName(str(sammlung.parent / letzte[teil][0]))
    leser.Update()
    leser.GetOutput().GetPointData().SetActiveVectors("u")
    warp = vtkWarpVector()
    warp.SetInputConnection(leser.GetOutputPort())
    warp.SetScaleFactor(faktor - 1.0)
    return leser, warp


netz_quelle = verformt("1")
punkte_quelle = verformt("0")
oberflaeche = vtkDataSetSurfaceFilter()
oberflaeche.SetInputConnection(netz_quelle[1].GetOutputPort())
oberflaeche.SetNonlinearSubdivisionLevel(0)
kanten = vtkExtractEdges()
kanten.SetInputConnection(oberflaeche.GetOutputPort())
netz_abb = vtkPolyDataMapper()
netz_abb.SetInputConnection(kanten.GetOutputPort())
netz_abb.ScalarVisibilityOff()
netz = vtkActor()
netz.SetMapper(netz_abb)
netz.GetProperty().SetColor(0.45, 0.45, 0.45)

punkte_fl = vtkDataSetSurfaceFilter()
punkte_fl.SetInputConnection(punkte_quelle[1].GetOutputPort())
punkte_fl.Update()
sigma = punkte_fl.GetOutput().GetPointData().GetArray("sigma")
grenze = max(abs(sigma.GetRange(0)[0]), abs(sigma.GetRange(0)[1]))
punkte_abb = vtkPolyDataMapper()
punkte_abb.SetInputConnection(punkte_fl.GetOutputPort())
punkte_abb.SetScalarModeToUsePointFieldData()
punkte_abb.SelectColorArray("sigma")
punkte_abb.SetArrayComponent(0)
punkte_abb.SetScalarRange(-grenze, grenze)
tabelle = punkte_abb.GetLookupTable()
tabelle.SetHueRange(0.667, 0.0)
tabelle.SetVectorModeToComponent()
tabelle.SetVectorComponent(0)
tabelle.Build()
punkte = vtkActor()
punkte.SetMapper(punkte_abb)
punkte.GetProperty().SetPointSize(9)
punkte.GetProperty().SetRenderPointsAsSpheres(True)

leiste = vtkScalarBarActor()
leiste.SetLookupTable(tabelle)
leiste.SetTitle("sigma_xx [Pa]")
leiste.SetNumberOfLabels(5)
leiste.SetLabelFormat("%.2e")
leiste.SetOrientationToHorizontal()
leiste.SetPosition(0.25, 0.04)
leiste.SetWidth(0.5)
leiste.SetHeight(0.12)
for t in (leiste.GetTitleTextProperty(), leiste.GetLabelTextProperty()):
    t.SetColor(0.1, 0.1, 0.1)
    t.ShadowOff()
    t.ItalicOff()

titel = vtkTextActor()
titel.SetInput(f"{sammlung.stem}: t = {letzte['1'][1]:g}, Verschiebungen {faktor:g}-fach")
titel.GetTextProperty().SetFontSize(20)
titel.GetTextProperty().SetColor(0.1, 0.1, 0.1)
titel.SetPosition(20, 385)

szene = vtkRenderer()
szene.SetBackground(1.0, 1.0, 1.0)
for a in (netz, punkte, leiste, titel):
    szene.AddActor(a)
fenster = vtkRenderWindow()
fenster.SetOffScreenRendering(1)
fenster.SetSize(1000, 420)
fenster.AddRenderer(szene)
kamera = szene.GetActiveCamera()
kamera.ParallelProjectionOn()
szene.ResetCamera()
kamera.SetParallelScale(kamera.GetParallelScale() * 0.55)
kamera.SetFocalPoint(*[c + d for c, d in zip(kamera.GetFocalPoint(), (0.0, -0.02, 0.0))])
kamera.SetPosition(*[c + d for c, d in zip(kamera.GetPosition(), (0.0, -0.02, 0.0))])
fenster.Render()

abzug = vtkWindowToImageFilter()
abzug.SetInput(fenster)
schreiber = vtkPNGWriter()
schreiber.SetFileName(bild)
schreiber.SetInputConnection(abzug.GetOutputPort())
schreiber.Write()
