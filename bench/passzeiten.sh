#!/usr/bin/env bash
# Wall time per pass of one benchmark run: builds the Release library as
# run.sh does, compiles bench/passzeiten.cpp against it and runs the
# cantilever of netz.py. See bench/README.md.
#
# Usage: bench/passzeiten.sh NY [STEPS [NX]]   (defaults: 50 steps, NX = 8 NY)
# With PASSZEITEN_WIEDERHOLT=N the per-iteration passes are timed N times more
# on the finished model (shortest time each).
set -eu
export LC_ALL=C
hier=$(cd "$(dirname "$0")" && pwd)
wurzel=$(dirname "$hier")
bau=${BENCH_BUILD:-$wurzel/build-bench}
ny=${1:?NY missing}
schritte=${2:-50}
nx=${3:-$((8 * ny))}

mkdir -p "$bau"
cmake -S "$wurzel" -B "$bau" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF > "$bau/passzeiten.log" 2>&1
cmake --build "$bau" --target mpmlib -j 2 >> "$bau/passzeiten.log" 2>&1
mkdir -p "$bau/laeufe"
"${CXX:-g++}" -std=c++17 -O2 -I"$wurzel/src" "$hier/passzeiten.cpp" "$bau/libmpmlib.a" \
  -lcholmod -lklu -lamd -lcolamd -lbtf -lsuitesparseconfig -o "$bau/passzeiten"
name=kragarm$((nx * ny))s$schritte
python3 "$hier/netz.py" "$ny" "$schritte" "$nx" > "$bau/laeufe/$name.mpm" 2> /dev/null
cd "$bau/laeufe"
"$bau/passzeiten" "$name" ${PASSZEITEN_WIEDERHOLT:+--wiederholt "$PASSZEITEN_WIEDERHOLT"} < /dev/null > /dev/null
