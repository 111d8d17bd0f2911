// Character descriptors built byte by byte: every format and class,
// continuation blocks, the list and show flags, hostile sizes. The expected
// lines are the listing's fixed texts, written out here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fonts/CharDescriptorTestSupport.h"

namespace veltrix {
namespace {

using namespace test::chars;

// --- Format 4 -------------------------------------------------------------

const std::string kLaserJetListing =
    "          Format : Laserjet Family (Raster)\n"
    "    Continuation : No\n"
    " Descriptor size : 14 bytes\n"
    "           Class : Bitmap\n"
    "     Orientation : Portrait\n"
    "     Left Offset : 3 (0x03)\n"
    "      Top Offset : 56\n"
    " Character Width : 10\n"
    "Character Height : 2\n"
    "         Delta X : 248\n";

// Ten dots a row: "1 1  1 1" from 0xA5 and "1 " from the top bits of 0x80.
const std::string kLaserJetDrawn =
    "1 1  1 11 \n"
    "1111111111\n";

Bytes TenDotCharacter() { return LaserJetBlock({1, 0, 3, 56, 10, 2, 248}, {0xA5, 0x80, 0xFF, 0xC0}); }

TEST(CharDescriptorLaserJet, ListFlagAndShowFlag) {
  struct FlagCase {
    bool list;
    bool show;
    std::string listing;
  };
  const FlagCase cases[] = {
      {false, false, ""},
      {true, false, kLaserJetListing},
      {false, true, kLaserJetDrawn},  // the bitmap alone, no field line
      {true, true, kLaserJetListing + kLaserJetDrawn},
  };
  for (const FlagCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "list " << c.list << " show " << c.show);
    const Decoded d = DecodeBlock(TenDotCharacter(), c.list, c.show);
    EXPECT_EQ(d.listing, c.listing);
    EXPECT_EQ(d.width, 248);  // the width is reported whatever is listed
  }
}

TEST(CharDescriptorLaserJet, EveryColonStandsInColumn18) {
  for (const Bytes& block : {TenDotCharacter(), Bytes{5, 0, 6, 0, 8, 8, 0, 0}, Bytes{12, 0, 7, 0, 8, 8, 0, 0, 1},
                             Bytes{15, 0, 2, 15, 0, 4, 0, 1, 0, 0}}) {
    const std::vector<std::string> lines = Lines(DecodeBlock(block, true, false).listing);
    ASSERT_FALSE(lines.empty());
    for (const std::string& line : lines) {
      ASSERT_GE(line.size(), 19u) << line;
      EXPECT_EQ(line[17], ':') << line;
      EXPECT_EQ(line[18], ' ') << line;
    }
  }
}

TEST(CharDescriptorLaserJet, ClassNames) {
  const std::pair<std::uint8_t, std::string> cases[] = {
      {1, "Bitmap"},
      {2, "Compressed Bitmap"},
      {3, "Contour (Intellifont Scalable)"},
      {4, "Compound Contour (Intellifont Scalable)"},
      {15, "Truetype"},
      {0, "Unknown (0)"},
      {5, "Unknown (5)"},
      {14, "Unknown (14)"},
      {255, "Unknown (255)"},
  };
  for (const auto& [charClass, name] : cases) {
    SCOPED_TRACE(static_cast<int>(charClass));
    LaserJetFields f;
    f.charClass = charClass;
    EXPECT_EQ(LineOf(DecodeBlock(LaserJetBlock(f), true, false).listing, "           Class :"),
              "           Class : " + name);
    // TrueType descriptors name their class from the same list.
    const Bytes trueType = {15, 0, 2, charClass, 0, 4, 0, 0, 0, 0};
    EXPECT_EQ(LineOf(DecodeBlock(trueType, true, false).listing, "           Class :"), "           Class : " + name);
  }
}

TEST(CharDescriptorLaserJet, OrientationNames) {
  const std::pair<std::uint8_t, std::string> cases[] = {
      {0, "Portrait"}, {1, "Landscape"}, {2, "Reverse portrait"}, {3, "Reverse landscape"},
      {4, "Unknown (4)"}, {255, "Unknown (255)"},
  };
  for (const auto& [orientation, name] : cases) {
    SCOPED_TRACE(static_cast<int>(orientation));
    LaserJetFields f;
    f.orientation = orientation;
    EXPECT_EQ(LineOf(DecodeBlock(LaserJetBlock(f), true, false).listing, "     Orientation :"),
              "     Orientation : " + name);
  }
}

// The offsets, sizes and Delta X are shown as unsigned 16-bit numbers, the
// left offset also in hexadecimal of at least two digits.
TEST(CharDescriptorLaserJet, NumbersAreUnsigned16Bit) {
  const Decoded d = DecodeBlock(LaserJetBlock({1, 0, 0xFFF6, 0x8000, 0xFFFF, 0xFFFF, 0xFFFF}), true, false);
  EXPECT_EQ(LineOf(d.listing, "     Left Offset :"), "     Left Offset : 65526 (0xFFF6)");
  EXPECT_EQ(LineOf(d.listing, "      Top Offset :"), "      Top Offset : 32768");
  EXPECT_EQ(LineOf(d.listing, " Character Width :"), " Character Width : 65535");
  EXPECT_EQ(LineOf(d.listing, "Character Height :"), "Character Height : 65535");
  EXPECT_EQ(LineOf(d.listing, "         Delta X :"), "         Delta X : 65535");
  EXPECT_EQ(d.width, 65535);
  EXPECT_EQ(LineOf(DecodeBlock(LaserJetBlock({1, 0, 0x0A}), true, false).listing, "     Left Offset :"),
            "     Left Offset : 10 (0x0A)");
  EXPECT_EQ(LineOf(DecodeBlock(LaserJetBlock({1, 0, 0x123}), true, false).listing, "     Left Offset :"),
            "     Left Offset : 291 (0x123)");
}

// The descriptor size is listed but the layout is fixed: the bitmap starts
// at offset 16 whatever the size byte says.
TEST(CharDescriptorLaserJet, DescriptorSizeDoesNotMoveTheBitmap) {
  for (std::uint8_t size : {0, 2, 14, 20, 255}) {
    Bytes block = TenDotCharacter();
    block[2] = size;
    const Decoded d = DecodeBlock(block, true, true);
    EXPECT_EQ(LineOf(d.listing, " Descriptor size :"), " Descriptor size : " + std::to_string(size) + " bytes");
    EXPECT_TRUE(d.listing.ends_with(kLaserJetDrawn)) << d.listing;
  }
}

// A compressed bitmap is drawn from its bytes as they stand, rows that the
// block does not hold in full left out.
TEST(CharDescriptorLaserJet, CompressedBitmapIsDrawnAsStored) {
  const Bytes block = LaserJetBlock({2, 0, 0, 0, 8, 3, 40}, {0x03, 0x81});
  EXPECT_EQ(DecodeBlock(block, false, true).listing, "      11\n1      1\n");
  EXPECT_EQ(LineOf(DecodeBlock(block, true, false).listing, "           Class :"), "           Class : Compressed Bitmap");
}

TEST(CharDescriptorLaserJet, LyingSizesDrawOnlyWhatTheBlockHolds) {
  const Bytes lying = LaserJetBlock({1, 0, 0, 0, 65535, 65535, 7}, Bytes(100, 0xFF));
  const Decoded d = DecodeBlock(lying, false, true);
  EXPECT_EQ(d.listing, "");  // a row of 65535 dots needs 8192 bytes
  EXPECT_EQ(d.width, 7);
  const Bytes tall = LaserJetBlock({1, 0, 0, 0, 16, 65535, 7}, Bytes(7, 0xFF));
  const std::string row = std::string(16, '1') + "\n";
  EXPECT_EQ(DecodeBlock(tall, false, true).listing, row + row + row);  // 7 bytes: three rows of two
}

// A continuation block carries only bitmap bytes after byte 1: the listing
// shows "Yes", no descriptor size, the fields at 0, and no width is reported.
TEST(CharDescriptorLaserJet, ContinuationBlock) {
  const Bytes block = {4, 1, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  const Decoded d = DecodeBlock(block, true, true);
  EXPECT_EQ(d.listing,
            "          Format : Laserjet Family (Raster)\n"
            "    Continuation : Yes\n"
            " Descriptor size : 0 bytes\n"
            "           Class : Unknown (0)\n"
            "     Orientation : Portrait\n"
            "     Left Offset : 0 (0x00)\n"
            "      Top Offset : 0\n"
            " Character Width : 0\n"
            "Character Height : 0\n"
            "         Delta X : 0\n");
  EXPECT_EQ(d.width, std::nullopt);
  const CharDescriptor c = ReadBlock(block);
  EXPECT_EQ(c.data.size(), block.size() - 2);  // its data begins at offset 2
  EXPECT_EQ(LineOf(DecodeBlock({4, 7}, true, false).listing, "    Continuation :"), "    Continuation : Yes");
  EXPECT_EQ(DecodeBlock({4, 7}, false, false).width, std::nullopt);
}

// --- DeskJet formats 5, 9, 12 ---------------------------------------------

TEST(CharDescriptorDeskJet, FieldLinesPerFormat) {
  const std::string common =
      "    Continuation : No\n"
      "       Char type : Normal (single pass)\n"
      "           Width : 12\n"
      "Compressed Width : 7\n"
      "     Left PS Pad : -2\n"
      "    Right PS Pad : 3\n";
  struct FormatCase {
    Bytes block;
    std::string listing;
  };
  const auto withHead = [&](const char* name, const char* size) {
    std::string text = std::string("          Format : ") + name + "\n" + common;
    return text.insert(text.find("       Char type"), std::string(" Descriptor size : ") + size + " bytes\n");
  };
  const FormatCase cases[] = {
      {{5, 0, 6, 0, 12, 7, 0xFE, 3}, withHead("Deskjet Bitmap", "6")},
      {{9, 0, 6, 0, 12, 7, 0xFE, 3}, withHead("Deskjet Plus Bitmap", "6")},
      {{12, 0, 7, 0, 12, 7, 0xFE, 3, 9}, withHead("Deskjet 500 Bitmap", "7") + "Compound Align Pt: 9\n"},
  };
  for (const FormatCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.block[0]));
    const Decoded d = DecodeBlock(c.block, true, false);
    EXPECT_EQ(d.listing, c.listing);
    EXPECT_EQ(d.width, 0);
  }
}

