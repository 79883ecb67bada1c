#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
# SPDX-License-Identifier: MIT

# Fails when a tracked C++ file is not as .clang-format writes it, and names every such file.
# Usage: format.sh SOURCE_DIR
set -euo pipefail
cd "$1"
if ! files=$(git ls-files '*.cpp' '*.h'); then
  echo "format check: $1 is not a git checkout, so the tracked sources are unknown" >&2
  exit 1
fi
if [[ -z $files ]]; then
  echo "format check: no tracked .cpp or .h file under $1" >&2
  exit 1
fi
report=$(mktemp)
trap 'rm -f "$report"' EXIT
if xargs -d '\n' clang-format --dry-run -Werror <<<"$files" 2>"$report"; then
  exit 0
fi
# Each complaint starts "FILE:LINE:COLUMN: error:"; a failure without one is clang-format's own.
unformatted=$(grep -oE '^[^:]+:[0-9]+:[0-9]+: error:' "$report" | cut -d: -f1 | sort -u || true)
if [[ -z $unformatted ]]; then
  cat "$report" >&2
  echo "format check: clang-format failed" >&2
  exit 1
fi
echo "These files are not as .clang-format writes them; run 'make format' (clang-format -i):" >&2
sed 's/^/  /' <<<"$unformatted" >&2
exit 1
