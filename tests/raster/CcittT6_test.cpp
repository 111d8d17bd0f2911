// Two-dimensional fax images: streams written bit by bit here, and pages
// rendered by Ghostscript and coded by libtiff's tiffcp (make-ccitt.sh).
#include "raster/CcittT6.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "TestSupport.h"

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
      {"all-white rows: V0 onto the right edge", 20, {"1", "1", "1"}, {{}, {}, {}}},
      {"a single black pixel, then the same row by V0 three times", 8,
       {"001 1000 010 1",  // H, white 3, black 1, V0 to the edge
        "1 1 1"},
       {{{3, 4}}, {{3, 4}}}},
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
      {"make-up codes: white 1792 + 8, black 64 + 36", 3000,
       {"001 00000001000 10011 0000001111 000011010100 1"}, {{{1800, 1900}}}},
      {"runs past 2560: white 2560 + 40, black 2560 + 128 + 12", 6000,
       {"001 000000011111 00101001 000000011111 000011001000 0000111 1"}, {{{2600, 5300}}}},
      {"white 2560 + 2560 + 64 + 16, black 768 + 32 to the edge", 6000,
       {"001 000000011111 000000011111 11011 101010 0000001001100 000001101010"}, {{{5200, 6000}}}},
      {"a zero-length black run leaves no change for the next row to find", 16,
       {"001 1000 0000110111 001 0111 011 1",  // H white 3 black 0, H white 2 black 4
        "1 1 1"},
       {{{5, 9}}, {{5, 9}}}},
      {"b1 lies strictly right of a0, even on a change of the row above", 16,
       {"001 1011 011 1",    // black 4..8
        "001 0111 11 1"},    // H white 2 black 2 puts a0 on 4; V0 then goes to the edge
       {{{4, 8}}, {{2, 4}}}},
      {"a run ending on the last pixel of a byte and one crossing two bytes", 24,
       {"001 1011 011 001 1000 0000100 1"},  // H white 4 black 4, H white 3 black 10
       {{{4, 8}, {11, 21}}}},
  };
  for (const ImageCase& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectDecodes(c);
    ExpectDecodes(c, kEndOfBlock);  // the optional end of block after the last row
  }
}

// Against a reference row black from 8 to 16, each vertical mode places the
// start of the black run or its end `offset` pixels from the one above.
TEST(DecodeCcittT6, VerticalModesOffsetFromTheRowAbove) {
  struct VerticalCase {
    const char* code;
    int offset;
  };
  const VerticalCase cases[] = {{"1", 0},        {"011", 1},    {"000011", 2}, {"0000011", 3},
                                {"010", -1},     {"000010", -2}, {"0000010", -3}};
  constexpr std::string_view kBlack8To16 = "001 10011 000101 1";  // H, white 8, black 8, V0
  for (const VerticalCase& c : cases) {
    SCOPED_TRACE(c.code);
    const std::string startMoves = std::string(c.code) + " 1 1";
    const std::string endMoves = std::string("1 ") + c.code + " 1";
    ExpectDecodes({"start", 24, {kBlack8To16, startMoves}, {{{8, 16}}, {{8 + c.offset, 16}}}});
    ExpectDecodes({"end", 24, {kBlack8To16, endMoves}, {{{8, 16}}, {{8, 16 + c.offset}}}});
  }
}

// Each stream holds a good first row, so that a failure later shows that no
// row is handed out unless all of them decode; and after the fault, codes
// that would finish the row, so that only the fault itself can fail it.
TEST(DecodeCcittT6, FailsWithoutRowsOnBadStreams) {
  struct BadCase {
    const char* name;
    int width;
    int height;
    std::string_view bits;
  };
  const BadCase cases[] = {
      {"end of block before the last row", 8, 3, "1 1 000000000001 000000000001"},
      {"data ends before the last row", 8, 3, "1 1"},
      {"one end-of-line code at the start of a row", 8, 3, "1 000000000001 1 1"},
      {"end of block inside a row", 16, 2, "1 001 1011 011 000000000001 000000000001"},
      {"uncompressed-mode extension", 8, 2, "1 0000001111 1"},
      {"vertical left of the row start", 8, 2, "001 000111 11 1  0000010 1 1 1"},
      {"vertical left of a0", 8, 2, "001 1011 010 1  1 0000010 1 1 1"},
      {"vertical right past the row end", 8, 2, "1 011"},
      {"white run past the row end", 8, 2, "1 001 10100 010"},
      {"black run past the row end", 8, 2, "1 001 1011 0011"},
      {"make-up codes past the row end", 3000, 2, "1 001 000000011111 000000011111 00110101 010"},
      {"no white code starts with twelve zeros", 8, 2, "1 001 000000000000 1"},
      {"no black code starts with twelve zeros", 8, 2, "1 001 00110101 000000000000 1"},
      {"no data at all", 8, 1, ""},
  };
  for (const BadCase& c : cases) {
    SCOPED_TRACE(c.name);
    const Decoded got = Decode(Bits(c.bits).bytes, c.width, c.height);
    EXPECT_FALSE(got.ok);
    EXPECT_TRUE(got.rows.empty());
  }
}

