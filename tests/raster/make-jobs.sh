#!/bin/sh
# Regenerates the raster row jobs in data/ with Debian's ghostscript: each
# PostScript page printed by the ljet4 driver (rows in delta row and PackBits
# compression) and rendered by the pbmraw device at the same resolution, so
# that the decoded rows can be held against Ghostscript's own bitmap.
#   raster-page-RES.pcl  the job
#   raster-page-RES.pbm  the page as raw PBM (1 = black)
#   page1-75.pbm         ../realjobs/data/page1.ps at 75 dpi, for the ljet4 job there
set -eu
cd "$(dirname "$0")/data"

gs_page() {  # device, resolution, input, output
  gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE="$1" -r"$2" -sOutputFile="$4" "$3"
}

for res in 300 600; do
  gs_page ljet4 "$res" raster-page.ps "raster-page-$res.pcl"
  gs_page pbmraw "$res" raster-page.ps "raster-page-$res.pbm"
done
gs_page pbmraw 75 ../../realjobs/data/page1.ps page1-75.pbm
ls -l raster-page-* page1-75.pbm
