// Character descriptors: listings and drawings of hand-made blocks of every
// format, blocks cut short, hostile sizes, and the bitmap drawing.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
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
  const struct {
    bool list, show;
    std::string listing;
  } cases[] = {{false, false, ""}, {true, false, kLaserJetListing},
               {false, true, kLaserJetDrawn},  // the bitmap alone, no field line
               {true, true, kLaserJetListing + kLaserJetDrawn}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "list " << c.list << " show " << c.show);
    const DecodedChar d = DecodeChar(TenDotCharacter(), c.list, c.show);
    EXPECT_EQ(d.listing, c.listing);
    EXPECT_EQ(d.width, 248);  // the width is reported whatever is listed
  }
}

// One name and one unknown value of each table.
TEST(CharDescriptorLaserJet, ClassAndOrientationNames) {
  const struct {
    std::uint8_t charClass, orientation;
    const char *className, *orientationName;
  } cases[] = {{2, 3, "Compressed Bitmap", "Reverse landscape"}, {5, 4, "Unknown (5)", "Unknown (4)"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.charClass));
    const std::string listing = DecodeChar(LaserJetBlock({c.charClass, c.orientation}), true, false).listing;
    EXPECT_EQ(LineOf(listing, "           Class :"), std::string("           Class : ") + c.className);
    EXPECT_EQ(LineOf(listing, "     Orientation :"), std::string("     Orientation : ") + c.orientationName);
  }
}

// The offsets, sizes and Delta X are unsigned 16-bit; the descriptor size
// is listed but the bitmap starts at offset 16 whatever it says.
TEST(CharDescriptorLaserJet, UnsignedNumbersAndFixedLayout) {
  const DecodedChar d = DecodeChar(LaserJetBlock({1, 0, 0xFFF6, 0x8000, 0xFFFF, 0xFFFF, 0xFFFF}), true, false);
  EXPECT_EQ(LineOf(d.listing, "     Left Offset :"), "     Left Offset : 65526 (0xFFF6)");
  EXPECT_EQ(LineOf(d.listing, "      Top Offset :"), "      Top Offset : 32768");
  EXPECT_EQ(LineOf(d.listing, "         Delta X :"), "         Delta X : 65535");
  EXPECT_EQ(d.width, 65535);
  Bytes block = TenDotCharacter();
  block[2] = 255;
  const DecodedChar sized = DecodeChar(block, true, true);
  EXPECT_EQ(LineOf(sized.listing, " Descriptor size :"), " Descriptor size : 255 bytes");
  EXPECT_TRUE(sized.listing.ends_with(kLaserJetDrawn)) << sized.listing;
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
  EXPECT_EQ(ReadChar(block).data.size(), block.size() - 2);  // its data begins at offset 2
}

// --- DeskJet formats 5, 9, 12 ---------------------------------------------

// Only format 12 has the compound align point.
TEST(CharDescriptorDeskJet, FieldLinesPerFormat) {
  const DecodedChar d = DecodeChar({12, 0, 7, 0, 12, 7, 0xFE, 3, 9}, true, false);
  EXPECT_EQ(d.listing,
            "          Format : Deskjet 500 Bitmap\n"
            "    Continuation : No\n"
            " Descriptor size : 7 bytes\n"
            "       Char type : Normal (single pass)\n"
            "           Width : 12\n"
            "Compressed Width : 7\n"
            "     Left PS Pad : -2\n"
            "    Right PS Pad : 3\n"
            "Compound Align Pt: 9\n");
  EXPECT_EQ(d.width, 0);
  const std::string plus = DecodeChar({9, 0, 6, 0, 12, 7, 0xFE, 3, 9}, true, false).listing;
  EXPECT_TRUE(plus.starts_with("          Format : Deskjet Plus Bitmap\n")) << plus;
  EXPECT_TRUE(plus.ends_with("    Right PS Pad : 3\n")) << plus;
}

