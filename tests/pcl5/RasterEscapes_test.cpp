// The raster escapes hand their rows to the row decoder: when rows are read
// at all, how they are listed between the escape lines (and without them,
// contiguously), and how the palette in use makes them 24-bit rows.
#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "decode/core/DecodeOptions.h"

namespace veltrix::test {
namespace {

const std::string E = "\x1b";

// "[ ESC ... ]" padded to 22 columns, then the meaning.
std::string L(const std::string& header, const std::string& meaning) {
  std::string line = "[ ESC " + header + " ] ";
  line.resize(22, ' ');
  return line + meaning + "\n";
}

struct RasterCase {
  const char* name;
  std::string job;
  std::uint32_t flags;
  std::string want;
};

const RasterCase kCases[] = {
    {"RowsAreSkippedUnlessShownOrCounted", E + "*b2WxyB", kNoSummaries,
     L("* b 2 W", "Transfer Raster Data") + "B\n"},
    {"RowWithoutStartStartsRasterGraphics", E + "*b1W\xff", kNoSummaries | DF_RAS_GRAPH,
     L("* b 1 W", "Transfer Raster Data") + "<rast>:11111111\n"},
    {"RowsFollowTheirEscapes", E + "*r1A" + E + "*b1W\x80" + E + "*b1W\x01" + E + "*rB",
     kNoSummaries | DF_RAS_GRAPH,
     L("* r 1 A", "Start Raster Graphics : Start at Current X position") + L("* b 1 W", "Transfer Raster Data") +
         "<rast>:1       \n" + L("* b 1 W", "Transfer Raster Data") + "<rast>:       1\n" +
         L("* r B", "End Raster Graphics")},
    {"ContiguousRowsStandAlone", E + "*r1A" + E + "*b1W\x80" + E + "*b1W\x01" + E + "*rB",
     kNoSummaries | DF_RAS_GRAPH | DF_RAS_CONTIGUOUS,
     L("* r 1 A", "Start Raster Graphics : Start at Current X position") + "<rast>:1       \n" +
         "<rast>:       1\n" + L("* r B", "End Raster Graphics")},
    // Only ESC*b#W with its upper-case W loses its header: a combined escape
    // ending in a lower-case w keeps the header, and its formatter writes no
    // meaning, so the row line follows the header on the same line.
    {"ContiguousCombinedRowKeepsItsHeader", "A" + E + "*b2wab2WcdB", kNoSummaries | DF_RAS_GRAPH | DF_RAS_CONTIGUOUS,
     "A\n" + std::string("[ ESC * b 2 w ]       ") + "<rast>: 11    1 11   1 \n" + "<rast>: 11   11 11  1  \n" +
         "B\n"},
    {"SeedRowCarriesOverForDeltaRows", E + "*b3M" + E + "*b2W\x01\xf0" + E + std::string("*b2W\x00\x0f", 6),
     kNoSummaries | DF_RAS_GRAPH | DF_RAS_CONTIGUOUS,
     // Delta rows emit the whole seed row, listed up to its last non-zero byte.
     L("* b 3 M", "Set Raster Compression : Delta Row") + "<rast>:        1111    \n" +
         "<rast>:    11111111    \n"},
};

class RasterEscapes : public ::testing::TestWithParam<RasterCase> {};

TEST_P(RasterEscapes, ListRows) {
  const RasterCase& c = GetParam();
  const std::string listing = Decode(c.job, c.flags).listing;
  EXPECT_EQ(listing, c.want) << FirstDifference(listing, c.want);
}

INSTANTIATE_TEST_SUITE_P(All, RasterEscapes, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

// A palette copied to a control ID and configured as direct by pixel makes
// the rows of a raster area that it is active for 24-bit rows: listed as
// colours, counted in the colour summary, and the palette named in the
// palette summary.
TEST(RasterEscapesColour, DirectPaletteMakesTwentyFourBitRows) {
  const std::string job = E + "&p5I" + E + "&p6C" + E + "*v6W" + std::string("\x00\x03\x08\x08\x08\x08", 6) + E +
                          "&p5S" + E + "*r1A" + E + "*b9W" + std::string("\xff\x00\x00\x00\x00\xff\xff\x00\x00", 9) +
                          E + "*rB";
  const std::string listing = Decode(job, kNoSummaries | DF_RAS_GRAPH | DF_24BIT_RAST | DF_PALETTE_SUM).listing;
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

TEST(RasterEscapesColour, NoDirectRowsCountNoColours) {
  const std::string listing = Decode(E + "*r1A" + E + "*b1W\xff" + E + "*rB", kNoSummaries | DF_24BIT_RAST).listing;
  EXPECT_NE(listing.find("\n===================================================\n\n"
                         "    24 Bit Raster Colors Referenced : none\n\n"),
            std::string::npos)
      << listing;
}

}  // namespace
}  // namespace veltrix::test
