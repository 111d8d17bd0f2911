// Row blocks of every compression method, decoded from a cleared seed row,
// and the row lines they give. Each expected row is written out byte by byte
// from what the method means; the row lines show bytes up to the last
// non-zero one.
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

struct RowCase {
  const char* name;
  std::int32_t method;
  Bytes data;
  std::vector<Bytes> rows;  // one row line each, its bytes up to the last non-zero one
};

std::string Lines(const std::vector<Bytes>& rows) {
  std::string text;
  for (const Bytes& row : rows) text += OneBitLine(row);
  return text;
}

void ExpectRows(const std::vector<RowCase>& cases) {
  for (const RowCase& c : cases) {
    SCOPED_TRACE(c.name);
    test::RowDecoder decoder;
    decoder.Row(c.method, c.data);
    const std::string got = decoder.Take();
    EXPECT_EQ(got, Lines(c.rows));
  }
}

TEST(RasterRowLines, ShowEightCharactersPerByteUpToTheLastSetBit) {
  test::RowDecoder decoder;
  decoder.Row(0, Hex("41 80 01 FF 00 00"));
  decoder.Row(0, Hex("00 00"));
  decoder.Row(0, {});
  EXPECT_EQ(decoder.Take(),
            "<rast>: 1     11              111111111\n"
            "<rast>:\n"
            "<rast>:\n");
}

TEST(RasterRows, Unencoded) {
  ExpectRows({
      {"bytes as they are", 0, Hex("41 00 42"), {Hex("41 00 42")}},
      {"trailing zeros are not shown", 0, Hex("41 42 00 00"), {Hex("41 42")}},
      {"an empty row", 0, {}, {{}}},
  });
}

TEST(RasterRows, RunLength) {
  ExpectRows({
      {"pairs of repeat and value", 1, Hex("02 41 00 42"), {Hex("41 41 41 42")}},
      {"repeat 255 writes 256 bytes", 1, Hex("FF 01 00 80"), {Concat({Repeat(Hex("01"), 256), Hex("80")})}},
      {"an odd last byte is skipped", 1, Hex("00 41 05"), {Hex("41")}},
      {"one byte alone writes nothing", 1, Hex("05"), {{}}},
  });
}

TEST(RasterRows, PackBits) {
  ExpectRows({
      {"literal then repeat", 2, Hex("02 41 42 43 FE 5A"), {Hex("41 42 43 5A 5A 5A")}},
      {"128 does nothing", 2, Hex("80 00 41"), {Hex("41")}},
      {"129 repeats 128 times", 2, Hex("81 AA"), {Repeat(Hex("AA"), 128)}},
      {"127 copies 128 bytes", 2, Concat({Hex("7F"), Repeat(Hex("0F"), 128)}), {Repeat(Hex("0F"), 128)}},
      {"a literal cut short copies what is there", 2, Hex("05 41 42"), {Hex("41 42")}},
      {"a control byte at the end is not read", 2, Hex("00 41 FE"), {Hex("41")}},
      {"a lone byte writes nothing", 2, Hex("FE"), {{}}},
  });
}

TEST(RasterRows, DeltaRow) {
  ExpectRows({
      // Command 0x22: two bytes (high bits 1, plus 1) at offset 2.
      {"bytes replaced at an offset", 3, Hex("22 41 42"), {Hex("00 00 41 42")}},
      {"offsets count from the end of the previous replacement", 3, Hex("01 41 01 42"), {Hex("00 41 00 42")}},
      {"offset 31 continues: 31 + 255 + 5", 3, Hex("1F FF 05 41"), {Concat({Bytes(291), Hex("41")})}},
      {"offset 31 then 0 is 31", 3, Hex("1F 00 41"), {Concat({Bytes(31), Hex("41")})}},
      {"cut inside its offset bytes: nothing replaced", 3, Hex("01 41 1F FF"), {Hex("00 41")}},
      {"replacement cut short", 3, Hex("E0 41 42"), {Hex("41 42")}},
      {"a lone command byte is not read", 3, Hex("41"), {{}}},
      {"no data repeats the seed row", 3, {}, {{}}},
  });
}

TEST(RasterRows, Adaptive) {
  ExpectRows({
      // A row of method 0, its duplicate, three empty rows (a clear, no
      // line), two duplicates of the cleared row.
      {"rows, duplicates and empty rows", 5, Hex("00 0001 41 | 05 0001 | 04 0003 | 05 0002"), {Hex("41"), Hex("41"), {}, {}}},
      // Methods 1, 2 and 3 in turn on one seed row: the PackBits row writes
      // two bytes and shows two; the delta row shows the whole seed row.
      {"each method in turn",
       5,
       Hex("01 0002 02 41 | 02 0003 01 42 43 | 03 0002 03 44"),
       {Hex("41 41 41"), Hex("42 43"), Hex("42 43 41 44")}},
      {"a count past the block ends it", 5, Hex("00 0001 41 | 02 0010 41"), {Hex("41")}},
      {"a count of zero is an empty row", 5, Hex("00 0000"), {{}}},
      {"no duplicates", 5, Hex("00 0001 41 | 05 0000"), {Hex("41")}},
      {"an unknown command ends the block", 5, Hex("06 0000 | 00 0001 41"), {}},
      {"254 ends the block under method 5", 5, Hex("FE 0002 00 41 | 00 0001 41"), {}},
      {"two bytes left are skipped", 5, Hex("00 0001 41 | 00 00"), {Hex("41")}},
      {"units of 2 under 1008", 1008, Hex("FE 0005 01 41 42 43 44"), {Hex("41 42 43 44")}},
      {"units of 4 under 1008", 1008, Hex("FF 0005 FE 41 42 43 44"), {Repeat(Hex("41 42 43 44"), 3)}},
      {"a unit row past the block ends it", 1008, Hex("FE 0009 01 41 42 43 44"), {}},
      {"1008 keeps the other commands", 1008, Hex("00 0001 41 | 05 0001 | 07 0000 | 05 0001"), {Hex("41"), Hex("41")}},
  });
}

TEST(RasterRows, UnitRunLength) {
  ExpectRows({
      {"copies whole units", 1006, Hex("01 41 42 43 44"), {Hex("41 42 43 44")}},
      {"repeats a unit", 1006, Hex("FE 41 42"), {Repeat(Hex("41 42"), 3)}},
      {"128 does nothing", 1006, Hex("80 00 41 42"), {Hex("41 42")}},
      {"a copy cut short copies what is there", 1006, Hex("02 41 42 43"), {Hex("41 42 43")}},
      {"a repeat cut inside its unit", 1006, Hex("00 41 42 FE 43"), {Hex("41 42")}},
      {"units of 4", 1007, Hex("FE 01 02 03 04 | 00 05 06 07 08"), {Hex("01020304 01020304 01020304 05060708")}},
      {"a partial unit of 4 at the end", 1007, Hex("01 01 02 03 04 05 06"), {Hex("01 02 03 04 05 06")}},
  });
}

TEST(RasterRows, MethodsWithoutDecoderSkipTheirData) {
  for (const std::int32_t method : {4, 6, 7, 8, 9, 10, 98, 100, 999, 1005, 1009, -1, -3}) {
    SCOPED_TRACE(method);
    test::RowDecoder decoder;
    decoder.Row(method, Hex("00 41 42 43"));
    EXPECT_EQ(decoder.Take(), "");
    EXPECT_TRUE(decoder.raster.rasterActive);
  }
}

}  // namespace
}  // namespace veltrix
