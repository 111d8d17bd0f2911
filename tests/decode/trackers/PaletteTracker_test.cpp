// The palette tracker: Configure Image Data in words, and the palette
// summaries of whole jobs whose palette escapes feed it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "decode/trackers/PaletteTracker.h"

namespace veltrix {
namespace {

using namespace std::string_literals;

const std::string kRule = "\n===================================================\n\n";
const std::string kNoRaster = "    Palettes referenced by raster : none\n\n";
const std::string kNoColour = "    Palettes referenced by color entry : none\n\n";
std::string Raster(const std::string& ids) { return "    Palettes referenced by raster :\n" + ids + "\n"; }
std::string Colour(const std::string& ids) { return "    Palettes referenced by color entry :\n" + ids + "\n"; }

TEST(DescribeCid, EachByteInWords) {
  const std::pair<std::vector<std::uint8_t>, const char*> cases[] = {
      {{}, "*** Invalid # bytes\n"},                     {{0, 3}, "*** Invalid # bytes\n"},
      {{0, 3, 8}, "RGB, direct by pixel, 8 bits\n"},     {{0, 3, 8, 8, 8, 8}, "RGB, direct by pixel, 8 bits\n"},
      {{1, 0, 1}, "CMY, index by plane, 1 bits\n"},      {{2, 1, 4}, "sRGB, index by pixel, 4 bits\n"},
      {{0, 2, 255}, "RGB, direct by plane, 255 bits\n"}, {{255, 9, 9}, "CID undefined\n"},
      {{3, 0, 8}, "*** Invalid byte 0\n"},               {{254, 0, 8}, "*** Invalid byte 0\n"},
      {{1, 4, 8}, "CMY, *** Invalid byte 0\n"},  // byte 1 is reported with the same words
  };
  for (const auto& [bytes, text] : cases) {
    std::string got;
    OutputSink out(&got);
    DescribeImageData(out, bytes);
    out.Flush();
    EXPECT_EQ(got, text) << ::testing::PrintToString(bytes);
  }
}

TEST(PaletteTracker, RasterStartAnswersDirectColour) {
  PaletteTracker palettes;
  ResetPalettes(palettes, false);
  RecordPaletteControl(palettes, 6);
  EXPECT_TRUE(palettes.palettes.empty());  // controls need tracking
  ResetPalettes(palettes, true);
  EXPECT_FALSE(StartPaletteRaster(palettes));  // no palette at all
  SetPaletteControlId(palettes, 4);
  RecordPaletteControl(palettes, 6);
  ConfigurePaletteImageData(palettes, std::vector<std::uint8_t>{0, 3, 8});
  SelectActivePalette(palettes, 4);
  EXPECT_TRUE(StartPaletteRaster(palettes));
  ConfigurePaletteImageData(palettes, std::vector<std::uint8_t>{0, 1, 8});
  EXPECT_FALSE(StartPaletteRaster(palettes));
  SelectActivePalette(palettes, 9);
  EXPECT_FALSE(StartPaletteRaster(palettes));
}

TEST(PaletteSummary, ListsReferencedPalettes) {
  const std::string id5 = "    id    5 : CID undefined\n";
  const struct {
    const char* name;
    std::string job;      // '~' for ESC
    std::string summary;  // after the rule
  } cases[] = {
      {"nothing copied", "~&p5S~*r1A~*v1S", kNoRaster + kNoColour},
      {"direct palette used by raster", "~&p5I~&p6C~*v6W\0\3\10\10\10\10~&p5S~*r1A~*rB"s,
       Raster("    id    5 : RGB, direct by pixel, 8 bits\n") + kNoColour},
      {"never configured", "~&p3I~&p6C~&p3S~*v1S", kNoRaster + Colour("    id    3 : CID undefined\n")},
      {"configure only the control ID", "~&p5I~&p6C~&p6I~*v3W\0\3\10~&p5S~*r0A"s, Raster(id5) + kNoColour},
      {"too few bytes configure nothing", "~&p5I~&p6C~*v2W\0\3~&p5S~*r0A"s, Raster(id5) + kNoColour},
      {"invalid configuration", "~&p5I~&p6C~*v3W\7\0\1~&p5S~*r0A"s,
       Raster("    id    5 : *** Invalid byte 0\n") + kNoColour},
      {"newest first", "~&p1I~&p6C~&p2I~&p6C~&p1S~*r0A~*rB~&p2S~*r0A",
       Raster("    id    2 : CID undefined\n    id    1 : CID undefined\n") + kNoColour},
      {"copy again makes a fresh newest record", "~&p1I~&p6C~&p2I~&p6C~&p1S~*v0S~&p2S~*v0S~&p1I~&p6C",
       kNoRaster + Colour("    id    2 : CID undefined\n")},
      {"delete by control ID", "~&p5I~&p6C~&p5S~*v0S~&p2C", kNoRaster + kNoColour},
      {"delete without record changes nothing", "~&p5I~&p6C~&p9I~&p2C~&p5S~*v0S", kNoRaster + Colour(id5)},
      {"raster and colour both", "~&p5I~&p6C~&p5S~*r0A~*rB~*v2S", Raster(id5) + Colour(id5)},
      // Text counts for the palette it was printed with, at the page end.
      {"text counts at page eject", "~&p5I~&p6C~&p5SA\f", kNoRaster + Colour(id5)},
      // Selecting another palette first credits the text to the old one.
      {"text before select counts for the old palette", "~&p7I~&p6C~&p8I~&p6C~&p7SA~&p8S",
       kNoRaster + Colour("    id    7 : CID undefined\n")},
      {"wide ID", "~&p12345I~&p6C~&p12345S~*r0A", Raster("    id 12345 : CID undefined\n") + kNoColour},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string job = c.job;
    std::replace(job.begin(), job.end(), '~', '\x1b');
    const std::string listing = test::Decode(job, test::kNoSummaries | DF_PALETTE_SUM).listing;
    const std::size_t at = listing.find(kRule);
    EXPECT_NE(at, std::string::npos) << listing;
    if (at == std::string::npos) continue;
    const std::string got = listing.substr(at + kRule.size());
    EXPECT_EQ(got, c.summary) << test::FirstDifference(got, c.summary);
  }
}

}  // namespace
}  // namespace veltrix
