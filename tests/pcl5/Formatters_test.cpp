// The value formatters over whole jobs: the line each one writes after the
// escape header, and what it changes for the bytes and escapes that follow.
#include <gtest/gtest.h>

#include <memory>
#include <span>
#include <string>

#include "TestSupport.h"
#include "decode/DecodeStream.h"
#include "decode/RunState.h"
#include "pcl5/Pcl5Decoder.h"

namespace veltrix {
namespace {

using test::Decode;

const std::string E = "\x1b";

// An escape header padded to its 22 columns, then the rest of the line.
std::string L(const std::string& header, const std::string& rest) {
  return (header.size() >= 22 ? header : header + std::string(22 - header.size(), ' ')) + rest;
}

// The listing without the summaries that the flags asked for.
std::string Body(const std::string& listing) {
  return listing.substr(0, listing.find("\n===================================================\n"));
}

struct FormatterCase {
  const char* name;
  std::string job;
  std::string listing;
  std::uint32_t flags = test::kNoSummaries;
};

class Formatter : public ::testing::TestWithParam<FormatterCase> {};

TEST_P(Formatter, WritesItsLine) {
  const FormatterCase& c = GetParam();
  const std::string got = Body(Decode(c.job, c.flags).listing);
  EXPECT_EQ(got, c.listing) << test::FirstDifference(got, c.listing);
}

std::string CaseName(const ::testing::TestParamInfo<FormatterCase>& info) { return info.param.name; }

const FormatterCase kCursorMoves[] = {
    {"SignedIsRelative", E + "*p+300Y", L("[ ESC * p +300 Y ] ", "Relative Move of Y by PCL dot unit : +300\n")},
    {"UnsignedIsAbsolute", E + "*p300Y", L("[ ESC * p 300 Y ] ", "Absolute Move of Y by PCL dot unit : 300\n")},
    {"MinusIsRelative", E + "*p-12X", L("[ ESC * p -12 X ] ", "Relative Move of X by PCL dot unit : -12\n")},
    {"FractionTrimmed", E + "&a+1.50H",
     L("[ ESC & a +1.50 H ] ", "Relative Move of X position by decipoint : +1.5\n")},
    {"ZeroFractionDropped", E + "&a2.0R", L("[ ESC & a 2.0 R ] ", "Absolute Move of Y position by row : 2\n")},
    {"Column", E + "&a5C", L("[ ESC & a 5 C ] ", "Absolute Move of X position by Column : 5\n")},
    {"YDecipoint", E + "&a720V", L("[ ESC & a 720 V ] ", "Absolute Move of Y position by decipoint : 720\n")},
    {"CombinedXThenY", E + "*p0x0Y",
     L("[ ESC * p 0 x ] ", "Absolute Move of X by PCL dot unit : 0\n") +
         L("[ ESC * p 0 Y ] ", "Absolute Move of Y by PCL dot unit : 0\n")},
};
INSTANTIATE_TEST_SUITE_P(CursorMove, Formatter, ::testing::ValuesIn(kCursorMoves), CaseName);

const FormatterCase kPageCases[] = {
    {"PageSizeA3", E + "&l27A", L("[ ESC & l 27 A ] ", "Set Page Size : A3\n")},
    {"PageSizeAuxFeeder", E + "&l626A", L("[ ESC & l 626 A ] ", "Set Page Size : A4 - 100 sheet Aux feeder\n")},
    {"PageSizeUnknown", E + "&l5A", L("[ ESC & l 5 A ] ", "Set Page Size : *** Unknown ( 5 )\n")},
    {"Landscape", E + "&l1O", L("[ ESC & l 1 O ] ", "Paper Orientation : Landscape\n")},
    {"ReverseLandscape", E + "&l3O", L("[ ESC & l 3 O ] ", "Paper Orientation : Reverse Landscape\n")},
    {"OrientationPastList", E + "&l4O", L("[ ESC & l 4 O ] ", "Paper Orientation : *** Invalid value\n")},
    // The eject rule: only a change on a page with content ejects it.
    {"OrientationWithoutContentNoEject", E + "&l1O", L("[ ESC & l 1 O ] ", "Paper Orientation : Landscape\n"),
     DF_PAGE_SUM},
    {"OrientationChangeEjectsMarkedPage", "A" + E + "&l1OB" + E + "&l1OC",
     "A\n" + L("[ ESC & l 1 O ] ", "Paper Orientation : Landscape\n") + "[Page Eject offset 6 ]\nB\n" +
         L("[ ESC & l 1 O ] ", "Paper Orientation : Landscape\n") + "C\n[Page Eject offset 13 ]\n",
     DF_PAGE_SUM},
    {"InvalidOrientationNoEject", "A" + E + "&l7OB",
     "A\n" + L("[ ESC & l 7 O ] ", "Paper Orientation : *** Invalid value\n") + "B\n[Page Eject offset 7 ]\n",
     DF_PAGE_SUM},
    {"OutputTray", E + "&l1G", L("[ ESC & l 1 G ] ", "Select Output Tray : Upper Bin\n")},
    {"OutputTrayLastKey", E + "&l23G", L("[ ESC & l 23 G ] ", "Select Output Tray : Into Stacker\n")},
    {"OutputTrayUnknown", E + "&l4G", L("[ ESC & l 4 G ] ", "Select Output Tray : *** unknown value ( 4 )\n")},
    {"PaperSourceNegativeKey", E + "&l-1H", L("[ ESC & l -1 H ] ", "Select Paper Source : Tractor Feed\n")},
    {"PaperSourcePlusKeepsKey", E + "&l+4H", L("[ ESC & l +4 H ] ", "Select Paper Source : Lower\n")},
    {"PaperSourceHci", E + "&l20H", L("[ ESC & l 20 H ] ", "Select Paper Source : HCI Tray (2-21)\n")},
    {"PaperSourceFanFold", E + "&l99H", L("[ ESC & l 99 H ] ", "Select Paper Source : Tractor feed / fan fold\n")},
    {"PaperSourceUnknown", E + "&l9H", L("[ ESC & l 9 H ] ", "Select Paper Source : *** unknown value ( 9 )\n")},
    {"PaperSourceUnknownNegative", E + "&l-2H",
     L("[ ESC & l -2 H ] ", "Select Paper Source : *** unknown value ( -2 )\n")},
};
INSTANTIATE_TEST_SUITE_P(Page, Formatter, ::testing::ValuesIn(kPageCases), CaseName);

const std::string kTwoByteMethod = L("[ ESC & t 21 P ] ", "Text Parsing Method : 1 byte / 2 byte\n");
const FormatterCase kTextParsing[] = {
    {"TwoByteThenPair", E + "&t21PAB", kTwoByteMethod + "<0x4142>\n"},
    {"ShiftGbKeepsMethod", E + "&t21P" + E + "&t32PAB",
     kTwoByteMethod + L("[ ESC & t 32 P ] ", "Text Parsing Method : Shift GB\n") + "<0x4142>\n"},
    {"OneByteEndsMethod", E + "&t21P" + E + "&t1PAB",
     kTwoByteMethod + L("[ ESC & t 1 P ] ", "Text Parsing Method : 1 byte\n") + "AB\n"},
    {"HeldLeadByteDropped", E + "&t21PA" + E + "&t0PB",
     kTwoByteMethod + L("[ ESC & t 0 P ] ", "Text Parsing Method : default\n") + "B\n"},
    {"Method31LeadRange", E + "&t31P" + std::string("\x81\x40", 2) + "A",
     L("[ ESC & t 31 P ] ", "Text Parsing Method : 1 byte / 2 byte\n") + "<0x8140>A\n"},
    {"Method38HighLead", E + "&t38P" + std::string("\x80\x41", 2) + "B",
     L("[ ESC & t 38 P ] ", "Text Parsing Method : 1 byte / 2 byte\n") + "<0x8041>B\n"},
    {"Unicode", E + "&t2P", L("[ ESC & t 2 P ] ", "Text Parsing Method : 2 byte unicode\n")},
    {"UnknownKeepsMethod", E + "&t21P" + E + "&t5PAB",
     kTwoByteMethod + L("[ ESC & t 5 P ] ", "Text Parsing Method : *** unknown value ( 5 )\n") + "<0x4142>\n"},
    {"ResetEndsMethod", E + "&t21P" + E + "E" + "AB", kTwoByteMethod + "[ ESC E ]             Reset\nAB\n"},
};
INSTANTIATE_TEST_SUITE_P(TextParsingMethod, Formatter, ::testing::ValuesIn(kTextParsing), CaseName);

const FormatterCase kFontCases[] = {
    {"Roman8", E + "(8U", L("[ ESC ( 8 U ] ", "Primary Symbol Set : Roman-8\n")},
    {"FirstListWins", E + "(10U", L("[ ESC ( 10 U ] ", "Primary Symbol Set : PC-8, Code Page 437\n")},
    {"SecondarySymbolSet", E + ")0N", L("[ ESC ) 0 N ] ", "Secondary Symbol Set : ISO 8859/1 Latin 1 (EC94)\n")},
    {"SymbolSetUnknown", E + "(3Z", L("[ ESC ( 3 Z ] ", "Primary Symbol Set : *** Unknown symset name : ID = 122\n")},
    {"PrimaryById", E + "(12X", L("[ ESC ( 12 X ] ", "Select Primary Font By ID : 12\n")},
    {"SecondaryById", E + ")3X", L("[ ESC ) 3 X ] ", "Select Secondary Font By ID : 3\n")},
    {"Typeface", E + "(s4148T", L("[ ESC ( s 4148 T ] ", "Primary Typeface : Univers\n")},
    {"SecondaryTypeface", E + ")s3T", L("[ ESC ) s 3 T ] ", "Secondary Typeface : Courier\n")},
    {"TypefaceUnknown", E + "(s71T", L("[ ESC ( s 71 T ] ", "Primary Typeface : *** Unknown typeface name : ID = 71\n")},
    {"StyleUpright", E + "(s0S", L("[ ESC ( s 0 S ] ", "Primary Font Style ( 0 ) : Upright\n")},
    {"StyleItalicCondensed", E + "(s5S", L("[ ESC ( s 5 S ] ", "Primary Font Style ( 5 ) : Italic Condensed\n")},
    {"StyleCompressed", E + ")s8S", L("[ ESC ) s 8 S ] ", "Secondary Font Style ( 8 ) : Compressed\n")},
    {"StyleExpanded", E + "(s24S", L("[ ESC ( s 24 S ] ", "Primary Font Style ( 24 ) : Expanded\n")},
    {"StyleWidthTwoHasNoWord", E + "(s16S", L("[ ESC ( s 16 S ] ", "Primary Font Style ( 16 ) :\n")},
    {"StyleAllLooks", E + "(s225S",
     L("[ ESC ( s 225 S ] ", "Primary Font Style ( 225 ) : Italic Outline Inline Shadowed\n")},
    {"WeightLight", E + "(s-3B", L("[ ESC ( s -3 B ] ", "Primary Font Weight ( 3 ) : Light\n")},
    {"WeightLimitedToSeven", E + "(s9B", L("[ ESC ( s 9 B ] ", "Primary Font Weight ( 9 ) : Ultra Black\n")},
    {"WeightLimitedNegative", E + ")s-9B", L("[ ESC ) s -9 B ] ", "Secondary Font Weight ( 9 ) : Ultra Thin\n")},
    {"WeightMedium", E + "(s0B", L("[ ESC ( s 0 B ] ", "Primary Font Weight ( 0 ) : Medium, Book or Text\n")},
    {"WeightPlus", E + "(s+1B", L("[ ESC ( s +1 B ] ", "Primary Font Weight ( 1 ) : Semi Bold\n")},
    {"PitchKeepsFraction", E + "(s10.50H", L("[ ESC ( s 10.50 H ] ", "Primary Font Pitch : 10.50 chars per inch\n")},
    {"PitchWithoutPlus", E + ")s+12.0H", L("[ ESC ) s +12.0 H ] ", "Secondary Font Pitch : 12.0 chars per inch\n")},
    {"PointSize", E + "(s12V", L("[ ESC ( s 12 V ] ", "Primary Font Pt Size : 12\n")},
    {"PointSizeFraction", E + ")s7.25V", L("[ ESC ) s 7.25 V ] ", "Secondary Font Pt Size : 7.25\n")},
    {"Proportional", E + "(s1P", L("[ ESC ( s 1 P ] ", "Primary Font Spacing : Proportional\n")},
    {"FixedPitch", E + ")s0P", L("[ ESC ) s 0 P ] ", "Secondary Font Spacing : Fixed Pitch\n")},
    {"SpacingPastList", E + "(s2P", L("[ ESC ( s 2 P ] ", "Primary Font Spacing : *** Invalid value\n")},
    {"CombinedSelection", E + "(s1p10h12v0s3b4099T",
     L("[ ESC ( s 1 p ] ", "Primary Font Spacing : Proportional\n") +
         L("[ ESC ( s 10 h ] ", "Primary Font Pitch : 10 chars per inch\n") +
         L("[ ESC ( s 12 v ] ", "Primary Font Pt Size : 12\n") +
         L("[ ESC ( s 0 s ] ", "Primary Font Style ( 0 ) : Upright\n") +
         L("[ ESC ( s 3 b ] ", "Primary Font Weight ( 3 ) : Bold\n") +
         L("[ ESC ( s 4099 T ] ", "Primary Typeface : Courier\n")},
    {"CharacterCodePrintable", E + "*c65E",
     L("[ ESC * c 65 E ] ", "Character Code for next download char ('A' 65 0x41)\n")},
    {"CharacterCodeBlank", E + "*c32E", L("[ ESC * c 32 E ] ", "Character Code for next download char (' ' 32 0x20)\n")},
    {"CharacterCodeControl", E + "*c10E", L("[ ESC * c 10 E ] ", "Character Code for next download char ( 10 0x0a)\n")},
    {"CharacterCodeWide", E + "*c300E", L("[ ESC * c 300 E ] ", "Character Code for next download char ( 300 0x12c)\n")},
    {"FontId", E + "*c7D", L("[ ESC * c 7 D ] ", "Font id #7\n")},
    // Without the options that read them, the data bytes are skipped.
    {"FontDescriptorSkipsData", E + ")s4WabcdZ", L("[ ESC ) s 4 W ] ", "Font Descriptor  (4 bytes) :\n") + "Z\n", 0},
    {"CharacterDataSkipsData", E + "(s3WabcZ", L("[ ESC ( s 3 W ] ", "Character descriptor (3 bytes) :\n") + "Z\n", 0},
};
INSTANTIATE_TEST_SUITE_P(Font, Formatter, ::testing::ValuesIn(kFontCases), CaseName);

const FormatterCase kMacroAndModeCases[] = {
    {"MacroId", E + "&f5Y", L("[ ESC & f 5 Y ] ", "Set Macro ID #5\n")},
    {"StartDefinition", E + "&f0X", L("[ ESC & f 0 X ] ", "Macro Control (0) : Start definition\n")},
    {"MakePermanent", E + "&f10X", L("[ ESC & f 10 X ] ", "Macro Control (10) : Make Macro Permanent\n")},
    {"MacroControlPastList", E + "&f11X", L("[ ESC & f 11 X ] ", "Macro Control (11) : *** Invalid value\n")},
    {"EnterHpglThenPcl", E + "%1B" + E + "%0A",
     L("[ ESC % 1 B ] ", "Enter HPGL : Pen at current PCL cursor position\n") +
         L("[ ESC % 0 A ] ", "Enter PCL : Pen at previous PCL cursor position\n")},
    {"EnterHpglLastName", E + "%3B" + E + "%1A",
     L("[ ESC % 3 B ] ", "Enter HPGL : Use current PCL dot coord system and PCL pen position\n") +
         L("[ ESC % 1 A ] ", "Enter PCL : Pen at current HPGL pen position\n")},
    {"EnterPclPastList", E + "%2A", L("[ ESC % 2 A ] ", "Enter PCL : *** Invalid value\n")},
    // Transparent bytes are data: no control names, no line ends, no eject.
    {"TransparentFormFeedIsData", "A" + E + "&p1X\fB\f",
     "A\n" + L("[ ESC & p 1 X ] ", "Transparent Print Mode next 1 bytes :\n") +
         "<0x0C>B\n<FF>\n[Page Eject offset 9 ]\n",
     DF_PAGE_SUM},
    {"TransparentLineEnds", E + "&p2X\r\nA",
     L("[ ESC & p 2 X ] ", "Transparent Print Mode next 2 bytes :\n") + "<0x0D><0x0A>A\n"},
};
INSTANTIATE_TEST_SUITE_P(MacroAndMode, Formatter, ::testing::ValuesIn(kMacroAndModeCases), CaseName);

std::string ImageData(const std::string& count, const std::string& bytes) { return E + "*v" + count + "W" + bytes; }

const FormatterCase kColourCases[] = {
    {"PaletteDeleteAll", E + "&p0C", L("[ ESC & p 0 C ] ", "Palette Control (0) : Delete all not in stack including active\n")},
    {"PaletteDeleteStack", E + "&p1C", L("[ ESC & p 1 C ] ", "Palette Control (1) : Delete all in stack (not active)\n")},
    {"PaletteDelete", E + "&p2C", L("[ ESC & p 2 C ] ", "Palette Control (2) : Delete palette current ctl id\n")},
    {"PaletteGapInList", E + "&p3C", L("[ ESC & p 3 C ] ", "Palette Control (3) : *** Invalid value\n")},
    {"PaletteCopy", E + "&p6C", L("[ ESC & p 6 C ] ", "Palette Control (6) : Copy active palette to current ctl id\n")},
    {"PalettePastList", E + "&p7C", L("[ ESC & p 7 C ] ", "Palette Control (7) : *** Invalid value\n")},
    {"PaletteControlId", E + "&p5I", L("[ ESC & p 5 I ] ", "Set Palette Control ID #5\n")},
    {"SelectPalette", E + "&p5S", L("[ ESC & p 5 S ] ", "Select Active Palette by ID #5\n")},
    {"ForegroundColour", E + "*v3S", L("[ ESC * v 3 S ] ", "Set Foreground Color (index into current palette) 3\n")},
    {"ImageDataDirectByPixel", ImageData("6", std::string("\0\3\10\10\10\10", 6)) + "Z",
     L("[ ESC * v 6 W ] ", "Configure Image Data (6 bytes) : RGB, direct by pixel, 8 bits\n") + "Z\n"},
    {"ImageDataTooShort", ImageData("2", std::string("\0\1", 2)) + "Z",
     L("[ ESC * v 2 W ] ", "Configure Image Data (2 bytes) : *** Invalid # bytes\n") + "Z\n"},
    {"ImageDataCmy", ImageData("3", std::string("\1\1\1", 3)),
     L("[ ESC * v 3 W ] ", "Configure Image Data (3 bytes) : CMY, index by pixel, 1 bits\n")},
    {"ImageDataSrgb", ImageData("3", std::string("\2\2\10", 3)),
     L("[ ESC * v 3 W ] ", "Configure Image Data (3 bytes) : sRGB, direct by plane, 8 bits\n")},
    {"ImageDataBadSpace", ImageData("3", std::string("\3\0\10", 3)),
     L("[ ESC * v 3 W ] ", "Configure Image Data (3 bytes) : *** Invalid byte 0\n")},
    {"ImageDataBadEncoding", ImageData("3", std::string("\0\4\10", 3)),
     L("[ ESC * v 3 W ] ", "Configure Image Data (3 bytes) : RGB, *** Invalid byte 0\n")},
};
INSTANTIATE_TEST_SUITE_P(Colour, Formatter, ::testing::ValuesIn(kColourCases), CaseName);

const std::string kSizes = E + "*t720H" + E + "*t360V" + E + "*r300S" + E + "*r200T";
const std::string kSizeLines = L("[ ESC * t 720 H ] ", "Raster Graphics Width  (Dest) : 720.000 ( pixels = 75.000 )\n") +
                               L("[ ESC * t 360 V ] ", "Raster Graphics Height (Dest) : 360.000 ( pixels = 37.500 )\n") +
                               L("[ ESC * r 300 S ] ", "Raster Graphics Width  : 300\n") +
                               L("[ ESC * r 200 T ] ", "Raster Graphics Height : 200\n");
const FormatterCase kRasterCases[] = {
    {"Resolution", E + "*t300R", L("[ ESC * t 300 R ] ", "Raster Graphics Resolution : 300\n")},
    {"WidthAt300", E + "*t300R" + E + "*t720H",
     L("[ ESC * t 300 R ] ", "Raster Graphics Resolution : 300\n") +
         L("[ ESC * t 720 H ] ", "Raster Graphics Width  (Dest) : 720.000 ( pixels = 300.000 )\n")},
    {"LowResolutionIgnored", E + "*t50R" + E + "*t1440V",
     L("[ ESC * t 50 R ] ", "Raster Graphics Resolution : 50\n") +
         L("[ ESC * t 1440 V ] ", "Raster Graphics Height (Dest) : 1440.000 ( pixels = 150.000 )\n")},
    {"FractionOfDecipoint", E + "*t100.5H",
     L("[ ESC * t 100.5 H ] ", "Raster Graphics Width  (Dest) : 100.500 ( pixels = 10.468 )\n")},
    {"ResetRestoresResolution", E + "*t300R" + E + "E" + E + "*t720H",
     L("[ ESC * t 300 R ] ", "Raster Graphics Resolution : 300\n") + "[ ESC E ]             Reset\n" +
         L("[ ESC * t 720 H ] ", "Raster Graphics Width  (Dest) : 720.000 ( pixels = 75.000 )\n")},
    {"Msb", E + "*b1O", L("[ ESC * b 1 O ] ", "Raster Graphics MSB : 1\n")},
    {"YOffset", E + "*b49Y", L("[ ESC * b 49 Y ] ", "Raster Y Offset : 49 rows\n")},
    {"CompressionTiff", E + "*b2M", L("[ ESC * b 2 M ] ", "Set Raster Compression : TIFF\n")},
    {"CompressionGap", E + "*b4M", L("[ ESC * b 4 M ] ", "Set Raster Compression : *** Invalid value : 4\n")},
    {"CompressionCcitt", E + "*b6M",
     L("[ ESC * b 6 M ] ", "Set Raster Compression : CCITT Group 3-1 Modified Huffman - unsupported\n")},
    {"CompressionZlib", E + "*b999M", L("[ ESC * b 999 M ] ", "Set Raster Compression : Zlib\n")},
    {"CompressionLastNamed", E + "*b1005M", L("[ ESC * b 1005 M ] ", "Set Raster Compression : GP3-2D, K -4\n")},
    {"CompressionNumberOnly", E + "*b1006M" + E + "*b1008M",
     L("[ ESC * b 1006 M ] ", "Set Raster Compression : 1006\n") +
         L("[ ESC * b 1008 M ] ", "Set Raster Compression : 1008\n")},
    {"CompressionPastNumbers", E + "*b1009M", L("[ ESC * b 1009 M ] ", "Set Raster Compression : *** Invalid value : 1009\n")},
    {"StartAtZero", E + "*r0A" + E + "*rB",
     L("[ ESC * r 0 A ] ", "Start Raster Graphics : Start at Default (X=0)\n") + L("[ ESC * r B ] ", "End Raster Graphics\n")},
    {"StartPastList", E + "*r4A" + E + "*rC",
     L("[ ESC * r 4 A ] ", "Start Raster Graphics : *** Invalid value\n") + L("[ ESC * r C ] ", "End Raster Graphics\n")},
    {"ScaleText", kSizes + E + "*r3A",
     kSizeLines + L("[ ESC * r 3 A ] ",
                    "Start Raster Graphics : Scaled at current X position X 720:300 (2.400), Y 360:200 (1.800)\n")},
    {"NoScaleTextWhenNotScaled", kSizes + E + "*r1A",
     kSizeLines + L("[ ESC * r 1 A ] ", "Start Raster Graphics : Start at Current X position\n")},
    {"DestinationRoundedToDecipoints", E + "*t100.5H" + E + "*t99.4V" + E + "*r100S" + E + "*r100T" + E + "*r2A",
     L("[ ESC * t 100.5 H ] ", "Raster Graphics Width  (Dest) : 100.500 ( pixels = 10.468 )\n") +
         L("[ ESC * t 99.4 V ] ", "Raster Graphics Height (Dest) : 99.400 ( pixels = 10.354 )\n") +
         L("[ ESC * r 100 S ] ", "Raster Graphics Width  : 100\n") +
         L("[ ESC * r 100 T ] ", "Raster Graphics Height : 100\n") +
         L("[ ESC * r 2 A ] ", "Start Raster Graphics : Scaled at X=0 X 101:100 (1.010), Y 99:100 (0.990)\n")},
    {"ResetClearsSizes", kSizes + E + "E" + E + "*r2A",
     kSizeLines + "[ ESC E ]             Reset\n" + L("[ ESC * r 2 A ] ", "Start Raster Graphics : Scaled at X=0\n")},
    {"RasterData", E + "*b2WxyZ", L("[ ESC * b 2 W ] ", "Transfer Raster Data\n") + "Z\n"},
    {"RasterDataByPlane", E + "*b1VxZ", L("[ ESC * b 1 V ] ", "Transfer Raster Data By Plane\n") + "Z\n"},
};
INSTANTIATE_TEST_SUITE_P(Raster, Formatter, ::testing::ValuesIn(kRasterCases), CaseName);

// Ghostscript's ljet4 device (75 dpi): its page setup up to the first raster row.
TEST(Formatters, GhostscriptPageSetup) {
  const std::string job = test::ReadFile(test::TestDir() / "decode/data/ljet4-three-pages.pcl");
  ASSERT_FALSE(job.empty());
  const std::string pageSetup = L("[ ESC & l 0 O ] ", "Paper Orientation : Portrait\n") +
                                L("[ ESC & l 81 A ] ", "Set Page Size : Envelope - Com-10\n");
  const std::string want =
      "[ ESC E ]             Reset\n" + pageSetup + pageSetup +
      L("[ ESC & l 0 l ] ", "Set Perforation Skip : Disable\n") + L("[ ESC & l 0 E ] ", "Top Margin ( 0 lines )\n") +
      L("[ ESC & l -180 u ] ", "Left Offset Registration (decipoints : -180)\n") +
      L("[ ESC & l 36 Z ] ", "Top Offset Registration (decipoints : 36)\n") +
      L("[ ESC * r 0 F ] ", "Raster Presentation Mode : Logical Page Orientation\n") +
      L("[ ESC & u 75 D ] ", "Set PCL Units Of Measure (75 per inch)\n") +
      L("[ ESC & l 1 X ] ", "Number Of Copies : 1\n") + L("[ ESC * r B ] ", "End Raster Graphics\n") +
      L("[ ESC * p 0 x ] ", "Absolute Move of X by PCL dot unit : 0\n") +
      L("[ ESC * p 0 Y ] ", "Absolute Move of Y by PCL dot unit : 0\n") +
      L("[ ESC * t 75 R ] ", "Raster Graphics Resolution : 75\n") +
      L("[ ESC * p +313 Y ] ", "Relative Move of Y by PCL dot unit : +313\n") +
      L("[ ESC * r 1 A ] ", "Start Raster Graphics : Start at Current X position\n") +
      L("[ ESC * b 3 M ] ", "Set Raster Compression : Delta Row\n") + L("[ ESC * b 5 W ] ", "Transfer Raster Data\n");
  const std::string got = Decode(job).listing.substr(0, want.size());
  EXPECT_EQ(got, want) << test::FirstDifference(got, want);
}

// The font selections after a PCL stretch, read straight from the run.
FontSelectionState FontsAfter(const std::string& job) {
  auto run = std::make_unique<RunState>();
  std::string text;
  OutputSink listing(&text);
  ByteReader input(std::span(reinterpret_cast<const std::uint8_t*>(job.data()), job.size()));
  run->ctx.flags = test::kNoSummaries;
  run->ctx.input = &input;
  run->ctx.listing = &listing;
  StartTrackers(*run);
  DecodePcl5(*run);
  return run->fonts;
}

TEST(FontSelectionNotes, FormattersNoteWhatTheySelect) {
  const FontSelectionState fonts =
      FontsAfter(E + "(s-3B" + E + "(s10.50H" + E + "(s12V" + E + "(8U" + E + "(s4148T" + E + "(s5S" + E + "(s1P" +
                 E + ")s9B" + E + ")s7.25V" + E + ")s16.666H" + E + ")s-2.5V" + E + ")12X");
  EXPECT_EQ(fonts.primary.strokeWeight, -3);
  EXPECT_EQ(fonts.primary.pitch, 1050);
  EXPECT_EQ(fonts.primary.height, 1200);
  EXPECT_EQ(fonts.primary.symbolSet, 277);
  EXPECT_EQ(fonts.primary.typeface, 4148);
  EXPECT_EQ(fonts.primary.style, 5);
  EXPECT_EQ(fonts.primary.spacing, 1);
  EXPECT_EQ(fonts.primary.fontId, kFontFieldUnset);
  EXPECT_EQ(fonts.secondary.strokeWeight, 7);
  EXPECT_EQ(fonts.secondary.pitch, 1666);   // the fraction is cut to two places
  EXPECT_EQ(fonts.secondary.height, -250);  // a later height replaces 725
  EXPECT_EQ(fonts.secondary.fontId, 12);    // selection by ID keeps the attributes
  EXPECT_EQ(fonts.secondary.typeface, kFontFieldUnset);
}

TEST(FontSelectionNotes, AttributeDropsIdAndResetClearsAll) {
  FontSelectionState fonts = FontsAfter(E + "(12X" + E + "(s1P");
  EXPECT_EQ(fonts.primary.fontId, kFontFieldUnset);
  EXPECT_EQ(fonts.primary.spacing, 1);
  fonts = FontsAfter(E + "(12X" + E + ")s3T" + E + "E");
  EXPECT_EQ(fonts.primary.fontId, kFontFieldUnset);
  EXPECT_EQ(fonts.secondary.typeface, kFontFieldUnset);
  EXPECT_TRUE(fonts.primary.changed);
}

}  // namespace
}  // namespace veltrix
