#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
# SPDX-License-Identifier: MIT

# Puts the copyright and licence header at the top of every tracked source file that lacks one,
# in the file's own comment syntax; a shebang (and a Python coding line) stays first. Files
# that cannot carry a comment (pictures, sample decks, JSON, ...) are covered by .reuse/dep5.
# Idempotent: a file whose first lines already name a licence is left alone, so it can be run
# again whenever files are added or branches merged. Usage: scripts/spdx-headers.sh
set -euo pipefail
cd "$(dirname "$0")/.."

# REUSE-IgnoreStart
holder='2026 The Slatemere Converter developers'
licence='MIT'
tag='SPDX-License-Identifier:'
# REUSE-IgnoreEnd

# The comment that opens and closes a header line for FILE, tab-separated; nothing for a file
# that takes no comment.
comment_style() {
  case "$1" in
    *.cpp | *.h) printf '//\t' ;;
    *.sh | *.sbatch | *.yaml | *.yml | *.py | *.cmake | *CMakeLists.txt | Makefile | */Makefile | .ci/* | .gitignore | \
      .clang-format | *.desktop | packaging/lintian-overrides) printf '#\t' ;;
    *.1.in) printf '.\\"\t' ;;
    *.xml.in | *.xml) printf '<!--\t -->' ;;
  esac
}

header_lines() { # OPEN CLOSE
  # REUSE-IgnoreStart
  printf '%s SPDX-FileCopyrightText: %s%s\n' "$1" "$holder" "$2"
  printf '%s SPDX-License-Identifier: %s%s\n' "$1" "$licence" "$2"
  # REUSE-IgnoreEnd
}

# How many of FILE's first lines must stay above the header.
lines_kept_first() {
  local file=$1 first second
  first=$(sed -n 1p "$file")
  second=$(sed -n 2p "$file")
  if [[ $first == '#!'* ]]; then
    [[ $file == *.py && $second =~ ^#.*coding[:=] ]] && echo 2 || echo 1
  elif [[ $first == '<?xml'* ]]; then
    echo 1
  else
    echo 0
  fi
}

added=0
while IFS= read -r -d '' file; do
  [[ -f $file && ! -L $file ]] || continue
  style=$(comment_style "$file")
  [[ -n $style ]] || continue
  [[ $(head -n 5 "$file") == *"$tag"* ]] && continue
  open=${style%%$'\t'*}
  close=${style#*$'\t'}
  keep=$(lines_kept_first "$file")
  tmp=$(mktemp "$file.XXXXXX")
  {
    ((keep == 0)) || head -n "$keep" "$file"
    header_lines "$open" "$close"
    # A blank line parts the header from the file's own opening comment, where the syntax
    # allows one.
    [[ $file == *.1.in ]] || echo
    tail -n +"$((keep + 1))" "$file"
  } >"$tmp"
  chmod --reference="$file" "$tmp"
  mv "$tmp" "$file"
  echo "header added: $file"
  added=$((added + 1))
done < <(git ls-files -z)
echo "$added file(s) given a header"