TEST(CharDescriptorDeskJet, CharTypeNames) {
  const std::pair<std::uint8_t, std::string> cases[] = {
      {0, "Normal (single pass)"}, {1, "Unknown (1)"},          {2, "Pass 1 of multi-pass"},
      {3, "Pass 2 of multi-pass"}, {4, "Pass 3 of multi-pass"}, {5, "Pass 4 of multi-pass"},
      {6, "Unknown (6)"},          {255, "Unknown (255)"},
  };
  for (const auto& [charType, name] : cases) {
    SCOPED_TRACE(static_cast<int>(charType));
    const std::string listing = DecodeBlock({9, 0, 6, charType, 8, 8, 0, 0}, true, false).listing;
    // The unknown-value text is followed by a line end like the names.
    EXPECT_NE(listing.find("\n       Char type : " + name + "\n           Width : 8\n"), std::string::npos) << listing;
  }
}

// DeskJet characters are 50 rows high, each row (width + 7) / 8 bytes.
TEST(CharDescriptorDeskJet, DrawnFiftyRowsHigh) {
  struct DrawCase {
    std::uint8_t width;
    std::size_t bitmapBytes;
    std::size_t rows;
  };
  const DrawCase cases[] = {
      {12, 100, 50}, {12, 101, 50}, {12, 99, 49}, {8, 50, 50}, {255, 32 * 50, 50}, {255, 31, 0}, {0, 100, 0},
  };
  for (const std::uint8_t format : {5, 9, 12}) {
    for (const DrawCase& c : cases) {
      SCOPED_TRACE(testing::Message() << "format " << int(format) << " width " << int(c.width) << " bytes "
                                      << c.bitmapBytes);
      Bytes block = {format, 0, 6, 0, c.width, c.width, 0, 0};
      if (format == 12) block.push_back(0);
      block.insert(block.end(), c.bitmapBytes, 0xFF);
      const Decoded d = DecodeBlock(block, false, true);
      const std::vector<std::string> rows = Lines(d.listing);
      EXPECT_EQ(rows.size(), c.rows);
      for (const std::string& row : rows) EXPECT_EQ(row, std::string(c.width, '1'));
    }
  }
}

