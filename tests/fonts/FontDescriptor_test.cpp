// Font headers: whole listings of hand-made headers, coded fields and
// derived values, a header cut short, the notice rules, and driver headers
// held against their bytes.
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

// A descriptor size of 26 or less ends the listing after the typeface, with
// no blank line, whatever the block holds.
TEST(FontDescriptorListing, ShortDescriptorSizeEndsAfterTypeface) {
  const struct {
    int size, format;
    bool full;
  } cases[] = {{26, 0, false}, {0, 0, false}, {26, 12, false}, {27, 0, true}, {27, 5, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "size " << c.size << " format " << c.format);
    HeaderBytes h = Header(FullLength(c.format), c.size, c.format);
    h.Byte(c.format == 12 ? 26 : 25, 3);  // typeface 3, low byte
    const std::string listing = DecodeHeader(h.bytes()).listing;
    const std::string typeface = "   Typeface Family : Courier\n";
    EXPECT_NE(listing.find(typeface), std::string::npos);
    EXPECT_EQ(listing.ends_with("\n" + typeface), !c.full) << listing;
  }
}

// Every decode starts from a cleared record: nothing of a long header is
// left in the record of a short one that follows. The list flag only steers
// the listing; the format reaches the registry as soon as it is read.
TEST(FontDescriptorDecode, RecordClearedBetweenHeaders) {
  FontRegistry registry;
  NameTables names;
  std::string listing;
  OutputSink discard(&listing);
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
  EXPECT_EQ(descriptor.noticeLength, 0);
  EXPECT_EQ(descriptor.cellWidth, 0);
  EXPECT_EQ(registry.fontFormats, (std::vector<std::uint8_t>{20}));
  EXPECT_EQ(registry.currentFontFormat, 20);
  discard.Flush();
  EXPECT_EQ(listing, "");
  EXPECT_EQ(DecodeHeader({0, 64}).registry.fontFormats, std::vector<std::uint8_t>{0});
}

// --- Coded fields and derived values --------------------------------------

struct FieldCase {
  const char* what;
  int format;
  std::vector<std::pair<std::size_t, int>> bytes;  // offset, byte value
  std::string line;
};

// Each case sets a few bytes of a zeroed full header and expects one line:
// table bounds and unknown texts, signedness, and offsets that move with
// the format.
TEST(FontDescriptorFields, OneLinePerField) {
  const FieldCase cases[] = {
      {"format 255", 255, {}, "            Format : Unknown (255)"},
      {"type 3 has an empty name", 0, {{3, 3}}, "         Font type : "},
      // The style word: MSB at offset 4, LSB at 23 (LaserJet layout).
      {"width 7", 0, {{23, 7 << 2}}, "             Width : Extra Extended of Extra Expanded"},
      {"structure 8 needs the MSB", 0, {{4, 1}},
       "         Structure : Patterned (Complex patterns, subjective to type family)"},
      {"bits above the structure are ignored", 0, {{4, 0xFC}}, "         Structure : Solid"},
      {"DeskJet italic", 9, {{23, 1}}, "             Style : Italic"},
      {"DeskJet style 3, MSB dropped", 5, {{4, 0xFF}, {23, 0xFF}}, "             Style : Unknown (3)"},
      {"symbol set 65535", 0, {{14, 0xFF}, {15, 0xFF}},
       "        Symbol set : *** Unknown symset name : ID = 65535"},
      {"underline distance signed", 0, {{30, 0xFC}}, "Underline distance : -4"},
      {"DeskJet slant", 5, {{26, 200}}, "             Slant : 200"},
      {"width -5", 0, {{22, 0xFB}}, "        Width Type : Utlra Compressed"},
      {"width -1", 0, {{22, 0xFF}}, "        Width Type : Unknown (-1)"},
      {"weight -8", 0, {{24, 0xF8}}, "     Stroke Weight : Out Of Range"},
      {"typeface low byte first", 0, {{25, 0x05}, {26, 0x10}}, "   Typeface Family : CG Times"},
      {"typeface unknown", 0, {{25, 71}}, "   Typeface Family : *** Unknown typeface name : ID = 71"},
      {"DeskJet one-byte typeface, slant after it", 5, {{25, 0x05}, {26, 0x10}},
       "   Typeface Family : Times Roman"},
      {"serif 13", 0, {{27, 13}}, "       Serif Style : *** Unknown"},
      {"serif 65: the whole byte is looked up", 0, {{27, 65}}, "       Serif Style : *** Unknown"},
      {"quality 3", 0, {{28, 3}}, "           Quality : Unknown (3)"},
      {"placement -2", 0, {{29, 0xFE}}, "         Placement : Unknown (-2)"},
      {"bold method 2", 5, {{84, 2}}, "       Bold Method : Unknown (2)"},
      {"double underline signed", 5, {{68, 0x80}}, "    Top Dbl UL Pos : -128"},
      {"master underline position unsigned", 15, {{66, 0x80}}, "     Master UL Pos : 32768"},
      {"TrueType scale factor", 15, {{64, 0x08}}, "      Scale Factor : 2048"},
      {"TrueType scale technology", 15, {{70, 1}}, "   Font Scale Tech : 1"},
  };
  for (const FieldCase& c : cases) {
    SCOPED_TRACE(c.what);
    HeaderBytes h = Header(FullLength(c.format), static_cast<int>(FullLength(c.format)), c.format);
    for (const auto& [offset, value] : c.bytes) h.Byte(offset, value);
    EXPECT_EQ(LineOf(DecodeHeader(h.bytes()).listing, c.line.substr(0, 20)), c.line);
  }
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
      // 64 / 256 of the height unit is 0.015000234 points with the constant in
      // use, which rounds up; with 0.06 / 256 it would round down.
      {"extended only", 0, 0, 128, 0, 64, 0xFFFF, 32768, "2400.00 cpi", "0.02 points", "16383 dots", "%50.00"},
      {"both parts", 0, 120, 128, 40, 128, 8, 655, "9.96 cpi", "2.43 points", "2 dots", "%1.00"},
      {"DeskJet ignores the extensions", 5, 0, 128, 0, 64, 0, 0, "0.00 cpi", "0.00 points", "0 dots", "%0.00"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    HeaderBytes h = Header(FullLength(c.format), static_cast<int>(FullLength(c.format)), c.format);
    h.Word(16, c.pitch).Word(18, c.height).Word(20, c.xHeight);  // extended at 40 and 41, cap height at 42
    h.Byte(40, c.pitchExtended).Byte(41, c.heightExtended).Word(42, c.capHeight);
    const std::string listing = DecodeHeader(h.bytes()).listing;
    for (const auto& [label, text] : {std::pair{"             Pitch : ", c.pitchText}, {"            Height : ", c.heightText},
                                      {"           xHeight : ", c.xHeightText}, {"        Cap height : ", c.capText}}) {
      EXPECT_EQ(LineOf(listing, label), std::string(label) + text);
    }
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
  for (const std::size_t cut : {0u, 1u, 3u, 17u, 26u, 45u, 49u, 65u, 72u}) {
    SCOPED_TRACE(testing::Message() << "cut at " << cut);
    const auto byte = [&](std::size_t at) { return std::uint32_t{at < cut ? full[at] : 0u}; };
    const auto word = [&](std::size_t at) { return byte(at) << 8 | byte(at + 1); };
    const FontDescriptor d = DecodeHeader(Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut))).descriptor;
    EXPECT_EQ(d.descriptorSize, word(0));
    EXPECT_EQ(d.headerFormat, byte(2));
    EXPECT_EQ(d.style, byte(4) << 8 | byte(23));
    EXPECT_EQ(d.typeface, byte(26) << 8 | byte(25));  // low byte first
    EXPECT_EQ(d.fontNumber, word(44) << 16 | word(46));
    EXPECT_EQ(d.fontName, std::string(full.begin() + 48, full.begin() + std::clamp<std::ptrdiff_t>(cut, 48, 64)));
    EXPECT_EQ(d.scaleFactor, cut > 2 ? word(64) : 0u);
    EXPECT_EQ(d.variety, cut > 2 ? byte(71) : 0u);
    EXPECT_EQ(d.xResolution, 0u);
    EXPECT_EQ(d.notice, "");
  }
}

