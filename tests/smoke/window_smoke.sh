#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
# SPDX-License-Identifier: MIT

# Starts the real program on a virtual X screen, waits for its window, takes a screenshot and
# ends the program. Usage: window_smoke.sh PROGRAM SCREENSHOT.png
set -euo pipefail
program=$1
shot=$2

if ! command -v xvfb-run >/dev/null || ! command -v xwininfo >/dev/null; then
  echo "xvfb-run and xwininfo are needed (scripts/install-deps.sh installs them)" >&2
  exit 1
fi

inner=$(mktemp)
trap 'rm -f "$inner"' EXIT
cat >"$inner" <<'INNER'
set -u
program=$1
shot=$2
unset QT_QPA_PLATFORM
"$program" &
pid=$!
found=
for _ in $(seq 1 300); do
  if xwininfo -root -tree 2>/dev/null | grep -q '"Slatemere Converter"'; then
    found=1
    break
  fi
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if [ -n "$found" ]; then
  sleep 0.5
  xwininfo -root -tree | grep '"Slatemere Converter"'
  /usr/bin/import -window root "$shot" 2>/dev/null || true
fi
kill -TERM "$pid" 2>/dev/null
for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -KILL "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null
[ -n "$found" ] || { echo "the main window did not appear" >&2; exit 1; }
echo "window appeared; screenshot: $shot"
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$program" "$shot"
