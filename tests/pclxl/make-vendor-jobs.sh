#!/bin/sh
# Regenerates the vendor strip jobs in data/ with Debian's ghostscript and
# printer-driver-pxljr (apt-get install ghostscript printer-driver-pxljr).
# The driver is an IJS server; the manufacturer and model strings are those
# of its PPDs (/usr/lib/cups/driver/pxljr cat ...). The card is 1.5 x 1.25
# inches, small enough for small jobs; the driver takes a custom size.
#   pxljr-card.ps                the page, black and white, inside the margins
#   pxljr-card-best-colour.pxl   best quality, colour: 0x9011 strips, 3-byte pixels
#   pxljr-card-best-grey.pxl     best quality, grey: 0x9011 strips, 1-byte pixels
#   pxljr-card-normal-colour.pxl normal quality, colour: the vendor tables and
#                                0x9021 strips
#   pxljr-card.pbm               the page as raw PBM (1 = black) at 600 dpi
# and seeds the vendor block fuzz target (fuzz/fuzz_xlvendor.cpp) with
# vendor blocks of these jobs, each behind the image header that target
# reads.
set -eu
cd "$(dirname "$0")/data"

card_size="-dDEVICEWIDTHPOINTS=108 -dDEVICEHEIGHTPOINTS=90"

pxljr_job() {  # quality (0 normal, 1 draft, 2 best), colour mode (0 grey, 2 colour), output
  grey=""
  if [ "$2" = 0 ]; then grey="-sProcessColorModel=DeviceGray"; fi
  # shellcheck disable=SC2086
  gs -q -dSAFER -dBATCH -dNOPAUSE -dNOINTERPOLATE $card_size -r600 $grey \
    -sDEVICE=ijs -sIjsServer=ijs_pxljr \
    -sDeviceManufacturer="HEWLETT-PACKARD" -sDeviceModel="hp color LaserJet 3550" \
    -sIjsParams="Quality:Quality=$1,Quality:ColorMode=$2,Quality:MediaType=0,Quality:PenSet=2" \
    -dIjsUseOutputFD -sOutputFile="$3" pxljr-card.ps >/dev/null
}

pxljr_job 2 2 pxljr-card-best-colour.pxl
pxljr_job 2 0 pxljr-card-best-grey.pxl
pxljr_job 0 2 pxljr-card-normal-colour.pxl

# The driver's printable area starts 1/6 inch (0.1667 in, 100.02 pixels)
# from the top left corner and its job places it at pixel (100, 100): the
# page is shifted by the 0.02 pixel fraction (0.0024 point) left and up, as
# the driver saw it. Without the shift 48 edge pixels of the disc, the box
# and the rules fall on the other side.
# shellcheck disable=SC2086
gs -q -dSAFER -dBATCH -dNOPAUSE $card_size -r600 -sDEVICE=pbmraw -sOutputFile=pxljr-card.pbm \
  -c "<< /Install { -0.0024 0.0024 translate } >> setpagedevice" -f pxljr-card.ps
ls -l pxljr-card*

# Fuzz seeds: the first and the third vendor block of each job with the
# image its VendorFxn operators announced.
python3 - ../../../fuzz/corpus/xlvendor pxljr-card-best-colour.pxl pxljr-card-best-grey.pxl \
  pxljr-card-normal-colour.pxl <<'PY'
import os, struct, sys
out = sys.argv[1]
os.makedirs(out, exist_ok=True)
sizes = {0xC0: 1, 0xC1: 2, 0xC2: 4, 0xC3: 2, 0xC4: 4, 0xC5: 4}
for job in sys.argv[2:]:
    d = open(job, 'rb').read()
    i = d.index(b'\n', d.index(b') HP-PCL XL')) + 1
    attrs, values, image, blocks = {}, [], {}, 0
    while i < len(d) and d[i] != 0x1B:
        t = d[i]; i += 1
        if t in sizes:
            values.append(int.from_bytes(d[i:i + sizes[t]], 'little')); i += sizes[t]
        elif 0xD0 <= t <= 0xD5:
            i += 2 * sizes[t - 0x10]; values.append(None)
        elif t == 0xF8:
            attrs[d[i]] = values[-1]; i += 1
        elif 0x41 <= t <= 0xBF:
            if t == 0x46:
                image.update(attrs)
                length = attrs.get(146, 0)
                if length:
                    blocks += 1
                    if blocks in (1, 3):
                        header = struct.pack('<hhhhbBBB', image[108], image[107], attrs.get(109, 0),
                                             attrs.get(99, 0), image[151], 0, 0, 0)
                        name = '%s-block%d' % (job[:-4], blocks)
                        open(os.path.join(out, name), 'wb').write(header + d[i:i + length])
                    i += length
            attrs, values = {}, []
PY
ls -l ../../../fuzz/corpus/xlvendor
