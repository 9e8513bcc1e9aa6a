#!/usr/bin/env bash
# Scaling benchmark of mpm: builds a Release binary, runs the cantilever of
# bench/netz.py on growing meshes and prints a Markdown table of the time per
# step and the peak memory. See bench/README.md.
#
# Settings (environment):
#   BENCH_NY      depths ny of the meshes, in increasing order
#                 default "5 10 20 40 80" = 200 ... 51,200 elements
#   BENCH_NX_NY   elements along the length per element across, default 8
#   BENCH_STEPS   time steps per run (at least 2), default 5
#   BENCH_LIMIT_S wall-time limit of one run in seconds, default 600
#   BENCH_MEM_GIB memory budget of one run in GiB, default half of the
#                 memory available at the start
#   BENCH_BUILD   build folder, default build-bench next to bench/
set -u
export LC_ALL=C

hier=$(cd "$(dirname "$0")" && pwd)
wurzel=$(dirname "$hier")
bau=${BENCH_BUILD:-$wurzel/build-bench}
laeufe=$bau/laeufe
groessen=${BENCH_NY:-5 10 20 40 80}
seiten=${BENCH_NX_NY:-8}
schritte=${BENCH_STEPS:-5}
limit=${BENCH_LIMIT_S:-600}

verfuegbar_kib=$(awk '/^MemAvailable:/ {print $2}' /proc/meminfo)
if [ -n "${BENCH_MEM_GIB:-}" ]; then
  budget_kib=$(awk -v g="$BENCH_MEM_GIB" 'BEGIN {printf "%d", g * 1048576}')
else
  budget_kib=$((verfuegbar_kib / 2))
fi

case $schritte in
  '' | *[!0-9]* | 0 | 1)
    echo "run.sh: BENCH_STEPS must be a whole number of at least 2" >&2
    exit 1
    ;;
esac
case $seiten in
  '' | *[!0-9]* | 0)
    echo "run.sh: BENCH_NX_NY must be a whole number of at least 1" >&2
    exit 1
    ;;
esac

for werkzeug in cmake python3 timeout /usr/bin/time; do
  if ! command -v "$werkzeug" > /dev/null; then
    echo "run.sh: $werkzeug is missing" >&2
    exit 1
  fi
done

echo "Building Release binary in $bau ..." >&2
mkdir -p "$bau"
if ! cmake -S "$wurzel" -B "$bau" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF > "$bau/bench-cmake.log" 2>&1 ||
  ! cmake --build "$bau" --target mpm -j 2 >> "$bau/bench-cmake.log" 2>&1; then
  echo "run.sh: build failed, see $bau/bench-cmake.log" >&2
  exit 1
fi
mpm=$bau/mpm
mkdir -p "$laeufe"
ergebnis=$laeufe/ergebnis.md

# Seconds from the "h:mm:ss" or "m:ss.ss" form of /usr/bin/time.
sekunden() {
  awk -F: '{ s = 0; for (i = 1; i <= NF; i++) s = s * 60 + $i; printf "%.2f", s }' <<< "$1"
}

# Arrival time, convergence flag (1 converged, 0 not) and equilibrium
# iterations of every "ZSE:" line, the line that ends a time step in the
# progress display of mpm.
schrittenden() {
  local z jj
  while IFS= read -r z; do
    jj=0
    [[ $z =~ jj=\ *([0-9]+) ]] && jj=${BASH_REMATCH[1]}
    case $z in
      *"ZSE: (+)"*) echo "$EPOCHREALTIME 1 $jj" ;;
      *"ZSE:"*) echo "$EPOCHREALTIME 0 $jj" ;;
    esac
  done
}

gib() { awk -v k="$1" 'BEGIN {printf "%.1f", k / 1048576}'; }

{
  echo "Date: $(date '+%Y-%m-%d %H:%M %Z'), $(nproc) cores, $(gib "$(awk '/^MemTotal:/ {print $2}' /proc/meminfo)") GiB," \
    "memory budget per run $(gib "$budget_kib") GiB, time limit per run ${limit} s, ${schritte} steps per run," \
    "load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"
  echo
  echo "| elements | nodes | unknowns N | time per step [s] | exponent | us per point and iteration | rest [s] | total wall [s] | CPU user+sys [s] | peak RSS [MiB] | RSS per element [KiB] | load | result |"
  echo "|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---|"
} | tee "$ergebnis"

zeile() { echo "$1" | tee -a "$ergebnis"; }

