#!/bin/sh
# Regenerates the two-dimensional (Group 4) fax test images in data/ from the
# PostScript pages there, with Debian's ghostscript and libtiff-tools:
#   ccitt-NAME.pbm  the page as Ghostscript renders it (raw PBM, 1 = black)
#   ccitt-NAME.g4   the same bitmap coded by tiffcp -c g4 as one strip, cut out
#                   of the TIFF file: the raw code words, ending in the
#                   end-of-block code.
set -eu
cd "$(dirname "$0")/data"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

make_image() {  # name, resolution, width x height
  name=$1 res=$2 size=$3
  gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pbmraw -r"$res" -g"$size" \
    -sOutputFile="ccitt-$name.pbm" "ccitt-$name.ps"
  ppm2tiff -c none "ccitt-$name.pbm" "$work/$name.tif"
  # One strip for the whole image: rows per strip above any height here.
  tiffcp -c g4 -r 1000000 "$work/$name.tif" "$work/$name-g4.tif"
  offset=$(tiffdump "$work/$name-g4.tif" | sed -n 's/^StripOffsets .*<\([0-9]*\)>.*/\1/p')
  count=$(tiffdump "$work/$name-g4.tif" | sed -n 's/^StripByteCounts .*<\([0-9]*\)>.*/\1/p')
  tail -c +"$((offset + 1))" "$work/$name-g4.tif" | head -c "$count" >"ccitt-$name.g4"
}

make_image text 300 1203x300
make_image halftone 150 517x203
make_image long-runs 72 6003x24
make_image run-codes 72 1811x182
make_image long-run-codes 72 7039x30
ls -l ccitt-*.pbm ccitt-*.g4
