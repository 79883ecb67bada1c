#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
# SPDX-License-Identifier: MIT

# Takes the README's picture of the window with a few presentations listed, on a virtual X
# screen, the way "Open With" starts the program. Re-run it when the window changes.
# Usage: scripts/screenshot.sh [PROGRAM] [PICTURE.png]
#   PROGRAM defaults to build/bin/slatemere-converter, PICTURE to docs/window.png.
# Needs xvfb-run, xwininfo, ImageMagick's import and a LibreOffice for the start-up check.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$repo/build/bin/slatemere-converter}
shot=${2:-$repo/docs/window.png}
for tool in xvfb-run xwininfo import; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
done
[[ -x $program ]] || { echo "no program at $program (make build)" >&2; exit 1; }

# A home of its own, so the picture shows a first start and nothing of the user's settings.
demo=/tmp/slatemere-demo
rm -rf "$demo"
mkdir -p "$demo/Presentations/Archive" "$(dirname "$shot")"
trap 'rm -rf "$demo"' EXIT
samples=$repo/resources/Samples
cp "$samples/Welcome to Slatemere Converter.odp" "$samples/Quarterly Review Sample.odp" \
  "$demo/Presentations/"
cp "$samples/Photo Album Sample.odp" "$demo/Presentations/Archive/"

inner=$demo/inner.sh
cat >"$inner" <<'INNER'
set -u
program=$1
shot=$2
cd "$HOME/Presentations"
unset QT_QPA_PLATFORM
"$program" "Welcome to Slatemere Converter.odp" "Quarterly Review Sample.odp" Archive/ &
pid=$!
window=
for _ in $(seq 1 600); do
  window=$(xwininfo -name "Slatemere Converter" 2>/dev/null | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p')
  [ -n "$window" ] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
status=1
if [ -n "$window" ]; then
  sleep 1
  import -window "$window" "$shot" && status=0
fi
kill -TERM "$pid" 2>/dev/null
for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -KILL "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null
[ "$status" = 0 ] || echo "the window did not appear" >&2
exit "$status"
INNER
# Another virtual screen starting at the same moment can take the display number: try again.
for attempt in 1 2 3; do
  if HOME=$demo XDG_CONFIG_HOME=$demo/.config XDG_CACHE_HOME=$demo/.cache \
    xvfb-run -a -s "-screen 0 1024x768x24" bash "$inner" "$program" "$shot"; then
    echo "wrote $shot"
    exit 0
  fi
  rm -rf "$demo/.config"
done
exit 1
