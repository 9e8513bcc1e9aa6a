#!/usr/bin/env bash
# Makes the picture of the README: runs the cantilever example with ParaView
# output in a temporary folder and draws its last output with VTK offscreen.
# Needs build/mpm (make build), python3-vtk9 and xvfb (xvfb-run).
set -euo pipefail
cd "$(dirname "$0")/.."
ordner=$(mktemp -d)
trap 'rm -rf "$ordner"' EXIT
{ cat examples/kragarm.mpm; echo "aus_dat_vtk W"; } >"$ordner/kragarm.mpm"
(cd "$ordner" && "$OLDPWD/build/mpm" kragarm >/dev/null)
xvfb-run -a -s "-screen 0 1280x1024x24" /usr/bin/python3 tools/vtk_bild.py "$ordner/kragarm.pvd" \
  examples/kragarm.png 50
