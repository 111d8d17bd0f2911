// Feeds arbitrary bytes to the PCL XL decoder as one PCL XL stretch, at level
// 9 so that every tag class is listed, with every option bit on. A second
// decode adds exceptions-only mode, which takes the paths that write nothing.
#include <cstddef>
#include <cstdint>
#include <span>

#include "decode/RunState.h"
#include "decode/core/ByteReader.h"
#include "decode/core/DecodeOptions.h"
#include "decode/core/OutputSink.h"
#include "pclxl/XlDecoder.h"

namespace {

constexpr std::uint32_t kEveryOption =
    veltrix::DF_CHAR_DESC | veltrix::DF_RAS_FONTS | veltrix::DF_RAS_GRAPH | veltrix::DF_EXTRACT_WIDTHS |
    veltrix::DF_FONT_SUM | veltrix::DF_MACRO_SUM | veltrix::DF_PAGE_SUM | veltrix::DF_ESC_SUM |
    veltrix::DF_FONT_DETAIL | veltrix::DF_STRIP_FONTS | veltrix::DF_ERROR_LOG | veltrix::DF_PALETTE_SUM |
    veltrix::DF_24BIT_RAST | veltrix::DF_2BYTE_SUM | veltrix::DF_RAS_CONTIGUOUS | veltrix::DF_KEEP_FONTS |
    veltrix::DF_KEEP_SEPARATE;

void DecodeOnce(std::span<const std::uint8_t> bytes, std::uint32_t flags) {
  veltrix::ByteReader in(bytes);
  veltrix::OutputSink listing;  // formats every line, keeps none
  veltrix::RunState run;        // fresh per input: nothing carries over
  run.ctx.flags = flags;
  run.ctx.level = 9;
  run.ctx.input = &in;
  run.ctx.listing = &listing;
  (void)veltrix::DecodePclXl(XlViewOf(run));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  DecodeOnce(bytes, kEveryOption);
  DecodeOnce(bytes, kEveryOption | veltrix::DF_SUPPRESS);
  return 0;
}
