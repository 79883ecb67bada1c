#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
# SPDX-License-Identifier: MIT

# The Slurm array example on a private one-node cluster: three tasks convert a tree of decks,
# each file once between them; then one task is killed midway and run again, and converts only
# what it had not finished.
#   array_test.sh PROGRAM SOURCE_ROOT
set -euo pipefail

program=$1
source_root=$2
here=$(cd "$(dirname "$0")" && pwd)
example=$source_root/examples/slurm/convert-array.sbatch

if [ "$(id -u)" -ne 0 ]; then
  echo "SKIP: the private cluster's daemons run as root"
  exit 77
fi
for tool in slurmctld slurmd sbatch munged jq python3; do
  command -v "$tool" >/dev/null || [ -x "/usr/sbin/$tool" ] || {
    echo "FAIL: $tool is missing (scripts/install-deps.sh installs it)" >&2
    exit 1
  }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/slate-slurm.XXXXXX")
chmod 0755 "$work"
# shellcheck source=cluster.sh
source "$here/cluster.sh"
finish() {
  local status=$?
  stop_cluster
  # The tasks' offices ran on profiles under the test's home: none may be left.
  if pgrep -f "$work/home" >/dev/null; then
    echo "FAIL: an office of the tasks is still running" >&2
    pkill -KILL -f "$work/home" || true
    status=1
  fi
  [ "$status" -eq 0 ] && rm -rf "$work"
  exit "$status"
}
trap finish EXIT

fail() {
  echo "FAIL: $*" >&2
  for out in "$work"/out/*.out; do
    [ -f "$out" ] && { echo "--- $out"; tail -n 15 "$out"; }
  done >&2
  cluster_logs >&2
  exit 1
}

# A tree of 30 decks in nested folders, some sharing a name in different folders.
tree=$work/tree
i=0
for folder in a a/deep b b/deeper/still c "d with space"; do
  mkdir -p "$tree/$folder"
  for sample in "$source_root"/resources/Samples/*.odp; do
    for copy in 1 2 ""; do
      [ "$i" -lt 30 ] || break
      name=$(basename "$sample" .odp)
      cp "$sample" "$tree/$folder/$name$copy.odp"
      i=$((i + 1))
    done
  done
done
total=$(find "$tree" -name '*.odp' | wc -l)

start_cluster "$work/cluster" || fail "the cluster did not start"
echo "Private cluster up: $(sinfo -h -o '%N %c CPUs %T')"

# The tasks share one home, as tasks on a shared home over NFS would.
mkdir -p "$work/home" "$work/out"
submit() {  # submit ARRAY [SHARDS]: the job id
  HOME=$work/home CONVERTER=$program REPORTS=$work/reports SHARDS=${2:-} \
    sbatch --parsable --array="$1" -c 1 -o "$work/out/task-%a-%j.out" \
    -D "$work" "$example" "$tree" | cut -d';' -f1
}
# wait_done JOB: until no task of it is queued or running.
wait_done() {
  for _ in $(seq 600); do
    [ -z "$(squeue -h -j "$1" 2>/dev/null)" ] && return 0
    sleep 0.5
  done
  fail "job $1 did not finish"
}
task_states() {  # task_states JOB: "TASK STATE EXITCODE" lines
  scontrol -o show job "$1" | sed -n 's/.*ArrayTaskId=\([0-9]*\) .*JobState=\([A-Z]*\) .*ExitCode=\([0-9:]*\).*/\1 \2 \3/p' | sort
}
count() { jq -s "[.[] | $1] | length" "${@:2}"; }

# 1. Three tasks convert the tree between them.
job=$(submit 0-2)
wait_done "$job"
echo "Array job $job:"
task_states "$job" | sed 's/^/  task /'
[ "$(task_states "$job" | grep -c ' COMPLETED 0:0$')" -eq 3 ] || fail "not every task succeeded"
reports=("$work"/reports/task-{0,1,2}.jsonl)
converted=$(count 'select(.status == "converted") | .source' "${reports[@]}")
distinct=$(jq -rs '.[] | select(.status == "converted") | .source' "${reports[@]}" | sort -u | wc -l)
for k in 0 1 2; do
  echo "  task $k converted $(count 'select(.status == "converted")' "$work/reports/task-$k.jsonl")"
