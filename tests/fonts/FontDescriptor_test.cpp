// Font header listings: whole listings of hand-made headers, the lines that
// each format adds or leaves out, the short header that ends after the
// typeface, the list flag, and the header format handed to the registry.
// Expected lines are the listing's fixed texts, written out here by hand.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "FontDescriptorTestSupport.h"

namespace veltrix::test {
namespace {

// --- Whole listings ----------------------------------------------------------

TEST(FontDescriptorListing, LaserJetHeaderWithNotice) {
  HeaderBytes h = Header(64, 64, 0);
  h.Byte(3, 1).Byte(4, 0x00).Word(6, 48).Word(8, 50).Word(10, 60).Byte(12, 1).Byte(13, 1);
  h.Word(14, 277).Word(16, 480).Word(18, 200).Word(20, 130).Byte(22, 0xFE);
  h.Byte(23, 0x21).Byte(24, 3).Byte(25, 0x05).Byte(26, 0x10).Byte(27, 6).Byte(28, 2).Byte(29, 0xFF);
  h.Byte(30, 0xFC).Byte(31, 3).Word(32, 240).Word(34, 120).Word(36, 32).Word(38, 256);
  h.Word(42, 0x8000).Word(44, 0x1234).Word(46, 0x5678).Text(48, std::string("CG Times Bold\0\0\0", 16));
  h.Append("Copr.\x01" "1992 Acme\xFF" "Ltd.");  // 20 bytes past the descriptor size
  const DecodedHeader got = DecodeHeader(h.bytes());
  EXPECT_EQ(got.listing,
            "              Size : 64 (0x40)\n"
            "            Format : Laserjet Bitmap\n"
            "         Font type : Bound 8-bit (192 characters : 32-127 & 160-255)\n"
            "           Posture : Italic\n"
            "             Width : Normal\n"
            "         Structure : Outline\n"
            " Baseline Distance : 48\n"
            "        Cell Width : 50\n"
            "       Cell Height : 60\n"
            "       Orientation : 90 - Landscape\n"
            "           Spacing : Proportional\n"
            "        Symbol set : Roman-8\n"
            "             Pitch : 2.50 cpi\n"
            "            Height : 12.00 points\n"
            "           xHeight : 32 dots\n"
            "        Width Type : Condensed\n"
            "     Stroke Weight : Bold\n"
            "   Typeface Family : CG Times\n"
            "       Serif Style : Serif Bracket\n"
            "           Quality : Letter quality\n"
            "         Placement : Superior\n"
            "Underline distance : -4\n"
            "  Underline height : 3\n"
            "       Text height : 240 (0xF0)\n"
            "        Text width : 120 (0x78)\n"
            "        First code : 32 (0x20)\n"
            "         Last code : 256 (0x100)\n"
            "        Cap height : %50.00\n"
            "         Font name : CG Times Bold\n"
            "         Copyright : Copr. 1992 Acme Ltd.\n"
            "\n");
  EXPECT_EQ(got.descriptor.fontNumber, 0x12345678u);  // read, never listed
  EXPECT_EQ(got.descriptor.noticeLength, 20);
}

// Format 12 with a printer-specific block of 36 bytes: the name goes on
// after the pass base offsets. Bytes past the extension are no notice.
TEST(FontDescriptorListing, DeskJet500HeaderWithLongName) {
  HeaderBytes h = Header(110, 110, 12);
  h.Byte(3, 2).Byte(4, 0x55).Word(6, 30).Word(8, 24).Word(10, 50).Word(14, 341).Word(16, 120);
  h.Word(18, 200).Word(20, 3).Word(23, 0x0101).Byte(25, 0xFD).Byte(26, 3).Byte(27, 0).Byte(28, 7);
  h.Byte(29, 64).Byte(30, 1).Byte(31, 5).Byte(32, 0xFE).Byte(33, 2).Word(34, 50).Word(36, 24);
  h.Word(38, 1).Word(40, 255).Byte(42, 200).Byte(43, 255).Word(44, 65535).Text(50, "Courier Italic 1");
  h.Word(66, 300).Word(68, 300).Byte(70, 0xF6).Byte(71, 2).Byte(72, 0xF2).Byte(73, 3).Word(74, 36);
  h.Word(76, 4000).Byte(78, 1).Byte(80, 0x99).Byte(81, 1).Byte(83, 1).Byte(85, 1).Byte(86, 1);
  h.Byte(87, 0x77).Word(88, 256).Word(90, 512).Text(94, "0 pitch PC-8");
  h.Append("XYZW");
  const DecodedHeader got = DecodeHeader(h.bytes());
  EXPECT_EQ(got.listing,
            "              Size : 110 (0x6E)\n"
            "            Format : Deskjet 500 Bitmap\n"
            "         Font type : Bound 8-bit (256 characters : 0-255)\n"
            "             Style : Italic\n"
            " Baseline Distance : 30\n"
            "        Cell Width : 24\n"
            "       Cell Height : 50\n"
            "       Orientation : 0 - Portrait\n"
            "           Spacing : Fixed\n"
            "        Symbol set : PC-8, Code Page 437\n"
            "             Pitch : 10.00 cpi\n"
            "            Height : 12.00 points\n"
            "           xHeight : 0 dots\n"
            "        Width Type : Normal\n"
            "     Stroke Weight : Light\n"
            "   Typeface Family : Courier\n"
            "             Slant : 7\n"
            "       Serif Style : Sans Serif Square\n"
            "           Quality : Near letter quality\n"
            "Underline distance : -2\n"
            "  Underline height : 2\n"
            "       Text height : 50 (0x32)\n"
            "        Text width : 24 (0x18)\n"
            "        First code : 1 (0x01)\n"
            "         Last code : 255 (0xFF)\n"
            "        Cap height : %100.00\n"
            "         Font name : Courier Italic 10 pitch PC-8\n"
            "    Horz Pixel Res : 300 (0x12C)\n"
            "    Vert Pixel Res : 300\n"
            "    Top Dbl UL Pos : -10\n"
            " Top Dbl UL Height : 2\n"
            "    Bot Dbl UL Pos : -14\n"
            " Bot Dbl UL Height : 3\n"
            "Ptr Spef. Block Sz : 36 (0x24)\n"
            "    Font Data Size : 4000\n"
            "    Unidirectional : 1\n"
            "        Compressed : 0\n"
            "     No Half Pitch : 1\n"
            "   No Double Pitch : 0\n"
            "    No Half Height : 1\n"
            "           No Bold : 0\n"
            "          No Draft : 1\n"
            "       Bold Method : Dark bold\n"
            "Pass 2 Base Offset : 256\n"
            "Pass 3 Base Offset : 512\n"
            "Pass 4 Base Offset : 0\n"
            "\n");
  EXPECT_EQ(got.descriptor.noticeLength, 0);
}

// The tail of each format, from the font name to the blank line that closes
// the listing.
TEST(FontDescriptorListing, FormatTails) {
  const struct {
    const char* what;
    HeaderBytes header;
    std::string tail;
  } cases[] = {
      {"TrueType: the scaling fields, no notice however long the block",
       Header(72, 72, 15).Text(48, "Arial").Word(64, 2048).Word(66, 0xFF9C).Word(68, 102).Byte(70, 1)
           .Append("(c) extra bytes"),
       "         Font name : Arial\n"
       "      Scale Factor : 2048\n"
       "     Master UL Pos : 65436\n"
       "   Master UL Thick : 102\n"
       "   Font Scale Tech : 1\n"
       "           Variety : 0\n"
       "\n"},
      {"format 16 lists the same fields",
       Header(72, 72, 16).Text(48, "Univers").Word(64, 1000).Byte(71, 9),
       "         Font name : Univers\n"
       "      Scale Factor : 1000\n"
       "     Master UL Pos : 0\n"
       "   Master UL Thick : 0\n"
       "   Font Scale Tech : 0\n"
       "           Variety : 9\n"
       "\n"},
      {"format 20: resolutions, then the notice from offset 68",
       Header(68, 68, 20).Text(48, "Pk").Word(64, 600).Word(66, 300).Append("Free\n"),
       "         Font name : Pk\n"
       "      X Resolution : 600\n"
       "      Y Resolution : 300\n"
       "         Copyright : Free \n"
       "\n"},
      {"Intellifont bound: global data skipped, the notice ends 2 bytes early",
       Header(80, 80, 10).Text(48, "Intelli").Word(78, 3).Append("GGG").Append("Typeface X").Append(1, 0x00).Append(1, 0x7F),
       "         Font name : Intelli\n"
       "         Copyright : Typeface X\n"
       "\n"},
      {"Intellifont unbound, no global data",
       Header(66, 66, 11).Text(48, "Unbound").Append("(c) U").Append(2, 0xAA),
       "         Font name : Unbound\n"
       "         Copyright : (c) U\n"
       "\n"},
      {"an unknown format reads the LaserJet layout and its notice",
       Header(64, 64, 7).Text(48, "Seven").Append("abc"),
       "         Font name : Seven\n"
       "         Copyright : abc\n"
       "\n"},
      {"a name with a NUL ends there, control bytes stay as they are",
       Header(64, 64, 0).Text(48, std::string("A\tB\0CDEF", 8)),
       "         Font name : A\tB\n"
       "\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ListingFrom(DecodeHeader(c.header.bytes()).listing, "         Font name : "), c.tail);
  }
}

// Which lines a format adds: the DeskJet formats have one style line, a
// slant and the extension but no placement; the others three style lines.
TEST(FontDescriptorListing, LinesEachFormatCarries) {
  const struct {
    int format;
    bool deskJet, resolution, trueType;
  } cases[] = {
      {0, false, false, false},  {5, true, false, false},   {9, true, false, false},
      {10, false, false, false}, {11, false, false, false}, {12, true, false, false},
      {15, false, false, true},  {16, false, false, true},  {20, false, true, false},
      {3, false, false, false},  {255, false, false, false},
  };
  const auto has = [](const std::string& listing, const char* label) {
    return listing.find(std::string("\n") + label) != std::string::npos;
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.format);
    const std::size_t length = FullLength(c.format);
    const std::string listing = DecodeHeader(Header(length, static_cast<int>(length), c.format).bytes()).listing;
    EXPECT_EQ(has(listing, "             Style : "), c.deskJet);
    EXPECT_EQ(has(listing, "             Slant : "), c.deskJet);
    EXPECT_EQ(has(listing, "    Horz Pixel Res : "), c.deskJet);
    EXPECT_EQ(has(listing, "Pass 4 Base Offset : "), c.deskJet);
    for (const char* label : {"           Posture : ", "             Width : ", "         Structure : ",
                              "         Placement : "}) {
      EXPECT_EQ(has(listing, label), !c.deskJet) << label;
    }
    EXPECT_EQ(has(listing, "      X Resolution : "), c.resolution);
    EXPECT_EQ(has(listing, "      Scale Factor : "), c.trueType);
    EXPECT_FALSE(has(listing, "         Copyright : "));  // no block is longer than its descriptor size
    EXPECT_TRUE(listing.ends_with("\n\n"));
  }
}

// --- Short headers, flags, registry -------------------------------------------

// A descriptor size of 26 or less ends the listing after the typeface, with
// no blank line, whatever the block holds.
TEST(FontDescriptorListing, ShortDescriptorSizeEndsAfterTypeface) {
  const struct {
    int size, format;
    bool full;
  } cases[] = {{26, 0, false}, {0, 0, false}, {1, 20, false}, {26, 5, false}, {26, 12, false},
               {26, 15, false}, {27, 0, true}, {27, 5, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "size " << c.size << " format " << c.format);
    HeaderBytes h = Header(FullLength(c.format), c.size, c.format);
    h.Byte(c.format == 12 ? 26 : 25, 3);  // typeface 3, low byte
    const std::string listing = DecodeHeader(h.bytes()).listing;
    const std::string typeface = "   Typeface Family : Courier\n";
    if (c.full) {
      EXPECT_NE(listing.find(typeface), std::string::npos);
      EXPECT_TRUE(listing.ends_with("\n\n"));
      EXPECT_NE(listing.find("         Font name : "), std::string::npos);
    } else {
      EXPECT_TRUE(listing.ends_with("\n" + typeface)) << listing;
      EXPECT_EQ(listing.find("Serif Style"), std::string::npos);
    }
  }
}

// A block of only the descriptor size: the first byte alone is the high
// byte; every other field lists as 0.
TEST(FontDescriptorListing, BlockCutAfterOneByte) {
  const DecodedHeader got = DecodeHeader({0x01});
  EXPECT_EQ(got.descriptor.descriptorSize, 256);
  EXPECT_EQ(got.listing,
            "              Size : 256 (0x100)\n"
            "            Format : Laserjet Bitmap\n"
            "         Font type : Bound 7-bit (96 characters : 32-127)\n"
            "           Posture : Upright\n"
            "             Width : Normal\n"
            "         Structure : Solid\n"
            " Baseline Distance : 0\n"
            "        Cell Width : 0\n"
            "       Cell Height : 0\n"
            "       Orientation : 0 - Portrait\n"
            "           Spacing : Fixed\n"
            "        Symbol set : Default Set\n"
            "             Pitch : 0.00 cpi\n"
            "            Height : 0.00 points\n"
            "           xHeight : 0 dots\n"
            "        Width Type : Normal\n"
            "     Stroke Weight : Medium, Book or Text\n"
            "   Typeface Family : Line Printer\n"
            "       Serif Style : Sans Serif Square\n"
            "           Quality : Data processing\n"
            "         Placement : Normal\n"
            "Underline distance : 0\n"
            "  Underline height : 0\n"
            "       Text height : 0 (0x00)\n"
            "        Text width : 0 (0x00)\n"
            "        First code : 0 (0x00)\n"
            "         Last code : 0 (0x00)\n"
            "        Cap height : %0.00\n"
            "         Font name : \n"
            "\n");
}

TEST(FontDescriptorDecode, ListFlagOffStillDecodes) {
  const DecodedHeader got = DecodeHeader(Header(68, 68, 20).Text(48, "Quiet").Word(64, 600).bytes(), false);
  EXPECT_EQ(got.listing, "");
  EXPECT_EQ(got.descriptor.fontName, "Quiet");
  EXPECT_EQ(got.descriptor.xResolution, 600);
  EXPECT_EQ(got.registry.fontFormats, std::vector<std::uint8_t>{20});
}

// The header format reaches the registry as soon as it is read, even from
// a block that ends there or before it (then it is 0).
TEST(FontDescriptorDecode, NotesHeaderFormatInRegistry) {
  const struct {
    Bytes block;
    std::uint8_t format;
  } cases[] = {{{0, 64, 12}, 12}, {{0, 64}, 0}, {{}, 0}, {Header(72, 72, 16).bytes(), 16}, {{0, 0, 200}, 200}};
  for (const auto& c : cases) {
    const DecodedHeader got = DecodeHeader(c.block);
    EXPECT_EQ(got.registry.currentFontFormat, c.format);
    EXPECT_EQ(got.registry.fontFormats, std::vector<std::uint8_t>{c.format});
  }
  // Two headers in a row: both formats noted, the last one current.
  FontRegistry registry;
  NameTables names;
  OutputSink discard;
  FontDescriptor descriptor;
  for (const Bytes& block : {Header(64, 64, 0).bytes(), Header(68, 68, 20).bytes()}) {
    DescriptorReader reader{block};
    DecodeFontDescriptor(discard, reader, true, registry, names, descriptor);
  }
  EXPECT_EQ(registry.fontFormats, (std::vector<std::uint8_t>{0, 20}));
  EXPECT_EQ(registry.currentFontFormat, 20);
}

// Every decode starts from a cleared record: nothing of a long header is
// left in the record of a short one that follows.
TEST(FontDescriptorDecode, RecordClearedBetweenHeaders) {
  FontRegistry registry;
  NameTables names;
  OutputSink discard;
  FontDescriptor descriptor;
  const Bytes first = Header(68, 60, 20).Text(48, "First").Word(64, 600).Word(8, 9).Append("notice").bytes();
  DescriptorReader firstReader{first};
  DecodeFontDescriptor(discard, firstReader, false, registry, names, descriptor);
  ASSERT_EQ(descriptor.fontName, "First");
  ASSERT_GT(descriptor.noticeLength, 0);
  const Bytes second = {0, 10, 20};
  DescriptorReader secondReader{second};
  DecodeFontDescriptor(discard, secondReader, false, registry, names, descriptor);
  EXPECT_EQ(descriptor.descriptorSize, 10);
  EXPECT_EQ(descriptor.fontName, "");
  EXPECT_EQ(descriptor.notice, "");
  EXPECT_EQ(descriptor.noticeLength, 0);
  EXPECT_EQ(descriptor.xResolution, 0);
  EXPECT_EQ(descriptor.cellWidth, 0);
}

}  // namespace
}  // namespace veltrix::test
