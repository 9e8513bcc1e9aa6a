#!/usr/bin/env python3
"""Writes the benchmark cantilever of netz.py as a CalculiX input deck.

The same beam, material, clamping, tip load and step length (CalculiX uses its
own implicit scheme), meshed by nx x ny eight-node bricks (C3D8) in one layer;
the out-of-plane displacement is held at every node. For a comparison of run
times only.

Usage: ccx.py NY [STEPS [NX]] > name.inp   (then: ccx name)
"""

import sys

LAENGE = 2.0
HOEHE = 0.5
DICKE = 1.0  # plane stress of unit thickness, as the mpm model
DICHTE = 7850.0
EMODUL = 2.1e11
QUERKONTRAKTION = 0.3
KRAFT = -1.0e5
DT = 1.0e-4


def knoten(i, j, k, ny):
    return (i * (ny + 1) + j) * 2 + k + 1


def zeilen_in_achten(nummern):
    return [", ".join(str(n) for n in nummern[a : a + 8]) for a in range(0, len(nummern), 8)]


def deck(ny, schritte, nx):
    z = ["*HEADING", "Kragarm %d x %d" % (nx, ny), "*NODE"]
    for i in range(nx + 1):
        for j in range(ny + 1):
            for k in range(2):
                z.append("%d, %r, %r, %r" % (knoten(i, j, k, ny), LAENGE * i / nx, HOEHE * j / ny, DICKE * k))
    z.append("*ELEMENT, TYPE=C3D8, ELSET=EALL")
    e = 0
    for i in range(nx):
        for j in range(ny):
            e += 1
            unten = [knoten(i, j, 0, ny), knoten(i + 1, j, 0, ny), knoten(i + 1, j + 1, 0, ny), knoten(i, j + 1, 0, ny)]
            oben = [n + 1 for n in unten]
            z.append("%d, %s" % (e, ", ".join(str(n) for n in unten + oben)))
    z.append("*NSET, NSET=NALLE, GENERATE")
    z.append("1, %d, 1" % (2 * (nx + 1) * (ny + 1)))
    z.append("*NSET, NSET=FEST")
    z += zeilen_in_achten([knoten(0, j, k, ny) for j in range(ny + 1) for k in range(2)])
    spitze = [knoten(nx, j, k, ny) for j in range(ny + 1) for k in range(2)]
    z.append("*NSET, NSET=SPITZE")
    z += zeilen_in_achten(spitze)
    z += [
        "*MATERIAL, NAME=STAHL",
        "*ELASTIC",
        "%r, %r" % (EMODUL, QUERKONTRAKTION),
        "*DENSITY",
        "%r" % DICHTE,
        "*SOLID SECTION, ELSET=EALL, MATERIAL=STAHL",
        "*BOUNDARY",
        "FEST, 1, 2",
        "NALLE, 3, 3",
        "*STEP, INC=%d" % (10 * schritte),
        "*DYNAMIC, DIRECT",
        "%r, %r" % (DT, schritte * DT),
        "*CLOAD",
        "SPITZE, 2, %r" % (KRAFT / len(spitze)),
        "*NODE PRINT, NSET=SPITZE, FREQUENCY=%d" % schritte,
        "U",
        "*END STEP",
    ]
    return "\n".join(z) + "\n"


def main(argv):
    if len(argv) < 2 or len(argv) > 4:
        sys.stderr.write(__doc__)
        return 2
    try:
        ny = int(argv[1])
        schritte = int(argv[2]) if len(argv) > 2 else 5
        nx = int(argv[3]) if len(argv) > 3 else 4 * ny
    except ValueError:
        sys.stderr.write("NY, STEPS and NX must be whole numbers\n")
        return 2
    if ny < 1 or schritte < 1 or nx < 1:
        sys.stderr.write("NY, STEPS and NX must be at least 1\n")
        return 2
    sys.stdout.write(deck(ny, schritte, nx))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
