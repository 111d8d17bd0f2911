// Feeds arbitrary bytes to the PCL XL vendor image decoder as one vendor
// data block. The first 12 bytes are the image the VendorFxn operators
// would have announced, so that widths, heights and row numbers of every
// sign and size reach the strip decoders and the blank strip checks:
//   0-1 SourceWidth, 2-3 SourceHeight, 4-5 StartLine, 6-7 BlockHeight
//       (signed 16-bit, low byte first)
//   8   Vendor Color Space (signed)
//   9   bit 0 contiguous rows, bit 1 exceptions only, bit 2 rows not listed,
//       bit 3 no destination size
//   10  colour kind of the rows so far (0-2)
//   11  bytes of the first block; the rest is a second block of the same
//       image, which meets the rows and tables the first one left
#include <cstddef>
#include <cstdint>
#include <span>

#include "decode/RunState.h"
#include "decode/core/ByteReader.h"
#include "decode/core/DecodeOptions.h"
#include "decode/core/OutputSink.h"
#include "pclxl/XlReader.h"
#include "pclxl/XlVendorImage.h"
#include "raster/RasterGraphics.h"

namespace {

constexpr std::size_t kHeaderSize = 12;

std::int32_t Signed16(const std::uint8_t* p) { return static_cast<std::int16_t>(p[0] | p[1] << 8); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kHeaderSize) return 0;
  const std::uint8_t options = data[9];
  veltrix::ByteReader in(std::span<const std::uint8_t>{});
  veltrix::OutputSink listing;  // formats every line, keeps none
  veltrix::RunState run;        // fresh per input: nothing carries over
  run.ctx.flags = (options & 1 ? veltrix::DF_RAS_CONTIGUOUS : 0) | (options & 2 ? veltrix::DF_SUPPRESS : 0) |
                  (options & 4 ? 0 : veltrix::DF_RAS_GRAPH);
  run.ctx.input = &in;
  run.ctx.listing = &listing;
  veltrix::ResetRaster(run.rasterRows, false, (run.ctx.flags & veltrix::DF_RAS_GRAPH) != 0);

  veltrix::XlReader reader(XlViewOf(run));
  veltrix::XlRasterState& image = reader.state.raster;
  image.sourceWidth = Signed16(data);
  image.sourceHeight = Signed16(data + 2);
  image.startLine = Signed16(data + 4);
  image.blockHeight = Signed16(data + 6);
  image.destinationWidth = options & 8 ? 0 : image.sourceWidth;
  image.destinationHeight = image.sourceHeight;
  image.vendorColorSpace = static_cast<std::int8_t>(data[8]);
  reader.state.imageColourKind = data[10] % 3;
  reader.state.dataBlock = veltrix::XL_BLOCK_IMAGE;

  const std::span<const std::uint8_t> blocks(data + kHeaderSize, size - kHeaderSize);
  const std::size_t first = data[11] < blocks.size() ? data[11] : blocks.size();
  (void)veltrix::XlDecodeVendorImageData(reader, blocks.first(first));
  (void)veltrix::XlDecodeVendorImageData(reader, blocks.subspan(first));
  return 0;
}
