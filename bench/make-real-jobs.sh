#!/bin/sh
# Makes the real-driver benchmark jobs from Debian's Ghostscript: a 600 dpi
# PCL 5 job from the ljet4 device (200 MB or more of raster rows) and a
# 600 dpi PCL XL job from the pxlmono device (100 MB or more), both rendered
# from the multi-page PostScript document below.
#
#   bench/make-real-jobs.sh [DIR]      (default /tmp/veltrix-real-jobs)
#
# Writes DIR/ljet4-600.pcl and DIR/pxlmono-600.pxl. Needs the ghostscript
# package (apt-get install ghostscript).
set -eu

dir=${1:-/tmp/veltrix-real-jobs}
ljet4_pages=${LJET4_PAGES:-240}
pxl_pages=${PXL_PAGES:-900}

command -v gs >/dev/null || { echo "make-real-jobs: gs not found (apt-get install ghostscript)" >&2; exit 1; }
mkdir -p "$dir"
doc="$dir/bench-document.ps"

cat >"$doc" <<'PS'
%!PS-Adobe-3.0
%%Title: benchmark document
%%EndComments
/pages where { pop } { /pages 4 def } ifelse
/Times-Roman findfont 11 scalefont /body exch def
/Helvetica-Bold findfont 20 scalefont /head exch def
/Courier findfont 9 scalefont /mono exch def
/str 12 string def
% a 400 x 300 grey picture: waves with some noise, as a scanned photo has
/W 400 def /H 300 def
/pic W H mul string def
/seed 12345 def
0 1 H 1 sub { /y exch def
  0 1 W 1 sub { /x exch def
    /seed seed 1103515245 mul 12345 add 16#7FFFFFFF and def
    pic y W mul x add
      x 3 mul sin y 5 mul cos add 1 add 60 mul seed -20 bitshift 15 and add cvi 255 min 0 max
    put
  } for
} for
1 1 pages {
  /p exch def
  % the picture, placed a little differently on each page
  gsave 300 p 7 mod 6 mul add 90 translate 240 180 scale
  W H 8 [W 0 0 H neg 0 H] { pic } image
  grestore
  % grey bands whose levels change from page to page: halftoned rows
  0 1 11 {
    /i exch def
    i p add 13 mod 13 div setgray
    36 i 22 mul add 560 20 200 rectfill
  } for
  % a star of thin lines
  gsave 430 660 translate
  0 6 354 { gsave rotate 0 setgray 0.4 setlinewidth 0 0 moveto 110 0 lineto stroke grestore } for
  grestore
  % a shaded disc
  gsave 160 220 translate
  20 -1 1 { /r exch def r 20 div setgray 0 0 r 6 mul 0 360 arc fill } for
  grestore
  % text in three fonts
  0 setgray head setfont 36 740 moveto (Benchmark page ) show p str cvs show
  body setfont
  0 1 24 {
    /l exch def 300 520 l 14 mul sub moveto
    (The quick brown fox jumps over the lazy dog ) show l p add str cvs show
  } for
  mono setfont
  0 1 10 { /l exch def 36 100 l 10 mul sub moveto (0123456789 ABCDEF abcdef !@#$%^&*() line ) show l str cvs show } for
  showpage
} for
%%EOF
PS

render() {  # device pages output minimum-bytes
  gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE="$1" -r600 -dpages="$2" -sOutputFile="$3" "$doc"
  size=$(stat -c %s "$3")
  if [ "$size" -lt "$4" ]; then
    echo "make-real-jobs: $3 has only $size bytes (want $4); raise the page count" >&2
    exit 1
  fi
  echo "$3: $2 pages, $size bytes"
}

render ljet4 "$ljet4_pages" "$dir/ljet4-600.pcl" 200000000
render pxlmono "$pxl_pages" "$dir/pxlmono-600.pxl" 100000000
