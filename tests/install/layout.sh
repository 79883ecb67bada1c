#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
# SPDX-License-Identifier: MIT

# Checks an installed tree: the launcher, the program folder, the desktop files.
# Usage: layout.sh ROOT (the prefix inside the stage, e.g. STAGE/usr)
set -euo pipefail
root=$1
fail() { echo "FAIL: $*" >&2; exit 1; }

launcher=$root/bin/slatemere-converter
[[ -L $launcher ]] || fail "$launcher is not a link"
[[ $(readlink "$launcher") != /* ]] || fail "the launcher link is absolute: $(readlink "$launcher")"
[[ $(realpath "$launcher") == "$(realpath "$root/lib/slatemere-converter/slatemere-converter")" ]] ||
  fail "the launcher does not lead to the program folder"

folder=$root/lib/slatemere-converter
[[ -x $folder/slatemere-converter ]] || fail "no program in $folder"
for f in HAND-M.CUR drag.ico; do [[ -s $folder/$f ]] || fail "$folder/$f missing"; done
compgen -G "$folder/Samples/*.odp" >/dev/null || fail "no sample presentations in $folder/Samples"

# The installed program must not look for libraries in the build tree.
runpath=$(readelf -d "$folder/slatemere-converter" | sed -n 's/.*R\(UN\)\?PATH.*\[\(.*\)\]/\2/p')
[[ -z $runpath || $runpath == /usr/lib/libreoffice/program ]] || fail "library path $runpath"

share=$root/share
for f in applications/slatemere-converter.desktop metainfo/example.slatemere.converter.metainfo.xml \
  man/man1/slatemere-converter.1.gz icons/hicolor/scalable/apps/slatemere-converter.svg \
  doc/slatemere-converter/copyright doc/slatemere-converter/changelog.gz; do
  [[ -s $share/$f ]] || fail "$share/$f missing"
done
for size in 16 22 24 32 48 64 128 256; do
  png=$share/icons/hicolor/${size}x${size}/apps/slatemere-converter.png
  file "$png" | grep -q "PNG image data, $size x $size," || fail "$png: $(file -b "$png")"
done
echo "installed tree complete"
