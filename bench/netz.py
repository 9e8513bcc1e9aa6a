#!/usr/bin/env python3
"""Writes the input file of the benchmark problem for one mesh size.

The problem: a steel cantilever of length 4*h and depth h in plane stress,
meshed by nx x ny bilinear quadrilaterals (nx = 4*ny unless given), clamped at x = 0 by
penalty conditions and pulled down at the free end by a constant force that
starts at t = 0, integrated over a fixed number of implicit Newmark steps.

Nodes are numbered column by column (along the depth first), so the profile
of the system matrix stays narrow; the node count is (nx+1)*(ny+1) and the
number of unknowns twice that.

Usage: netz.py [--wandernd] NY [STEPS [NX]] > name.mpm   (prints elements, nodes and N to stderr)

With --wandernd the mesh is a fixed background and the material points move
through it (nodes not body-fixed, points body-fixed): every step locates the
points in the cells and builds the approximations anew.
"""

import sys

LAENGE = 2.0  # m
HOEHE = 0.5  # m
DICHTE = 7850.0  # kg/m^3
EMODUL = 2.1e11  # N/m^2
QUERKONTRAKTION = 0.3
KRAFT = -1.0e5  # N, whole tip load, spread evenly over the tip nodes
DT = 1.0e-4  # s


def knotennummer(i, j, ny):
    """Number of the node in column i (x) and row j (y), from 1."""
    return i * (ny + 1) + j + 1


def liste(nummern):
    return "(" + ", ".join(str(n) for n in nummern) + ")"


def eingabe(ny, schritte, nx, wandernd=False):
    zeilen = [
        '! Benchmark: Kragarm %d x %d Elemente, %d Zeitschritte' % (nx, ny, schritte),
        'titel "Kragarm %d x %d"' % (nx, ny),
        "stw_dimension 2d, Sp0",
    ]
    if wandernd:
        zeilen.append("stw_berechverf F, W, W, F, W, F, ele, kopieren, eleinv, refkonf, klnverz")
    zeilen += [
        "stw_zeitschrittverf implizit, 0.25, 0.5",
        "stw_t 0., %r, %r" % (schritte * DT, DT),
        "stw_zstrg F",
        "stw_m W, 0.",
        "stw_strafverf W, 1.E13",
        "stw_t_aus_dat F",
        "stw_t_aus_ktr F",
        "mat 1, 1, (%r, %r, %r, 0.), 1" % (DICHTE, EMODUL, QUERKONTRAKTION),
        "eletyp 1, Viereck, Lagro1, Lagro1, Gauss, 4, 1",
    ]
    for i in range(nx + 1):
        for j in range(ny + 1):
            x = LAENGE * i / nx
            y = HOEHE * j / ny
            zeilen.append("kno %d, 1, 1., (%r, %r)" % (knotennummer(i, j, ny), x, y))
    e = 0
    for i in range(nx):
        for j in range(ny):
            e += 1
            k = [
                knotennummer(i, j, ny),
                knotennummer(i + 1, j, ny),
                knotennummer(i + 1, j + 1, ny),
                knotennummer(i, j + 1, ny),
            ]
            zeilen.append("ele %d, 1, 1, %s" % (e, liste(k)))
    eingespannt = [knotennummer(0, j, ny) for j in range(ny + 1)]
    spitze = [knotennummer(nx, j, ny) for j in range(ny + 1)]
    ende = 1.0  # the loads and supports hold far beyond the last step
    zeilen.append("punktlast 1, kno, verschiebung, %s, 0., kon, (0., %r), (0.)" % (liste(eingespannt), ende))
    zeilen.append("punktlast 2, kno, verschiebung, %s, 90., kon, (0., %r), (0.)" % (liste(eingespannt), ende))
    zeilen.append(
        "punktlast 3, kno, kraft, %s, 90., kon, (0., %r), (%r)" % (liste(spitze), ende, KRAFT / len(spitze))
    )
    return nx, "\n".join(zeilen) + "\n"


def main(argv):
    wandernd = len(argv) > 1 and argv[1] == "--wandernd"
    if wandernd:
        argv = argv[:1] + argv[2:]
    if len(argv) < 2 or len(argv) > 4:
        sys.stderr.write(__doc__)
        return 2
    try:
        ny = int(argv[1])
        schritte = int(argv[2]) if len(argv) > 2 else 4
        nx = int(argv[3]) if len(argv) > 3 else 4 * ny
    except ValueError:
        sys.stderr.write("NY, STEPS and NX must be whole numbers\n")
        return 2
    if ny < 1 or schritte < 1 or nx < 1:
        sys.stderr.write("NY, STEPS and NX must be at least 1\n")
        return 2
    nx, text = eingabe(ny, schritte, nx, wandernd)
    sys.stdout.write(text)
    knoten = (nx + 1) * (ny + 1)
    sys.stderr.write("%d %d %d\n" % (nx * ny, knoten, 2 * knoten))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
