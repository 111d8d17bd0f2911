// Fuzz target over a whole decode: PJL, UEL, PCL 5, HP-GL/2 and PCL XL
// stretches with every summary and every listing option on.
#include <cstddef>
#include <cstdint>
#include <span>

#include "decode/DecodeMemory.h"
#include "decode/core/DecodeOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace veltrix;
  const std::uint32_t everything = DF_CHAR_DESC | DF_RAS_FONTS | DF_RAS_GRAPH | DF_FONT_SUM | DF_MACRO_SUM |
                                   DF_PAGE_SUM | DF_ESC_SUM | DF_FONT_DETAIL | DF_PALETTE_SUM | DF_24BIT_RAST |
                                   DF_2BYTE_SUM | DF_RAS_CONTIGUOUS;
  (void)DecodeMemory(std::span(data, size), everything, 9);
  // The exceptions-only mode takes other paths through the same decoders.
  (void)DecodeMemory(std::span(data, size), everything | DF_SUPPRESS, 4);
  return 0;
}
