#include "raster/RasterRowEmit.h"

#include <algorithm>

#include "raster/ColourSet.h"

namespace veltrix {

void EmitRow(RasterState& raster, OutputSink& listing, const std::uint8_t* row, std::size_t size,
             std::size_t nonZeroEnd, std::uint32_t repeats) {
  if (repeats == 0) return;
  nonZeroEnd = std::min(nonZeroEnd, size);
  if (raster.listRows) {
    std::size_t used = nonZeroEnd;
    while (used > 0 && row[used - 1] == 0) --used;
    // A sink that keeps nothing needs the line once, not once per duplicate:
    // a 3-byte adaptive record may ask for 65,535 of them.
    const std::uint32_t lines = listing.IsDiscard() ? 1 : repeats;
    for (std::uint32_t i = 0; i < lines; ++i) WriteRowLine(listing, row, used, raster.directColour);
  }
  if (raster.trackColours && raster.directColour) AddRowColours(raster.colours, row, size, nonZeroEnd);
}

void EmitSeedRow(RasterState& raster, OutputSink& listing, std::size_t size, std::uint32_t repeats) {
  EmitRow(raster, listing, raster.seedRow.data(), size, raster.seedExtent, repeats);
}

}  // namespace veltrix
