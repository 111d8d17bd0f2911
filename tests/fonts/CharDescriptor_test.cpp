// Character descriptors: listings and drawings of hand-made blocks of every
// format, blocks cut short at field boundaries, hostile sizes, and the
// bitmap drawing on its own. Expected lines are the listing's fixed texts,
// written out here by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "FontTestSupport.h"
#include "fonts/CharRaster.h"

namespace veltrix::test {
namespace {

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
    const DecodedChar d = DecodeChar(TenDotCharacter(), c.list, c.show);
    EXPECT_EQ(d.listing, c.listing);
    EXPECT_EQ(d.width, 248);  // the width is reported whatever is listed
  }
}

// One name and one unknown value of each table; TrueType descriptors name
// their class from the same list.
TEST(CharDescriptorLaserJet, ClassAndOrientationNames) {
  const struct {
    std::uint8_t charClass, orientation;
    const char *className, *orientationName;
  } cases[] = {{2, 3, "Compressed Bitmap", "Reverse landscape"}, {15, 4, "Truetype", "Unknown (4)"},
               {5, 1, "Unknown (5)", "Landscape"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.charClass));
    const std::string listing = DecodeChar(LaserJetBlock({c.charClass, c.orientation}), true, false).listing;
    EXPECT_EQ(LineOf(listing, "           Class :"), std::string("           Class : ") + c.className);
    EXPECT_EQ(LineOf(listing, "     Orientation :"), std::string("     Orientation : ") + c.orientationName);
    const Bytes trueType = {15, 0, 2, c.charClass, 0, 4, 0, 0, 0, 0};
    EXPECT_EQ(LineOf(DecodeChar(trueType, true, false).listing, "           Class :"),
              std::string("           Class : ") + c.className);
  }
}

// The offsets, sizes and Delta X are shown as unsigned 16-bit numbers, the
// left offset also in hexadecimal of at least two digits.
TEST(CharDescriptorLaserJet, NumbersAreUnsigned16Bit) {
  const DecodedChar d = DecodeChar(LaserJetBlock({1, 0, 0xFFF6, 0x8000, 0xFFFF, 0xFFFF, 0xFFFF}), true, false);
  EXPECT_EQ(LineOf(d.listing, "     Left Offset :"), "     Left Offset : 65526 (0xFFF6)");
  EXPECT_EQ(LineOf(d.listing, "      Top Offset :"), "      Top Offset : 32768");
  EXPECT_EQ(LineOf(d.listing, " Character Width :"), " Character Width : 65535");
  EXPECT_EQ(LineOf(d.listing, "Character Height :"), "Character Height : 65535");
  EXPECT_EQ(LineOf(d.listing, "         Delta X :"), "         Delta X : 65535");
  EXPECT_EQ(d.width, 65535);
  EXPECT_EQ(LineOf(DecodeChar(LaserJetBlock({1, 0, 0x0A}), true, false).listing, "     Left Offset :"),
            "     Left Offset : 10 (0x0A)");
  EXPECT_EQ(LineOf(DecodeChar(LaserJetBlock({1, 0, 0x123}), true, false).listing, "     Left Offset :"),
            "     Left Offset : 291 (0x123)");
}

// The descriptor size is listed but the layout is fixed: the bitmap starts
// at offset 16 whatever the size byte says.
TEST(CharDescriptorLaserJet, DescriptorSizeDoesNotMoveTheBitmap) {
  for (std::uint8_t size : {0, 20, 255}) {
    Bytes block = TenDotCharacter();
    block[2] = size;
    const DecodedChar d = DecodeChar(block, true, true);
    EXPECT_EQ(LineOf(d.listing, " Descriptor size :"), " Descriptor size : " + std::to_string(size) + " bytes");
    EXPECT_TRUE(d.listing.ends_with(kLaserJetDrawn)) << d.listing;
  }
}

// A compressed bitmap is drawn from its bytes as they stand, rows that the
// block does not hold in full left out.
TEST(CharDescriptorLaserJet, CompressedBitmapIsDrawnAsStored) {
  const Bytes block = LaserJetBlock({2, 0, 0, 0, 8, 3, 40}, {0x03, 0x81});
  EXPECT_EQ(DecodeChar(block, false, true).listing, "      11\n1      1\n");
  EXPECT_EQ(LineOf(DecodeChar(block, true, false).listing, "           Class :"), "           Class : Compressed Bitmap");
}