done
[ "$converted" -eq "$total" ] && [ "$distinct" -eq "$total" ] ||
  fail "$converted conversions of $distinct sources, for $total sources"
[ "$(count 'select(.status != "converted")' "${reports[@]}")" -eq 0 ] || fail "some file did not convert"
python3 - "$tree" <<'PY' || fail "a result is not a PowerPoint 97 file"
import pathlib, sys
sources = list(pathlib.Path(sys.argv[1]).rglob("*.odp"))
for source in sources:
    data = source.with_suffix(".ppt").read_bytes()
    assert data[:8] == bytes.fromhex("D0CF11E0A1B11AE1"), source
    assert "PowerPoint Document".encode("utf-16-le") in data, source
print(f"  {len(sources)} results are PowerPoint 97 files")
PY
echo "Phase 1: $converted of $total files converted once across the three tasks."

# 2. Task 1 again from nothing, killed midway, then run again.
mapfile -t shard1 < <(jq -r 'select(.status == "converted") | .source' "$work/reports/task-1.jsonl" | sort)
jq -r '.target' "$work/reports/task-1.jsonl" | while read -r target; do rm -f "$target"; done
mkdir -p "$work/reports-phase1"
mv "$work"/reports/task-*.jsonl "$work/reports-phase1/"
report=$work/reports/task-1.jsonl

job=$(submit 1 3)
for _ in $(seq 600); do
  [ -f "$report" ] && [ "$(count 'select(.status == "converted")' "$report")" -ge 2 ] && break
  sleep 0.1
done
scancel "${job}_1"
wait_done "$job"
first=$(wc -l <"$report")
state=$(task_states "$job")
echo "Killed task: $state, after $first report lines"
[ "$first" -lt "${#shard1[@]}" ] || fail "the task ended before it could be killed"
echo "$state" | grep -q CANCELLED || fail "the task was not cancelled"

job=$(submit 1 3)
wait_done "$job"
state=$(task_states "$job")
echo "Resubmitted task: $state"
echo "$state" | grep -q ' COMPLETED 0:0$' || fail "the resubmitted task failed"
before=$(head -n "$first" "$report" | jq -r 'select(.status == "converted") | .source' | sort)
again=$(tail -n +"$((first + 1))" "$report" | jq -r 'select(.status == "converted") | .source' | sort)
current=$(tail -n +"$((first + 1))" "$report" | jq -r 'select(.status == "up-to-date") | .source' | sort)
echo "  killed run converted $(echo "$before" | grep -c .), the rerun converted $(echo "$again" | grep -c .) and found $(echo "$current" | grep -c .) up to date"
[ -z "$(comm -12 <(echo "$before") <(echo "$again"))" ] || fail "the rerun converted a file again"
[ -z "$(comm -23 <(echo "$before") <(echo "$current"))" ] || fail "a file converted before was not up to date"
[ "$(printf '%s\n' "$again" "$current" | grep . | sort)" = "$(printf '%s\n' "${shard1[@]}")" ] ||
  fail "the rerun did not finish exactly the task's files"
[ -n "$again" ] || fail "the kill came after the last file"
echo "Phase 2: the killed task, run again, converted only the rest."
jq -s 'group_by(.status) | map({(.[0].status): length}) | add' "$work/reports-phase1"/*.jsonl

# 3. -j auto inside a one-CPU task: the affinity mask Slurm set is what limits it.
if [ "$(nproc)" -gt 1 ]; then
  small=$work/small
  mkdir -p "$small"
  cp "$source_root"/resources/Samples/*.odp "$small/"
  job=$(HOME=$work/home sbatch --parsable -c 1 -o "$work/out/auto-%j.out" -D "$work" \
    --wrap "exec '$program' convert -j auto '$small'" | cut -d';' -f1)
  wait_done "$job"
  grep -q "affinity mask allows 1 of the $(nproc) cores" "$work/out/auto-$job.out" ||
    fail "-j auto did not say that the task's affinity mask limited it"
  echo "Phase 3: $(grep '^Starting' "$work/out/auto-$job.out")"
fi
echo "PASS"
