// Two-dimensional fax images: streams written bit by bit here, and pages
// rendered by Ghostscript and coded by libtiff's tiffcp (make-ccitt.sh).
#include "raster/CcittT6.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "raster/RasterTestSupport.h"

namespace veltrix {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Spans = std::vector<std::pair<int, int>>;  // black pixels [first, second)

// Bits written as text, most significant first: "001 1000" is seven bits;
// anything but 0 and 1 is ignored. The last byte is padded with zeros.
struct BitStream {
  Bytes bytes;
  std::size_t bitCount = 0;
};

BitStream Bits(std::string_view text) {
  BitStream out;
  for (const char c : text) {
    if (c != '0' && c != '1') continue;
    if (out.bitCount % 8 == 0) out.bytes.push_back(0);
    if (c == '1') out.bytes.back() |= static_cast<std::uint8_t>(0x80u >> (out.bitCount % 8));
    ++out.bitCount;
  }
  return out;
}

// The first `count` bits of a stream, the rest of the last byte cleared.
Bytes FirstBits(const BitStream& stream, std::size_t count) {
  Bytes bytes(stream.bytes.begin(), stream.bytes.begin() + static_cast<std::ptrdiff_t>((count + 7) / 8));
  if (count % 8 != 0) bytes.back() &= static_cast<std::uint8_t>(0xFF00u >> (count % 8));
  return bytes;
}

struct Decoded {
  bool ok = false;
  std::vector<Bytes> rows;
};

Decoded Decode(const Bytes& data, std::int32_t width, std::int32_t height) {
  Decoded out;
  out.ok = DecodeCcittT6(data, width, height,
                         [&](std::span<const std::uint8_t> row) { out.rows.emplace_back(row.begin(), row.end()); });
  return out;
}

Bytes Row(int width, const Spans& black) {
  Bytes row((static_cast<std::size_t>(width) + 7) / 8, 0);
  for (const auto& [from, to] : black) {
    for (int x = from; x < to; ++x) row[x / 8] |= static_cast<std::uint8_t>(0x80u >> (x % 8));
  }
  return row;
}

// Code words used below. Modes: P 0001, H 001, V0 1, VR1 011, VR2 000011,
// VR3 0000011, VL1 010, VL2 000010, VL3 0000010. End of block: two 000000000001.
constexpr std::string_view kEndOfBlock = "000000000001 000000000001";

struct ImageCase {
  const char* name;
  int width;
  std::vector<std::string_view> rows;  // the code words of each row
  std::vector<Spans> black;            // the black pixels of each row
};

void ExpectDecodes(const ImageCase& c, std::string_view trailer = "") {
  std::string text;
  for (const std::string_view row : c.rows) text.append(row).append(" ");
  text.append(trailer);
  const Decoded got = Decode(Bits(text).bytes, c.width, static_cast<std::int32_t>(c.rows.size()));
  ASSERT_TRUE(got.ok);
  ASSERT_EQ(got.rows.size(), c.black.size());
  for (std::size_t y = 0; y < c.black.size(); ++y) {
    EXPECT_EQ(got.rows[y], Row(c.width, c.black[y])) << "row " << y;
  }
}

TEST(DecodeCcittT6, DecodesEachMode) {
  const ImageCase cases[] = {
      {"a row that starts black: white run 0", 10, {"001 00110101 11 1"}, {{{0, 2}}}},
      {"a black run that reaches the right edge", 10, {"001 1011 0010"}, {{{4, 10}}}},
      {"pass mode moves a0 to b2", 16,
       {"001 1011 011 1",       // black 4..8
        "0001 001 0111 10 1"},  // P (a0 = 8), H, white 2, black 3: black 10..13
       {{{4, 8}}, {{10, 13}}}},
      {"after pass mode, b1 is searched from b2", 16,
       {"001 0111 11 001 1011 011 1",  // black 2..4 and 8..12
        "0001 1 1 1"},                 // P over 2..4, then 8..12 by V0
       {{{2, 4}, {8, 12}}, {{8, 12}}}},
      {"a zero-length black run leaves no change for the next row to find", 16,
       {"001 1000 0000110111 001 0111 011 1",  // H white 3 black 0, H white 2 black 4
        "1 1 1"},
       {{{5, 9}}, {{5, 9}}}},
      {"b1 lies strictly right of a0, even on a change of the row above", 16,
       {"001 1011 011 1",    // black 4..8
        "001 0111 11 1"},    // H white 2 black 2 puts a0 on 4; V0 then goes to the edge
       {{{4, 8}}, {{2, 4}}}},
  };
  for (const ImageCase& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectDecodes(c);
    ExpectDecodes(c, kEndOfBlock);  // the optional end of block after the last row
  }
}

// Each stream holds a good first row, so that a failure later shows that no
// row is handed out unless all of them decode; and after the fault, codes
// that would finish the row, so that only the fault itself can fail it.
TEST(DecodeCcittT6, FailsWithoutRowsOnBadStreams) {
  const struct {
    const char* name;
    int width, height;
    std::string_view bits;
  } cases[] = {
      {"end of block before the last row", 8, 3, "1 1 000000000001 000000000001"},
      {"one end-of-line code at the start of a row", 8, 3, "1 000000000001 1 1"},
      {"end of block inside a row", 16, 2, "1 001 1011 011 000000000001 000000000001"},
      {"uncompressed-mode extension", 8, 2, "1 0000001111 1"},
      {"vertical left of the row start", 8, 2, "001 000111 11 1  0000010 1 1 1"},
      {"vertical left of a0", 8, 2, "001 1011 010 1  1 0000010 1 1 1"},
      {"white run past the row end", 8, 2, "1 001 10100 010"},
      {"black run past the row end", 8, 2, "1 001 1011 0011"},
      {"make-up codes past the row end", 3000, 2, "1 001 000000011111 000000011111 00110101 010"},
      {"no white code starts with twelve zeros", 8, 2, "1 001 000000000000 1"},
      {"no black code starts with twelve zeros", 8, 2, "1 001 00110101 000000000000 1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Decoded got = Decode(Bits(c.bits).bytes, c.width, c.height);
    EXPECT_FALSE(got.ok);
    EXPECT_TRUE(got.rows.empty());
  }
}

// Five rows through every mode, the last code a V0 (a one bit): cut before
// its end, the stream must fail and hand out nothing (the fuzz target tries
// the other cuts).
TEST(DecodeCcittT6, TruncatedStreamsFail) {
  const BitStream stream = Bits(
      "001 000000011111 00101001 000000011111 000011001000 0000111 1"  // black 2600..5300
      " 1 1 1"                                                         // the same
      " 0000010 0000011 1"                                             // VL3, VR3: 2597..5303
      " 0001 001 1111 0000111 1"                                       // P, H white 7 black 12: 5310..5322
      " 1 1 1");                                                       // the same
  const Decoded whole = Decode(stream.bytes, 6000, 5);
  ASSERT_TRUE(whole.ok);
  ASSERT_EQ(whole.rows.size(), 5u);
  EXPECT_EQ(whole.rows[2], Row(6000, {{2597, 5303}}));  // VL3 and VR3
  // Inside the first mode code, inside a make-up code, after the first row,
  // inside VL3, after pass mode, one bit short.
  for (const std::size_t count : std::vector<std::size_t>{0, 2, 10, 55, 61, 77, stream.bitCount - 1}) {
    const Decoded cut = Decode(FirstBits(stream, count), 6000, 5);
    EXPECT_FALSE(cut.ok) << count << " bits";
    EXPECT_TRUE(cut.rows.empty()) << count << " bits";
  }
}

TEST(DecodeCcittT6, RejectsSizesOutsideTheRowLimit) {
  const Bytes allWhite = Bits("1 1").bytes;
  constexpr std::int32_t kWidest = 158390 * 8;
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  const struct {
    std::int32_t width;
    std::int32_t height;
  } cases[] = {{0, 2}, {-8, 2}, {8, 0}, {8, -1}, {kWidest + 1, 2}, {kMax, 2}, {std::numeric_limits<std::int32_t>::min(), 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    const Decoded got = Decode(allWhite, c.width, c.height);
    EXPECT_FALSE(got.ok);
    EXPECT_TRUE(got.rows.empty());
  }
  const Decoded widest = Decode(allWhite, kWidest, 2);
  ASSERT_TRUE(widest.ok);
  ASSERT_EQ(widest.rows.size(), 2u);
  EXPECT_EQ(widest.rows[0], Bytes(158390, 0));
}

// A megabyte of V0 codes is eight million white rows of the widest width: a
// claimed height of 2^31 - 1 must fail once the bits run out, and quickly,
// since a row costs its changing elements, not its width.
TEST(DecodeCcittT6, HugeHeightFailsWhenTheBitsRunOut) {
  const Bytes ones(1 << 20, 0xFF);
  const auto start = std::chrono::steady_clock::now();
  const Decoded got = Decode(ones, 158390 * 8, std::numeric_limits<std::int32_t>::max());
  const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_FALSE(got.ok);
  EXPECT_TRUE(got.rows.empty());
  EXPECT_LT(seconds, 30.0);  // generous: sanitizer builds on a busy machine
}

// ---- Real data: Ghostscript bitmaps, coded by tiffcp -c g4 ----

Bytes ReadBytes(const std::string& name) {
  const std::string text = test::ReadFile(test::TestDir() / "raster/data" / name);
  return Bytes(text.begin(), text.end());
}

// Text and line art; a dithered grey ramp; runs past 2560; every run code of
// both colours up to 1728; the extended make-up codes and runs past 2560.
const char* const kImageNames[] = {"text", "halftone", "long-runs", "run-codes", "long-run-codes"};

// The bits past the width are whatever the PBM writer left; ours must be clear.
void ExpectSameRows(const Decoded& got, const test::Bitmap& bitmap, std::size_t rows) {
  ASSERT_EQ(got.rows.size(), rows);
  const std::uint8_t tailMask = static_cast<std::uint8_t>(bitmap.width % 8 == 0 ? 0xFF : 0xFF00u >> (bitmap.width % 8));
  for (std::size_t y = 0; y < rows; ++y) {
    Bytes want = bitmap.rows[y];
    want.back() &= tailMask;
    ASSERT_EQ(got.rows[y], want) << "row " << y;
  }
}

// Each page whole; with fewer rows claimed (those rows, the rest ignored);
// with more (the end of block comes first); and cut short before its end
// of block (24 bits and padding to the byte).
TEST(DecodeCcittT6, RealPagesMatchTheirBitmaps) {
  for (const char* name : kImageNames) {
    SCOPED_TRACE(name);
    const test::Bitmap bitmap = test::ReadPbm(test::ReadFile(test::TestDir() / "raster/data" / ("ccitt-" + std::string(name) + ".pbm")));
    const Bytes coded = ReadBytes("ccitt-" + std::string(name) + ".g4");
    ASSERT_FALSE(bitmap.rows.empty());
    ASSERT_GT(coded.size(), 8u);
    const auto width = static_cast<std::int32_t>(bitmap.width), height = static_cast<std::int32_t>(bitmap.height);
    const Decoded got = Decode(coded, width, height);
    ASSERT_TRUE(got.ok);
    ExpectSameRows(got, bitmap, bitmap.rows.size());
    const Decoded fewer = Decode(coded, width, height - 1);
    ASSERT_TRUE(fewer.ok);
    ExpectSameRows(fewer, bitmap, bitmap.rows.size() - 1);
    for (const std::int32_t more : {height + 1, std::numeric_limits<std::int32_t>::max()}) {
      const Decoded failed = Decode(coded, width, more);
      EXPECT_FALSE(failed.ok);
      EXPECT_TRUE(failed.rows.empty());
    }
    for (const std::size_t size : {std::size_t{1}, coded.size() / 2, coded.size() - 5}) {
      const Decoded cut = Decode(Bytes(coded.begin(), coded.begin() + static_cast<std::ptrdiff_t>(size)), width, height);
      EXPECT_FALSE(cut.ok) << size << " bytes";
      EXPECT_TRUE(cut.rows.empty()) << size << " bytes";
    }
  }
}

}  // namespace
}  // namespace veltrix