// --- Notice text --------------------------------------------------------------

// Formats 0, 20 and unknown ones (TrueType has none): the bytes past the descriptor size, read
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
      {"block shorter than the descriptor size", Header(64, 100, 0).Append("abc"), ""},
      {"at most 511 bytes", Header(64, 64, 0).Append(longText), longText.substr(0, 511)},
      {"format 20 reads from 68", Header(68, 68, 20).Append("notice"), "notice"},
      {"TrueType has none however long the block", Header(72, 72, 15).Append("(c) extra bytes"), ""},
      {"descriptor size past 64: read from 64", Header(64, 70, 0).Text(64, "0123456789"), "0123"},
      {"descriptor size short of the fields: NULs where the block ended", Header(68, 60, 20).Append("ab"),
       std::string("ab\0\0\0\0\0\0\0\0", 10)},
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
      {"global data runs past the block", Header(80, 80, 10).Word(78, 1000).Append("not a notice"), 1000, ""},
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

// Font headers written by real drivers (dvilj4 at 600 dpi: format 20; dvilj:
// format 0), found by the tests' own scan; fields against their offsets.
TEST(FontDescriptorRealJobs, DriverHeadersAgainstTheirBytes) {
  for (const auto& [path, format] : {std::pair{"realjobs/data/dvilj4-hello.pcl", 20}, {"fonts/data/dvilj-fonts.pcl", 0}}) {
    SCOPED_TRACE(path);
    const std::string job = ReadFile(TestDir() / path);
    int headers = 0;
    for (const FontCommand& c : ScanFontCommands(job)) {
      if (c.kind != 'H') continue;
      const Bytes h = DataOf(job, c);
      ASSERT_GE(h.size(), format == 20 ? 68u : 64u);
      ASSERT_EQ(h[2], format);
      ++headers;
      const DecodedHeader got = DecodeHeader(h);
      const FontDescriptor& d = got.descriptor;
      EXPECT_EQ(d.descriptorSize, WordAt(h, 0));
      EXPECT_EQ(d.fontType, h[3]);
      EXPECT_EQ(d.baselinePosition, WordAt(h, 6));
      EXPECT_EQ(d.cellHeight, WordAt(h, 10));
      EXPECT_EQ(d.spacing, h[13]);
      EXPECT_EQ(d.symbolSet, WordAt(h, 14));
      EXPECT_EQ(d.height, WordAt(h, 18));
      EXPECT_EQ(d.lastCode, WordAt(h, 38));
      EXPECT_EQ(d.fontName, std::string(h.begin() + 48, h.begin() + 64));  // 16 blanks, no NUL
      EXPECT_EQ(d.yResolution, format == 20 ? WordAt(h, 66) : 0);
      EXPECT_EQ(d.noticeLength, 0);  // each block is exactly its descriptor size
      EXPECT_EQ(LineOf(got.listing, "        Cell Width : "), "        Cell Width : " + std::to_string(WordAt(h, 8)));
    }
    EXPECT_GE(headers, 2);
  }
}

}  // namespace
}  // namespace veltrix::test
