// Font headers: whole listings of hand-made headers, one line of each coded
// field and derived value, where each format keeps its fields (a header cut
// at every length), the notice rules, and the headers real drivers wrote
// held against their bytes. Expected lines are the listing's fixed texts,
// written out here by hand.
#include <gtest/gtest.h>

#include <algorithm>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FontTestSupport.h"
#include "TestSupport.h"

namespace veltrix::test {
namespace {

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
      {"format 20: resolutions, then the notice from offset 68",
       Header(68, 68, 20).Text(48, "Pk").Word(64, 600).Word(66, 300).Append("Free\n"),
       "         Font name : Pk\n"
       "      X Resolution : 600\n"
       "      Y Resolution : 300\n"
       "         Copyright : Free \n"
       "\n"},
      {"Intellifont unbound, no global data",
       Header(66, 66, 11).Text(48, "Unbound").Append("(c) U").Append(2, 0xAA),
       "         Font name : Unbound\n"
       "         Copyright : (c) U\n"
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
      {0, false, false, false}, {9, true, false, false},  {11, false, false, false}, {12, true, false, false},
      {16, false, false, true}, {20, false, true, false}, {255, false, false, false},
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

TEST(FontDescriptorDecode, ListFlagOffStillDecodes) {
  const DecodedHeader got = DecodeHeader(Header(68, 68, 20).Text(48, "Quiet").Word(64, 600).bytes(), false);
  EXPECT_EQ(got.listing, "");
  EXPECT_EQ(got.descriptor.fontName, "Quiet");
  EXPECT_EQ(got.descriptor.xResolution, 600);
  EXPECT_EQ(got.registry.fontFormats, std::vector<std::uint8_t>{20});
}

// The header format reaches the registry as soon as it is read (0 from a
// block that ends before it); of two headers the last one is current.
TEST(FontDescriptorDecode, NotesHeaderFormatInRegistry) {
  EXPECT_EQ(DecodeHeader({0, 64}).registry.fontFormats, std::vector<std::uint8_t>{0});
  FontRegistry registry;
  NameTables names;
  OutputSink discard;
  FontDescriptor descriptor;
  for (const Bytes& block : {Bytes{0, 64, 12}, Header(68, 68, 20).bytes()}) {
    DescriptorReader reader{block};
    DecodeFontDescriptor(discard, reader, true, registry, names, descriptor);
  }
  EXPECT_EQ(registry.fontFormats, (std::vector<std::uint8_t>{12, 20}));
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

// --- Coded fields and derived values --------------------------------------

struct FieldCase {
  const char* what;
  int format;
  std::vector<std::pair<std::size_t, int>> bytes;  // offset, byte value
  std::string line;
};

// Each case sets a few bytes of a zeroed full header and expects one line.
void CheckFieldLines(const std::vector<FieldCase>& cases) {
  for (const FieldCase& c : cases) {
    SCOPED_TRACE(c.what);
    const std::size_t length = FullLength(c.format);
    HeaderBytes h = Header(length, static_cast<int>(length), c.format);
    for (const auto& [offset, value] : c.bytes) h.Byte(offset, value);
    const std::string listing = DecodeHeader(h.bytes()).listing;
    EXPECT_EQ(LineOf(listing, c.line.substr(0, 20)), c.line);
  }
}

// One case per name table (a name, the unknown text), the bounds of each
// table, the signedness of each number, and every field whose offset moves
// with the format.
TEST(FontDescriptorFields, OneLinePerField) {
  CheckFieldLines({
      {"format 255", 255, {}, "            Format : Unknown (255)"},
      {"type 1", 0, {{3, 1}}, "         Font type : Bound 8-bit (192 characters : 32-127 & 160-255)"},
      {"type 3 has an empty name", 0, {{3, 3}}, "         Font type : "},
      {"type 4", 0, {{3, 4}}, "         Font type : Unknown (4)"},
      // The style word: MSB at offset 4, LSB at 23 (LaserJet layout).
      {"0x0021 posture", 0, {{23, 0x21}}, "           Posture : Italic"},
      {"0x0021 structure", 0, {{23, 0x21}}, "         Structure : Outline"},
      {"width 7", 0, {{23, 7 << 2}}, "             Width : Extra Extended of Extra Expanded"},
      {"structure 8 needs the MSB", 0, {{4, 1}},
       "         Structure : Patterned (Complex patterns, subjective to type family)"},
      {"structure 17", 0, {{4, 2}, {23, 0x20}}, "         Structure : Inverse in Open Border"},
      {"bits above the structure are ignored", 0, {{4, 0xFC}}, "         Structure : Solid"},
      {"format 20 reads the same word", 20, {{4, 1}, {23, 0x01}}, "           Posture : Italic"},
      {"DeskJet italic", 9, {{23, 1}}, "             Style : Italic"},
      {"DeskJet style 3, MSB dropped", 5, {{4, 0xFF}, {23, 0xFF}}, "             Style : Unknown (3)"},
      {"orientation 4", 0, {{12, 4}}, "       Orientation : Unknown (4)"},
      {"spacing 2", 0, {{13, 2}}, "           Spacing : Unknown (2)"},
      {"cell width unsigned", 0, {{8, 0xFF}, {9, 0xFF}}, "        Cell Width : 65535"},
      {"symbol set 0D", 0, {{15, 4}}, "        Symbol set : ISO 60: Norwegian V.1"},
      {"symbol set 65535", 0, {{14, 0xFF}, {15, 0xFF}},
       "        Symbol set : *** Unknown symset name : ID = 65535"},
      {"underline distance signed", 0, {{30, 0xFC}}, "Underline distance : -4"},
      {"underline height unsigned", 0, {{31, 200}}, "  Underline height : 200"},
      {"text height", 0, {{32, 0xFF}, {33, 0xFF}}, "       Text height : 65535 (0xFFFF)"},
      {"DeskJet slant", 5, {{26, 200}}, "             Slant : 200"},
      {"width -5", 0, {{22, 0xFB}}, "        Width Type : Utlra Compressed"},
      {"width -1", 0, {{22, 0xFF}}, "        Width Type : Unknown (-1)"},
      {"width -128", 0, {{22, 0x80}}, "        Width Type : Unknown (-128)"},
      {"weight -7", 0, {{24, 0xF9}}, "     Stroke Weight : Ultra Thin"},
      {"weight 8", 0, {{24, 8}}, "     Stroke Weight : Out Of Range"},
      {"weight -8", 0, {{24, 0xF8}}, "     Stroke Weight : Out Of Range"},
      {"typeface low byte first", 0, {{25, 0x05}, {26, 0x10}}, "   Typeface Family : CG Times"},
      {"typeface unknown", 0, {{25, 71}}, "   Typeface Family : *** Unknown typeface name : ID = 71"},
      {"DeskJet one-byte typeface, slant after it", 5, {{25, 0x05}, {26, 0x10}},
       "   Typeface Family : Times Roman"},
      {"serif 12", 0, {{27, 12}}, "       Serif Style : Script Broken Letter"},
      {"serif 13", 0, {{27, 13}}, "       Serif Style : *** Unknown"},
      {"serif 64", 0, {{27, 64}}, "       Serif Style : Sans Serif Square"},
      {"serif 65: the whole byte is looked up", 0, {{27, 65}}, "       Serif Style : *** Unknown"},
      {"quality 3", 0, {{28, 3}}, "           Quality : Unknown (3)"},
      {"placement -1", 0, {{29, 0xFF}}, "         Placement : Superior"},
      {"placement -2", 0, {{29, 0xFE}}, "         Placement : Unknown (-2)"},
      {"bold method 1", 9, {{84, 1}}, "       Bold Method : Dark bold"},
      {"bold method 2", 5, {{84, 2}}, "       Bold Method : Unknown (2)"},
      {"double underline signed", 5, {{68, 0x80}}, "    Top Dbl UL Pos : -128"},
      {"master underline position unsigned", 15, {{66, 0x80}}, "     Master UL Pos : 32768"},
  });
}

// Pitch, height, xHeight and cap height, from their words and extensions.
TEST(FontDescriptorFields, DerivedValues) {
  const struct {
    const char* what;
    int format;
    int pitch, pitchExtended, height, heightExtended, xHeight, capHeight;
    const char *pitchText, *heightText, *xHeightText, *capText;
  } cases[] = {
      {"all zero", 0, 0, 0, 0, 0, 0, 0, "0.00 cpi", "0.00 points", "0 dots", "%0.00"},
      {"plain values", 0, 480, 0, 200, 0, 7, 65535, "2.50 cpi", "12.00 points", "1 dots", "%100.00"},
      // 64 / 256 of the height unit is 0.015000234 points with the constant in
      // use, which rounds up; with 0.06 / 256 it would round down.
      {"extended only", 0, 0, 128, 0, 64, 0xFFFF, 32768, "2400.00 cpi", "0.02 points", "16383 dots", "%50.00"},
      {"both parts", 0, 120, 128, 40, 128, 8, 655, "9.96 cpi", "2.43 points", "2 dots", "%1.00"},
      {"largest", 20, 1, 0, 0xFFFF, 255, 3, 1, "1200.00 cpi", "3932.16 points", "0 dots", "%0.00"},
      {"DeskJet ignores the extensions", 5, 0, 128, 0, 64, 0, 0, "0.00 cpi", "0.00 points", "0 dots", "%0.00"},
      {"format 9", 9, 120, 128, 200, 255, 4, 65535, "10.00 cpi", "12.00 points", "1 dots", "%100.00"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::size_t extensions = c.format == 12 ? 42 : 40;  // pitch and height extended, cap height
    const std::size_t length = FullLength(c.format);
    HeaderBytes h = Header(length, static_cast<int>(length), c.format);
    h.Word(16, c.pitch).Word(18, c.height).Word(20, c.xHeight);
    h.Byte(extensions, c.pitchExtended).Byte(extensions + 1, c.heightExtended).Word(extensions + 2, c.capHeight);
    const std::string listing = DecodeHeader(h.bytes()).listing;
    EXPECT_EQ(LineOf(listing, "             Pitch : "), std::string("             Pitch : ") + c.pitchText);
    EXPECT_EQ(LineOf(listing, "            Height : "), std::string("            Height : ") + c.heightText);
    EXPECT_EQ(LineOf(listing, "           xHeight : "), std::string("           xHeight : ") + c.xHeightText);
    EXPECT_EQ(LineOf(listing, "        Cap height : "), std::string("        Cap height : ") + c.capText);
  }
}

// --- Field offsets and cuts --------------------------------------------------

// A TrueType header of distinct bytes (none 0, so the name has no NUL) cut
// at field boundaries: a field wholly inside the block holds its bytes, one
// cut in two holds its first bytes in its high end, one past the end is 0,
// and so is every field the format does not carry.
TEST(FontDescriptorLayout, CutAtFieldBoundaries) {
  HeaderBytes h(72);
  for (std::size_t i = 0; i < 72; ++i) h.Byte(i, static_cast<int>(1 + (i * 37) % 251));
  const Bytes full = h.Word(0, 0xFFF0).Byte(2, 15).bytes();  // a descriptor size beyond the block: no notice
  for (const std::size_t cut : {0u, 1u, 3u, 5u, 17u, 24u, 26u, 27u, 45u, 49u, 63u, 64u, 65u, 71u, 72u}) {
    SCOPED_TRACE(testing::Message() << "cut at " << cut);
    const auto byte = [&](std::size_t at) { return std::uint32_t{at < cut ? full[at] : 0u}; };
    const auto word = [&](std::size_t at) { return byte(at) << 8 | byte(at + 1); };
    const FontDescriptor d = DecodeHeader(Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut))).descriptor;
    EXPECT_EQ(d.descriptorSize, word(0));
    EXPECT_EQ(d.headerFormat, byte(2));
    EXPECT_EQ(d.baselinePosition, word(6));
    EXPECT_EQ(d.height, word(18));
    EXPECT_EQ(d.style, byte(4) << 8 | byte(23));
    EXPECT_EQ(d.typeface, byte(26) << 8 | byte(25));  // low byte first
    EXPECT_EQ(d.lastCode, word(38));
    EXPECT_EQ(d.fontNumber, word(44) << 16 | word(46));
    EXPECT_EQ(d.fontName, std::string(full.begin() + 48, full.begin() + std::clamp<std::ptrdiff_t>(cut, 48, 64)));
    EXPECT_EQ(d.scaleFactor, cut > 2 ? word(64) : 0u);
    EXPECT_EQ(d.variety, cut > 2 ? byte(71) : 0u);
    EXPECT_EQ(d.xResolution, 0u);
    EXPECT_EQ(d.horizontalPixelResolution, 0u);
    EXPECT_EQ(d.notice, "");
  }
}

// --- Notice text --------------------------------------------------------------

// Formats 0, 20 and unknown ones: the bytes past the descriptor size, read
// from where the fields ended; their count comes from the sizes, so where
// the block has fewer bytes from there the notice keeps NULs (listed as
// blanks).
TEST(FontDescriptorNotice, TrailingNotice) {
  const std::string letters = "abcdefghijklmnopqrstuvwxyz";
  std::string longText;
  for (int i = 0; i < 30; ++i) longText += letters;  // 780 bytes
  const struct {
    const char* what;
    HeaderBytes header;
    std::string notice;
  } cases[] = {
      {"20 bytes past 64", Header(64, 64, 0).Append("Copr.\x01" "1992 Acme\xFF" "Ltd."),
       "Copr.\x01" "1992 Acme\xFF" "Ltd."},
      {"block shorter than the descriptor size", Header(64, 100, 0).Append("abc"), ""},
      {"at most 511 bytes", Header(64, 64, 0).Append(longText), longText.substr(0, 511)},
      {"format 20 reads from 68", Header(68, 68, 20).Append("notice"), "notice"},
      {"unknown format", Header(64, 64, 99).Append("xyz"), "xyz"},
      {"descriptor size past 64: read from 64", Header(64, 70, 0).Text(64, "0123456789"), "0123"},
      {"descriptor size short of the fields: NULs where the block ended", Header(68, 60, 20).Append("ab"),
       std::string("ab\0\0\0\0\0\0\0\0", 10)},
      {"descriptor size 0", Header(64, 0, 0).Append(longText), longText.substr(0, 511)},
      {"format 12 has none", Header(94, 94, 12).Append("text"), ""},
      {"format 15 has none", Header(72, 72, 15).Append("text"), ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const DecodedHeader got = DecodeHeader(c.header.bytes());
    EXPECT_EQ(got.descriptor.notice, c.notice);
    EXPECT_EQ(got.descriptor.noticeLength, c.notice.size());
  }
}

// The Copyright line shows every notice byte, control codes, bytes from
// 0x80 and the NULs of a notice cut short as blanks.
TEST(FontDescriptorNotice, CopyrightLine) {
  const DecodedHeader got = DecodeHeader(Header(68, 60, 20).Append("(c)\x1b\x7f\x80z").bytes());
  EXPECT_EQ(LineOf(got.listing, "         Copyright : "), "         Copyright : (c) \x7f z        ");
}

// Formats 10 and 11: the global data size sits at the descriptor size less
// 2, the global data follows, and the notice is what is left but for the 2
// closing bytes. Both sizes may lie.
TEST(FontDescriptorNotice, IntellifontTail) {
  const struct {
    const char* what;
    HeaderBytes header;
    std::uint16_t globalDataSize;
    std::string notice;
  } cases[] = {
      {"data, notice, closing bytes", Header(80, 80, 10).Word(78, 3).Append("GGG").Append("Notice").Append(2, 9), 3,
       "Notice"},
      {"only the closing bytes left", Header(80, 80, 10).Word(78, 3).Append("GGG").Append(2, 9), 3, ""},
      {"global data runs past the block", Header(80, 80, 10).Word(78, 1000).Append("not a notice"), 1000, ""},
      {"global data size 65535", Header(80, 80, 10).Word(78, 0xFFFF).Append("not a notice"), 0xFFFF, ""},
      {"size field cut after one byte", Header(79, 80, 10).Byte(78, 0x12), 0x1200, ""},
      {"descriptor size 0xFFFF: nothing past the skip", Header(100, 0xFFFF, 10).Append("text"), 0, ""},
      {"descriptor size short of 66: no skip back, size read at 64",
       Header(64, 30, 11).Word(64, 2).Append("GG").Append("Back").Append(2, 9), 2, "Back"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const DecodedHeader got = DecodeHeader(c.header.bytes());
    EXPECT_EQ(got.descriptor.printerBlockSize, c.globalDataSize);
    EXPECT_EQ(got.descriptor.notice, c.notice);
    EXPECT_EQ(got.descriptor.noticeLength, c.notice.size());
    EXPECT_EQ(got.listing.find("Ptr Spef. Block Sz"), std::string::npos);  // not listed for these formats
  }
}

// --- Real jobs ---------------------------------------------------------------

// Font headers written by real drivers (dvilj4 at 600 dpi: format 20; dvilj
// for the first LaserJet: format 0), cut out of the jobs by a scanner of its
// own; the fields are held against the bytes at their offsets.
std::vector<Bytes> FontHeaders(std::string_view job) {
  std::vector<Bytes> headers;
  for (const FontCommand& c : ScanFontCommands(job)) {
    if (c.kind == 'H') headers.push_back(DataOf(job, c));
  }
  return headers;
}

// The fields the drivers fill, straight from the bytes.
void CheckAgainstBytes(const Bytes& header, const DecodedHeader& got) {
  const FontDescriptor& d = got.descriptor;
  ASSERT_GE(header.size(), 64u);
  EXPECT_EQ(d.descriptorSize, WordAt(header, 0));
  EXPECT_EQ(d.headerFormat, header[2]);
  EXPECT_EQ(d.fontType, header[3]);
  EXPECT_EQ(d.baselinePosition, WordAt(header, 6));
  EXPECT_EQ(d.cellWidth, WordAt(header, 8));
  EXPECT_EQ(d.cellHeight, WordAt(header, 10));
  EXPECT_EQ(d.spacing, header[13]);
  EXPECT_EQ(d.symbolSet, WordAt(header, 14));
  EXPECT_EQ(d.pitch, WordAt(header, 16));
  EXPECT_EQ(d.height, WordAt(header, 18));
  EXPECT_EQ(d.firstCode, WordAt(header, 36));
  EXPECT_EQ(d.lastCode, WordAt(header, 38));
  EXPECT_EQ(d.fontName, std::string(header.begin() + 48, header.begin() + 64));  // 16 blanks, no NUL
  if (header[2] == 20) {
    ASSERT_GE(header.size(), 68u);
    EXPECT_EQ(d.xResolution, WordAt(header, 64));
    EXPECT_EQ(d.yResolution, WordAt(header, 66));
  }
  EXPECT_EQ(d.noticeLength, 0);  // each block is exactly its descriptor size
  EXPECT_EQ(LineOf(got.listing, "        Cell Width : "), "        Cell Width : " + std::to_string(WordAt(header, 8)));
  EXPECT_EQ(LineOf(got.listing, "        Symbol set : "), "        Symbol set : Roman-8");
}

TEST(FontDescriptorRealJobs, DriverHeadersAgainstTheirBytes) {
  const struct {
    const char* job;
    std::size_t headers;
    std::uint8_t format;
  } cases[] = {
      {"realjobs/data/dvilj4-hello.pcl", 2, 20},
      {"fonts/data/dvilj4-fonts.pcl", 8, 20},
      {"fonts/data/dvilj-fonts.pcl", 8, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.job);
    const std::string job = ReadFile(TestDir() / c.job);
    const std::vector<Bytes> headers = FontHeaders(job);
    ASSERT_EQ(headers.size(), c.headers);
    for (const Bytes& header : headers) {
      ASSERT_EQ(header[2], c.format);
      const DecodedHeader got = DecodeHeader(header);
      CheckAgainstBytes(header, got);
      EXPECT_EQ(got.registry.fontFormats, std::vector<std::uint8_t>{c.format});
    }
  }
}

}  // namespace
}  // namespace veltrix::test
