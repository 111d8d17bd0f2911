#include "fonts/CharRaster.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace veltrix {

namespace {

// The eight dots of every byte value, so that a row is written a byte at a
// time rather than a bit at a time.
using DotGroup = std::array<char, 8>;
constexpr std::array<DotGroup, 256> kDotsOfByte = [] {
  std::array<DotGroup, 256> dots{};
  for (unsigned byte = 0; byte < 256; ++byte) {
    for (unsigned x = 0; x < 8; ++x) dots[byte][x] = (byte & (0x80u >> x)) != 0 ? '1' : ' ';
  }
  return dots;
}();

std::string_view Dots(std::uint8_t byte, std::size_t count) { return {kDotsOfByte[byte].data(), count}; }

}  // namespace

void ShowCharRaster(OutputSink& listing, std::span<const std::uint8_t> bitmap, std::uint32_t width,
                    std::uint32_t height) {
  if (width < 1 || height < 1) return;
  const std::size_t rowBytes = (static_cast<std::size_t>(width) + 7) / 8;
  const std::size_t wholeBytes = width / 8;
  const std::size_t tailDots = width % 8;
  const std::size_t rows = std::min<std::size_t>(height, bitmap.size() / rowBytes);
  for (std::size_t r = 0; r < rows; ++r) {
    const std::uint8_t* row = bitmap.data() + r * rowBytes;
    for (std::size_t i = 0; i < wholeBytes; ++i) listing.Put(Dots(row[i], 8));
    if (tailDots != 0) listing.Put(Dots(row[wholeBytes], tailDots));
    listing.Put('\n');
  }
}

}  // namespace veltrix
