#!/bin/sh
# Regenerates the print jobs in data/ from the PostScript and TeX inputs there,
# with drivers from Debian's packages: ghostscript (ljet4, ljet4pjl, ljet3,
# cdj550, cdj670 and the ijs device), printer-driver-hpijs, pstoedit, and
# texlive-binaries with texlive-base (tex, dvilj4 and the ljfour PK fonts).
# Prints the page count that Ghostscript itself finds in each PostScript input:
# the tests expect those numbers.
set -eu
cd "$(dirname "$0")/data"

gs_job() {  # device, resolution, input, output, extra options...
  device=$1 res=$2 in=$3 out=$4
  shift 4
  gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE="$device" -r"$res" "$@" -sOutputFile="$out" "$in"
}

gs_job ljet4 75 page1.ps ljet4-page1.pcl
gs_job ljet4pjl 75 page1.ps ljet4pjl-page1.pcl
gs_job ljet3 150 three-pages.ps ljet3-three-pages.pcl
gs_job cdj550 75 colour.ps cdj550-colour.pcl
gs_job cdj670 300 page1.ps cdj670-page1.pcl
gs_job ijs 300 colour.ps hpijs-dj990-colour.pcl -sIjsServer=hpijs -sDeviceManufacturer=HEWLETT-PACKARD \
  -sDeviceModel="DESKJET 990" -dIjsUseOutputFD

pstoedit -q -f pcl drawing.ps pstoedit-pcl-drawing.pcl

# dvilj4 downloads every character it prints as a bitmap soft font.
work=$(mktemp -d)
cp hello.tex "$work"
(cd "$work" && tex -interaction=batchmode hello.tex >/dev/null)
echo "hello.tex: $(grep -o '([0-9]* pages\?' "$work/hello.log" | tr -d '(')"
dvilj4 -q -e"$PWD/dvilj4-hello.pcl" "$work/hello.dvi"
rm -rf "$work"

for ps in page1.ps three-pages.ps colour.ps drawing.ps; do
  pages=$(gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=bbox "$ps" 2>&1 | grep -c '^%%BoundingBox')
  echo "$ps: $pages page(s)"
done
ls -l ./*.pcl
