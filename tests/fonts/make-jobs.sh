#!/bin/sh
# Regenerates the soft-font jobs in data/ from fonts.tex with Debian's
# texlive-binaries and texlive-base: tex, and the dvilj drivers for the
# LaserJet 4 (600 dpi, compressed characters), 4L, IIP and the original
# LaserJet, each downloading every character it prints as a bitmap font.
# (Display math makes these drivers crash, so fonts.tex keeps to inline math.)
set -eu
cd "$(dirname "$0")/data"
work=$(mktemp -d)
cp fonts.tex "$work"
(cd "$work" && tex -interaction=batchmode fonts.tex >/dev/null)
for driver in dvilj4 dvilj4l dvilj2p dvilj; do
  "$driver" -q -e"$PWD/$driver-fonts.pcl" "$work/fonts.dvi"
done
rm -rf "$work"
ls -l ./*.pcl
