// Direct 24-bit rows: their "RRGGBB " row lines, the distinct colours they
// add (every complete group of 3 bytes, black included) and the colour
// summary.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "raster/RasterTestSupport.h"

namespace veltrix {
namespace {

using test::Bytes;
using test::Hex;

constexpr bool kDirect = true;

struct DirectRowCase {
  const char* name;
  Bytes row;  // unencoded
  const char* line;
  std::uint64_t colours;
};

TEST(RasterDirectRows, LinesAndColoursOfOneRow) {
  const DirectRowCase cases[] = {
      {"one pixel", Hex("01 02 03"), "<rast>:010203 \n", 1},
      {"black is a colour", Hex("000000 0A0B0C"), "<rast>:000000 0A0B0C \n", 2},
      {"a repeated colour counts once", Hex("FF0000 00FF00 FF0000 0000FF"), "<rast>:FF0000 00FF00 FF0000 0000FF \n", 3},
      // Only groups that end at or before the last non-zero byte are shown:
      // a last pixel of pure red (FF 00 00) ends past it.
      {"a last group past the last non-zero byte", Hex("FF0000 00FF00 FF0000"), "<rast>:FF0000 00FF00 \n", 2},
      {"a last blue byte ends the last group", Hex("000005"), "<rast>:000005 \n", 1},
      {"red and blue keys differ", Hex("010000 000001"), "<rast>:010000 000001 \n", 2},
      {"white", Hex("FFFFFF"), "<rast>:FFFFFF \n", 1},
      {"an incomplete last group is neither shown nor counted", Hex("010203 0405"), "<rast>:010203 \n", 1},
      {"two bytes", Hex("0102"), "<rast>:\n", 0},
      {"a row of zeros", Hex("000000 000000"), "<rast>:\n", 1},
      {"an empty row", {}, "<rast>:\n", 0},
  };
  for (const DirectRowCase& c : cases) {
    SCOPED_TRACE(c.name);
    test::RowDecoder decoder(/*listRows=*/true, /*trackColours=*/true);
    decoder.Row(0, c.row, kDirect);
    EXPECT_EQ(decoder.Take(), c.line);
    EXPECT_EQ(RasterColourCount(decoder.raster), c.colours);
  }
}

// A delta row emits the whole seed row: its zeros make black count as soon
// as any delta row is seen.
TEST(RasterDirectRows, DeltaRowCountsBlack) {
  test::RowDecoder decoder(/*listRows=*/false, /*trackColours=*/true);
  decoder.Row(3, Hex("40 10 20 30"), kDirect);  // three bytes at offset 0
  EXPECT_EQ(RasterColourCount(decoder.raster), 2u);
}

TEST(RasterDirectRows, DuplicatedRowsAreListedEachTimeAndAddNoColour) {
  test::RowDecoder decoder(/*listRows=*/true, /*trackColours=*/true);
  decoder.Row(5, Hex("00 0003 102030 | 05 0003"), kDirect);
  EXPECT_EQ(decoder.Take(), "<rast>:102030 \n<rast>:102030 \n<rast>:102030 \n<rast>:102030 \n");
  EXPECT_EQ(RasterColourCount(decoder.raster), 2u);  // 102030, and black from the rest of the seed row
}

TEST(RasterDirectRows, ColoursAccumulateOverRowsAndFilesStartEmpty) {
  test::RowDecoder decoder(/*listRows=*/false, /*trackColours=*/true);
  // 50,000 distinct colours, keys 7 i (red, green, blue = low to high byte).
  Bytes row;
  for (std::uint32_t i = 0; i < 50000; ++i) {
    const std::uint32_t key = 7 * i;
    row.insert(row.end(), {static_cast<std::uint8_t>(key), static_cast<std::uint8_t>(key >> 8),
                           static_cast<std::uint8_t>(key >> 16)});
  }
  decoder.Row(0, row, kDirect);
  decoder.Row(0, row, kDirect);
  EXPECT_EQ(RasterColourCount(decoder.raster), 50000u);
  decoder.Row(0, Hex("FFFFFF 000001"), kDirect);  // the highest key; 1 is not a multiple of 7
  EXPECT_EQ(RasterColourCount(decoder.raster), 50002u);
  ResetRaster(decoder.raster, true, false);
  EXPECT_EQ(RasterColourCount(decoder.raster), 0u);
  decoder.Row(0, Hex("FFFFFF"), kDirect);
  EXPECT_EQ(RasterColourCount(decoder.raster), 1u);
}

TEST(RasterDirectRows, OnlyDirectRowsAreCountedAndOnlyWhenTracked) {
  test::RowDecoder notDirect(/*listRows=*/false, /*trackColours=*/true);
  notDirect.Row(0, Hex("010203"), !kDirect);
  EXPECT_EQ(RasterColourCount(notDirect.raster), 0u);
  test::RowDecoder notTracked(/*listRows=*/true, /*trackColours=*/false);
  notTracked.Row(0, Hex("010203"), kDirect);
  EXPECT_EQ(RasterColourCount(notTracked.raster), 0u);
  EXPECT_EQ(notTracked.Take(), "<rast>:010203 \n");
}

TEST(RasterColourSummary, CountOrNone) {
  constexpr const char* kRule = "\n===================================================\n\n";
  test::RowDecoder decoder(/*listRows=*/false, /*trackColours=*/true);
  WriteColourSummary(decoder.raster, decoder.listing);
  EXPECT_EQ(decoder.Take(), std::string(kRule) + "    24 Bit Raster Colors Referenced : none\n\n");
  decoder.Row(0, Hex("010203 040506 010203 070809"), kDirect);
  WriteColourSummary(decoder.raster, decoder.listing);
  EXPECT_EQ(decoder.Take(), std::string(kRule) + "    24 Bit Raster Colors Referenced : 3\n\n");
}

TEST(RasterColourSummary, NothingWhenColoursAreNotTracked) {
  test::RowDecoder decoder(/*listRows=*/true, /*trackColours=*/false);
  WriteColourSummary(decoder.raster, decoder.listing);
  EXPECT_EQ(decoder.Take(), "");
}

}  // namespace
}  // namespace veltrix
