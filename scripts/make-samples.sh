#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
# SPDX-License-Identifier: MIT

# Writes the example presentations that ship in resources/Samples/: three small decks written
# here as flat XML, with pictures drawn by ImageMagick, turned into .odp by a headless office
# that runs on a throw-away profile.
#
#   scripts/make-samples.sh [output folder]     (default: resources/Samples beside this script)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/resources/Samples}

im=/usr/bin/convert
[ -x "$im" ] || im=$(command -v convert) || { echo "ImageMagick's convert not found" >&2; exit 2; }
command -v soffice >/dev/null || { echo "soffice not found" >&2; exit 2; }

work=$(mktemp -d)
office_pid=
cleanup() {
  # soffice is a launcher: the office proper is its child.
  if [ -n "$office_pid" ]; then
    pkill -KILL -P "$office_pid" 2>/dev/null || true
    kill -KILL "$office_pid" 2>/dev/null || true
    wait "$office_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# ---------------------------------------------------------------- pictures
# Drawn, not random, so every run gives the same pictures.
"$im" -size 560x350 gradient:'#fcd29f-#f08a5d' \
  -fill '#fff4c2' -draw 'circle 300,215 300,165' \
  -fill '#6a8d73' -draw 'polygon 0,250 90,190 190,235 300,170 420,230 560,180 560,350 0,350' \
  -fill '#3f6b52' -draw 'polygon 0,300 120,255 260,300 380,260 560,295 560,350 0,350' \
  -quality 80 -strip "$work/sunrise.jpg"
"$im" -size 560x350 gradient:'#1d3557-#7fa7c9' \
  -fill '#f1faee' -draw 'circle 420,90 420,62' \
  -fill '#25415e' -draw 'polygon 0,215 140,120 250,190 360,110 560,215' \
  -fill '#457b9d' -draw 'rectangle 0,215 560,350' \
  -fill '#a8c5da' -draw 'rectangle 370,228 470,232' -draw 'rectangle 390,246 450,249' \
  -draw 'rectangle 405,262 440,264' \
  -quality 80 -strip "$work/lake.jpg"
"$im" -size 560x350 gradient:'#bde0fe-#e9f5db' \
  -fill '#588157' -draw 'rectangle 0,270 560,350' \
  -fill '#8d5524' -draw 'rectangle 268,150 292,275' \
  -fill '#3a5a40' -draw 'circle 280,130 280,58' \
  -fill '#a3b18a' -draw 'circle 245,150 245,112' -draw 'circle 318,148 318,110' \
  -fill '#e63946' -draw 'circle 250,110 250,102' -draw 'circle 300,160 300,152' \
  -draw 'circle 320,105 320,97' -draw 'circle 262,170 262,162' \
  -quality 80 -strip "$work/orchard.jpg"

picture() { base64 -w 0 "$work/$1.jpg"; }

# ---------------------------------------------------------------- shared document parts
document_start() {
  local title=$1 description=$2
  cat <<EOF
<?xml version="1.0" encoding="UTF-8"?>
<office:document
    xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
    xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
    xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
    xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
    xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
    xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
    xmlns:xlink="http://www.w3.org/1999/xlink"
    xmlns:dc="http://purl.org/dc/elements/1.1/"
    xmlns:meta="urn:oasis:names:tc:opendocument:xmlns:meta:1.0"
    xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
    xmlns:presentation="urn:oasis:names:tc:opendocument:xmlns:presentation:1.0"
    office:version="1.3"
    office:mimetype="application/vnd.oasis.opendocument.presentation">
 <office:meta>
  <dc:title>$title</dc:title>
  <dc:description>$description</dc:description>
 </office:meta>
 <office:font-face-decls>
  <style:font-face style:name="Liberation Sans" svg:font-family="'Liberation Sans'"
      style:font-family-generic="swiss" style:font-pitch="variable"/>
 </office:font-face-decls>
 <office:styles>
  <style:default-style style:family="graphic">
   <style:graphic-properties draw:stroke="none" draw:shadow="hidden"/>
   <style:paragraph-properties fo:text-align="start"/>
   <style:text-properties style:font-name="Liberation Sans" fo:font-size="18pt"
       fo:color="#333333" fo:language="en" fo:country="GB"/>
  </style:default-style>
 </office:styles>
 <office:automatic-styles>
  <style:page-layout style:name="PM1">
   <style:page-layout-properties fo:margin-top="0cm" fo:margin-bottom="0cm"
       fo:margin-left="0cm" fo:margin-right="0cm" fo:page-width="28cm"
       fo:page-height="15.75cm" style:print-orientation="landscape"/>
  </style:page-layout>
$(page_style dpPlain '#ffffff')
$(page_style dpNavy '#1f3a5f')
$(page_style dpCream '#fbf7ef')
$(page_style dpNight '#22252b')
$(frame_style grText none '' top)
$(frame_style grTextMid none '' middle)
$(frame_style grNavy solid '#1f3a5f' middle)
$(frame_style grTeal solid '#2a9d8f' middle)
$(frame_style grAmber solid '#e9c46a' middle)
$(frame_style grCoral solid '#e76f51' middle)
$(frame_style grLight solid '#eef3f8' middle)
$(frame_style grBar solid '#8ab6d6' middle)
$(frame_style grBarNow solid '#2a9d8f' middle)
  <style:style style:name="grRule" style:family="graphic">
   <style:graphic-properties draw:stroke="solid" svg:stroke-color="#c9d3de"
       svg:stroke-width="0.05cm" draw:fill="none"/>
  </style:style>
  <style:style style:name="grPicture" style:family="graphic">
   <style:graphic-properties draw:stroke="solid" svg:stroke-color="#ffffff"
       svg:stroke-width="0.25cm" draw:fill="none" draw:shadow="visible"
       draw:shadow-offset-x="0.15cm" draw:shadow-offset-y="0.15cm" draw:shadow-color="#999999"/>
  </style:style>
  <style:style style:name="grTable" style:family="graphic">
   <style:graphic-properties draw:fill="none" draw:stroke="none"/>
  </style:style>
$(para_style PTitleBig center 40pt bold '#ffffff')
$(para_style PSubtitle center 20pt normal '#d6e2f0')
$(para_style PHead start 30pt bold '#1f3a5f')
$(para_style PHeadLight start 30pt bold '#f4f1ea')
$(para_style PBody start 20pt normal '#333333')
$(para_style PBodyBold start 20pt bold '#1f3a5f')
$(para_style PNote start 14pt normal '#6b7785')
$(para_style PBigNum center 36pt bold '#ffffff')
$(para_style PBoxText center 16pt normal '#ffffff')
$(para_style PBoxDark center 16pt bold '#1f3a5f')
$(para_style PStep center 18pt bold '#ffffff')
$(para_style PCell center 16pt normal '#333333')
$(para_style PCellHead center 16pt bold '#ffffff')
$(para_style PCellFirst start 16pt bold '#1f3a5f')
$(para_style PCellBold center 16pt bold '#1f3a5f')
$(para_style PAxis center 12pt normal '#6b7785')
$(para_style PCaption center 16pt italic '#f4f1ea')
$(para_style PCaptionDark center 16pt italic '#555555')
  <text:list-style style:name="LBullets">
   <text:list-level-style-bullet text:level="1" text:bullet-char="●">
    <style:list-level-properties text:space-before="0cm" text:min-label-width="0.8cm"/>
    <style:text-properties fo:font-family="'Liberation Sans'" fo:color="#2a9d8f"
        fo:font-size="70%"/>
   </text:list-level-style-bullet>
  </text:list-style>
  <style:style style:name="coWide" style:family="table-column">
   <style:table-column-properties style:column-width="6cm"/>
  </style:style>
  <style:style style:name="coNarrow" style:family="table-column">
   <style:table-column-properties style:column-width="4cm"/>
  </style:style>
  <style:style style:name="roCell" style:family="table-row">
   <style:table-row-properties style:row-height="1.3cm"/>
  </style:style>
$(cell_style ceHead '#1f3a5f')
$(cell_style ceOdd '#eef3f8')
$(cell_style ceEven '#ffffff')
$(cell_style ceTotal '#e9c46a')
 </office:automatic-styles>
 <office:master-styles>
  <style:master-page style:name="Default" style:page-layout-name="PM1"
      draw:style-name="dpPlain"/>
 </office:master-styles>
 <office:body>
  <office:presentation>
EOF
}

document_end() {
  cat <<'EOF'
  </office:presentation>
 </office:body>
</office:document>
EOF
}

page_style() {
  cat <<EOF
  <style:style style:name="$1" style:family="drawing-page">
   <style:drawing-page-properties draw:background-size="full" draw:fill="solid"
       draw:fill-color="$2" presentation:background-visible="true"
       presentation:background-objects-visible="true"/>
  </style:style>
EOF
}

frame_style() {
  local name=$1 fill=$2 color=$3 valign=$4 colour_attr=
  [ -n "$color" ] && colour_attr="draw:fill-color=\"$color\""
  cat <<EOF
  <style:style style:name="$name" style:family="graphic">
   <style:graphic-properties draw:stroke="none" draw:fill="$fill" $colour_attr
       draw:textarea-vertical-align="$valign" draw:auto-grow-height="false"
       fo:padding-top="0.2cm" fo:padding-bottom="0.2cm" fo:padding-left="0.3cm"
       fo:padding-right="0.3cm" fo:wrap-option="wrap"/>
  </style:style>
EOF
}

para_style() {
  local name=$1 align=$2 size=$3 weight=$4 color=$5 posture=normal
  if [ "$weight" = italic ]; then
    weight=normal
    posture=italic
  fi
  cat <<EOF
  <style:style style:name="$name" style:family="paragraph">
   <style:paragraph-properties fo:text-align="$align" fo:margin-bottom="0.25cm"/>
   <style:text-properties style:font-name="Liberation Sans" fo:font-size="$size"
       fo:font-weight="$weight" fo:font-style="$posture" fo:color="$color"/>
  </style:style>
EOF
}

cell_style() {
  cat <<EOF
  <style:style style:name="$1" style:family="table-cell">
   <style:graphic-properties draw:fill="solid" draw:fill-color="$2"
       draw:textarea-vertical-align="middle"/>
   <style:paragraph-properties fo:border="0.03cm solid #c9d3de"/>
  </style:style>
EOF
}

# paragraphs PARAGRAPH-STYLE LINE... : one paragraph per line.
paragraphs() {
  local para=$1 line
  shift
  for line in "$@"; do
    echo "     <text:p text:style-name=\"$para\">$line</text:p>"
  done
}

# text_frame STYLE PARAGRAPH-STYLE X Y W H LINE... : a text box, one paragraph per line.
text_frame() {
  local style=$1 para=$2 x=$3 y=$4 w=$5 h=$6
  shift 6
  echo "    <draw:frame draw:style-name=\"$style\" svg:x=\"${x}cm\" svg:y=\"${y}cm\" svg:width=\"${w}cm\" svg:height=\"${h}cm\"><draw:text-box>"
  paragraphs "$para" "$@"
  echo "    </draw:text-box></draw:frame>"
}

# bullets X Y W H ITEM... : a bulleted list.
bullets() {
  local x=$1 y=$2 w=$3 h=$4
  shift 4
  echo "    <draw:frame draw:style-name=\"grText\" svg:x=\"${x}cm\" svg:y=\"${y}cm\" svg:width=\"${w}cm\" svg:height=\"${h}cm\"><draw:text-box>"
  echo "     <text:list text:style-name=\"LBullets\">"
  local item
  for item in "$@"; do
    echo "      <text:list-item><text:p text:style-name=\"PBody\">$item</text:p></text:list-item>"
  done
  echo "     </text:list>"
  echo "    </draw:text-box></draw:frame>"
}

# box STYLE PARAGRAPH-STYLE X Y W H LINE... : a filled rounded box with centred, wrapped text.
box() {
  local style=$1 para=$2 x=$3 y=$4 w=$5 h=$6
  shift 6
  echo "    <draw:custom-shape draw:style-name=\"$style\" svg:x=\"${x}cm\" svg:y=\"${y}cm\" svg:width=\"${w}cm\" svg:height=\"${h}cm\">"
  paragraphs "$para" "$@"
  echo "     <draw:enhanced-geometry svg:viewBox=\"0 0 21600 21600\" draw:type=\"round-rectangle\" draw:modifiers=\"1800\"/>"
  echo "    </draw:custom-shape>"
}

# band STYLE X Y W H : a plain filled rectangle.
band() {
  echo "    <draw:rect draw:style-name=\"$1\" svg:x=\"$2cm\" svg:y=\"$3cm\" svg:width=\"$4cm\" svg:height=\"$5cm\"/>"
}

rule() {
  echo "    <draw:line draw:style-name=\"grRule\" svg:x1=\"$1cm\" svg:y1=\"$2cm\" svg:x2=\"$3cm\" svg:y2=\"$4cm\"/>"
}

# chevron STYLE X Y W H TEXT : one step of a process.
chevron() {
  cat <<EOF
    <draw:custom-shape draw:style-name="$1" svg:x="$2cm" svg:y="$3cm" svg:width="$4cm" svg:height="$5cm">
     <text:p text:style-name="PStep">$6</text:p>
     <draw:enhanced-geometry svg:viewBox="0 0 21600 21600" draw:type="chevron"
         draw:modifiers="16200" draw:enhanced-path="M 0 0 L ?f1 0 21600 10800 ?f1 21600 0 21600 ?f0 10800 Z N">
      <draw:equation draw:name="f0" draw:formula="21600-\$0"/>
      <draw:equation draw:name="f1" draw:formula="\$0"/>
      <draw:handle draw:handle-position="\$0 top" draw:handle-range-x-minimum="0"
          draw:handle-range-x-maximum="21600"/>
     </draw:enhanced-geometry>
    </draw:custom-shape>
EOF
}

# photo NAME X Y W H : an embedded picture with a white border.
photo() {
  echo "    <draw:frame draw:style-name=\"grPicture\" svg:x=\"$2cm\" svg:y=\"$3cm\" svg:width=\"$4cm\" svg:height=\"$5cm\"><draw:image><office:binary-data>$(picture "$1")</office:binary-data></draw:image></draw:frame>"
}

calc() { awk "BEGIN { print $1 }"; }

page_start() {
  echo "   <draw:page draw:name=\"$1\" draw:style-name=\"$2\" draw:master-page-name=\"Default\">"
}
page_end() { echo "   </draw:page>"; }

# Slide heading with a coloured rule beneath it.
heading() {
  text_frame grText PHead 1.5 0.9 25 1.8 "$1"
  band grTeal 1.5 2.7 3 0.15
}

footer() {
  text_frame grText PNote 1.5 14.5 25 0.9 "$1"
}

# ---------------------------------------------------------------- the decks
welcome() {
  document_start "Welcome to Slatemere Converter" \
    "How to turn OpenDocument presentations into PowerPoint 97 files, many at a time."

  page_start "Welcome" dpNavy
  band grTeal 0 11.5 28 0.25
  text_frame grTextMid PTitleBig 2 3.6 24 2.6 "Welcome to Slatemere Converter"
  text_frame grText PSubtitle 2 6.6 24 2.4 \
    "Turn OpenDocument presentations (.odp) into PowerPoint 97 files (.ppt)," \
    "a whole list of them at a time."
  text_frame grText PSubtitle 2 12.4 24 1.2 "This deck is one of the sample files: convert it to try the program."
  page_end

  page_start "Gather" dpPlain
  heading "1. Gather your presentations"
  bullets 1.5 3.4 16 10 \
    "Add ODP File(s): pick one file or many in the file dialog." \
    "Add All ODP Files In Folder: give an extension (odp, or * for every file), then a folder; its sub-folders are searched too." \
    "Drag files or whole folders from your file manager and drop them on the list." \
    "Load Sample/Example Files: puts these sample decks in the list."
  box grLight PBoxDark 18.5 3.6 8 9.4 \
    "Tip" "The list may hold as many files as you like." "They are converted from top to bottom."
  footer "Slatemere Converter · sample presentation"
  page_end

  page_start "Tidy" dpPlain
  heading "2. Tidy up the list"
  box grTeal PBoxText 1.5 3.8 7.7 5 "Double-click an entry," "or select it and press Delete," "to take it off the list."
  box grAmber PBoxDark 10.15 3.8 7.7 5 "Drag an entry up or down" "to change the order" "in which files are converted."
  box grCoral PBoxText 18.8 3.8 7.7 5 "Clear List" "empties the whole list" "in one go."
  text_frame grText PBody 1.5 10 25 3 \
    "Only the list changes: your files stay exactly where they are."
  footer "Slatemere Converter · sample presentation"
  page_end

  page_start "Where" dpPlain
  heading "3. Choose where the results go"
  box grNavy PBoxText 1.5 3.8 12 6 "Save results to this folder:" \
    "every .ppt goes into the one folder you type or pick with the ... button."
  box grTeal PBoxText 14.5 3.8 12 6 "Save results in folder of original file" \
    "each .ppt is written beside the presentation it came from."
  text_frame grText PBody 1.5 10.8 25 3 \
    "Your choice and your folder are remembered for the next time."
  footer "Slatemere Converter · sample presentation"
  page_end

  page_start "Convert" dpPlain
  heading "4. Start Converting"
  chevron grNavy 1.5 4.2 8.6 2.6 "Open each file"
  chevron grTeal 9.7 4.2 8.6 2.6 "Save as .ppt"
  chevron grCoral 17.9 4.2 8.6 2.6 "Done."
  bullets 1.5 8 25 5.5 \
    "The progress bar shows &quot;Processing:&quot; and the name of the file at work." \
    "Each result keeps the name of its source, with .ppt in place of .odp." \
    "An existing .ppt of the same name is replaced."
  footer "The conversion is done by the office suite installed on this computer."
  page_end

  document_end
}

quarterly() {
  document_start "Quarterly Review Sample" \
    "A short business review with figures, a table and a chart drawn from shapes."

  page_start "Title" dpNavy
  band grAmber 11 9.4 6 0.2
  text_frame grTextMid PTitleBig 2 3.6 24 2.6 "Quarterly Review: Q3"
  text_frame grText PSubtitle 2 6.4 24 2.4 "Fernhollow Tea Company" "a made-up company for this sample"
  page_end

  page_start "Highlights" dpPlain
  heading "Highlights of the quarter"
  box grTeal PBigNum 1.5 4 7.7 4.2 "+18 %"
  box grNavy PBigNum 10.15 4 7.7 4.2 "4,210"
  box grCoral PBigNum 18.8 4 7.7 4.2 "96 %"
  text_frame grText PCaptionDark 1.5 8.5 7.7 2 "revenue against Q2"
  text_frame grText PCaptionDark 10.15 8.5 7.7 2 "new customers"
  text_frame grText PCaptionDark 18.8 8.5 7.7 2 "orders delivered on time"
  rule 1.5 11.2 26.5 11.2
  text_frame grText PBody 1.5 11.6 25 2.5 \
    "The autumn blends sold out twice; a second packing line starts in October."
  page_end

  page_start "Regions" dpPlain
  heading "Sales by region (thousand pounds)"
  cat <<'EOF'
    <draw:frame draw:style-name="grTable" svg:x="3cm" svg:y="3.6cm" svg:width="22cm" svg:height="7.8cm">
     <table:table>
      <table:table-column table:style-name="coWide"/>
      <table:table-column table:style-name="coNarrow" table:number-columns-repeated="4"/>
EOF
  table_row ceHead PCellHead PCellHead Region Q1 Q2 Q3 Change
  table_row ceOdd PCellFirst PCell North 120 134 151 "+13 %"
  table_row ceEven PCellFirst PCell Midlands 98 102 119 "+17 %"
  table_row ceOdd PCellFirst PCell South 143 150 181 "+21 %"
  table_row ceEven PCellFirst PCell "Online shop" 61 77 94 "+22 %"
  table_row ceTotal PCellFirst PCellBold Total 422 463 545 "+18 %"
  cat <<'EOF'
     </table:table>
    </draw:frame>
EOF
  page_end

  page_start "Chart" dpPlain
  heading "Revenue by quarter"
  rule 3 12.5 25 12.5
  local q label
  local -a heights=(5.2 5.7 6.3 7.4) labels=("Q4 last year" Q1 Q2 Q3) values=(402 422 463 545)
  for q in 0 1 2 3; do
    local x h y style=grBar
    x=$(calc "4 + $q * 5.3")
    h=${heights[$q]}
    y=$(calc "12.5 - $h")
    [ "$q" = 3 ] && style=grBarNow
    box "$style" PBoxText "$x" "$y" 3.6 "$h" "${values[$q]}"
    label=${labels[$q]}
    text_frame grText PAxis "$(calc "$x - 0.7")" 12.7 5 1 "$label"
  done
  footer "Thousand pounds; Q3 is the quarter under review."
  page_end

  page_start "Next" dpPlain
  heading "Next steps"
  chevron grNavy 1.5 4 6.6 2.4 "Plan"
  chevron grTeal 7.8 4 6.6 2.4 "Build"
  chevron grAmber 14.1 4 6.6 2.4 "Launch"
  chevron grCoral 20.4 4 6.6 2.4 "Review"
  bullets 1.5 7.6 25 6 \
    "Second packing line running by the end of October." \
    "Winter range in the online shop from 1 November." \
    "Next review in the first week of January."
  page_end

  document_end
}

table_row() {
  local cell=$1 first=$2 rest=$3 para
  shift 3
  echo "      <table:table-row table:style-name=\"roCell\">"
  para=$first
  local value
  for value in "$@"; do
    echo "       <table:table-cell table:style-name=\"$cell\"><text:p text:style-name=\"$para\">$value</text:p></table:table-cell>"
    para=$rest
  done
  echo "      </table:table-row>"
}

album() {
  document_start "Photo Album Sample" \
    "A small picture album; the pictures were drawn for this sample."

  page_start "Album" dpNight
  photo sunrise 9 1.6 10 6.25
  text_frame grTextMid PTitleBig 2 9.2 24 2.2 "Photo Album"
  text_frame grText PCaption 2 11.6 24 1.5 "Three drawn landscapes"
  page_end

  local -a names=(sunrise lake orchard)
  local -a titles=("Sunrise over the hills" "Evening at the lake" "The old apple tree")
  local -a captions=("First light on a clear morning." "The water goes still as the moon comes up." \
    "Ripe apples at the end of summer.")
  local i
  for i in 0 1 2; do
    page_start "${names[$i]}" dpNight
    text_frame grText PHeadLight 1.5 0.8 25 1.8 "${titles[$i]}"
    photo "${names[$i]}" 6 3 16 10
    text_frame grText PCaption 1.5 13.7 25 1.2 "${captions[$i]}"
    page_end
  done

  document_end
}

# ---------------------------------------------------------------- convert
welcome >"$work/Welcome to Slatemere Converter.fodp"
quarterly >"$work/Quarterly Review Sample.fodp"
album >"$work/Photo Album Sample.fodp"
if command -v xmllint >/dev/null; then
  xmllint --noout "$work"/*.fodp
fi

mkdir -p "$out" "$work/converted"
LC_ALL=C.UTF-8 soffice --headless --norestore --nologo \
  "-env:UserInstallation=file://$work/profile" \
  --convert-to odp --outdir "$work/converted" "$work"/*.fodp >"$work/office.log" 2>&1 &
office_pid=$!
wait "$office_pid" || true
office_pid=

# The office reports success even when a file failed, so look at what it wrote.
status=0
for source in "$work"/*.fodp; do
  name=$(basename "$source" .fodp).odp
  if [ -s "$work/converted/$name" ]; then
    cp "$work/converted/$name" "$out/$name"
    echo "$out/$name ($(stat -c %s "$out/$name") bytes)"
  else
    echo "Not converted: $name" >&2
    status=1
  fi
done
[ "$status" = 0 ] || cat "$work/office.log" >&2
exit "$status"