// In a continuation block the DeskJet fields follow byte 1.
TEST(CharDescriptorDeskJet, ContinuationBlock) {
  const Decoded d = DecodeBlock({5, 1, 2, 8, 6, 1, 0xFF, 0xF0, 0x0F}, true, true);
  EXPECT_EQ(d.listing,
            "          Format : Deskjet Bitmap\n"
            "    Continuation : Yes\n"
            " Descriptor size : 0 bytes\n"
            "       Char type : Pass 1 of multi-pass\n"
            "           Width : 8\n"
            "Compressed Width : 6\n"
            "     Left PS Pad : 1\n"
            "    Right PS Pad : -1\n"
            "1111    \n"
            "    1111\n");
  EXPECT_EQ(d.width, std::nullopt);
}

// --- TrueType, other formats, the registry --------------------------------

TEST(CharDescriptorTrueType, FieldsAndNeverABitmap) {
  const Bytes block = {15, 0, 2, 15, 0x00, 0x0A, 0x01, 0x23, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0xAB};
  const std::string listing =
      "          Format : TrueType Scalable\n"
      "    Continuation : No\n"
      " Descriptor size : 2 bytes\n"
      "           Class : Truetype\n"
      "  Char Data Size : 10\n"
      " Glyph Data Size : 6\n"
      "        Glyph ID : 291\n";
  EXPECT_EQ(DecodeBlock(block, true, false).listing, listing);
  EXPECT_EQ(DecodeBlock(block, true, true).listing, listing);
  EXPECT_EQ(DecodeBlock(block, false, true).listing, "");
  EXPECT_EQ(DecodeBlock(block, false, false).width, 0);
  EXPECT_EQ(ReadBlock(block).checksum, 0xAB);  // read after the glyph and the reserved byte
}

