#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
# SPDX-License-Identifier: MIT

# Builds the Debian package from the build tree into a scratch folder, shows what it holds and
# lets lintian judge it: any error fails. Usage: package.sh BUILD
set -euo pipefail
build=$1
fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -B "$work" -G DEB >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack failed"; }
debs=("$work"/slatemere-converter_*.deb)
deb=${debs[0]}
[[ -f $deb ]] || fail "no package in $work"
dpkg-deb -I "$deb"

depends=$(dpkg-deb -f "$deb" Depends)
for needed in libreoffice-impress fonts-liberation libqt6widgets6 libuno-cppu3 libc6; do
  [[ ", $depends," == *", $needed"[\ ,]* ]] || fail "Depends lacks $needed: $depends"
done
contents=$(dpkg-deb -c "$deb")
for path in ./usr/bin/slatemere-converter ./usr/lib/slatemere-converter/slatemere-converter \
  ./usr/share/applications/slatemere-converter.desktop; do
  grep -q " $path\( \|$\)" <<<"$contents" || fail "$path not in the package"
done

status=0
lintian --fail-on error --tag-display-limit 0 --display-info "$deb" >"$work/lintian.log" 2>&1 ||
  status=$?
grep -v 'running with root privileges' "$work/lintian.log" || true
((status == 0)) || fail "lintian reports errors"
echo "package $(basename "$deb") passes lintian"
