#!/usr/bin/env bash
# Compares two builds of mpm on the cantilever of bench/netz.py in an order
# that favours neither: A B B A per repetition and size. Back to back, a run
# finds the memory its predecessor freed still backed by the host and clears
# it faster; a plain A B alternation hands that to B every time (see
# bench/README.md, "Comparing two versions").
#
# Usage: bench/ab.sh [-n REPS] [-p PAUSE] BIN_A BIN_B [NY ...]
#   REPS   repetitions of A B B A, default 3
#   PAUSE  0 (default): each size starts with an uncounted run of A, so that
#          every counted run follows one of the same size ("warm");
#          seconds > 0: a pause before every run, long enough (3 s or more)
#          for the freed memory to go back to the host ("cold")
#   NY     depths of the meshes (nx = 8 ny, 50 steps), default 10 20 40
# Prints per size and build the wall times (mean, range), the mean CPU time
# and the largest peak RSS, and the ratio of the means B / A.
set -eu
export LC_ALL=C

wiederholungen=3
pause=0
while getopts "n:p:" opt; do
  case $opt in
    n) wiederholungen=$OPTARG ;;
    p) pause=$OPTARG ;;
    *) exit 2 ;;
  esac
done
shift $((OPTIND - 1))
if [ $# -lt 2 ]; then
  echo "usage: bench/ab.sh [-n REPS] [-p PAUSE] BIN_A BIN_B [NY ...]" >&2
  exit 2
fi
case $wiederholungen$pause in
  '' | *[!0-9]*)
    echo "ab.sh: REPS and PAUSE must be whole numbers" >&2
    exit 2
    ;;
esac
if [ "$wiederholungen" -lt 1 ]; then
  echo "ab.sh: REPS must be at least 1" >&2
  exit 2
fi
a=$(realpath "$1")
b=$(realpath "$2")
shift 2
groessen=${*:-10 20 40}
for bin in "$a" "$b"; do
  [ -x "$bin" ] || { echo "ab.sh: $bin is not a program" >&2; exit 2; }
done
[ -x /usr/bin/time ] || { echo "ab.sh: needs /usr/bin/time (Debian package time)" >&2; exit 2; }

hier=$(cd "$(dirname "$0")" && pwd)
ordner=$(mktemp -d)
trap 'rm -rf "$ordner"' EXIT

# One run in the folder of size $1 with build $2; appends "size label wall cpu kib".
lauf() {
  local etikett=$3
  cd "$ordner/$1"
  [ "$pause" -gt 0 ] && sleep "$pause"
  /usr/bin/time -f "%e %U %S %M" -o zeit.txt "$2" k > /dev/null 2>&1 < /dev/null
  awk -v g="$1" -v e="$etikett" '{print g, e, $1, $2 + $3, $4}' zeit.txt >> "$ordner/ergebnis.txt"
}

for ny in $groessen; do
  mkdir -p "$ordner/$ny"
  python3 "$hier/netz.py" "$ny" 50 $((8 * ny)) > "$ordner/$ny/k.mpm" 2> /dev/null
done
for _ in $(seq "$wiederholungen"); do
  for ny in $groessen; do
    if [ "$pause" -eq 0 ]; then
      (cd "$ordner/$ny" && "$a" k > /dev/null 2>&1 < /dev/null)
    fi
    lauf "$ny" "$a" A
    lauf "$ny" "$b" B
    lauf "$ny" "$b" B
    lauf "$ny" "$a" A
  done
done

echo "A = $a"
echo "B = $b"
echo "| elements | build | runs | wall mean [s] | wall range [s] | CPU mean [s] | peak RSS [KiB] |"
echo "|---:|---|---:|---:|---|---:|---:|"
sort -k1,1n -k2,2 "$ordner/ergebnis.txt" | awk '
  { k = $1 " " $2; n[k]++; s[k] += $3; c[k] += $4
    if (!(k in lo) || $3 < lo[k]) lo[k] = $3
    if ($3 > hi[k]) hi[k] = $3
    if ($5 > m[k]) m[k] = $5
    if (!($1 in gesehen)) { gesehen[$1] = 1; folge[++z] = $1 } }
  END {
    for (i = 1; i <= z; i++) {
      g = folge[i]
      for (j = 1; j <= 2; j++) {
        e = j == 1 ? "A" : "B"; k = g " " e
        printf "| %d | %s | %d | %.3f | %.2f to %.2f | %.3f | %d |\n", 8 * g * g, e, n[k], s[k] / n[k], lo[k], hi[k], c[k] / n[k], m[k]
      }
      printf "| %d | B / A | | %.3f | | | |\n", 8 * g * g, (s[g " B"] / n[g " B"]) / (s[g " A"] / n[g " A"])
    }
  }'