TEST(CharDescriptorTrueType, CharDataSizeBelowFour) {
  const std::pair<std::uint16_t, std::string> cases[] = {
      {0, "65532"}, {1, "65533"}, {2, "65534"}, {3, "65535"}, {4, "0"}, {65535, "65531"},
  };
  for (const auto& [charDataSize, glyphDataSize] : cases) {
    SCOPED_TRACE(charDataSize);
    const Bytes block = {15, 0, 2, 15, High(charDataSize), Low(charDataSize), 0, 1, 0, 0x5A};
    EXPECT_EQ(LineOf(DecodeBlock(block, true, false).listing, " Glyph Data Size :"), " Glyph Data Size : " + glyphDataSize);
    EXPECT_EQ(ReadBlock(block).checksum, charDataSize == 4 ? 0x5A : 0);  // only an empty glyph leaves the checksum in reach
  }
}

TEST(CharDescriptorOtherFormats, ListNothingAndReportZero) {
  for (const std::uint8_t format : {0, 1, 3, 6, 10, 11, 13, 16, 20, 255}) {
    SCOPED_TRACE(static_cast<int>(format));
    const Decoded d = DecodeBlock({format, 0, 14, 1, 0, 0, 0, 0, 0, 0, 0, 8, 0, 1, 0, 40, 0xFF}, true, true);
    EXPECT_EQ(d.listing, "");
    EXPECT_EQ(d.width, 0);
    EXPECT_EQ(d.registry.charFormats, std::vector<std::uint8_t>{format});
  }
  EXPECT_EQ(DecodeBlock({10, 1, 0xFF}, true, true).width, std::nullopt);  // a continuation of any format keeps the width
}

// Blocks of random bytes in every format: the drawing never holds more rows
// than the block has bytes, nor more dots than it has bits (the sanitizer
// build also sees every read stay inside the block).
TEST(CharDescriptorHostile, RandomBlocksDrawOnlyWhatTheyHold) {
  std::uint32_t seed = 12345;
  const auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return static_cast<std::uint8_t>(seed >> 16);
  };
  const std::uint8_t formats[] = {4, 5, 9, 12, 15, 10};
  for (int round = 0; round < 3000; ++round) {
    Bytes block(next() % 48);
    for (std::uint8_t& byte : block) byte = next();
    if (!block.empty()) block[0] = formats[round % 6];
    if (block.size() > 1 && round % 3 != 0) block[1] = 0;
    const Decoded d = DecodeBlock(block, false, true);
    const auto rows = static_cast<std::size_t>(std::ranges::count(d.listing, '\n'));
    const auto dots = static_cast<std::size_t>(std::ranges::count(d.listing, '1'));
    ASSERT_LE(rows, block.size()) << round;
    ASSERT_LE(dots, 8 * block.size()) << round;
  }
}

TEST(CharDescriptorRegistry, EveryFormatIsNotedOnce) {
  FontRegistry registry;
  std::string listing;
  OutputSink sink(&listing);
  for (const Bytes& block : {TenDotCharacter(), Bytes{15, 0, 2, 15, 0, 4}, Bytes{4, 1, 0xFF}, Bytes{10, 0},
                             Bytes{}, TenDotCharacter(), Bytes{12, 0, 7}}) {
    DescriptorReader reader{block};
    (void)DecodeCharDescriptor(sink, reader, false, false, registry);
  }
  EXPECT_EQ(registry.charFormats, (std::vector<std::uint8_t>{4, 15, 10, 0, 12}));
}

}  // namespace
}  // namespace veltrix