// Five rows through every mode, the last code a V0 (a one bit): cut anywhere
// before its end, the stream must fail and hand out nothing.
TEST(DecodeCcittT6, TruncatedAtEveryBitFails) {
  const BitStream stream = Bits(
      "001 000000011111 00101001 000000011111 000011001000 0000111 1"  // black 2600..5300
      " 1 1 1"                                                         // the same
      " 0000010 0000011 1"                                             // VL3, VR3: 2597..5303
      " 0001 001 1111 0000111 1"                                       // P, H white 7 black 12: 5310..5322
      " 1 1 1");                                                       // the same
  const std::vector<Spans> black = {{{2600, 5300}}, {{2600, 5300}}, {{2597, 5303}}, {{5310, 5322}}, {{5310, 5322}}};
  const Decoded whole = Decode(stream.bytes, 6000, 5);
  ASSERT_TRUE(whole.ok);
  ASSERT_EQ(whole.rows.size(), black.size());
  for (std::size_t y = 0; y < black.size(); ++y) EXPECT_EQ(whole.rows[y], Row(6000, black[y])) << "row " << y;
  for (std::size_t count = 0; count < stream.bitCount; ++count) {
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
  std::size_t rows = 0;
  EXPECT_TRUE(DecodeCcittT6(ones, 9, (1 << 20) * 8, [&](std::span<const std::uint8_t> row) {
    rows += row.size() == 2 && row[0] == 0 && row[1] == 0 ? 1 : 0;
  }));
  EXPECT_EQ(rows, std::size_t{1} << 23);
}

// ---- Real data: Ghostscript bitmaps, coded by tiffcp -c g4 ----

struct Bitmap {
  int width = 0;
  int height = 0;
  std::vector<Bytes> rows;
};

// A raw PBM (P4) file: "P4", comments, width, height, one blank, then the rows.
bool ReadPbm(const std::string& file, Bitmap& bitmap) {
  std::size_t at = 0;
  const auto skipBlanks = [&] {
    while (at < file.size()) {
      if (file[at] == '#') {
        while (at < file.size() && file[at] != '\n') ++at;
      } else if (std::isspace(static_cast<unsigned char>(file[at]))) {
        ++at;
      } else {
        break;
      }
    }
  };
  const auto readNumber = [&](int& value) {
    skipBlanks();
    value = 0;
    const std::size_t first = at;
    while (at < file.size() && std::isdigit(static_cast<unsigned char>(file[at]))) value = value * 10 + (file[at++] - '0');
    return at > first;
  };
  if (file.compare(0, 2, "P4") != 0) return false;
  at = 2;
  if (!readNumber(bitmap.width) || !readNumber(bitmap.height)) return false;
  ++at;  // the single blank before the rows
  const std::size_t rowBytes = (static_cast<std::size_t>(bitmap.width) + 7) / 8;
  if (file.size() - at != rowBytes * static_cast<std::size_t>(bitmap.height)) return false;
  for (int y = 0; y < bitmap.height; ++y, at += rowBytes) bitmap.rows.emplace_back(file.begin() + at, file.begin() + at + rowBytes);
  return true;
}

Bytes ReadBytes(const std::string& name) {
  const std::string text = test::ReadFile(test::TestDir() / "raster/data" / name);
  return Bytes(text.begin(), text.end());
}

struct RealImage {
  std::string name;
  Bitmap bitmap;
  Bytes coded;
};

RealImage LoadImage(const std::string& name) {
  RealImage image;
  image.name = name;
  EXPECT_TRUE(ReadPbm(test::ReadFile(test::TestDir() / "raster/data" / ("ccitt-" + name + ".pbm")), image.bitmap)) << name;
  image.coded = ReadBytes("ccitt-" + name + ".g4");
  EXPECT_FALSE(image.coded.empty()) << name;
  return image;
}

// Text and line art; a dithered grey ramp; runs past 2560; every run code of
// both colours up to 1728; the extended make-up codes and runs past 2560.
const char* const kImageNames[] = {"text", "halftone", "long-runs", "run-codes", "long-run-codes"};

// The bits past the width are whatever the PBM writer left; ours must be clear.
void ExpectSameRows(const Decoded& got, const Bitmap& bitmap, std::size_t rows) {
  ASSERT_EQ(got.rows.size(), rows);
  const std::uint8_t tailMask = static_cast<std::uint8_t>(bitmap.width % 8 == 0 ? 0xFF : 0xFF00u >> (bitmap.width % 8));
  for (std::size_t y = 0; y < rows; ++y) {
    Bytes want = bitmap.rows[y];
    want.back() &= tailMask;
    ASSERT_EQ(got.rows[y], want) << "row " << y;
  }
}

TEST(DecodeCcittT6, RealPagesMatchTheirBitmaps) {
  for (const char* name : kImageNames) {
    SCOPED_TRACE(name);
    const RealImage image = LoadImage(name);
    const Bitmap& bitmap = image.bitmap;
    const Decoded got = Decode(image.coded, bitmap.width, bitmap.height);
    ASSERT_TRUE(got.ok);
    ExpectSameRows(got, bitmap, static_cast<std::size_t>(bitmap.height));
    // Fewer rows than the image holds: those rows, the rest ignored.
    const Decoded fewer = Decode(image.coded, bitmap.width, bitmap.height - 1);
    ASSERT_TRUE(fewer.ok);
    ExpectSameRows(fewer, bitmap, static_cast<std::size_t>(bitmap.height - 1));
    // More rows than it holds: the end of block comes first.
    for (const std::int32_t height : {bitmap.height + 1, std::numeric_limits<std::int32_t>::max()}) {
      const Decoded more = Decode(image.coded, bitmap.width, height);
      EXPECT_FALSE(more.ok);
      EXPECT_TRUE(more.rows.empty());
    }
  }
}

// Cut after any whole byte: fails with no rows until the cut reaches the end
// of block (24 bits, then padding to the byte), and from there on decodes
// the whole image.
TEST(DecodeCcittT6, RealPageTruncatedAtEveryByte) {
  const RealImage image = LoadImage("text");
  const Bitmap& bitmap = image.bitmap;
  std::size_t firstWhole = 0;
  for (std::size_t size = 0; size <= image.coded.size(); ++size) {
    const Bytes cut(image.coded.begin(), image.coded.begin() + static_cast<std::ptrdiff_t>(size));
    const Decoded got = Decode(cut, bitmap.width, bitmap.height);
    if (!got.ok) {
      ASSERT_EQ(firstWhole, 0u) << "fails at " << size << " bytes after decoding at " << firstWhole;
      EXPECT_TRUE(got.rows.empty()) << size << " bytes";
      continue;
    }
    if (firstWhole == 0) firstWhole = size;
    ExpectSameRows(got, bitmap, static_cast<std::size_t>(bitmap.height));
  }
  EXPECT_GE(firstWhole + 4, image.coded.size());
}

// Any one bit flipped: the image either fails with no rows or decodes into
// `height` rows of the right size with the padding bits clear.
TEST(DecodeCcittT6, RealPagesWithAFlippedBit) {
  for (const char* name : kImageNames) {
    SCOPED_TRACE(name);
    const RealImage image = LoadImage(name);
    const int width = image.bitmap.width;
    const std::size_t rowBytes = (static_cast<std::size_t>(width) + 7) / 8;
    const std::uint8_t padding = static_cast<std::uint8_t>(width % 8 == 0 ? 0 : 0xFFu >> (width % 8));
    const std::size_t step = std::max<std::size_t>(1, image.coded.size() * 8 / 2000);  // about 2000 flips each
    std::size_t failures = 0;
    for (std::size_t bit = 0; bit < image.coded.size() * 8; bit += step) {
      Bytes flipped = image.coded;
      flipped[bit / 8] ^= static_cast<std::uint8_t>(0x80u >> (bit % 8));
      const Decoded got = Decode(flipped, width, image.bitmap.height);
      if (!got.ok) {
        ++failures;
        ASSERT_TRUE(got.rows.empty()) << "bit " << bit;
        continue;
      }
      ASSERT_EQ(got.rows.size(), static_cast<std::size_t>(image.bitmap.height)) << "bit " << bit;
      for (const Bytes& row : got.rows) {
        ASSERT_EQ(row.size(), rowBytes);
        ASSERT_EQ(row.back() & padding, 0) << "bit " << bit;
      }
    }
    EXPECT_GT(failures, 0u);  // most flips break the code; none failing means nothing is checked
  }
}

}  // namespace
}  // namespace veltrix
