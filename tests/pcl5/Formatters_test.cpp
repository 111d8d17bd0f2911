// The value formatters over whole jobs: the line each one writes after the
// escape header, and what it changes for the bytes and escapes that follow.
// Table contents are checked at their edges only. The raster escapes hand
// their rows to the row decoder: when rows are read at all, how they are
// listed between the escape lines (and without them, contiguously), and how
// the palette in use makes them 24-bit rows.
#include <gtest/gtest.h>

#include <memory>
#include <span>
#include <string>
#include <tuple>

#include "TestSupport.h"
#include "decode/DecodeStream.h"
#include "decode/RunState.h"
#include "pcl5/Pcl5Decoder.h"

namespace veltrix {
namespace {

const std::string E = "\x1b";

// The escape header "[ ESC <h> ] " padded to its 22 columns, then the rest of the line.
std::string L(const std::string& h, const std::string& rest) {
  const std::string header = "[ ESC " + h + " ] ";
  return header + std::string(header.size() < 22 ? 22 - header.size() : 0, ' ') + rest + "\n";
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
  std::string got = test::Decode(c.job, c.flags).listing;
  got = got.substr(0, got.find("\n===================================================\n"));  // no summaries
  EXPECT_EQ(got, c.listing) << test::FirstDifference(got, c.listing);
}

// The rows listed, summaries off.
const std::uint32_t kRows = test::kNoSummaries | DF_RAS_GRAPH;
const std::string kTwoByte = L("& t 21 P", "Text Parsing Method : 1 byte / 2 byte");

const FormatterCase kCases[] = {
    // Cursor moves: a sign makes the move relative; the fraction is trimmed.
    {"SignedIsRelative", E + "*p+300Y", L("* p +300 Y", "Relative Move of Y by PCL dot unit : +300")},
    {"UnsignedIsAbsolute", E + "*p300Y", L("* p 300 Y", "Absolute Move of Y by PCL dot unit : 300")},
    {"FractionTrimmed", E + "&a+1.50H", L("& a +1.50 H", "Relative Move of X position by decipoint : +1.5")},

    // Page setup.
    {"PageSizeA3", E + "&l27A", L("& l 27 A", "Set Page Size : A3")},
    {"PageSizeUnknown", E + "&l5A", L("& l 5 A", "Set Page Size : *** Unknown ( 5 )")},
    {"OrientationLastAndPastList", E + "&l3O" + E + "&l4O",
     L("& l 3 O", "Paper Orientation : Reverse Landscape") + L("& l 4 O", "Paper Orientation : *** Invalid value")},
    // Only a change to a valid orientation on a page with content ejects it.
    {"OrientationEject", E + "&l1OA" + E + "&l7OB" + E + "&l0OC" + E + "&l0OD",
     L("& l 1 O", "Paper Orientation : Landscape") + "A\n" + L("& l 7 O", "Paper Orientation : *** Invalid value") +
         "B\n" + L("& l 0 O", "Paper Orientation : Portrait") + "[Page Eject offset 17 ]\nC\n" +
         L("& l 0 O", "Paper Orientation : Portrait") + "D\n[Page Eject offset 24 ]\n",
     DF_PAGE_SUM},
    {"OutputTrayUnknown", E + "&l4G", L("& l 4 G", "Select Output Tray : *** unknown value ( 4 )")},
    {"PaperSourceNegativeKey", E + "&l-1H", L("& l -1 H", "Select Paper Source : Tractor Feed")},

    // Text parsing method: what the following text bytes become.
    // Shift GB is named but keeps the method; 1 byte ends it.
    {"MethodChanges", E + "&t21PAB" + E + "&t32PAB" + E + "&t1PAB",
     kTwoByte + "<0x4142>\n" + L("& t 32 P", "Text Parsing Method : Shift GB") + "<0x4142>\n" +
         L("& t 1 P", "Text Parsing Method : 1 byte") + "AB\n"},
    {"HeldLeadByteDropped", E + "&t21PA" + E + "&t0PB",
     kTwoByte + L("& t 0 P", "Text Parsing Method : default") + "B\n"},
    {"ResetEndsMethod", E + "&t21P" + E + "EAB", kTwoByte + L("E", "Reset") + "AB\n"},

    // Font selection.
    {"SymbolSetUnknown", E + "(3Z", L("( 3 Z", "Primary Symbol Set : *** Unknown symset name : ID = 122")},
    {"StyleWidthTwoHasNoWord", E + "(s16S", L("( s 16 S", "Primary Font Style ( 16 ) :")},
    {"StyleAllLooks", E + "(s225S", L("( s 225 S", "Primary Font Style ( 225 ) : Italic Outline Inline Shadowed")},
    {"WeightLight", E + "(s-3B", L("( s -3 B", "Primary Font Weight ( 3 ) : Light")},
    {"WeightLimitedToSeven", E + "(s9B", L("( s 9 B", "Primary Font Weight ( 9 ) : Ultra Black")},
    {"PitchKeepsFraction", E + "(s10.50H", L("( s 10.50 H", "Primary Font Pitch : 10.50 chars per inch")},
    {"CharacterCodeWide", E + "*c300E", L("* c 300 E", "Character Code for next download char ( 300 0x12c)")},
    // Without the options that read them, the data bytes are skipped.
    {"FontDescriptorSkipsData", E + ")s4WabcdZ", L(") s 4 W", "Font Descriptor  (4 bytes) :") + "Z\n", 0},

    // Macros, modes and transparent data.
    {"MacroControlLastAndPastList", E + "&f10X" + E + "&f11X",
     L("& f 10 X", "Macro Control (10) : Make Macro Permanent") +
         L("& f 11 X", "Macro Control (11) : *** Invalid value")},
    {"EnterHpglLastName", E + "%3B" + E + "%1A",
     L("% 3 B", "Enter HPGL : Use current PCL dot coord system and PCL pen position") +
         L("% 1 A", "Enter PCL : Pen at current HPGL pen position")},
    // Transparent bytes are data: no control names, no line ends, no eject.
    {"TransparentFormFeedIsData", "A" + E + "&p1X\fB\f",
     "A\n" + L("& p 1 X", "Transparent Print Mode next 1 bytes :") + "<0x0C>B\n<FF>\n[Page Eject offset 9 ]\n",
     DF_PAGE_SUM},

    // Colour: a gap in the palette control names, and the list end.
    {"PaletteControl", E + "&p3C" + E + "&p6C" + E + "&p7C",
     L("& p 3 C", "Palette Control (3) : *** Invalid value") +
         L("& p 6 C", "Palette Control (6) : Copy active palette to current ctl id") +
         L("& p 7 C", "Palette Control (7) : *** Invalid value")},
    {"ImageDataDirectByPixel", E + "*v6W" + std::string("\0\3\10\10\10\10", 6) + "Z",
     L("* v 6 W", "Configure Image Data (6 bytes) : RGB, direct by pixel, 8 bits") + "Z\n"},
    {"ImageDataTooShort", E + "*v2W" + std::string("\0\1", 2) + "Z",
     L("* v 2 W", "Configure Image Data (2 bytes) : *** Invalid # bytes") + "Z\n"},

    // Raster.
    {"LowResolutionIgnored", E + "*t50R" + E + "*t1440V",
     L("* t 50 R", "Raster Graphics Resolution : 50") +
         L("* t 1440 V", "Raster Graphics Height (Dest) : 1440.000 ( pixels = 150.000 )")},
    {"WidthAt300UntilReset", E + "*t300R" + E + "*t720H" + E + "E" + E + "*t720H",
     L("* t 300 R", "Raster Graphics Resolution : 300") +
         L("* t 720 H", "Raster Graphics Width  (Dest) : 720.000 ( pixels = 300.000 )") + L("E", "Reset") +
         L("* t 720 H", "Raster Graphics Width  (Dest) : 720.000 ( pixels = 75.000 )")},
    {"CompressionGap", E + "*b4M", L("* b 4 M", "Set Raster Compression : *** Invalid value : 4")},
    {"CompressionPastNumbers", E + "*b1009M", L("* b 1009 M", "Set Raster Compression : *** Invalid value : 1009")},
    {"StartPastList", E + "*r4A" + E + "*rC",
     L("* r 4 A", "Start Raster Graphics : *** Invalid value") + L("* r C", "End Raster Graphics")},
    // A scale text only for a scaled start with all four sizes known; ESC E clears them.
    {"ScaleText",
     E + "*t720H" + E + "*t360V" + E + "*r300S" + E + "*r200T" + E + "*r1A" + E + "*r3A" + E + "E" + E + "*r2A",
     L("* t 720 H", "Raster Graphics Width  (Dest) : 720.000 ( pixels = 75.000 )") +
         L("* t 360 V", "Raster Graphics Height (Dest) : 360.000 ( pixels = 37.500 )") +
         L("* r 300 S", "Raster Graphics Width  : 300") + L("* r 200 T", "Raster Graphics Height : 200") +
         L("* r 1 A", "Start Raster Graphics : Start at Current X position") +
         L("* r 3 A", "Start Raster Graphics : Scaled at current X position X 720:300 (2.400), Y 360:200 (1.800)") +
         L("E", "Reset") + L("* r 2 A", "Start Raster Graphics : Scaled at X=0")},
    {"RasterData", E + "*b2Wxy" + E + "*b1VxZ",
     L("* b 2 W", "Transfer Raster Data") + L("* b 1 V", "Transfer Raster Data By Plane") + "Z\n"},

    // Raster rows between (or without) their escape lines.
    {"RowsAreSkippedUnlessShownOrCounted", E + "*b2WxyB", L("* b 2 W", "Transfer Raster Data") + "B\n"},
    {"RowWithoutStartStartsRasterGraphics", E + "*b1W\xff",
     L("* b 1 W", "Transfer Raster Data") + "<rast>:11111111\n", kRows},
    {"RowsFollowTheirEscapes", E + "*r1A" + E + "*b1W\x80" + E + "*b1W\x01" + E + "*rB",
     L("* r 1 A", "Start Raster Graphics : Start at Current X position") + L("* b 1 W", "Transfer Raster Data") +
         "<rast>:1       \n" + L("* b 1 W", "Transfer Raster Data") + "<rast>:       1\n" +
         L("* r B", "End Raster Graphics"),
     kRows},
    {"ContiguousRowsStandAlone", E + "*r1A" + E + "*b1W\x80" + E + "*b1W\x01" + E + "*rB",
     L("* r 1 A", "Start Raster Graphics : Start at Current X position") + "<rast>:1       \n" +
         "<rast>:       1\n" + L("* r B", "End Raster Graphics"),
     kRows | DF_RAS_CONTIGUOUS},
    // Only ESC*b#W with its upper-case W loses its header: a combined escape
    // ending in a lower-case w keeps the header, and its formatter writes no
    // meaning, so the row line follows the header on the same line.
    {"ContiguousCombinedRowKeepsItsHeader", "A" + E + "*b2wab2WcdB",
     "A\n" + std::string("[ ESC * b 2 w ]       ") + "<rast>: 11    1 11   1 \n" + "<rast>: 11   11 11  1  \n" +
         "B\n",
     kRows | DF_RAS_CONTIGUOUS},
    // Delta rows emit the whole seed row, listed up to its last non-zero byte.
    {"SeedRowCarriesOverForDeltaRows", E + "*b3M" + E + "*b2W\x01\xf0" + E + std::string("*b2W\x00\x0f", 6),
     L("* b 3 M", "Set Raster Compression : Delta Row") + "<rast>:        1111    \n" + "<rast>:    11111111    \n",
     kRows | DF_RAS_CONTIGUOUS},
};
INSTANTIATE_TEST_SUITE_P(All, Formatter, ::testing::ValuesIn(kCases), [](const auto& i) { return i.param.name; });

// The font selections after a PCL stretch, read straight from the run.
struct Selections {
  FontSelection primary, secondary;
};

Selections FontsAfter(const std::string& job) {
  auto run = std::make_unique<RunState>();
  std::string text;
  OutputSink listing(&text);
  ByteReader input(std::span(reinterpret_cast<const std::uint8_t*>(job.data()), job.size()));
  run->ctx.flags = test::kNoSummaries;
  run->ctx.input = &input;
  run->ctx.listing = &listing;
  StartTrackers(*run);
  DecodePcl5(Pcl5ViewOf(*run));
  return {run->fonts.primary, run->fonts.secondary};
}

TEST(FontSelectionNotes, FormattersNoteWhatTheySelect) {
  const Selections f =
      FontsAfter(E + "(s-3B" + E + "(s10.50H" + E + "(s12V" + E + "(8U" + E + "(s4148T" + E + "(s5S" + E + "(s1P" +
                 E + ")s9B" + E + ")s7.25V" + E + ")s16.666H" + E + ")s-2.5V" + E + ")12X");
  const auto& p = f.primary;
  EXPECT_EQ(std::tuple(p.strokeWeight, p.pitch, p.height, p.symbolSet, p.typeface, p.style, p.spacing, p.fontId),
            std::tuple(-3, 1050, 1200, 277, 4148, 5, 1, kFontFieldUnset));
  // The pitch fraction is cut to two places, a later height replaces 725, and
  // a selection by ID keeps the attributes.
  const auto& s = f.secondary;
  EXPECT_EQ(std::tuple(s.strokeWeight, s.pitch, s.height, s.fontId, s.typeface),
            std::tuple(7, 1666, -250, 12, kFontFieldUnset));
}

TEST(FontSelectionNotes, AttributeDropsIdAndResetClearsAll) {
  Selections f = FontsAfter(E + "(12X" + E + "(s1P");
  EXPECT_EQ(std::tuple(f.primary.fontId, f.primary.spacing), std::tuple(kFontFieldUnset, 1));
  f = FontsAfter(E + "(12X" + E + ")s3T" + E + "E");
  EXPECT_EQ(std::tuple(f.primary.fontId, f.secondary.typeface, f.primary.changed),
            std::tuple(kFontFieldUnset, kFontFieldUnset, true));
}

// A palette copied to a control ID and configured as direct by pixel makes
// the rows of a raster area that it is active for 24-bit rows: listed as
// colours, counted in the colour summary, and the palette named in the
// palette summary.
TEST(RasterEscapesColour, DirectPaletteMakesTwentyFourBitRows) {
  const std::string job = E + "&p5I" + E + "&p6C" + E + "*v6W" + std::string("\x00\x03\x08\x08\x08\x08", 6) + E +
                          "&p5S" + E + "*r1A" + E + "*b9W" + std::string("\xff\x00\x00\x00\x00\xff\xff\x00\x00", 9) +
                          E + "*rB";
  const std::string listing = test::Decode(job, kRows | DF_24BIT_RAST | DF_PALETTE_SUM).listing;
  const std::string rule = "\n===================================================\n\n";
  // The row's last non-zero byte is the first of its third pixel: a pixel
  // that reaches past it is not shown, but every pixel is counted.
  EXPECT_NE(listing.find(L("* b 9 W", "Transfer Raster Data") + "<rast>:FF0000 0000FF \n"), std::string::npos)
      << listing;
  EXPECT_NE(listing.find(rule + "    Palettes referenced by raster :\n    id    5 : RGB, direct by pixel, 8 bits\n\n"),
            std::string::npos)
      << listing;
  EXPECT_NE(listing.find(rule + "    24 Bit Raster Colors Referenced : 2\n\n"), std::string::npos) << listing;
}

}  // namespace
}  // namespace veltrix
