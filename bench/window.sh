#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
# SPDX-License-Identifier: MIT

# The window's run against the command line's. In one run, alternating round by round, on the
# same medium decks, it times
#   (w) the window: slate-window-bench lists the decks, clicks "Start Converting" offscreen
#       and waits for "Done." (its offices on every core, as the window chooses),
#   (a) slatemere-converter convert -j auto,
#   (1) slatemere-converter convert -j 1,
# and prints the medians with the ratios w/a and w/1. Then it converts one large deck in the
# window and prints the longest time the window did not handle its events meanwhile.
#
# Usage: bench/window.sh [ROUNDS]      (default 3; MEDIUM=20 decks, LARGE=2500 slides)
# Environment: BUILD (build folder, default build), MEDIUM, LARGE, KEEP=1 keeps the work folder.
# Every office this script starts runs on a profile inside its work folder and is ended on
# exit, Ctrl-C included.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
rounds=${1:-3}
medium=${MEDIUM:-20}
large=${LARGE:-2500}
window=$repo/${BUILD:-build}/bin/slate-window-bench
[ -x "$window" ] || { echo "$window not built (cmake --build ${BUILD:-build})" >&2; exit 2; }

work=$(mktemp -d /tmp/slate-bench.XXXXXX)

# shellcheck source=bench/harness.sh
source "$repo/bench/harness.sh"

echo "Generating $medium medium (20-slide) decks and one of $large slides ..."
bash "$repo/bench/makedecks.sh" "$work/fodp" 0 "$medium" "$large"
run_child "$soffice" -env:UserInstallation="file://$work/profile-generate" --headless --norestore \
  --convert-to odp --outdir "$work/decks" "$work"/fodp/*.fodp >/dev/null 2>&1
mkdir -p "$work/large"
mv "$work/decks/large-01.odp" "$work/large/"
files=("$work"/decks/*.odp)
count=${#files[@]}
((count == medium)) || { echo "Only $count of $medium decks were generated." >&2; exit 1; }

# Both front ends keep their office profiles between runs, as they do for a user.
export XDG_CACHE_HOME="$work/cache" QT_QPA_PLATFORM=offscreen

# time_run LABEL COMMAND...: runs into a fresh out folder, checks every deck was converted and
# appends the seconds to $work/LABEL.
time_run() {
  local label=$1
  shift
  rm -rf "$work/out" && mkdir -p "$work/out"
  local start end status=0
  start=$(now)
  run_child "$@" >"$work/$label.log" 2>&1 || status=$?
  end=$(now)
  local converted
  converted=$(find "$work/out" -name '*.ppt' | wc -l)
  if ((status != 0 || converted != count)); then
    echo "($label) ended with $status and wrote $converted of $count; see $work/$label.log" >&2
    KEEP=1
    exit 1
  fi
  awk -v s="$start" -v e="$end" 'BEGIN {printf "%.3f\n", e - s}' >>"$work/$label"
}

: >"$work/w" >"$work/a" >"$work/1"
for ((r = 1; r <= rounds; r++)); do
  time_run w "$window" "$work/out" "${files[@]}"
  time_run a "$cli" convert --quiet -j auto -o "$work/out" "${files[@]}"
  time_run 1 "$cli" convert --quiet -j 1 -o "$work/out" "${files[@]}"
  printf 'round %d: (w) %.2f s  (a) %.2f s  (1) %.2f s\n' "$r" "$(tail -1 "$work/w")" \
    "$(tail -1 "$work/a")" "$(tail -1 "$work/1")"
done

rm -rf "$work/out" && mkdir -p "$work/out"
run_child "$window" "$work/out" "$work/large/large-01.odp" >"$work/large.log" 2>&1
stall=$(awk '/^longest-stall-ms/ {print $2}' "$work/large.log")
large_seconds=$(awk '/^window-seconds/ {print $2}' "$work/large.log")

w=$(median <"$work/w")
a=$(median <"$work/a")
one=$(median <"$work/1")
echo
echo "Decks per batch: $count medium; rounds: $rounds; cores: $(nproc)"
printf '(w) window, Start Converting     median %.3f s\n' "$w"
printf '(a) convert -j auto              median %.3f s\n' "$a"
printf '(1) convert -j 1                 median %.3f s\n' "$one"
echo "w/a $(ratio "$w" "$a")   (target at most 1.10)"
echo "w/1 $(ratio "$w" "$one")   (target at most 0.75)"
printf 'A %d-slide deck in the window: %.1f s; longest time without handling events %s ms (target below 100)\n' \
  "$large" "$large_seconds" "$stall"
