#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
# SPDX-License-Identifier: MIT

# Conversion benchmark. In one run, alternating round by round, it times
#   (a) the command line converting every deck:  slatemere-converter convert --timings ...
#   (b) the office's own batch converter on the same decks, with a fresh profile:
#       soffice --headless --convert-to 'ppt:MS PowerPoint 97' ...
#   (c) the floor: the office's own load + save + close time per file inside the running
#       office of (a), as the command line's --timings measures around those calls only,
# and prints the medians with the ratios a/b (whole batch) and a/c (per file, office up).
#
# Usage: bench/convert.sh [ROUNDS]      (default 3; SMALL=10 MEDIUM=10 decks)
# Environment: BUILD (build folder, default build), SMALL, MEDIUM, KEEP=1 keeps the work folder.
# Every office this script starts runs on a profile inside its work folder and is ended on
# exit, Ctrl-C included.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
rounds=${1:-3}
small=${SMALL:-10}
medium=${MEDIUM:-10}
[ -x /usr/bin/convert ] || command -v convert >/dev/null || { echo "ImageMagick's convert not found" >&2; exit 2; }

work=$(mktemp -d /tmp/slate-bench.XXXXXX)

# shellcheck source=bench/harness.sh
source "$repo/bench/harness.sh"

echo "Generating $small small and $medium medium (20-slide) decks ..."
bash "$repo/bench/makedecks.sh" "$work/fodp" "$small" "$medium"
run_child "$soffice" -env:UserInstallation="file://$work/profile-generate" --headless --norestore \
  --convert-to odp --outdir "$work/decks" "$work"/fodp/*.fodp >/dev/null 2>&1
files=("$work"/decks/*.odp)
count=${#files[@]}
if ((count != small + medium)); then
  echo "Only $count of $((small + medium)) decks were generated." >&2
  exit 1
fi
echo "$count decks in $work/decks"

# The command line keeps its office profile between runs, as it does for a user.
export XDG_CACHE_HOME="$work/cli-cache"

: >"$work/a-total" >"$work/b-total" >"$work/a-file" >"$work/c-file"
for ((r = 1; r <= rounds; r++)); do
  rm -rf "$work/out-a" "$work/out-b"
  mkdir -p "$work/out-a" "$work/out-b"

  start=$(now)
  status=0
  run_child "$cli" convert --quiet --timings -o "$work/out-a" "$work/decks" >"$work/timings" ||
    status=$?
  end=$(now)
  converted=$(find "$work/out-a" -name '*.ppt' | wc -l)
  if ((status != 0 || converted != count)); then
    echo "round $r: the command line ended with $status and wrote $converted of $count" >&2
    exit 1
  fi
  awk -v s="$start" -v e="$end" 'BEGIN {printf "%.3f\n", e - s}' >>"$work/a-total"
  # Per file once the office is up: every file but the first of the batch.
  awk '/^Timing: file / {sub(":", "", $3); if ($3 > 1) {print $4 > "/dev/stdout"; print $7 > "/dev/stderr"}}' \
    "$work/timings" >>"$work/a-file" 2>>"$work/c-file"

  start=$(now)
  run_child "$soffice" -env:UserInstallation="file://$work/profile-b-$r" --headless --norestore \
    --convert-to 'ppt:MS PowerPoint 97' --outdir "$work/out-b" "${files[@]}" >/dev/null 2>&1 ||
    true
  end=$(now)
  converted=$(find "$work/out-b" -name '*.ppt' | wc -l)
  if ((converted != count)); then
    echo "round $r: soffice --convert-to wrote $converted of $count" >&2
    exit 1
  fi
  awk -v s="$start" -v e="$end" 'BEGIN {printf "%.3f\n", e - s}' >>"$work/b-total"

  printf 'round %d: (a) %.2f s  (b) %.2f s\n' "$r" "$(tail -1 "$work/a-total")" \
    "$(tail -1 "$work/b-total")"
done

a_total=$(median <"$work/a-total")
b_total=$(median <"$work/b-total")
a_file=$(median <"$work/a-file")
c_file=$(median <"$work/c-file")
echo
echo "Files per batch: $count ($small small, $medium medium); rounds: $rounds"
printf '(a) command line, whole batch      median %.3f s\n' "$a_total"
printf '(b) soffice --convert-to, batch    median %.3f s\n' "$b_total"
printf '(a) per file, office up            median %.3f s\n' "$a_file"
printf '(c) office load+save, per file     median %.3f s\n' "$c_file"
echo "a/b (batch)    $(ratio "$a_total" "$b_total")   (target below 1)"
echo "a/c (per file) $(ratio "$a_file" "$c_file")   (target at most 1.10)"
