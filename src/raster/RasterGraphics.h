// Raster graphics rows: the raster state that the PCL 5 raster escapes and
// PCL XL's vendor image data both feed, the row decompressors that decode
// each row block into the seed row, the "<rast>:" row lines, and the set of
// colours of direct 24-bit rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "decode/core/OutputSink.h"

namespace veltrix {

// The seed row is one fixed buffer; a row fills at most kRowLimit bytes of
// it, whatever width or byte count the job claims (158,390 bytes is 1,267,120
// one-bit pixels, more than any page at any resolution).
inline constexpr std::size_t kSeedRowSize = 158400;
inline constexpr std::size_t kRowLimit = 158390;

// The distinct colours of direct 24-bit rows: one bit per 24-bit colour key
// (red | green << 8 | blue << 16), 2 MiB once the first colour arrives, so
// that counting costs O(1) a pixel however many colours a page has.
struct ColourSet {
  std::vector<std::uint64_t> seen;  // empty until the first colour
  std::uint64_t colourCount = 0;
};

struct RasterState {
  bool listRows = false;      // DF_RAS_GRAPH: write each decoded row to the listing
  bool trackColours = false;  // DF_24BIT_RAST: count the colours of direct 24-bit rows
  bool directColour = false;  // rows are 24-bit direct colour, as the palette said at raster start
  std::int32_t compression = 0;
  bool rasterActive = false;
  std::int32_t rasterWidth = 0;   // pixels per row (ESC*r#S)
  std::int32_t rasterHeight = 0;  // rows (ESC*r#T)
  std::vector<std::uint8_t> seedRow;  // kSeedRowSize bytes while rows are decoded
  // Every seed row byte from here on is zero: clearing, trimming and colour
  // counting touch only the bytes below it, not the whole 158,400.
  std::size_t seedExtent = 0;
  bool seedReset = true;  // clear the seed row before the next row block
  ColourSet colours;
};

// Per file: the flags set, everything else back to its start; the colour set
// emptied when colours are tracked.
void ResetRaster(RasterState& raster, bool trackColours, bool listRows);
void SetRasterCompression(RasterState& raster, std::int32_t method);
void SetRasterWidth(RasterState& raster, std::int32_t width);
void SetRasterHeight(RasterState& raster, std::int32_t height);
// ESC*r#A (and a row without one): `directColour` is the palette tracker's
// answer at raster start, taken only when raster graphics were not active.
void StartRaster(RasterState& raster, bool directColour);
// ESC*rB, ESC*rC.
void EndRaster(RasterState& raster);
// ESC*b#Y: the next row block starts from a cleared seed row.
void NoteRasterYOffset(RasterState& raster);
// One row block (ESC*b#W, ESC*b#V, a row of a PCL XL raster block): starts
// raster graphics if they are not active; with data, decodes it by the
// current compression into the seed row, listing the rows on `listing` and
// counting their colours. `directColourAtStart` is the palette tracker's
// answer, used if the row has to start raster graphics itself.
void DecodeRasterRow(RasterState& raster, std::optional<std::span<const std::uint8_t>> data, OutputSink& listing,
                     bool directColourAtStart);
std::uint64_t RasterColourCount(const RasterState& raster);
// "    24 Bit Raster Colors Referenced : " and the count, after the summary
// rule; nothing when colours are not tracked.
void WriteColourSummary(const RasterState& raster, OutputSink& listing);
// Per file: frees the seed row and the colour set.
void ReleaseRaster(RasterState& raster);

}  // namespace veltrix
