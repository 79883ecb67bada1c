#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
# SPDX-License-Identifier: MIT

# Runs the desktop's own validator on one installed file; any complaint fails.
# Usage: validate.sh desktop|metainfo|manpage FILE
set -euo pipefail
kind=$1
file=$2
[[ -s $file ]] || { echo "FAIL: $file missing" >&2; exit 1; }
case $kind in
  desktop) out=$(desktop-file-validate "$file" 2>&1) || { echo "$out"; exit 1; } ;;
  # Fails on errors and warnings; infos (such as the example.* identifier) are shown only.
  metainfo) appstreamcli validate --no-net "$file"; exit ;;
  # The check the Debian tools make: every groff warning counts.
  manpage) out=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
                 man --warnings -E UTF-8 -l -Tutf8 -Z "$file" 2>&1 >/dev/null) ||
             { echo "$out"; exit 1; } ;;
  *) echo "unknown kind $kind" >&2; exit 2 ;;
esac
if [[ -n $out ]]; then
  echo "$out"
  exit 1
fi
echo "$file: valid"