// DeskJet characters are 50 rows high, each row (width + 7) / 8 bytes;
// format 12 has one more descriptor byte.
TEST(CharDescriptorDeskJet, DrawnFiftyRowsHigh) {
  for (const std::uint8_t format : {5, 12}) {
    for (const auto& [width, bytes, rows] : {std::tuple{12, 100, 50}, {12, 99, 49}, {0, 100, 0}}) {
      SCOPED_TRACE(testing::Message() << "format " << int(format) << " width " << width << " bytes " << bytes);
      Bytes block = {format, 0, 6, 0, static_cast<std::uint8_t>(width), 0, 0, 0};
      if (format == 12) block.push_back(0);
      block.insert(block.end(), static_cast<std::size_t>(bytes), 0xFF);
      const std::vector<std::string> drawn = Lines(DecodeChar(block, false, true).listing);
      EXPECT_EQ(drawn.size(), static_cast<std::size_t>(rows));
      for (const std::string& row : drawn) EXPECT_EQ(row, std::string(static_cast<std::size_t>(width), '1'));
    }
  }
}

// In a continuation block the DeskJet fields follow byte 1; char type 1 is
// unknown, and its text ends its line like the names.
TEST(CharDescriptorDeskJet, ContinuationBlock) {
  const DecodedChar d = DecodeChar({5, 1, 1, 8, 6, 1, 0xFF, 0xF0, 0x0F}, true, true);
  EXPECT_EQ(d.listing,
            "          Format : Deskjet Bitmap\n"
            "    Continuation : Yes\n"
            " Descriptor size : 0 bytes\n"
            "       Char type : Unknown (1)\n"
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
}

TEST(CharDescriptorOtherFormats, ListNothingAndReportZero) {
  for (const std::uint8_t format : {0, 10, 16, 255}) {
    SCOPED_TRACE(static_cast<int>(format));
    const DecodedChar d = DecodeChar({format, 0, 14, 1, 0, 0, 0, 0, 0, 0, 0, 8, 0, 1, 0, 40, 0xFF}, true, true);
    EXPECT_EQ(d.listing, "");
    EXPECT_EQ(d.width, 0);
    EXPECT_EQ(d.registry.charFormats, std::vector<std::uint8_t>{format});
  }
  EXPECT_EQ(DecodeChar({10, 1, 0xFF}, true, true).width, std::nullopt);  // a continuation of any format keeps the width
}

// Blocks cut at field boundaries: the fields there keep their bytes, a
// 2-byte field with one byte there holds it times 256, the rest read 0, and
// the listing is written all the same (an empty block is format 0).
TEST(CharDescriptorCutShort, AtFieldBoundaries) {
  const Bytes laserJet = {4, 0, 14, 2, 3, 0, 0x12, 0x34, 0x56, 0x78, 0x01, 0x0A, 0x01, 0x02, 0x9A, 0xBC};
  const Bytes trueType = {15, 0, 2, 15, 0x00, 0x0A, 0x01, 0x23, 1, 2, 3, 4, 5, 6, 0, 0xAB};
  const struct {
    const Bytes& full;
    std::vector<std::size_t> cuts;
    std::size_t lines;
  } cases[] = {{laserJet, {0, 1, 3, 7, 13, 15, 16}, 10}, {trueType, {3, 5, 7, 15, 16}, 7}};
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
        EXPECT_EQ(d.leftOffset, word(6));
        EXPECT_EQ(d.deltaX, word(14));
        EXPECT_EQ(listed.width, static_cast<std::int32_t>(word(14)));
        EXPECT_TRUE(d.data.empty());
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
// (Ten dots a row, two bytes of it: the LaserJet cases above.)

std::string Draw(const std::vector<std::uint8_t>& bitmap, std::uint32_t width, std::uint32_t height) {
  std::string text;
  {
    OutputSink sink(&text);
    ShowCharRaster(sink, bitmap, width, height);
  }
  return text;
}

TEST(ShowCharRaster, DrawsRowsFromTheBytes) {
  const struct {
    const char* name;
    std::uint32_t width, height;
    std::vector<std::uint8_t> bitmap;
    std::string drawn;
  } cases[] = {
      {"17 dots take three bytes a row", 17, 2, {0xFF, 0x00, 0x80, 0x00, 0xFF, 0x7F},
       "11111111        1\n        11111111 \n"},
      {"only the rows the block holds", 16, 5, {0x80, 0x01, 0x40, 0x02, 0x20, 0x04},
       "1              1\n 1            1 \n  1          1  \n"},
      {"a lying 65535 x 65535 over ten bytes draws nothing", 65535, 65535,
       {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Draw(c.bitmap, c.width, c.height), c.drawn);
  }
}

}  // namespace
}  // namespace veltrix::test
