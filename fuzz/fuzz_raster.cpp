// Feeds arbitrary bytes to the raster row decoder. A 6-byte header picks the
// first compression method, the listing and colour options, the direct
// colour answer at raster start, and the raster width and height (method
// 99). Then each row block is one step byte (raster start, end, Y offset or
// a new method before the row, or a row without data) and a 16-bit
// big-endian length, clipped at the bytes that are left.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "decode/core/OutputSink.h"
#include "raster/RasterGraphics.h"

namespace {

// Every method with a decoder, and a few without.
constexpr std::array<std::int32_t, 14> kMethods = {0, 1, 2, 3, 5, 99, 1006, 1007, 1008, 4, 9, 100, 1009, -1};

constexpr std::uint8_t kListRows = 1;
constexpr std::uint8_t kTrackColours = 2;
constexpr std::uint8_t kDirectColour = 4;

constexpr std::uint8_t kStepStart = 1;
constexpr std::uint8_t kStepEnd = 2;
constexpr std::uint8_t kStepYOffset = 4;
constexpr std::uint8_t kStepNoData = 8;
constexpr std::uint8_t kStepMethod = 16;  // the high 3 bits and this one pick the method

std::int32_t MethodOf(std::uint8_t b) { return kMethods[b % kMethods.size()]; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kHeaderSize = 6;
  if (size < kHeaderSize) return 0;
  veltrix::OutputSink listing;  // formats every line, keeps none
  veltrix::RasterState raster;  // fresh per input: nothing carries over
  const std::uint8_t options = data[1];
  const bool direct = options & kDirectColour;
  veltrix::ResetRaster(raster, options & kTrackColours, options & kListRows);
  veltrix::SetRasterCompression(raster, MethodOf(data[0]));
  veltrix::SetRasterWidth(raster, data[2] << 8 | data[3]);
  veltrix::SetRasterHeight(raster, data[4] << 8 | data[5]);
  std::span<const std::uint8_t> rest(data + kHeaderSize, size - kHeaderSize);
  while (rest.size() >= 3) {
    const std::uint8_t step = rest[0];
    const std::size_t claimed = static_cast<std::size_t>(rest[1] << 8 | rest[2]);
    rest = rest.subspan(3);
    const std::span<const std::uint8_t> block = rest.first(std::min(claimed, rest.size()));
    rest = rest.subspan(block.size());
    if (step & kStepEnd) veltrix::EndRaster(raster);
    if (step & kStepStart) veltrix::StartRaster(raster, direct);
    if (step & kStepYOffset) veltrix::NoteRasterYOffset(raster);
    if (step & kStepMethod) veltrix::SetRasterCompression(raster, MethodOf(step >> 5));
    if (step & kStepNoData) {
      veltrix::DecodeRasterRow(raster, std::nullopt, listing, direct);
    } else {
      veltrix::DecodeRasterRow(raster, block, listing, direct);
    }
  }
  if (rest.size() > 0) veltrix::DecodeRasterRow(raster, rest, listing, direct);  // the last bytes as one more row
  (void)veltrix::RasterColourCount(raster);
  veltrix::WriteColourSummary(raster, listing);
  veltrix::ReleaseRaster(raster);
  return 0;
}
