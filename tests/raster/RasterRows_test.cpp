// The raster row decoder: row blocks of every compression method decoded
// from a cleared seed row, the seed row between blocks, the row limit,
// direct 24-bit rows and their colours, and two-dimensionally coded blocks.
// Expected rows are written out byte by byte from what each method means;
// a row line shows the bytes up to the last non-zero one.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "raster/RasterTestSupport.h"

namespace veltrix {
namespace {

using test::Bytes;
using test::Concat;
using test::Hex;
using test::OneBitLine;
using test::Repeat;

constexpr std::int32_t kDeltaRow = 3;
constexpr bool kDirect = true;

TEST(RasterRowLines, ShowEightCharactersPerByteUpToTheLastSetBit) {
  test::RowDecoder decoder;
  decoder.Row(0, Hex("41 80 01 FF 00 00"));
  decoder.Row(0, {});
  EXPECT_EQ(decoder.Take(), "<rast>: 1     11              111111111\n<rast>:\n");
}

TEST(RasterRows, EachMethod) {
  struct RowCase {
    const char* name;
    std::int32_t method;
    Bytes data;
    std::vector<Bytes> rows;  // one row line each
  };
  const RowCase cases[] = {
      {"unencoded", 0, Hex("41 00 42 00"), {Hex("41 00 42")}},
      {"run length: repeat and value", 1, Hex("02 41 00 42"), {Hex("41 41 41 42")}},
      {"run length: 255 writes 256", 1, Hex("FF 01 00 80"), {Concat({Repeat(Hex("01"), 256), Hex("80")})}},
      {"run length: an odd last byte is skipped", 1, Hex("00 41 05"), {Hex("41")}},
      {"PackBits: literal then repeat", 2, Hex("02 41 42 43 FE 5A"), {Hex("41 42 43 5A 5A 5A")}},
      {"PackBits: 128 does nothing", 2, Hex("80 00 41"), {Hex("41")}},
      {"PackBits: 129 repeats 128 times", 2, Hex("81 AA"), {Repeat(Hex("AA"), 128)}},
      {"PackBits: 127 copies 128 bytes", 2, Concat({Hex("7F"), Repeat(Hex("0F"), 128)}), {Repeat(Hex("0F"), 128)}},
      {"PackBits: a literal cut short", 2, Hex("05 41 42"), {Hex("41 42")}},
      // Command 0x22: two bytes (high bits 1, plus 1) at offset 2.
      {"delta: bytes at an offset", 3, Hex("22 41 42"), {Hex("00 00 41 42")}},
      {"delta: offsets from the previous replacement", 3, Hex("01 41 01 42"), {Hex("00 41 00 42")}},
      {"delta: offset 31 + 255 + 5", 3, Hex("1F FF 05 41"), {Concat({Bytes(291), Hex("41")})}},
      {"delta: cut inside its offset bytes", 3, Hex("01 41 1F FF"), {Hex("00 41")}},
      {"delta: replacement cut short", 3, Hex("E0 41 42"), {Hex("41 42")}},
      // A row, its duplicate, three empty rows (a clear, no line), two duplicates of the cleared row.
      {"adaptive: rows, duplicates, empty rows", 5, Hex("00 0001 41 | 05 0001 | 04 0003 | 05 0002"),
       {Hex("41"), Hex("41"), {}, {}}},
      {"adaptive: each method on one seed row", 5, Hex("01 0002 02 41 | 02 0003 01 42 43 | 03 0002 03 44"),
       {Hex("41 41 41"), Hex("42 43"), Hex("42 43 41 44")}},
      {"adaptive: a count past the block ends it", 5, Hex("00 0001 41 | 02 0010 41"), {Hex("41")}},
      {"adaptive: an unknown command ends the block", 5, Hex("06 0000 | 00 0001 41"), {}},
      {"adaptive: 254 ends the block under 5", 5, Hex("FE 0002 00 41 | 00 0001 41"), {}},
      {"adaptive 1008: units of 2", 1008, Hex("FE 0005 01 41 42 43 44"), {Hex("41 42 43 44")}},
      {"adaptive 1008: units of 4", 1008, Hex("FF 0005 FE 41 42 43 44"), {Repeat(Hex("41 42 43 44"), 3)}},
      {"adaptive 1008: a unit row past the block", 1008, Hex("FE 0009 01 41 42 43 44"), {}},
      {"units of 2: copy", 1006, Hex("01 41 42 43 44"), {Hex("41 42 43 44")}},
      {"units of 2: repeat", 1006, Hex("FE 41 42"), {Repeat(Hex("41 42"), 3)}},
      {"units of 4", 1007, Hex("FE 01 02 03 04 | 00 05 06 07 08"), {Hex("01020304 01020304 01020304 05060708")}},
      {"units of 4: a partial unit at the end", 1007, Hex("01 01 02 03 04 05 06"), {Hex("01 02 03 04 05 06")}},
  };
  for (const RowCase& c : cases) {
    SCOPED_TRACE(c.name);
    test::RowDecoder decoder;
    decoder.Row(c.method, c.data);
    std::string want;
    for (const Bytes& row : c.rows) want += OneBitLine(row);
    EXPECT_EQ(decoder.Take(), want);
  }
}

TEST(RasterRows, MethodsWithoutDecoderSkipTheirData) {
  for (const std::int32_t method : {4, 6, 10, 98, 100, 1005, 1009, -1}) {
    SCOPED_TRACE(method);
    test::RowDecoder decoder;
    decoder.Row(method, Hex("00 41 42 43"));
    EXPECT_EQ(decoder.Take(), "");
    EXPECT_TRUE(decoder.raster.rasterActive);
  }
}

// Each step runs between a row that sets byte 0 and a delta row that sets
// byte 1: the second row shows byte 0 only if the seed row was kept.
TEST(RasterSeedRow, CarriedOrCleared) {
  struct Step {
    const char* name;
    void (*between)(test::RowDecoder&);
    bool seedKept;
  };
  const Step steps[] = {
      {"nothing", [](test::RowDecoder&) {}, true},
      {"raster start while active", [](test::RowDecoder& d) { StartRaster(d.raster, false); }, true},
      {"compression, width, height", [](test::RowDecoder& d) {
         SetRasterWidth(d.raster, 8);
         SetRasterHeight(d.raster, 2);
         SetRasterCompression(d.raster, 2);
       }, true},
      // The delta row then starts raster graphics by itself, from a cleared seed row.
      {"raster end", [](test::RowDecoder& d) { EndRaster(d.raster); }, false},
      {"Y offset", [](test::RowDecoder& d) { NoteRasterYOffset(d.raster); }, false},
      {"Y offset, then a row without data", [](test::RowDecoder& d) {
         NoteRasterYOffset(d.raster);
         d.RowWithoutData();
       }, false},
      {"reset for the next file", [](test::RowDecoder& d) { ResetRaster(d.raster, false, true); }, false},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    test::RowDecoder decoder;
    decoder.Row(0, Hex("41"));
    step.between(decoder);
    decoder.Row(kDeltaRow, Hex("01 42"));
    EXPECT_TRUE(decoder.raster.rasterActive);
    EXPECT_EQ(decoder.Take(), OneBitLine(Hex("41")) + OneBitLine(step.seedKept ? Hex("41 42") : Hex("00 42")));
  }
}

// A shorter row of method 1 or 2 leaves the bytes after it in the seed row;
// a shorter unencoded row clears them. An empty delta row shows what is left.
TEST(RasterSeedRow, BytesAfterAShorterRow) {
  const struct {
    std::int32_t method;
    Bytes data;
    Bytes seedAfter;
  } rows[] = {
      {0, Hex("44"), Hex("44")},
      {1, Hex("00 44"), Hex("44 42 43")},
      {2, Hex("00 44"), Hex("44 42 43")},
      {1006, Hex("00 44 45"), Hex("44 45 43")},
      {5, Hex("01 0002 00 44"), Hex("44 42 43")},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.method);
    test::RowDecoder decoder;
    decoder.Row(0, Hex("41 42 43"));
    decoder.Row(row.method, row.data);
    decoder.Take();
    decoder.Row(kDeltaRow, {});
    EXPECT_EQ(decoder.Take(), OneBitLine(row.seedAfter));
  }
}

TEST(RasterSeedRow, DirectColourIsTakenOnlyWhenRasterGraphicsStart) {
  test::RowDecoder decoder;
  decoder.RowWithoutData(/*directColourAtStart=*/true);
  EXPECT_TRUE(decoder.raster.directColour);
  StartRaster(decoder.raster, false);  // already active: keeps the answer of the start
  decoder.Row(0, Hex("01 02 03"), false);
  EXPECT_TRUE(decoder.raster.directColour);
  EndRaster(decoder.raster);
  StartRaster(decoder.raster, false);
  EXPECT_FALSE(decoder.raster.directColour);
  EXPECT_EQ(decoder.Take(), "<rast>:010203 \n");
}

// The row limit: 158,390 bytes, whatever the data says. A line of n bytes
// is "<rast>:", 8 n characters and the line end.
std::size_t LineBytes(const std::string& line) { return (line.size() - 8) / 8; }

TEST(RasterRowLimit, NoMethodWritesPastIt) {
  constexpr std::size_t kLimit = 158390;
  Bytes unencoded(200000, 0xFF);
  unencoded[kLimit - 1] = 0x01;
  // Offset 31 + 621 x 255 + 3 = 158,389, the last byte of the row: one of the eight bytes lands.
  const Bytes deltaOffset = Concat({Hex("FF"), Repeat(Hex("FF"), 621)});
  const struct {
    const char* name;
    std::int32_t method;
    Bytes data;
    std::size_t shown;    // bytes in the row line
    std::string lineEnd;  // its last characters
  } cases[] = {
      {"200,000 unencoded bytes", 0, unencoded, kLimit, "       1\n"},
      {"run-length runs", 1, Repeat(Hex("FF 55"), 700), kLimit, " 1 1 1 1\n"},
      {"PackBits repeats", 2, Repeat(Hex("81 0F"), 1300), kLimit, "    1111\n"},
      {"PackBits literals", 2, Repeat(Concat({Hex("7F"), Repeat(Hex("01"), 128)}), 1300), kLimit, "       1\n"},
      {"a delta replacement at the last byte", 3, Concat({deltaOffset, Hex("03 81 82 83 84 85 86 87 88")}), kLimit,
       "1      1\n"},
      {"a delta replacement beyond it", 3, Concat({deltaOffset, Hex("04 81 82 83 84 85 86 87 88")}), 0, "<rast>:\n"},
      // 158,390 bytes are 79,195 units of 2 but only 39,597 whole units of 4.
      {"units of 2", 1006, Repeat(Hex("81 F0 0F"), 700), kLimit, "    1111\n"},
      {"units of 4 stop at the last whole unit", 1007, Repeat(Hex("81 F0 0F 00 01"), 350), kLimit - 2, "       1\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::RowDecoder decoder;
    decoder.Row(c.method, c.data);
    const std::string line = decoder.Take();
    ASSERT_TRUE(line.starts_with("<rast>:"));
    EXPECT_EQ(LineBytes(line), c.shown);
    EXPECT_TRUE(line.ends_with(c.lineEnd));
    decoder.Row(kDeltaRow, {});  // the bytes past the limit stay clear
    EXPECT_EQ(LineBytes(decoder.Take()), c.shown);
  }
  // An adaptive row of method 1 that runs past the limit, then three duplicates of it.
  test::RowDecoder decoder;
  decoder.Row(5, Concat({Hex("01 0578"), Repeat(Hex("FF 80"), 700), Hex("05 0003")}));
  std::string row = "<rast>:";
  for (std::size_t i = 0; i < kLimit; ++i) row += "1       ";
  row += "\n";
  EXPECT_EQ(decoder.Take(), row + row + row + row);
}

// Direct rows: "RRGGBB " groups up to the last non-zero byte; every complete
// group of 3 bytes, black included, is a colour.
TEST(RasterDirectRows, LinesAndColoursOfOneRow) {
  const struct {
    const char* name;
    Bytes row;  // unencoded
    const char* line;
    std::uint64_t colours;
  } cases[] = {
      {"black is a colour", Hex("000000 0A0B0C"), "<rast>:000000 0A0B0C \n", 2},
      {"a repeated colour counts once", Hex("FF0000 00FF00 FF0000 0000FF"), "<rast>:FF0000 00FF00 FF0000 0000FF \n", 3},
      // A last pixel of pure red (FF 00 00) ends past the last non-zero byte.
      {"a last group past the last non-zero byte", Hex("FF0000 00FF00 FF0000"), "<rast>:FF0000 00FF00 \n", 2},
      {"red and blue keys differ", Hex("010000 000001"), "<rast>:010000 000001 \n", 2},
      {"an incomplete last group", Hex("010203 0405"), "<rast>:010203 \n", 1},
      {"a row of zeros", Hex("000000 000000"), "<rast>:\n", 1},
      {"an empty row", {}, "<rast>:\n", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::RowDecoder decoder(/*listRows=*/true, /*trackColours=*/true);
    decoder.Row(0, c.row, kDirect);
    EXPECT_EQ(decoder.Take(), c.line);
    EXPECT_EQ(RasterColourCount(decoder.raster), c.colours);
  }
}

TEST(RasterDirectRows, DeltaAndDuplicatedRowsCountTheWholeSeedRow) {
  test::RowDecoder delta(/*listRows=*/false, /*trackColours=*/true);
  delta.Row(3, Hex("40 10 20 30"), kDirect);  // three bytes at offset 0, and black from the rest
  EXPECT_EQ(RasterColourCount(delta.raster), 2u);
  test::RowDecoder adaptive(/*listRows=*/true, /*trackColours=*/true);
  adaptive.Row(5, Hex("00 0003 102030 | 05 0003"), kDirect);
  EXPECT_EQ(adaptive.Take(), "<rast>:102030 \n<rast>:102030 \n<rast>:102030 \n<rast>:102030 \n");
  EXPECT_EQ(RasterColourCount(adaptive.raster), 2u);
}

TEST(RasterDirectRows, ColoursAccumulateOverRowsAndFilesStartEmpty) {
  test::RowDecoder decoder(/*listRows=*/false, /*trackColours=*/true);
  Bytes row;  // 50,000 distinct colours, keys 7 i (red, green, blue = low to high byte)
  for (std::uint32_t key = 0; key < 7 * 50000; key += 7) {
    row.insert(row.end(), {static_cast<std::uint8_t>(key), static_cast<std::uint8_t>(key >> 8),
                           static_cast<std::uint8_t>(key >> 16)});
  }
  decoder.Row(0, row, kDirect);
  decoder.Row(0, row, kDirect);
  decoder.Row(0, Hex("FFFFFF 000001"), kDirect);  // the highest key; 1 is not a multiple of 7
  EXPECT_EQ(RasterColourCount(decoder.raster), 50002u);
  ResetRaster(decoder.raster, true, false);
  EXPECT_EQ(RasterColourCount(decoder.raster), 0u);
}

TEST(RasterColourSummary, CountedOnlyForDirectRowsWhenTracked) {
  const std::string rule = "\n===================================================\n\n";
  test::RowDecoder decoder(/*listRows=*/false, /*trackColours=*/true);
  decoder.Row(0, Hex("010203"), !kDirect);
  WriteColourSummary(decoder.raster, decoder.listing);
  EXPECT_EQ(decoder.Take(), rule + "    24 Bit Raster Colors Referenced : none\n\n");
  EndRaster(decoder.raster);  // direct colour is taken when raster graphics start
  decoder.Row(0, Hex("010203 040506 010203 070809"), kDirect);
  WriteColourSummary(decoder.raster, decoder.listing);
  EXPECT_EQ(decoder.Take(), rule + "    24 Bit Raster Colors Referenced : 3\n\n");
  test::RowDecoder notTracked(/*listRows=*/true, /*trackColours=*/false);
  notTracked.Row(0, Hex("010203"), kDirect);
  WriteColourSummary(notTracked.raster, notTracked.listing);  // no count, no summary
  EXPECT_EQ(RasterColourCount(notTracked.raster), 0u);
  EXPECT_EQ(notTracked.Take(), "<rast>:010203 \n");
}

// Method 99: one coded image of raster width x height pixels, each of its
// rows listed, or none when a row fails.
TEST(RasterTwoDimensional, ListsEveryRowOrNone) {
  // Horizontal mode (001), white 0 (00110101), black 8 (000101); below it V0 V0 (1 1).
  const std::string black8 = OneBitLine(Hex("FF"));
  const struct {
    const char* name;
    std::int32_t width, height;
    Bytes data;
    std::string lines;
  } cases[] = {
      {"two black rows", 8, 2, Hex("26 A2 E0"), black8 + black8},
      // A black run of 12 (0000111) fills a row of 12 pixels: two bytes.
      {"rows are (width + 7) / 8 bytes", 12, 1, Hex("26 A1 C0"), OneBitLine(Hex("FF F0"))},
      {"a row that fails: no row at all", 8, 2, Hex("26 A2"), ""},
      {"width 0", 0, 1, Hex("26 A2 80"), ""},
      {"negative height", 8, -1, Hex("26 A2 80"), ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::RowDecoder decoder;
    SetRasterWidth(decoder.raster, c.width);
    SetRasterHeight(decoder.raster, c.height);
    decoder.Row(99, c.data);
    EXPECT_EQ(decoder.Take(), c.lines);
  }
}

}  // namespace
}  // namespace veltrix
