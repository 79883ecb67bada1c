#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
# SPDX-License-Identifier: MIT

# Writes flat-XML presentations (.fodp) for the benchmark into a folder:
#   makedecks.sh DIR SMALL MEDIUM [LARGE]
# SMALL decks have one or two slides of text and a shape; MEDIUM decks have 20 slides with
# text, shapes and an embedded picture; with LARGE, one more deck of LARGE slides of text and
# shapes. The office turns them into .odp afterwards.
set -euo pipefail

dir=$1 small=$2 medium=$3 large=${4:-0}
mkdir -p "$dir"

picture=$(mktemp --suffix=.png)
trap 'rm -f "$picture"' EXIT
# Debian installs ImageMagick in /usr/bin; prefer it over anything of the same name earlier on PATH.
im=/usr/bin/convert
[ -x "$im" ] || im=convert
"$im" -size 480x320 gradient:steelblue-khaki -fill white -draw "circle 240,160 240,60" \
  "$picture"
picture_base64=$(base64 -w0 "$picture")

header() {
  cat <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:presentation="urn:oasis:names:tc:opendocument:xmlns:presentation:1.0"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:xlink="http://www.w3.org/1999/xlink"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.presentation">
<office:body><office:presentation>
XML
}

footer() {
  printf '</office:presentation></office:body></office:document>\n'
}

# slide NUMBER DECK WITH_PICTURE
slide() {
  local n=$1 deck=$2 with_picture=$3
  printf '<draw:page draw:name="page%d">\n' "$n"
  printf '<draw:frame svg:x="1.5cm" svg:y="1cm" svg:width="25cm" svg:height="2.5cm">'
  printf '<draw:text-box><text:p>%s, slide %d</text:p></draw:text-box></draw:frame>\n' "$deck" "$n"
  printf '<draw:frame svg:x="1.5cm" svg:y="4cm" svg:width="12cm" svg:height="9cm"><draw:text-box>'
  for p in 1 2 3 4 5; do
    printf '<text:p>Point %d of slide %d: quarterly figures, plans and the reasons behind them.</text:p>' "$p" "$n"
  done
  printf '</draw:text-box></draw:frame>\n'
  printf '<draw:rect svg:x="15cm" svg:y="4cm" svg:width="5cm" svg:height="3cm"/>\n'
  printf '<draw:ellipse svg:x="21cm" svg:y="4cm" svg:width="4cm" svg:height="3cm"/>\n'
  printf '<draw:line svg:x1="15cm" svg:y1="8cm" svg:x2="25cm" svg:y2="8.5cm"/>\n'
  if [[ $with_picture == 1 ]]; then
    printf '<draw:frame svg:x="15cm" svg:y="9cm" svg:width="9cm" svg:height="6cm"><draw:image>'
    printf '<office:binary-data>%s</office:binary-data></draw:image></draw:frame>\n' \
      "$picture_base64"
  fi
  printf '</draw:page>\n'
}

for ((i = 1; i <= small; i++)); do
  name=$(printf 'small-%02d' "$i")
  {
    header
    slide 1 "$name" 0
    ((i % 2 == 0)) && slide 2 "$name" 0
    footer
  } >"$dir/$name.fodp"
done

for ((i = 1; i <= medium; i++)); do
  name=$(printf 'medium-%02d' "$i")
  {
    header
    for ((s = 1; s <= 20; s++)); do slide "$s" "$name" $((s % 2)); done
    footer
  } >"$dir/$name.fodp"
done

if ((large > 0)); then
  {
    header
    for ((s = 1; s <= large; s++)); do slide "$s" large-01 0; done
    footer
  } >"$dir/large-01.fodp"
fi
