// Character bitmaps drawn as text, from bytes set by hand.
#include "fonts/CharRaster.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace veltrix {
namespace {

std::string Draw(const std::vector<std::uint8_t>& bitmap, std::uint32_t width, std::uint32_t height) {
  std::string text;
  {
    OutputSink sink(&text);
    ShowCharRaster(sink, bitmap, width, height);
  }
  return text;
}

struct RasterCase {
  const char* name;
  std::uint32_t width;
  std::uint32_t height;
  std::vector<std::uint8_t> bitmap;
  std::string drawn;
};

TEST(ShowCharRaster, DrawsRowsFromTheBytes) {
  const RasterCase cases[] = {
      {"ten dots: two bytes a row, the second byte's top two bits", 10, 1, {0xA5, 0x80}, "1 1  1 11 \n"},
      {"whole bytes", 8, 2, {0x81, 0x7E}, "1      1\n 111111 \n"},
      {"one dot a row", 1, 3, {0x80, 0x00, 0xFF}, "1\n \n1\n"},
      {"padding bits past the width are not drawn", 3, 2, {0xFF, 0x1F}, "111\n   \n"},
      {"17 dots take three bytes a row", 17, 2, {0xFF, 0x00, 0x80, 0x00, 0xFF, 0x7F},
       "11111111        1\n        11111111 \n"},
      {"a row cut off by the end of the block is not drawn", 17, 2, {0xFF, 0x00, 0x80, 0xFF, 0xFF},
       "11111111        1\n"},
      {"only the rows the block holds", 16, 5, {0x80, 0x01, 0x40, 0x02, 0x20, 0x04},
       "1              1\n 1            1 \n  1          1  \n"},
      {"bytes after the last row are ignored", 4, 1, {0x90, 0xFF}, "1  1\n"},
      {"width 0 draws nothing", 0, 5, {0xFF, 0xFF}, ""},
      {"height 0 draws nothing", 8, 0, {0xFF, 0xFF}, ""},
      {"no bytes draws nothing", 16, 1, {}, ""},
      {"less than one row draws nothing", 24, 3, {0xFF, 0xFF}, ""},
      {"a lying 65535 x 65535 over ten bytes draws nothing", 65535, 65535,
       {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, ""},
  };
  for (const RasterCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Draw(c.bitmap, c.width, c.height), c.drawn);
  }
}

// 65535 dots a row is 8192 bytes; two rows and a bit draw two rows in full.
TEST(ShowCharRaster, WidestRowsAreDrawnWhenTheBlockHoldsThem) {
  const std::vector<std::uint8_t> bitmap(2 * 8192 + 5, 0xFF);
  const std::string drawn = Draw(bitmap, 65535, 65535);
  ASSERT_EQ(drawn.size(), 2u * 65536u);
  EXPECT_EQ(std::ranges::count(drawn, '\n'), 2);
  EXPECT_EQ(std::ranges::count(drawn, '1'), 2 * 65535);
  EXPECT_EQ(drawn[65535], '\n');
}

// Every byte value, one a row: the dot of each bit position, most significant first.
TEST(ShowCharRaster, EveryByteValue) {
  std::vector<std::uint8_t> bitmap(256);
  for (int v = 0; v < 256; ++v) bitmap[static_cast<std::size_t>(v)] = static_cast<std::uint8_t>(v);
  const std::string drawn = Draw(bitmap, 8, 256);
  ASSERT_EQ(drawn.size(), 256u * 9u);
  for (int v = 0; v < 256; ++v) {
    for (int x = 0; x < 8; ++x) {
      const bool set = (v >> (7 - x)) & 1;
      EXPECT_EQ(drawn[static_cast<std::size_t>(v * 9 + x)], set ? '1' : ' ') << "byte " << v << " dot " << x;
    }
  }
}

}  // namespace
}  // namespace veltrix
