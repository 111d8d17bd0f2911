// The raster state between row blocks: the seed row carried from row to row
// and cleared by raster start, raster end and Y offset; raster graphics that
// a row starts by itself; the row limit that no count, run or offset passes.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "raster/RasterTestSupport.h"

namespace veltrix {
namespace {

using test::Bytes;
using test::Concat;
using test::Hex;
using test::OneBitLine;
using test::Repeat;

constexpr std::int32_t kDeltaRow = 3;

TEST(RasterSeedRow, CarriesBetweenRowsOfOneRasterArea) {
  test::RowDecoder decoder;
  StartRaster(decoder.raster, false);
  decoder.Row(kDeltaRow, Hex("00 41"));
  decoder.Row(kDeltaRow, Hex("01 42"));
  decoder.Row(kDeltaRow, {});
  EXPECT_EQ(decoder.Take(), OneBitLine(Hex("41")) + OneBitLine(Hex("41 42")) + OneBitLine(Hex("41 42")));
}

// Each step runs between a row that sets byte 0 and a delta row that sets
// byte 1: the second row shows byte 0 only if the seed row was kept.
TEST(RasterSeedRow, ClearedByRasterStartEndAndYOffset) {
  struct Step {
    const char* name;
    void (*between)(RasterState&);
    bool seedKept;
  };
  const Step steps[] = {
      {"nothing", [](RasterState&) {}, true},
      {"raster start while active", [](RasterState& r) { StartRaster(r, false); }, true},
      {"compression, width, height", [](RasterState& r) {
         SetRasterWidth(r, 8);
         SetRasterHeight(r, 2);
         SetRasterCompression(r, 2);
       }, true},
      {"raster end", [](RasterState& r) { EndRaster(r); }, false},
      {"raster end and start", [](RasterState& r) {
         EndRaster(r);
         StartRaster(r, false);
       }, false},
      {"Y offset", [](RasterState& r) { NoteRasterYOffset(r); }, false},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    test::RowDecoder decoder;
    StartRaster(decoder.raster, false);
    decoder.Row(0, Hex("41"));
    step.between(decoder.raster);
    decoder.Row(kDeltaRow, Hex("01 42"));
    EXPECT_EQ(decoder.Take(), OneBitLine(Hex("41")) + OneBitLine(step.seedKept ? Hex("41 42") : Hex("00 42")));
  }
}

TEST(RasterSeedRow, RowWithoutRasterStartStartsRasterGraphics) {
  test::RowDecoder decoder;
  decoder.Row(0, Hex("41"));
  EXPECT_TRUE(decoder.raster.rasterActive);
  EndRaster(decoder.raster);
  EXPECT_FALSE(decoder.raster.rasterActive);
  decoder.Row(kDeltaRow, Hex("01 42"), /*directColourAtStart=*/false);  // starts again: a cleared seed row
  EXPECT_TRUE(decoder.raster.rasterActive);
  EXPECT_EQ(decoder.Take(), OneBitLine(Hex("41")) + OneBitLine(Hex("00 42")));
}

TEST(RasterSeedRow, DirectColourIsTakenOnlyWhenRasterGraphicsStart) {
  test::RowDecoder decoder;
  decoder.RowWithoutData(/*directColourAtStart=*/true);
  EXPECT_TRUE(decoder.raster.rasterActive);
  EXPECT_TRUE(decoder.raster.directColour);
  StartRaster(decoder.raster, false);  // already active: keeps the answer of the start
  decoder.Row(0, Hex("01 02 03"), false);
  EXPECT_TRUE(decoder.raster.directColour);
  EndRaster(decoder.raster);
  StartRaster(decoder.raster, false);
  EXPECT_FALSE(decoder.raster.directColour);
  EXPECT_EQ(decoder.Take(), "<rast>:010203 \n");
}

TEST(RasterSeedRow, RowWithoutDataListsNothingAndKeepsTheClear) {
  test::RowDecoder decoder;
  decoder.Row(0, Hex("41"));
  NoteRasterYOffset(decoder.raster);
  decoder.RowWithoutData();
  decoder.Row(kDeltaRow, Hex("01 42"));
  EXPECT_EQ(decoder.Take(), OneBitLine(Hex("41")) + OneBitLine(Hex("00 42")));
}

// A shorter row of method 1 or 2 leaves the bytes after it in the seed row;
// a shorter unencoded row clears them. An empty delta row shows what is left.
TEST(RasterSeedRow, BytesAfterAShorterRow) {
  struct ShortRow {
    std::int32_t method;
    Bytes data;
    Bytes seedAfter;
  };
  const ShortRow rows[] = {
      {0, Hex("44"), Hex("44")},
      {1, Hex("00 44"), Hex("44 42 43")},
      {2, Hex("00 44"), Hex("44 42 43")},
      {1006, Hex("00 44 45"), Hex("44 45 43")},
      {5, Hex("01 0002 00 44"), Hex("44 42 43")},
  };
  for (const ShortRow& row : rows) {
    SCOPED_TRACE(row.method);
    test::RowDecoder decoder;
    decoder.Row(0, Hex("41 42 43"));
    decoder.Row(row.method, row.data);
    decoder.Take();
    decoder.Row(kDeltaRow, {});
    EXPECT_EQ(decoder.Take(), OneBitLine(row.seedAfter));
  }
}

TEST(RasterSeedRow, CompressionWidthAndHeightOutliveRasterEndUntilReset) {
  test::RowDecoder decoder;
  SetRasterCompression(decoder.raster, 2);
  SetRasterWidth(decoder.raster, 640);
  SetRasterHeight(decoder.raster, 3);
  StartRaster(decoder.raster, true);
  EndRaster(decoder.raster);
  EXPECT_EQ(decoder.raster.compression, 2);
  EXPECT_EQ(decoder.raster.rasterWidth, 640);
  EXPECT_EQ(decoder.raster.rasterHeight, 3);
  ResetRaster(decoder.raster, true, false);
  EXPECT_EQ(decoder.raster.compression, 0);
  EXPECT_EQ(decoder.raster.rasterWidth, 0);
  EXPECT_EQ(decoder.raster.rasterHeight, 0);
  EXPECT_FALSE(decoder.raster.rasterActive);
  EXPECT_FALSE(decoder.raster.directColour);
  EXPECT_TRUE(decoder.raster.trackColours);
  EXPECT_FALSE(decoder.raster.listRows);
}

TEST(RasterSeedRow, ResetForTheNextFileClearsTheSeedRow) {
  test::RowDecoder decoder;
  decoder.Row(0, Hex("41"));
  ResetRaster(decoder.raster, false, true);
  decoder.Row(kDeltaRow, Hex("01 42"));
  EXPECT_EQ(decoder.Take(), OneBitLine(Hex("41")) + OneBitLine(Hex("00 42")));
}

TEST(RasterSeedRow, RowsAreNotListedWithoutTheListingOption) {
  test::RowDecoder decoder(/*listRows=*/false);
  for (const std::int32_t method : {0, 1, 2, 3, 5, 1006, 1007, 1008}) decoder.Row(method, Hex("00 0001 41 05 0003"));
  EXPECT_EQ(decoder.Take(), "");
}

// The row limit: 158,390 bytes, whatever the data says. A line of n bytes
// is "<rast>:", 8 n characters and the line end.
std::size_t LineBytes(const std::string& line) { return (line.size() - 8) / 8; }

TEST(RasterRowLimit, NoMethodWritesPastIt) {
  constexpr std::size_t kLimit = 158390;
  struct LimitCase {
    const char* name;
    std::int32_t method;
    Bytes data;
    std::size_t shown;       // bytes in the row line
    std::string lineEnd;     // its last characters
  };
  Bytes unencoded(200000, 0xFF);
  unencoded[kLimit - 1] = 0x01;
  // 0xFF: count 8 at offset 31 + 621 * 255 + 3 = 158,389, the last byte of
  // the row: one of the eight bytes lands.
  const Bytes deltaAtEnd = Concat({Hex("FF"), Repeat(Hex("FF"), 621), Hex("03 81 82 83 84 85 86 87 88")});
  const Bytes deltaPastEnd = Concat({Hex("FF"), Repeat(Hex("FF"), 621), Hex("04 81 82 83 84 85 86 87 88")});
  const LimitCase cases[] = {
      {"200,000 unencoded bytes", 0, unencoded, kLimit, "       1\n"},
      {"run-length runs past the limit", 1, Repeat(Hex("FF 55"), 700), kLimit, " 1 1 1 1\n"},
      {"PackBits repeats past the limit", 2, Repeat(Hex("81 0F"), 1300), kLimit, "    1111\n"},
      {"PackBits literals past the limit", 2, Repeat(Concat({Hex("7F"), Repeat(Hex("01"), 128)}), 1300), kLimit,
       "       1\n"},
      {"a delta replacement at the last byte", 3, deltaAtEnd, kLimit, "1      1\n"},
      {"a delta replacement beyond the last byte", 3, deltaPastEnd, 0, "<rast>:\n"},
      // 158,390 bytes are 79,195 units of 2 but only 39,597 whole units of 4.
      {"units of 2 up to the limit", 1006, Repeat(Hex("81 F0 0F"), 700), kLimit, "    1111\n"},
      {"units of 4 stop at the last whole unit", 1007, Repeat(Hex("81 F0 0F 00 01"), 350), kLimit - 2,
       "       1\n"},
      {"unit copies stop at the last whole unit", 1007, Repeat(Concat({Hex("7F"), Repeat(Hex("F0 0F 00 01"), 128)}), 350),
       kLimit - 2, "       1\n"},
  };
  for (const LimitCase& c : cases) {
    SCOPED_TRACE(c.name);
    test::RowDecoder decoder;
    decoder.Row(c.method, c.data);
    const std::string line = decoder.Take();
    ASSERT_TRUE(line.starts_with("<rast>:"));
    EXPECT_EQ(LineBytes(line), c.shown);
    EXPECT_TRUE(line.ends_with(c.lineEnd)) << line.substr(line.size() - std::min<std::size_t>(line.size(), 20));
    // The bytes past the limit stay clear: a delta row shows the whole seed row.
    decoder.Row(kDeltaRow, {});
    EXPECT_EQ(LineBytes(decoder.Take()), c.shown);
  }
}

TEST(RasterRowLimit, AdaptiveDuplicatesOfAFullRow) {
  test::RowDecoder decoder;
  // A row of method 1 that runs past the limit, then three duplicates of it.
  decoder.Row(5, Concat({Hex("01 0578"), Repeat(Hex("FF 80"), 700), Hex("05 0003")}));
  std::string row = "<rast>:";
  for (std::size_t i = 0; i < 158390; ++i) row += "1       ";
  row += "\n";
  EXPECT_EQ(decoder.Take(), row + row + row + row);
}

}  // namespace
}  // namespace veltrix
