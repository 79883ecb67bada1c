#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
# SPDX-License-Identifier: MIT

# The installed launcher, found on PATH, converts a sample with the real office and leaves the
# installed tree exactly as it was. Usage: installed_convert.sh ROOT VERSION
set -euo pipefail
root=$1
version=$2
fail() { echo "FAIL: $*" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_CACHE_HOME=$work/home/.cache
export PATH=$root/bin:$PATH
unset SLATEMERE_OFFICE_URL
mkdir -p "$HOME" "$work/in" "$work/out"
tree_state() { (cd "$root" && find . -printf '%p %y %s %m %T@ %l\n' | sort); }
before=$(tree_state)

[[ $(command -v slatemere-converter) == "$root/bin/slatemere-converter" ]] || fail "not on PATH"
shown=$(slatemere-converter --version)
[[ $shown == "Slatemere Converter $version" ]] || fail "--version says \"$shown\", not $version"

sample=$root/lib/slatemere-converter/Samples/"Welcome to Slatemere Converter.odp"
cp "$sample" "$work/in/"
slatemere-converter convert -o "$work/out" "$work/in" || fail "convert ended with status $?"
result=$work/out/"Welcome to Slatemere Converter.ppt"
[[ -s $result ]] || fail "no $result"
# A PowerPoint 97 file is an OLE compound document.
[[ $(head -c 8 "$result" | od -An -tx1 | tr -d ' \n') == d0cf11e0a1b11ae1 ]] ||
  fail "$result is not an OLE compound document"

after=$(tree_state)
[[ $before == "$after" ]] || { diff <(echo "$before") <(echo "$after") >&2; fail "the installed tree changed"; }
if pgrep -f "$work" >/dev/null; then
  pgrep -af "$work" >&2
  fail "an office started for this test is still running"
fi
echo "installed launcher converted $(basename "$result")"