TEST(CharDescriptorLaserJet, LyingSizesDrawOnlyWhatTheBlockHolds) {
  const Bytes lying = LaserJetBlock({1, 0, 0, 0, 65535, 65535, 7}, Bytes(100, 0xFF));
  const DecodedChar d = DecodeChar(lying, false, true);
  EXPECT_EQ(d.listing, "");  // a row of 65535 dots needs 8192 bytes
  EXPECT_EQ(d.width, 7);
  const Bytes tall = LaserJetBlock({1, 0, 0, 0, 16, 65535, 7}, Bytes(7, 0xFF));
  const std::string row = std::string(16, '1') + "\n";
  EXPECT_EQ(DecodeChar(tall, false, true).listing, row + row + row);  // 7 bytes: three rows of two
}

// A continuation block carries only bitmap bytes after byte 1: the listing
// shows "Yes", no descriptor size, the fields at 0, and no width is reported.
TEST(CharDescriptorLaserJet, ContinuationBlock) {
  const Bytes block = {4, 1, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  const DecodedChar d = DecodeChar(block, true, true);
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
  const CharDescriptor c = ReadChar(block);
  EXPECT_EQ(c.data.size(), block.size() - 2);  // its data begins at offset 2
  EXPECT_EQ(LineOf(DecodeChar({4, 7}, true, false).listing, "    Continuation :"), "    Continuation : Yes");
  EXPECT_EQ(DecodeChar({4, 7}, false, false).width, std::nullopt);
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
    const DecodedChar d = DecodeChar(c.block, true, false);
    EXPECT_EQ(d.listing, c.listing);
    EXPECT_EQ(d.width, 0);
  }
}

TEST(CharDescriptorDeskJet, CharTypeNames) {
  const std::pair<std::uint8_t, std::string> cases[] = {
      {0, "Normal (single pass)"}, {1, "Unknown (1)"},          {2, "Pass 1 of multi-pass"},
      {3, "Pass 2 of multi-pass"}, {4, "Pass 3 of multi-pass"}, {5, "Pass 4 of multi-pass"},
      {6, "Unknown (6)"},      };
  for (const auto& [charType, name] : cases) {
    SCOPED_TRACE(static_cast<int>(charType));
    const std::string listing = DecodeChar({9, 0, 6, charType, 8, 8, 0, 0}, true, false).listing;
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
      {12, 100, 50}, {12, 99, 49}, {255, 32 * 50, 50}, {255, 31, 0}, {0, 100, 0},
  };
  for (const std::uint8_t format : {5, 9, 12}) {
    for (const DrawCase& c : cases) {
      SCOPED_TRACE(testing::Message() << "format " << int(format) << " width " << int(c.width) << " bytes "
                                      << c.bitmapBytes);
      Bytes block = {format, 0, 6, 0, c.width, c.width, 0, 0};
      if (format == 12) block.push_back(0);
      block.insert(block.end(), c.bitmapBytes, 0xFF);
      const DecodedChar d = DecodeChar(block, false, true);
      const std::vector<std::string> rows = Lines(d.listing);
      EXPECT_EQ(rows.size(), c.rows);
      for (const std::string& row : rows) EXPECT_EQ(row, std::string(c.width, '1'));
    }
  }
}

// In a continuation block the DeskJet fields follow byte 1.
TEST(CharDescriptorDeskJet, ContinuationBlock) {
  const DecodedChar d = DecodeChar({5, 1, 2, 8, 6, 1, 0xFF, 0xF0, 0x0F}, true, true);
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
  EXPECT_EQ(DecodeChar(block, true, false).listing, listing);
  EXPECT_EQ(DecodeChar(block, true, true).listing, listing);
  EXPECT_EQ(DecodeChar(block, false, true).listing, "");
  EXPECT_EQ(DecodeChar(block, false, false).width, 0);
  EXPECT_EQ(ReadChar(block).checksum, 0xAB);  // read after the glyph and the reserved byte
}

