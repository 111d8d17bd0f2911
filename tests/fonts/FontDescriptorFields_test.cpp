// The name of every coded field of a font header, and the values the
// listing derives: pitch, height, xHeight and cap height. Each case sets a
// few bytes of an otherwise zero header and expects one line, written out
// here from the listing's fixed texts.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "FontDescriptorTestSupport.h"

namespace veltrix::test {
namespace {

// --- Coded fields ------------------------------------------------------------

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

TEST(FontDescriptorFields, FormatAndFontType) {
  CheckFieldLines({
      {"format 0", 0, {}, "            Format : Laserjet Bitmap"},
      {"format 5", 5, {}, "            Format : Deskjet Bitmap"},
      {"format 9", 9, {}, "            Format : Deskjet Plus Bitmap"},
      {"format 10", 10, {}, "            Format : Intellifont Bound Scalable"},
      {"format 11", 11, {}, "            Format : Intellifont Unbound Scalable"},
      {"format 12", 12, {}, "            Format : Deskjet 500 Bitmap"},
      {"format 15", 15, {}, "            Format : TrueType Scalable"},
      {"format 16", 16, {}, "            Format : TrueType Universal Type 16"},
      {"format 20", 20, {}, "            Format : Resolution Specified Bitmap"},
      {"format 1", 1, {}, "            Format : Unknown (1)"},
      {"format 255", 255, {}, "            Format : Unknown (255)"},
      {"type 0", 0, {{3, 0}}, "         Font type : Bound 7-bit (96 characters : 32-127)"},
      {"type 1", 0, {{3, 1}}, "         Font type : Bound 8-bit (192 characters : 32-127 & 160-255)"},
      {"type 2", 0, {{3, 2}}, "         Font type : Bound 8-bit (256 characters : 0-255)"},
      {"type 3 has an empty name", 0, {{3, 3}}, "         Font type : "},
      {"type 10", 0, {{3, 10}}, "         Font type : Unbound Intellifont"},
      {"type 11", 0, {{3, 11}}, "         Font type : Unbound TrueType"},
      {"type 4", 0, {{3, 4}}, "         Font type : Unknown (4)"},
  });
}

// The style word: MSB at offset 4, LSB at 23 (LaserJet layout).
TEST(FontDescriptorFields, StyleWord) {
  CheckFieldLines({
      {"0x0021 posture", 0, {{23, 0x21}}, "           Posture : Italic"},
      {"0x0021 width", 0, {{23, 0x21}}, "             Width : Normal"},
      {"0x0021 structure", 0, {{23, 0x21}}, "         Structure : Outline"},
      {"posture 2", 0, {{23, 2}}, "           Posture : Alternate Italic"},
      {"posture 3", 0, {{23, 3}}, "           Posture : Reserved"},
      {"width 1", 0, {{23, 1 << 2}}, "             Width : Condensed"},
      {"width 2", 0, {{23, 2 << 2}}, "             Width : Compressed or Extra Condensed"},
      {"width 3", 0, {{23, 3 << 2}}, "             Width : Extra Compressed"},
      {"width 4", 0, {{23, 4 << 2}}, "             Width : Ultra Compressed"},
      {"width 5", 0, {{23, 5 << 2}}, "             Width : Reserved"},
      {"width 6", 0, {{23, 6 << 2}}, "             Width : Extended or Expanded"},
      {"width 7", 0, {{23, 7 << 2}}, "             Width : Extra Extended of Extra Expanded"},
      {"structure 2", 0, {{23, 2 << 5}}, "         Structure : Inline"},
      {"structure 3", 0, {{23, 3 << 5}}, "         Structure : Contour"},
      {"structure 4", 0, {{23, 4 << 5}}, "         Structure : Solid with Shadow"},
      {"structure 5", 0, {{23, 5 << 5}}, "         Structure : Outline with Shadow"},
      {"structure 6", 0, {{23, 6 << 5}}, "         Structure : Inline with Shadow"},
      {"structure 7", 0, {{23, 7 << 5}}, "         Structure : Contour with Shadow"},
      {"structure 8 needs the MSB", 0, {{4, 1}},
       "         Structure : Patterned (Complex patterns, subjective to type family)"},
      {"structure 11", 0, {{4, 1}, {23, 0x60}},
       "         Structure : Patterned (Complex patterns, subjective to type family)"},
      {"structure 12", 0, {{4, 1}, {23, 0x80}}, "         Structure : Patterned with Shadow"},
      {"structure 15", 0, {{4, 1}, {23, 0xE0}}, "         Structure : Patterned with Shadow"},
      {"structure 16", 0, {{4, 2}}, "         Structure : Inverse"},
      {"structure 17", 0, {{4, 2}, {23, 0x20}}, "         Structure : Inverse in Open Border"},
      {"structure 18", 0, {{4, 2}, {23, 0x40}}, "         Structure : Reserved"},
      {"structure 31", 0, {{4, 3}, {23, 0xE0}}, "         Structure : Reserved"},
      {"bits above the structure are ignored", 0, {{4, 0xFC}}, "         Structure : Solid"},
      {"format 20 reads the same word", 20, {{4, 1}, {23, 0x01}}, "           Posture : Italic"},
      {"DeskJet upright", 5, {}, "             Style : Upright"},
      {"DeskJet italic", 9, {{23, 1}}, "             Style : Italic"},
      {"DeskJet style 2", 5, {{23, 2}}, "             Style : Unknown (2)"},
      {"DeskJet style 3, MSB dropped", 5, {{4, 0xFF}, {23, 0xFF}}, "             Style : Unknown (3)"},
      {"format 12 style word", 12, {{23, 0x01}, {24, 0x02}}, "             Style : Unknown (2)"},
  });
}

TEST(FontDescriptorFields, LayoutAndSpacing) {
  CheckFieldLines({
      {"orientation 0", 0, {{12, 0}}, "       Orientation : 0 - Portrait"},
      {"orientation 1", 0, {{12, 1}}, "       Orientation : 90 - Landscape"},
      {"orientation 2", 0, {{12, 2}}, "       Orientation : 180 - Reverse portrait"},
      {"orientation 3", 0, {{12, 3}}, "       Orientation : 270 - Reverse landscape"},
      {"orientation 4", 0, {{12, 4}}, "       Orientation : Unknown (4)"},
      {"orientation 255", 0, {{12, 255}}, "       Orientation : Unknown (255)"},
      {"spacing 0", 0, {{13, 0}}, "           Spacing : Fixed"},
      {"spacing 1", 0, {{13, 1}}, "           Spacing : Proportional"},
      {"spacing 2", 0, {{13, 2}}, "           Spacing : Unknown (2)"},
      {"cell width unsigned", 0, {{8, 0xFF}, {9, 0xFF}}, "        Cell Width : 65535"},
      {"cell height", 0, {{10, 0x01}, {11, 0x02}}, "       Cell Height : 258"},
      {"baseline", 0, {{6, 0x80}, {7, 0x00}}, " Baseline Distance : 32768"},
      {"symbol set 8U", 0, {{14, 0x01}, {15, 0x15}}, "        Symbol set : Roman-8"},
      {"symbol set 0D", 0, {{15, 4}}, "        Symbol set : ISO 60: Norwegian V.1"},
      {"symbol set 3Z", 0, {{15, 122}}, "        Symbol set : *** Unknown symset name : ID = 122"},
      {"symbol set 65535", 0, {{14, 0xFF}, {15, 0xFF}},
       "        Symbol set : *** Unknown symset name : ID = 65535"},
      {"underline distance signed", 0, {{30, 0xFC}}, "Underline distance : -4"},
      {"underline height unsigned", 0, {{31, 200}}, "  Underline height : 200"},
      {"text height", 0, {{32, 0xFF}, {33, 0xFF}}, "       Text height : 65535 (0xFFFF)"},
      {"text width", 0, {{35, 0x0A}}, "        Text width : 10 (0x0A)"},
      {"first code", 0, {{37, 5}}, "        First code : 5 (0x05)"},
      {"last code", 0, {{38, 1}, {39, 0}}, "         Last code : 256 (0x100)"},
      {"DeskJet slant", 5, {{26, 200}}, "             Slant : 200"},
      {"format 12 slant", 12, {{28, 15}}, "             Slant : 15"},
  });
}

TEST(FontDescriptorFields, WidthTypeWeightAndTypeface) {
  CheckFieldLines({
      {"width -5", 0, {{22, 0xFB}}, "        Width Type : Utlra Compressed"},
      {"width -4", 0, {{22, 0xFC}}, "        Width Type : Extra Compressed"},
      {"width -3", 0, {{22, 0xFD}}, "        Width Type : Compressed of Extra Condensed"},
      {"width -2", 0, {{22, 0xFE}}, "        Width Type : Condensed"},
      {"width -1", 0, {{22, 0xFF}}, "        Width Type : Unknown (-1)"},
      {"width 0", 0, {{22, 0}}, "        Width Type : Normal"},
      {"width 1", 0, {{22, 1}}, "        Width Type : Unknown (1)"},
      {"width 2", 0, {{22, 2}}, "        Width Type : Expanded"},
      {"width 3", 0, {{22, 3}}, "        Width Type : Extra Expanded"},
      {"width -128", 0, {{22, 0x80}}, "        Width Type : Unknown (-128)"},
      {"weight -7", 0, {{24, 0xF9}}, "     Stroke Weight : Ultra Thin"},
      {"weight -6", 0, {{24, 0xFA}}, "     Stroke Weight : Extra Thin"},
      {"weight -5", 0, {{24, 0xFB}}, "     Stroke Weight : Thin"},
      {"weight -4", 0, {{24, 0xFC}}, "     Stroke Weight : Extra Light"},
      {"weight -3", 0, {{24, 0xFD}}, "     Stroke Weight : Light"},
      {"weight -2", 0, {{24, 0xFE}}, "     Stroke Weight : Demi Light"},
      {"weight -1", 0, {{24, 0xFF}}, "     Stroke Weight : Semi Light"},
      {"weight 0", 0, {{24, 0}}, "     Stroke Weight : Medium, Book or Text"},
      {"weight 1", 0, {{24, 1}}, "     Stroke Weight : Semi Bold"},
      {"weight 2", 0, {{24, 2}}, "     Stroke Weight : Demi Bold"},
      {"weight 3", 0, {{24, 3}}, "     Stroke Weight : Bold"},
      {"weight 4", 0, {{24, 4}}, "     Stroke Weight : Extra Bold"},
      {"weight 5", 0, {{24, 5}}, "     Stroke Weight : Black"},
      {"weight 6", 0, {{24, 6}}, "     Stroke Weight : Extra Black"},
      {"weight 7", 0, {{24, 7}}, "     Stroke Weight : Ultra Black"},
      {"weight 8", 0, {{24, 8}}, "     Stroke Weight : Out Of Range"},
      {"weight -8", 0, {{24, 0xF8}}, "     Stroke Weight : Out Of Range"},
      {"format 12 weight at 25", 12, {{25, 0xFF}}, "     Stroke Weight : Semi Light"},
      {"typeface low byte first", 0, {{25, 0x05}, {26, 0x10}}, "   Typeface Family : CG Times"},
      {"typeface 16602", 0, {{25, 0xDA}, {26, 0x40}}, "   Typeface Family : Arial"},
      {"typeface unknown", 0, {{25, 71}}, "   Typeface Family : *** Unknown typeface name : ID = 71"},
      {"DeskJet one-byte typeface, slant after it", 5, {{25, 0x05}, {26, 0x10}},
       "   Typeface Family : Times Roman"},
      {"format 12 typeface at 26-27", 12, {{26, 0xDA}, {27, 0x40}}, "   Typeface Family : Arial"},
  });
}

TEST(FontDescriptorFields, SerifQualityPlacementBoldMethod) {
  CheckFieldLines({
      {"serif 0", 0, {{27, 0}}, "       Serif Style : Sans Serif Square"},
      {"serif 1", 0, {{27, 1}}, "       Serif Style : Sans Serif Round"},
      {"serif 2", 0, {{27, 2}}, "       Serif Style : Serif Line"},
      {"serif 3", 0, {{27, 3}}, "       Serif Style : Serif Triangle"},
      {"serif 4", 0, {{27, 4}}, "       Serif Style : Serif Swath"},
      {"serif 5", 0, {{27, 5}}, "       Serif Style : Serif Block"},
      {"serif 6", 0, {{27, 6}}, "       Serif Style : Serif Bracket"},
      {"serif 7", 0, {{27, 7}}, "       Serif Style : Rounded Bracket"},
      {"serif 8", 0, {{27, 8}}, "       Serif Style : Flair Serif, Modified Sans"},
      {"serif 9", 0, {{27, 9}}, "       Serif Style : Script Nonconnecting"},
      {"serif 10", 0, {{27, 10}}, "       Serif Style : Script Joining"},
      {"serif 11", 0, {{27, 11}}, "       Serif Style : Script Calligraphic"},
      {"serif 12", 0, {{27, 12}}, "       Serif Style : Script Broken Letter"},
      {"serif 13", 0, {{27, 13}}, "       Serif Style : *** Unknown"},
      {"serif 64", 0, {{27, 64}}, "       Serif Style : Sans Serif Square"},
      {"serif 128", 0, {{27, 128}}, "       Serif Style : Sans Serif Square"},
      {"serif 192", 0, {{27, 192}}, "       Serif Style : Sans Serif Square"},
      {"serif 65: the whole byte is looked up", 0, {{27, 65}}, "       Serif Style : *** Unknown"},
      {"format 12 serif at 29", 12, {{29, 2}}, "       Serif Style : Serif Line"},
      {"quality 0", 0, {{28, 0}}, "           Quality : Data processing"},
      {"quality 1", 0, {{28, 1}}, "           Quality : Near letter quality"},
      {"quality 2", 0, {{28, 2}}, "           Quality : Letter quality"},
      {"quality 3", 0, {{28, 3}}, "           Quality : Unknown (3)"},
      {"placement -1", 0, {{29, 0xFF}}, "         Placement : Superior"},
      {"placement 0", 0, {{29, 0}}, "         Placement : Normal"},
      {"placement 1", 0, {{29, 1}}, "         Placement : Inferior"},
      {"placement 2", 0, {{29, 2}}, "         Placement : Unknown (2)"},
      {"placement -2", 0, {{29, 0xFE}}, "         Placement : Unknown (-2)"},
      {"bold method 0", 5, {{84, 0}}, "       Bold Method : Light bold"},
      {"bold method 1", 9, {{84, 1}}, "       Bold Method : Dark bold"},
      {"bold method 2", 5, {{84, 2}}, "       Bold Method : Unknown (2)"},
      {"format 12 bold method at 86", 12, {{86, 1}}, "       Bold Method : Dark bold"},
      {"double underline signed", 5, {{68, 0x80}}, "    Top Dbl UL Pos : -128"},
      {"double underline height unsigned", 5, {{69, 0x80}}, " Top Dbl UL Height : 128"},
      {"master underline position unsigned", 15, {{66, 0x80}}, "     Master UL Pos : 32768"},
  });
}

// --- Derived values ----------------------------------------------------------

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
      {"format 12", 12, 120, 128, 200, 255, 4, 65535, "10.00 cpi", "12.00 points", "1 dots", "%100.00"},
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

}  // namespace
}  // namespace veltrix::test
