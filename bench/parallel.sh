#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
# SPDX-License-Identifier: MIT

# Several offices at once. In one run, alternating round by round, on the same 20 and 60
# medium (20-slide) decks, it times
#   j2: slatemere-converter convert --jobs 2
#   j1: slatemere-converter convert --jobs 1
#   so: soffice --headless --convert-to 'ppt:MS PowerPoint 97' (its profile kept between
#       rounds, as the command line keeps its own)
# and prints the medians, the ratios and the peak resident memory of all offices together
# (soffice.bin processes, sampled from /proc) for one and two jobs. Then it converts 500 small
# decks with one office, once with the restart after 200 files and once without any restart,
# and prints that office's memory early in the run, late in it and at its peak.
#
# Usage: bench/parallel.sh [ROUNDS]      (default 3)
# Environment: BUILD (build folder, default build), CLI, SOFFICE, LONG (files of the long run,
# default 500; 0 skips it), KEEP=1 keeps the work folder.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
rounds=${1:-3}
long=${LONG:-500}

work=$(mktemp -d /tmp/slate-parallel.XXXXXX)

# shellcheck source=bench/harness.sh
source "$repo/bench/harness.sh"

# Writes "seconds-since-start total-resident-kB" of this run's soffice.bin processes to $1
# every quarter of a second, until stopped.
start_sampler() {
  local out=$1
  (
    t0=$(now)
    while :; do
      total=0
      for pid in $(pgrep -f "soffice\.bin.*$work" || true); do
        rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status" 2>/dev/null || true)
        total=$((total + ${rss:-0}))
      done
      awk -v t="$(now)" -v t0="$t0" -v kb="$total" 'BEGIN {printf "%.2f %d\n", t - t0, kb}'
      sleep 0.25
    done
  ) >"$out" &
  sampler=$!
}
stop_sampler() {
  kill "$sampler" 2>/dev/null || true
  wait "$sampler" 2>/dev/null || true
  sampler=
}
peak_mb() { awk '$2 > m {m = $2} END {printf "%.0f", m / 1024}' "$@"; }

# Times one variant on one set of decks; appends the seconds to $work/time-VARIANT-SET.
timed() {
  local variant=$1 n=$2 out="$work/out" start end status=0 converted
  rm -rf "$out"
  mkdir -p "$out"
  start_sampler "$work/mem-$variant-$n-$r"
  start=$(now)
  case $variant in
    j2) run_child "$cli" convert --quiet --jobs 2 -o "$out" "$work/decks$n" || status=$? ;;
    j1) run_child "$cli" convert --quiet --jobs 1 -o "$out" "$work/decks$n" || status=$? ;;
    so) run_child "$soffice" -env:UserInstallation="file://$work/profile-so" --headless \
          --norestore --convert-to 'ppt:MS PowerPoint 97' --outdir "$out" \
          "$work/decks$n"/*.odp >/dev/null 2>&1 || true ;;
  esac
  end=$(now)
  stop_sampler
  converted=$(find "$out" -name '*.ppt' | wc -l)
  if ((status != 0 || converted != n)); then
    echo "round $r: $variant on $n decks ended with $status and wrote $converted" >&2
    exit 1
  fi
  awk -v s="$start" -v e="$end" 'BEGIN {printf "%.3f\n", e - s}' >>"$work/time-$variant-$n"
}

echo "Load before: $(uptime)"
echo "Generating 60 medium and 25 small decks ..."
bash "$repo/bench/makedecks.sh" "$work/fodp" 25 60
run_child "$soffice" -env:UserInstallation="file://$work/profile-so" --headless --norestore \
  --convert-to odp --outdir "$work/all" "$work"/fodp/*.fodp >/dev/null 2>&1
mkdir -p "$work/decks20" "$work/decks60" "$work/decks-long"
mediums=("$work"/all/medium-*.odp)
smalls=("$work"/all/small-*.odp)
if ((${#mediums[@]} != 60 || ${#smalls[@]} != 25)); then
  echo "Only ${#mediums[@]} medium and ${#smalls[@]} small decks were generated." >&2
  exit 1
fi
cp "${mediums[@]:0:20}" "$work/decks20/"
cp "${mediums[@]}" "$work/decks60/"
for ((i = 0; i < long; i++)); do
  cp "${smalls[i % 25]}" "$(printf '%s/deck-%03d.odp' "$work/decks-long" "$i")"
done

# The command line keeps its office profiles between runs, as it does for a user.
export XDG_CACHE_HOME="$work/cli-cache"
# One untimed run each first, so that no variant pays for setting up a new profile.
mkdir -p "$work/warm"
run_child "$cli" convert --quiet --jobs 2 -o "$work/warm" "$work/decks20" >/dev/null

for ((r = 1; r <= rounds; r++)); do
  for n in 20 60; do
    for variant in j2 j1 so; do timed "$variant" "$n"; done
    printf 'round %d, %d decks: --jobs 2 %.2f s  --jobs 1 %.2f s  soffice --convert-to %.2f s\n' \
      "$r" "$n" "$(tail -1 "$work/time-j2-$n")" "$(tail -1 "$work/time-j1-$n")" \
      "$(tail -1 "$work/time-so-$n")"
  done
done

echo
echo "Rounds: $rounds; $(nproc) cores"
for n in 20 60; do
  j2=$(median <"$work/time-j2-$n")
  j1=$(median <"$work/time-j1-$n")
  so=$(median <"$work/time-so-$n")
  printf '%d medium decks: medians --jobs 2 %.2f s, --jobs 1 %.2f s, soffice --convert-to %.2f s\n' \
    "$n" "$j2" "$j1" "$so"
  echo "  --jobs 2 / soffice $(ratio "$j2" "$so")   --jobs 1 / soffice $(ratio "$j1" "$so")   --jobs 2 / --jobs 1 $(ratio "$j2" "$j1")"
done
echo "Peak resident memory of all offices together: --jobs 1 $(peak_mb "$work"/mem-j1-*) MB," \
  "--jobs 2 $(peak_mb "$work"/mem-j2-*) MB, soffice --convert-to $(peak_mb "$work"/mem-so-*) MB"

if ((long > 0)); then
  echo
  for restart in 200 0; do
    rm -rf "$work/out"
    mkdir -p "$work/out"
    start_sampler "$work/mem-long-$restart"
    start=$(now)
    run_child "$cli" convert --quiet --jobs 1 --restart-after "$restart" -o "$work/out" \
      "$work/decks-long"
    end=$(now)
    stop_sampler
    # Early: the second twentieth of the run (the office is up); late: the last twentieth.
    awk -v d="$(awk -v s="$start" -v e="$end" 'BEGIN {print e - s}')" -v restart="$restart" \
      -v files="$long" '
      $2 > 0 { if ($1 >= d / 20 && $1 < d / 10) {es += $2; en++}
               if ($1 >= d * 19 / 20) {ls += $2; ln++}
               if ($2 > peak) peak = $2 }
      END { printf "%d small decks, one office, %s: %.0f s; office memory early %.0f MB, late %.0f MB, peak %.0f MB\n",
            files, (restart > 0 ? "restarted every " restart " files" : "never restarted"), d,
            (en ? es / en / 1024 : 0), (ln ? ls / ln / 1024 : 0), peak / 1024 }' \
      "$work/mem-long-$restart"
  done
fi
echo "Load after: $(uptime)"