TEST(CharDescriptorOtherFormats, ListNothingAndReportZero) {
  for (const std::uint8_t format : {0, 1, 3, 6, 10, 11, 13, 16, 20, 255}) {
    SCOPED_TRACE(static_cast<int>(format));
    const DecodedChar d = DecodeChar({format, 0, 14, 1, 0, 0, 0, 0, 0, 0, 0, 8, 0, 1, 0, 40, 0xFF}, true, true);
    EXPECT_EQ(d.listing, "");
    EXPECT_EQ(d.width, 0);
    EXPECT_EQ(d.registry.charFormats, std::vector<std::uint8_t>{format});
  }
  EXPECT_EQ(DecodeChar({10, 1, 0xFF}, true, true).width, std::nullopt);  // a continuation of any format keeps the width
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
    const DecodedChar d = DecodeChar(block, false, true);
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

// --- Blocks cut short: the fields that are there keep their bytes, a 2-byte
// field of which one byte is there holds that byte times 256, the rest read
// 0, and the listing is written all the same.

// Each format's block cut at field boundaries; the listing is written all
// the same (an empty block is format 0, which lists nothing).
TEST(CharDescriptorCutShort, AtFieldBoundaries) {
  const Bytes laserJet = {4, 0, 14, 2, 3, 0, 0x12, 0x34, 0x56, 0x78, 0x01, 0x0A, 0x01, 0x02, 0x9A, 0xBC};
  const Bytes deskJet500 = {12, 0, 7, 2, 12, 7, 0xFE, 3, 9};
  const Bytes trueType = {15, 0, 2, 15, 0x00, 0x0A, 0x01, 0x23, 1, 2, 3, 4, 5, 6, 0, 0xAB};
  const struct {
    const Bytes& full;
    std::vector<std::size_t> cuts;
    std::size_t lines;
  } cases[] = {{laserJet, {0, 1, 3, 7, 9, 13, 15, 16}, 10}, {deskJet500, {2, 3, 7, 9}, 9},
               {trueType, {3, 5, 7, 15, 16}, 7}};
  for (const auto& c : cases) {
    for (const std::size_t cut : c.cuts) {
      SCOPED_TRACE(testing::Message() << "format " << int{c.full[0]} << " cut at " << cut);
      const auto byte = [&](std::size_t at) { return std::uint32_t{at < cut ? c.full[at] : 0u}; };
      const auto word = [&](std::size_t at) { return byte(at) << 8 | byte(at + 1); };
      const Bytes block(c.full.begin(), c.full.begin() + static_cast<std::ptrdiff_t>(cut));
      const CharDescriptor d = ReadChar(block);
      const DecodedChar listed = DecodeChar(block, true, true);
      EXPECT_EQ(Lines(listed.listing).size(), cut == 0 ? 0 : c.lines);
      EXPECT_EQ(d.format, byte(0));
      EXPECT_EQ(d.descriptorSize, byte(2));
      if (c.full[0] == 4) {
        EXPECT_EQ(d.charClass, byte(3));
        EXPECT_EQ(d.orientation, byte(4));
        EXPECT_EQ(d.leftOffset, word(6));
        EXPECT_EQ(d.topOffset, word(8));
        EXPECT_EQ(d.characterWidth, word(10));
        EXPECT_EQ(d.characterHeight, word(12));
        EXPECT_EQ(d.deltaX, word(14));
        EXPECT_EQ(listed.width, static_cast<std::int32_t>(word(14)));
        EXPECT_TRUE(d.data.empty());
      } else if (c.full[0] == 12) {
        EXPECT_EQ(d.charType, byte(3));
        EXPECT_EQ(d.characterWidth, byte(4));
        EXPECT_EQ(d.compressedWidth, byte(5));
        EXPECT_EQ(d.leftPsPad, static_cast<std::int8_t>(byte(6)));
        EXPECT_EQ(d.rightPsPad, static_cast<std::int8_t>(byte(7)));
        EXPECT_EQ(d.compoundAlignPoint, byte(8));
        EXPECT_EQ(d.characterHeight, 50);
        EXPECT_EQ(listed.width, 0);
      } else {
        // A char data size cut short or below 4 makes the glyph data size
        // wrap; the skip over the glyph then ends at the end of the block.
        EXPECT_EQ(d.charClass, byte(3));
        EXPECT_EQ(d.charDataSize, word(4));
        EXPECT_EQ(d.glyphDataSize, static_cast<std::uint16_t>(word(4) - 4));
        EXPECT_EQ(d.glyphId, word(6));
        EXPECT_EQ(d.checksum, byte(15));
        EXPECT_EQ(listed.width, 0);
      }
    }
  }
}

// --- The bitmap drawing on its own ------------------------------------------

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
      {"padding bits past the width are not drawn", 3, 2, {0xFF, 0x1F}, "111\n   \n"},
      {"17 dots take three bytes a row", 17, 2, {0xFF, 0x00, 0x80, 0x00, 0xFF, 0x7F},
       "11111111        1\n        11111111 \n"},
      {"a row cut off by the end of the block is not drawn", 17, 2, {0xFF, 0x00, 0x80, 0xFF, 0xFF},
       "11111111        1\n"},
      {"only the rows the block holds", 16, 5, {0x80, 0x01, 0x40, 0x02, 0x20, 0x04},
       "1              1\n 1            1 \n  1          1  \n"},
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

}  // namespace
}  // namespace veltrix::test
