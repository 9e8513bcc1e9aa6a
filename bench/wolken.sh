#!/usr/bin/env bash
# Cloud search benchmark: builds a Release binary of bench/wolken.cpp and
# times the building of all approximations with the cell grid and by testing
# every cloud. See bench/README.md.
#
# Arguments: material point counts (default 1000 10000 100000).
# Setting: BENCH_BUILD build folder, default build-bench next to bench/.
set -u
hier=$(cd "$(dirname "$0")" && pwd)
wurzel=$(dirname "$hier")
bau=${BENCH_BUILD:-$wurzel/build-bench}
mkdir -p "$bau"
if ! cmake -S "$wurzel" -B "$bau" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF > "$bau/wolken-cmake.log" 2>&1 ||
  ! cmake --build "$bau" --target mpm-wolkenbench -j 2 >> "$bau/wolken-cmake.log" 2>&1; then
  echo "wolken.sh: build failed, see $bau/wolken-cmake.log" >&2
  exit 1
fi
echo "Date: $(date '+%Y-%m-%d %H:%M %Z'), $(nproc) cores, load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
"$bau/mpm-wolkenbench" "$@"
echo
echo "Load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
