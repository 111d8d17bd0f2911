// The end-of-file summaries of whole jobs: their order and their exact texts.
#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"

namespace veltrix {
namespace {

using test::Decode;

const std::string E = "\x1b";
const std::string kRule = "\n===================================================\n\n";

std::string Blanks(std::size_t n) { return std::string(n, ' '); }

std::size_t CountOf(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// Three pages; macros 1, 2 and 5 defined, executed inside a definition,
// enabled and disabled as overlays, made permanent and deleted; two-byte text.
// The offset after each escape is noted where a tracker takes it.
std::string SummaryJob() {
  return E + "E"                          //   0 reset
         + E + "&f1Y" + E + "&f0X"        //   2, 7: define macro 1 (12)
         + "A"                            //  12 the page has content
         + E + "&f1X"                     //  13: stop (18)
         + E + "&f2Y" + E + "&f0X"        //  18, 23: define macro 2 (28)
         + E + "&f1Y" + E + "&f2X"        //  28, 33: execute 1 inside 2 (38)
         + E + "&f10X"                    //  38: ignored while defining
         + E + "&f1X"                     //  44: stop 2 (49)
         + E + "&f10X"                    //  49: macro 1 permanent (55)
         + E + "&f2Y" + E + "&f4X"        //  55, 60: overlay 2 (65)
         + E + "&f1Y" + E + "&f4X"        //  65, 70: overlay 1 replaces 2 (75)
         + "\f"                           //  75: page 1 ends (76)
         + E + "&t31P"                    //  76
         + std::string("\x81\x40" "A" "\x81\x40" "\xE0\x41", 7)  // 82
         + E + "&t0P"                     //  89
         + "\f"                           //  94: page 2 ends (95)
         + E + "&f5Y" + E + "&f0X"        //  95, 100: define macro 5 (105)
         + E + "&f1X"                     // 105: stop (110)
         + E + "&f7X"                     // 110: delete temporary macros 2 and 5 (115)
         + E + "&f2X"                     // 115: macro 5 is gone: no trace
         + "B"                            // 120
         + E + "&f5X";                    // 121: overlay 1 disabled (126); page 3 ends at 126
}

const std::string kEscapeSummary =
    "\n============ PCL Escape Summary =================\n\n"
    "Escape" + Blanks(7) + "Description" + Blanks(39) + "Occurances\n" +
    "------" + Blanks(7) + "-----------" + Blanks(39) + "----------\n" + "\n" +
    "<ESC>E" + Blanks(7) + "Reset" + Blanks(45) + ":     1 time \n" +
    "<ESC>&f#X" + Blanks(4) + "Macro Control" + Blanks(37) + ":    14 times\n" +
    "<ESC>&f#Y" + Blanks(4) + "Set Macro ID" + Blanks(38) + ":     6 times\n" +
    "<ESC>&t#P" + Blanks(4) + "Text Parsing Method " + Blanks(30) + ":     2 times\n" +
    "\n23 Escape sequences\n" +
    "\n============ Control Character Summary ==========\n\n" +
    "DEC 12       Form Feed" + Blanks(41) + ":     2 times\n" +
    "\n======================================\n";

const std::string kMacroSummary = kRule +
    "    Macro Summary \n\n"
    "    Macro ID 1     (perm) :\n"
    "        Start Define     offset      12\n"
    "        Stop  Define     offset      18\n"
    "        Execute          offset      38 (inside macro 2    )\n"
    "        Make Permanent   offset      55\n"
    "        Enable  Overlay  offset      75\n"
    "        Disable Overlay  offset     126\n"
    "\n"
    "    Macro ID 2     (temp) :\n"
    "        Start Define     offset      28\n"
    "        Stop  Define     offset      49\n"
    "        Enable  Overlay  offset      65\n"
    "        Disable Overlay  offset      75\n"
    "        Delete (Temp)    offset     115\n"
    "\n"
    "    Macro ID 5     (temp) :\n"
    "        Start Define     offset     105\n"
    "        Stop  Define     offset     110\n"
    "        Delete (Temp)    offset     115\n"
    "\n";

const std::string kPaletteSummary = kRule +
    "    Palettes referenced by raster : none\n\n"
    "    Palettes referenced by color entry : none\n\n";

const std::string kPageSummary = kRule +
    "    Page Summary \n\n"
    "    Page 1 : offset      76\n"
    "    Page 2 : offset      95\n"
    "    Page 3 : offset     126\n"
    "\n";

// Under method 31 the single byte A counts as well, as 0x0041.
const std::string kTwoByteSummary = kRule +
    "    2 Byte Char Summary \n\n"
    "    0x0041\n"
    "    0x8140\n"
    "    0xE041\n"
    "\n    Total unique 2 byte values = 3\n";

TEST(Summaries, ComeInTheDriversOrderAfterTheLastPage) {
  const MemoryDecodeResult result =
      Decode(SummaryJob(), DF_ESC_SUM | DF_MACRO_SUM | DF_PAGE_SUM | DF_PALETTE_SUM | DF_2BYTE_SUM);
  const std::string& listing = result.listing;
  EXPECT_NE(listing.find("<0x8140>A<0x8140><0xE041>\n"), std::string::npos) << listing;
  EXPECT_NE(listing.find("<FF>\n[Page Eject offset 76 ]\n"), std::string::npos) << listing;
  EXPECT_NE(listing.find("<FF>\n[Page Eject offset 95 ]\n"), std::string::npos) << listing;
  const std::string lastPage = "Macro Control (5) : Disable auto overlay\n[Page Eject offset 126 ]\n";
  const std::size_t end = listing.find(lastPage);
  ASSERT_NE(end, std::string::npos) << listing;
  const std::string summaries = listing.substr(end + lastPage.size());
  const std::string want = kEscapeSummary + kMacroSummary + kPaletteSummary + kPageSummary + kTwoByteSummary;
  EXPECT_EQ(summaries, want) << test::FirstDifference(summaries, want);
  EXPECT_EQ(result.errorLog, "");
}

TEST(Summaries, EmptyJobHasEveryHeadingWithItsNone) {
  const std::string listing = Decode("", DF_MACRO_SUM | DF_PAGE_SUM | DF_PALETTE_SUM | DF_2BYTE_SUM).listing;
  const std::string want = kRule + "    Macro Summary : No Macros Defined\n\n" + kPaletteSummary + kRule +
                           "    Page Summary : No Pages Defined\n\n" + kRule +
                           "    2 Byte Char Summary : No 2 Byte chars referenced\n\n";
  EXPECT_EQ(listing, want) << test::FirstDifference(listing, want);
}

// A three-page job that Ghostscript's ljet4 device wrote at 75 dpi from
// tests/realjobs/data/three-pages.ps. Each page ends with a form feed after
// its raster rows (at 338, 683 and 1032); the closing ESC E finds no content.
TEST(Summaries, GhostscriptJobOfThreePages) {
  const std::string job = test::ReadFile(test::TestDir() / "decode/data/ljet4-three-pages.pcl");
  ASSERT_EQ(job.size(), 1035u);
  const MemoryDecodeResult result = Decode(job, test::kNoSummaries | DF_PAGE_SUM);
  const std::string want = "<FF>\n[Page Eject offset 1033 ]\n[ ESC E ]             Reset\n" + kRule +
                           "    Page Summary \n\n"
                           "    Page 1 : offset     339\n"
                           "    Page 2 : offset     684\n"
                           "    Page 3 : offset    1033\n"
                           "\n";
  ASSERT_GE(result.listing.size(), want.size());
  EXPECT_EQ(result.listing.substr(result.listing.size() - want.size()), want);
  EXPECT_EQ(CountOf(result.listing, "[Page Eject offset "), 3u);
  EXPECT_EQ(CountOf(result.listing, "***"), 0u);
  EXPECT_EQ(result.errorLog, "");
}

}  // namespace
}  // namespace veltrix
