# SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
# SPDX-License-Identifier: MIT

# Shared by the benchmark scripts: a work folder, the offices started from it, a child run so
# that signals are handled at once, and the sweep that leaves nothing running or behind.
# The sourcing script sets $repo and $work first and may set $sampler (a background pid) and KEEP=1.

# The program and the office that are timed.
cli=${CLI:-$repo/${BUILD:-build}/bin/slatemere-converter}
soffice=${SOFFICE:-soffice}
export LC_ALL=C.UTF-8

# The offices of this run are the processes whose command line names the work folder.
offices_of_this_run() {
  pgrep -f "(soffice|oosplash).*$work" || true
}

# Long commands run in the background so that a signal is handled at once, not when they end.
child=
sampler=
run_child() {
  "$@" &
  child=$!
  local status=0
  wait "$child" || status=$?
  child=
  return "$status"
}

cleanup() {
  local status=$? pids
  trap - EXIT INT TERM
  [[ -n $sampler ]] && kill "$sampler" 2>/dev/null
  # The program ends its own office on SIGTERM; give it a moment before sweeping up.
  if [[ -n $child ]] && kill -TERM "$child" 2>/dev/null; then
    for _ in $(seq 50); do kill -0 "$child" 2>/dev/null || break; sleep 0.1; done
  fi
  pids=$(offices_of_this_run)
  if [[ -n $pids ]]; then
    kill -TERM $pids 2>/dev/null || true
    sleep 1
    pids=$(offices_of_this_run)
    [[ -n $pids ]] && kill -KILL $pids 2>/dev/null || true
  fi
  if [[ ${KEEP:-0} == 1 ]]; then
    echo "Work folder kept: $work" >&2
  else
    rm -rf "$work"
  fi
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

now() { date +%s.%N; }
median() { sort -g | awk '{v[NR] = $1} END {if (NR == 0) print "nan"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.3f", (b > 0 ? a / b : 0)}'; }

if [[ ! -x $cli ]]; then
  echo "No program at $cli: build first (make build), or set BUILD or CLI." >&2
  exit 2
fi
command -v "$soffice" >/dev/null || { echo "soffice not found" >&2; exit 2; }