vorher_n=0
vorher_rss_kib=0
vorher_schritt=""
vorher_schritt_n=0
vorher_zeit=0
halt=""
messpunkte=""
for ny in $groessen; do
  nx=$((seiten * ny))
  elemente=$((nx * ny))
  knoten=$(((nx + 1) * (ny + 1)))
  n=$((2 * knoten))
  leer="| $elemente | $knoten | $n | | | | | | | | | |"
  if [ -n "$halt" ]; then
    zeile "$leer skipped: $halt |"
    continue
  fi
  # Memory grows about linearly: the previous size's peak scaled by N, with
  # half again for the factor's fill, which grows a little faster.
  schaetzung_kib=0
  [ "$vorher_n" -gt 0 ] && schaetzung_kib=$((vorher_rss_kib * 3 / 2 * n / vorher_n))
  if [ "$schaetzung_kib" -gt "$budget_kib" ]; then
    zeile "$leer skipped: estimated $(gib "$schaetzung_kib") GiB > budget $(gib "$budget_kib") GiB |"
    halt="larger than a skipped size"
    continue
  fi
  if [ "$vorher_n" -gt 0 ]; then
    prognose=$(awk -v t="$vorher_zeit" -v a="$vorher_n" -v b="$n" 'BEGIN {printf "%.0f", t * (b / a) ^ 1.5}')
    if awk -v p="$prognose" -v l="$limit" 'BEGIN {exit !(p > l)}'; then
      zeile "$leer skipped: predicted ${prognose} s (N^1.5 from the previous size) > ${limit} s |"
      halt="larger than a skipped size"
      continue
    fi
  fi

  name=kragarm$elemente
  if ! python3 "$hier/netz.py" "$ny" "$schritte" "$nx" > "$laeufe/$name.mpm" 2> /dev/null; then
    zeile "$leer failed: netz.py |"
    halt="mesh generation failed"
    continue
  fi
  last=$(cut -d' ' -f1 /proc/loadavg)
  (
    cd "$laeufe" || exit 1
    ulimit -v "$budget_kib"
    /usr/bin/time -v -o "$name.time" timeout "$limit" "$mpm" "$name" < /dev/null
  ) 2> "$laeufe/$name.err" | schrittenden > "$laeufe/$name.schritte"

  # Mean step between the end of the first and of the last step, so that
  # start-up, input, mesh setup and the first step stay out of it; the same
  # time per material point and equilibrium iteration, with the points per
  # element taken from the element type of the input file.
  je_element=$(sed -n 's/^eletyp.*Gauss, *\([0-9]*\).*/\1/p' "$laeufe/$name.mpm" | head -n 1)
  read -r schritt gezaehlt konvergiert punktzeit < <(awk -v p=$((${je_element:-0} * elemente)) '
    NR == 1 { erst = $1 } NR > 1 { it += $3 } { letzt = $1; k += $2 }
    END {
      if (NR < 2) printf "- %d %d -\n", NR, k
      else printf "%.4f %d %d %s\n", (letzt - erst) / (NR - 1), NR, k, (it > 0 && p > 0 ? sprintf("%.3f", (letzt - erst) * 1e6 / (p * it)) : "-")
    }
  ' "$laeufe/$name.schritte")
  wand=$(sekunden "$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$laeufe/$name.time")")
  cpu=$(awk -F': ' '/User time|System time/ {s += $2} END {printf "%.2f", s}' "$laeufe/$name.time")
  rss_kib=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$laeufe/$name.time")
  status=$(sed -n 's/.*Exit status: //p' "$laeufe/$name.time")
  status=${status:-unknown}
  rss_mib=$(awk -v k="${rss_kib:-0}" 'BEGIN {printf "%.0f", k / 1024}')
  anteil=$(awk -v k="${rss_kib:-0}" -v e="$elemente" 'BEGIN {printf "%.1f", k / e}')
  if [ "$status" = "124" ]; then
    ergebnis_text="stopped at the time limit of ${limit} s"
    halt="a smaller size hit the time limit"
  elif [ "$status" != "0" ]; then
    ergebnis_text="failed (exit status $status, see $name.err)"
    halt="a smaller size failed"
  elif [ "$konvergiert" != "$schritte" ]; then
    ergebnis_text="ok, but $konvergiert of $schritte steps converged"
  else
    ergebnis_text="ok, $schritte steps converged"
    messpunkte="$messpunkte $n:$schritt"
  fi
  # Local exponent p of time per step ~ N^p against the previous measured size.
  exponent=$(awk -v t="$schritt" -v n="$n" -v t0="$vorher_schritt" -v n0="$vorher_schritt_n" \
    'BEGIN {if (t == "-" || t0 == "" || t + 0 <= 0 || t0 + 0 <= 0) print ""; else printf "%.2f", log(t / t0) / log(n / n0)}')
  if [ "$schritt" != "-" ]; then
    vorher_schritt=$schritt
    vorher_schritt_n=$n
  fi
  rest=$(awk -v w="$wand" -v s="$schritt" -v z="$gezaehlt" 'BEGIN {if (s == "-") print "-"; else printf "%.2f", w - z * s}')
  zeile "| $elemente | $knoten | $n | $schritt | $exponent | $punktzeit | $rest | $wand | $cpu | $rss_mib | $anteil | $last | $ergebnis_text |"
  vorher_n=$n
  vorher_rss_kib=${rss_kib:-0}
  vorher_zeit=${wand:-0}
done

# Least-squares slope of log(time per step) over log(N), sizes with at least 0.05 s per step.
if [ -n "$messpunkte" ]; then
  echo "$messpunkte" | tr ' ' '\n' | awk -F: '
    $2 != "" && $2 + 0 >= 0.05 { x = log($1); y = log($2); n++; sx += x; sy += y; sxx += x * x; sxy += x * y }
    END {
      if (n >= 2) printf "\nTime per step grows like N^%.2f (least-squares fit over %d sizes with >= 0.05 s per step).\n", (n * sxy - sx * sy) / (n * sxx - sx * sx), n
    }' | tee -a "$ergebnis"
fi
echo "Load average at the end: $(cut -d' ' -f1-3 /proc/loadavg). Table saved in $ergebnis" >&2
