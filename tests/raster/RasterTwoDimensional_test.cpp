// Method 99 through the row decoder: one two-dimensionally coded image of
// raster width x height pixels, each of its rows listed, or none when a row
// fails. The rows themselves are the block decoder's; here only what the
// row decoder makes of them.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "TestSupport.h"
#include "raster/RasterTestSupport.h"

namespace veltrix {
namespace {

using test::Bytes;
using test::Hex;
using test::OneBitLine;

constexpr std::int32_t kTwoDimensional = 99;

struct BlockCase {
  const char* name;
  std::int32_t width;
  std::int32_t height;
  Bytes data;
  std::string lines;
};

TEST(RasterTwoDimensional, ListsEveryRowOrNone) {
  // Horizontal mode (001), a white run of 0 (00110101), a black run of 8
  // (000101): one black row of 8. Below it, two vertical-0 codes (1 1) repeat it.
  const std::string black8 = OneBitLine(Hex("FF"));
  const BlockCase cases[] = {
      {"one black row", 8, 1, Hex("26 A2 80"), black8},
      {"a second row the same", 8, 2, Hex("26 A2 E0"), black8 + black8},
      // A black run of 12 (0000111) fills a row of 12 pixels: two bytes.
      {"rows are (width + 7) / 8 bytes", 12, 1, Hex("26 A1 C0"), OneBitLine(Hex("FF F0"))},
      {"a row that fails: no row at all", 8, 2, Hex("26 A2"), ""},
      {"width 0", 0, 1, Hex("26 A2 80"), ""},
      {"negative height", 8, -1, Hex("26 A2 80"), ""},
      {"height 0", 8, 0, Hex("26 A2 80"), ""},
  };
  for (const BlockCase& c : cases) {
    SCOPED_TRACE(c.name);
    test::RowDecoder decoder;
    SetRasterWidth(decoder.raster, c.width);
    SetRasterHeight(decoder.raster, c.height);
    decoder.Row(kTwoDimensional, c.data);
    EXPECT_EQ(decoder.Take(), c.lines);
  }
}

// A page of text that Ghostscript rendered and libtiff coded (make-ccitt.sh).
TEST(RasterTwoDimensional, PageOfTextGivesThePagesRows) {
  const std::string coded = test::ReadFile(test::TestDir() / "raster/data/ccitt-text.g4");
  const std::string pbm = test::ReadFile(test::TestDir() / "raster/data/ccitt-text.pbm");
  constexpr std::int32_t kWidth = 1203, kHeight = 300;
  constexpr std::size_t kRowBytes = (kWidth + 7) / 8;
  ASSERT_FALSE(coded.empty());
  ASSERT_GE(pbm.size(), kRowBytes * kHeight);
  const std::string pixels = pbm.substr(pbm.size() - kRowBytes * kHeight);  // after the header

  test::RowDecoder decoder;
  SetRasterWidth(decoder.raster, kWidth);
  SetRasterHeight(decoder.raster, kHeight);
  decoder.Row(kTwoDimensional, Bytes(coded.begin(), coded.end()));
  std::string want;
  long inkedRows = 0;
  for (std::size_t y = 0; y < kHeight; ++y) {
    Bytes row(pixels.begin() + static_cast<std::ptrdiff_t>(y * kRowBytes),
              pixels.begin() + static_cast<std::ptrdiff_t>((y + 1) * kRowBytes));
    while (!row.empty() && row.back() == 0) row.pop_back();
    inkedRows += !row.empty();
    want += OneBitLine(row);
  }
  EXPECT_GT(inkedRows, 50);
  const std::string got = decoder.Take();
  EXPECT_EQ(got, want) << test::FirstDifference(got, want);
}

}  // namespace
}  // namespace veltrix
