// The palette tracker: Configure Image Data in words, and the palette
// summaries of whole jobs whose palette escapes feed it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "raster/PaletteTracker.h"

namespace veltrix {
namespace {

const std::string E = "\x1b";
const std::string kRule = "\n===================================================\n\n";
const std::string kNoRaster = "    Palettes referenced by raster : none\n\n";
const std::string kNoColour = "    Palettes referenced by color entry : none\n\n";

std::string Describe(const std::vector<std::uint8_t>& bytes) {
  std::string text;
  {
    OutputSink out(&text);
    DescribeImageData(out, bytes);
  }
  return text;
}

TEST(DescribeCid, EachByteInWords) {
  const struct {
    std::vector<std::uint8_t> bytes;
    const char* text;
  } cases[] = {
      {{}, "*** Invalid # bytes\n"},
      {{0, 3}, "*** Invalid # bytes\n"},
      {{0, 3, 8}, "RGB, direct by pixel, 8 bits\n"},
      {{0, 3, 8, 8, 8, 8}, "RGB, direct by pixel, 8 bits\n"},
      {{1, 0, 1}, "CMY, index by plane, 1 bits\n"},
      {{2, 1, 4}, "sRGB, index by pixel, 4 bits\n"},
      {{0, 2, 255}, "RGB, direct by plane, 255 bits\n"},
      {{255, 9, 9}, "CID undefined\n"},
      {{3, 0, 8}, "*** Invalid byte 0\n"},
      {{254, 0, 8}, "*** Invalid byte 0\n"},
      {{1, 4, 8}, "CMY, *** Invalid byte 0\n"},  // byte 1 is reported with the same words
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.bytes));
    EXPECT_EQ(Describe(c.bytes), c.text);
  }
}

TEST(PaletteTracker, RasterStartAnswersDirectColour) {
  PaletteTracker palettes;
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

TEST(PaletteTracker, ControlsNeedTracking) {
  PaletteTracker palettes;
  ResetPalettes(palettes, false);
  RecordPaletteControl(palettes, 6);
  EXPECT_TRUE(palettes.palettes.empty());
}

struct SummaryCase {
  const char* name;
  std::string job;
  std::string summary;  // after the rule
};

class PaletteSummary : public ::testing::TestWithParam<SummaryCase> {};

TEST_P(PaletteSummary, ListsReferencedPalettes) {
  const SummaryCase& c = GetParam();
  const std::string listing = test::Decode(c.job, test::kNoSummaries | DF_PALETTE_SUM).listing;
  const std::size_t at = listing.find(kRule);
  ASSERT_NE(at, std::string::npos) << listing;
  const std::string got = listing.substr(at + kRule.size());
  EXPECT_EQ(got, c.summary) << test::FirstDifference(got, c.summary);
}

const std::string kCopyTo5 = E + "&p5I" + E + "&p6C";

const SummaryCase kSummaryCases[] = {
    {"NothingCopied", E + "&p5S" + E + "*r1A" + E + "*v1S", kNoRaster + kNoColour},
    {"DirectPaletteUsedByRaster",
     kCopyTo5 + E + "*v6W" + std::string("\0\3\10\10\10\10", 6) + E + "&p5S" + E + "*r1A" + E + "*rB",
     "    Palettes referenced by raster :\n    id    5 : RGB, direct by pixel, 8 bits\n\n" + kNoColour},
    {"NeverConfigured", E + "&p3I" + E + "&p6C" + E + "&p3S" + E + "*v1S",
     kNoRaster + "    Palettes referenced by color entry :\n    id    3 : CID undefined\n\n"},
    {"ConfigureOnlyTheControlId", kCopyTo5 + E + "&p6I" + E + "*v3W" + std::string("\0\3\10", 3) + E + "&p5S" + E + "*r0A",
     "    Palettes referenced by raster :\n    id    5 : CID undefined\n\n" + kNoColour},
    {"TooFewBytesConfigureNothing", kCopyTo5 + E + "*v2W" + std::string("\0\3", 2) + E + "&p5S" + E + "*r0A",
     "    Palettes referenced by raster :\n    id    5 : CID undefined\n\n" + kNoColour},
    {"InvalidConfiguration", kCopyTo5 + E + "*v3W" + std::string("\7\0\1", 3) + E + "&p5S" + E + "*r0A",
     "    Palettes referenced by raster :\n    id    5 : *** Invalid byte 0\n\n" + kNoColour},
    {"NewestFirst",
     E + "&p1I" + E + "&p6C" + E + "&p2I" + E + "&p6C" + E + "&p1S" + E + "*r0A" + E + "*rB" + E + "&p2S" + E + "*r0A",
     "    Palettes referenced by raster :\n    id    2 : CID undefined\n    id    1 : CID undefined\n\n" + kNoColour},
    {"CopyAgainMakesAFreshNewestRecord",
     E + "&p1I" + E + "&p6C" + E + "&p2I" + E + "&p6C" + E + "&p1S" + E + "*v0S" + E + "&p2S" + E + "*v0S" + E + "&p1I" +
         E + "&p6C",
     kNoRaster + "    Palettes referenced by color entry :\n    id    2 : CID undefined\n\n"},
    {"DeleteByControlId", kCopyTo5 + E + "&p5S" + E + "*v0S" + E + "&p2C", kNoRaster + kNoColour},
    {"DeleteWithoutRecordChangesNothing", kCopyTo5 + E + "&p9I" + E + "&p2C" + E + "&p5S" + E + "*v0S",
     kNoRaster + "    Palettes referenced by color entry :\n    id    5 : CID undefined\n\n"},
    {"RasterAndColourBoth", kCopyTo5 + E + "&p5S" + E + "*r0A" + E + "*rB" + E + "*v2S",
     "    Palettes referenced by raster :\n    id    5 : CID undefined\n\n"
     "    Palettes referenced by color entry :\n    id    5 : CID undefined\n\n"},
    // Text counts for the palette it was printed with, at the page end.
    {"TextCountsAtPageEject", kCopyTo5 + E + "&p5SA\f",
     kNoRaster + "    Palettes referenced by color entry :\n    id    5 : CID undefined\n\n"},
    // Selecting another palette first credits the text to the old one.
    {"TextBeforeSelectCountsForTheOldPalette",
     E + "&p7I" + E + "&p6C" + E + "&p8I" + E + "&p6C" + E + "&p7SA" + E + "&p8S",
     kNoRaster + "    Palettes referenced by color entry :\n    id    7 : CID undefined\n\n"},
    {"WideId", E + "&p12345I" + E + "&p6C" + E + "&p12345S" + E + "*r0A",
     "    Palettes referenced by raster :\n    id 12345 : CID undefined\n\n" + kNoColour},
};
std::string CaseName(const ::testing::TestParamInfo<SummaryCase>& info) { return info.param.name; }
INSTANTIATE_TEST_SUITE_P(Jobs, PaletteSummary, ::testing::ValuesIn(kSummaryCases), CaseName);

}  // namespace
}  // namespace veltrix
