// The raster state that the raster escapes and PCL XL's vendor image data
// drive, and the colour summary.
#include "raster/RasterGraphics.h"

#include "raster/ColourSet.h"
#include "raster/RasterMethods.h"
#include "raster/SeedRow.h"

namespace veltrix {

namespace {

// Decoded rows show only in the row lines and in the colours of direct
// rows. When neither is kept, decoding would change nothing that anyone
// sees.
bool RowsAreSeen(const RasterState& raster) {
  return raster.listRows || (raster.trackColours && raster.directColour);
}

void PrepareSeedRow(RasterState& raster) {
  if (raster.seedRow.size() != kSeedRowSize) {
    raster.seedRow.assign(kSeedRowSize, 0);
    raster.seedExtent = 0;
  }
  if (raster.seedReset) ClearSeedRow(raster);
}

}  // namespace

void ResetRaster(RasterState& raster, bool trackColours, bool listRows) {
  raster.listRows = listRows;
  raster.trackColours = trackColours;
  raster.directColour = false;
  raster.compression = 0;
  raster.rasterActive = false;
  raster.rasterWidth = 0;
  raster.rasterHeight = 0;
  raster.seedReset = true;
  ReleaseColourSet(raster.colours);
}

void SetRasterCompression(RasterState& raster, std::int32_t method) { raster.compression = method; }
void SetRasterWidth(RasterState& raster, std::int32_t width) { raster.rasterWidth = width; }
void SetRasterHeight(RasterState& raster, std::int32_t height) { raster.rasterHeight = height; }

void StartRaster(RasterState& raster, bool directColour) {
  if (!raster.rasterActive) {
    raster.seedReset = true;
    raster.directColour = directColour;
  }
  raster.rasterActive = true;
}

void EndRaster(RasterState& raster) {
  raster.rasterActive = false;
  raster.seedReset = true;
}

void NoteRasterYOffset(RasterState& raster) { raster.seedReset = true; }

void DecodeRasterRow(RasterState& raster, std::optional<std::span<const std::uint8_t>> data, OutputSink& listing,
                     bool directColourAtStart) {
  if (!raster.rasterActive) StartRaster(raster, directColourAtStart);
  if (!data) return;
  if (!RowsAreSeen(raster)) {
    raster.seedReset = true;  // the seed row no longer follows the rows
    return;
  }
  PrepareSeedRow(raster);
  (void)DecodeRowBlock(raster, listing, raster.compression, *data);  // other methods: the data is skipped
  raster.seedReset = false;
}

std::uint64_t RasterColourCount(const RasterState& raster) { return raster.colours.colourCount; }

void WriteColourSummary(const RasterState& raster, OutputSink& listing) {
  if (!raster.trackColours) return;
  listing.Put("\n===================================================\n\n");
  listing.Put("    24 Bit Raster Colors Referenced : ");
  if (raster.colours.colourCount == 0) {
    listing.Put("none\n\n");
    return;
  }
  listing.PutDecimal(static_cast<std::int64_t>(raster.colours.colourCount));
  listing.Put("\n\n");
}

void ReleaseRaster(RasterState& raster) {
  std::vector<std::uint8_t>().swap(raster.seedRow);
  raster.seedExtent = 0;
  raster.seedReset = true;
  ReleaseColourSet(raster.colours);
}

}  // namespace veltrix
