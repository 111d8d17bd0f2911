// Macro, page and two-byte character summaries, compared as whole texts: the
// trackers' rarer paths one by one, and then the summaries of a whole job
// that defines, executes, overlays and makes macros permanent.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "decode/trackers/MacroTracker.h"
#include "decode/trackers/PageTracker.h"
#include "decode/trackers/TwoByteTracker.h"

namespace veltrix {
namespace {

const std::string kRule = "\n===================================================\n\n";
const std::string kMacros = kRule + "    Macro Summary \n\n";

template <typename Tracker, typename Writer>
std::string Summary(const Tracker& tracker, Writer write) {
  std::string text;
  OutputSink out(&text);
  write(tracker, out);
  out.Flush();
  return text;
}

// One macro's part of the summary: its heading and its event lines.
std::string Macro(const char* heading, std::initializer_list<const char*> events) {
  std::string text = "    Macro ID " + std::string(heading) + " :\n";
  for (const char* event : events) text += "        " + std::string(event) + "\n";
  return text + "\n";
}

// One macro command of a job: ESC&f#Y (offset unused) or ESC&f#X; or 'R',
// the driver's reset at the start of a file, tracking when the value is 1.
struct MacroStep {
  char command;
  std::int32_t value;
  std::int64_t offset = 0;
};

TEST(MacroSummary, Jobs) {
  const struct {
    const char* name;
    std::vector<MacroStep> steps;
    std::string want;
  } cases[] = {
      {"executing an undefined macro", {{'Y', 7}, {'X', 2, 9}}, kRule + "    Macro Summary : No Macros Defined\n\n"},
      {"nothing without tracking", {{'R', 0}, {'Y', 1}, {'X', 0, 5}, {'X', 1, 6}}, ""},
      // The definition left open at the end of a file is forgotten; a reset
      // ID is 0.
      {"nothing carried over", {{'Y', 2}, {'X', 0, 5}, {'R', 1}, {'X', 0, 7}},
       kMacros + Macro("0     (temp)", {"Start Define     offset       7"})},
      // While 4 is defined only stop, execute and call count; the stop ends
      // macro 4 although the current ID is 3 by then.
      {"commands inside a definition",
       {{'Y', 3}, {'X', 0, 100}, {'X', 1, 200}, {'Y', 4}, {'X', 0, 300}, {'Y', 3}, {'X', 2, 400}, {'X', 3, 500},
        {'X', 8, 600}, {'X', 10, 700}, {'X', 0, 800}, {'X', 1, 900}, {'X', 2, 1234567}},
       kMacros +
           Macro("3     (temp)", {"Start Define     offset     100", "Stop  Define     offset     200",
                                  "Execute          offset     400 (inside macro 4    )",
                                  "Call             offset     500 (inside macro 4    )",
                                  "Execute          offset 1234567"}) +
           Macro("4     (temp)", {"Start Define     offset     300", "Stop  Define     offset     900"})},
      // 7 deletes only the temporary macro 1; 6 then reaches only 2, since 1 is
      // no longer defined; executing a deleted or unfinished macro, or
      // disabling an overlay when none is on, leaves nothing.
      {"group deletes and unfinished macros",
       {{'Y', 1}, {'X', 0, 10}, {'X', 2, 11}, {'X', 1, 12}, {'Y', 2}, {'X', 0, 20}, {'X', 1, 21}, {'X', 10, 22},
        {'X', 7, 30}, {'X', 6, 31}, {'X', 2, 32}, {'Y', 1}, {'X', 9, 33}, {'X', 11, 34}, {'X', -1, 35}, {'X', 5, 36}},
       kMacros +
           Macro("1     (temp)", {"Start Define     offset      10", "Stop  Define     offset      12",
                                  "Delete (Temp)    offset      30"}) +
           Macro("2     (perm)", {"Start Define     offset      20", "Stop  Define     offset      21",
                                  "Make Permanent   offset      22", "Delete (All)     offset      31"})},
      {"redefinition keeps the first place and the events",
       {{'Y', 9}, {'X', 0, 1}, {'X', 1, 2}, {'Y', 8}, {'X', 0, 3}, {'X', 1, 4}, {'Y', 9}, {'X', 0, 5}, {'X', 1, 6},
        {'X', 8, 7}},
       kMacros +
           Macro("9     (temp)", {"Start Define     offset       1", "Stop  Define     offset       2",
                                  "Start Define     offset       5", "Stop  Define     offset       6",
                                  "Delete           offset       7"}) +
           Macro("8     (temp)", {"Start Define     offset       3", "Stop  Define     offset       4"})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MacroTracker macros;
    ResetMacros(macros, true);
    for (const MacroStep& step : c.steps) {
      if (step.command == 'R') ResetMacros(macros, step.value == 1);
      else if (step.command == 'Y') SetMacroId(macros, step.value);
      else RecordMacroControl(macros, step.value, step.offset);
    }
    EXPECT_EQ(Summary(macros, WriteMacroSummary), c.want);
  }
}

std::string PageSummary(std::size_t pages, bool tracking = true) {
  PageTracker tracker;
  ResetPages(tracker, tracking);
  for (std::size_t i = 1; i <= pages; ++i) RecordPageEject(tracker, static_cast<std::int64_t>(i * 1000));
  return Summary(tracker, WritePageSummary);
}

TEST(PageSummary, PageNumberFieldIsAsWideAsTheCount) {
  std::string nine = kRule + "    Page Summary \n\n";
  for (int i = 1; i <= 9; ++i) nine += "    Page " + std::to_string(i) + " : offset    " + std::to_string(i) + "000\n";
  EXPECT_EQ(PageSummary(9), nine + "\n");

  const std::string ten = PageSummary(10);
  EXPECT_NE(ten.find("\n    Page  1 : offset    1000\n"), std::string::npos) << ten;
  EXPECT_NE(ten.find("\n    Page  9 : offset    9000\n"), std::string::npos) << ten;
  EXPECT_NE(ten.find("\n    Page 10 : offset   10000\n\n"), std::string::npos) << ten;

  EXPECT_EQ(PageSummary(0), kRule + "    Page Summary : No Pages Defined\n\n");
  EXPECT_EQ(PageSummary(1, false), "");  // nothing without tracking
}

TEST(TwoByteSummary, DistinctCodesAscendingResetAndRelease) {
  TwoByteTracker tracker;
  ResetTwoByte(tracker, true);
  EXPECT_EQ(Summary(tracker, WriteTwoByteSummary), kRule + "    2 Byte Char Summary : No 2 Byte chars referenced\n\n");
  for (const std::uint32_t code : {0x12345, 0x41, 0xFFFF, 0x12345, 0x10000, 0x41}) CountTwoByteCode(tracker, code);
  EXPECT_EQ(Summary(tracker, WriteTwoByteSummary),
            kRule + "    2 Byte Char Summary \n\n    0x0041\n    0xFFFF\n    0x10000\n    0x12345\n\n"
                    "    Total unique 2 byte values = 4\n");
  ResetTwoByte(tracker, true);
  CountTwoByteCode(tracker, 0x41);  // counted again: the earlier file is forgotten
  EXPECT_EQ(Summary(tracker, WriteTwoByteSummary),
            kRule + "    2 Byte Char Summary \n\n    0x0041\n\n    Total unique 2 byte values = 1\n");
  ReleaseTwoByte(tracker);
  CountTwoByteCode(tracker, 0x8141);
  EXPECT_EQ(Summary(tracker, WriteTwoByteSummary), "");
}

const std::string E = "\x1b";
std::string Blanks(std::size_t n) { return std::string(n, ' '); }

// A job of three pages; macros 1, 2 and 5 defined, executed inside a definition,
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

const std::string kMacroSummary =
    kMacros +
    Macro("1     (perm)", {"Start Define     offset      12", "Stop  Define     offset      18",
                           "Execute          offset      38 (inside macro 2    )", "Make Permanent   offset      55",
                           "Enable  Overlay  offset      75", "Disable Overlay  offset     126"}) +
    Macro("2     (temp)", {"Start Define     offset      28", "Stop  Define     offset      49",
                           "Enable  Overlay  offset      65", "Disable Overlay  offset      75",
                           "Delete (Temp)    offset     115"}) +
    Macro("5     (temp)", {"Start Define     offset     105", "Stop  Define     offset     110",
                           "Delete (Temp)    offset     115"});

// Under method 31 the single byte A counts as well, as 0x0041.
const std::string kOtherSummaries = kRule +
    "    Palettes referenced by raster : none\n\n    Palettes referenced by color entry : none\n\n" + kRule +
    "    Page Summary \n\n    Page 1 : offset      76\n    Page 2 : offset      95\n    Page 3 : offset     126\n\n" +
    kRule + "    2 Byte Char Summary \n\n    0x0041\n    0x8140\n    0xE041\n\n    Total unique 2 byte values = 3\n";

TEST(Summaries, ComeInTheDriversOrderAfterTheLastPage) {
  const MemoryDecodeResult result =
      test::Decode(SummaryJob(), DF_ESC_SUM | DF_MACRO_SUM | DF_PAGE_SUM | DF_PALETTE_SUM | DF_2BYTE_SUM);
  const std::string& listing = result.listing;
  EXPECT_NE(listing.find("<0x8140>A<0x8140><0xE041>\n"), std::string::npos) << listing;
  EXPECT_NE(listing.find("<FF>\n[Page Eject offset 76 ]\n"), std::string::npos) << listing;
  EXPECT_NE(listing.find("<FF>\n[Page Eject offset 95 ]\n"), std::string::npos) << listing;
  const std::string lastPage = "Macro Control (5) : Disable auto overlay\n[Page Eject offset 126 ]\n";
  const std::size_t end = listing.find(lastPage);
  ASSERT_NE(end, std::string::npos) << listing;
  const std::string summaries = listing.substr(end + lastPage.size());
  const std::string want = kEscapeSummary + kMacroSummary + kOtherSummaries;
  EXPECT_EQ(summaries, want) << test::FirstDifference(summaries, want);
  EXPECT_EQ(result.errorLog, "");
}

}  // namespace
}  // namespace veltrix
