// Macro, page and two-byte character summaries, compared as whole texts. The
// order of the summaries after the last page is in the golden listings.
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
std::string Summary(Tracker& tracker, Writer write) {
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
      {"an overlay replaces the one before",
       {{'Y', 1}, {'X', 0, 10}, {'X', 1, 11}, {'Y', 2}, {'X', 0, 20}, {'X', 1, 21}, {'X', 4, 22}, {'Y', 1}, {'X', 4, 23},
        {'X', 5, 24}},
       kMacros +
           Macro("1     (temp)", {"Start Define     offset      10", "Stop  Define     offset      11",
                                  "Enable  Overlay  offset      23", "Disable Overlay  offset      24"}) +
           Macro("2     (temp)", {"Start Define     offset      20", "Stop  Define     offset      21",
                                  "Enable  Overlay  offset      22", "Disable Overlay  offset      23"})},
      // IDs of 2^31 and more are IDs like any other, read as the escape's
      // line prints them: 4294967295 is not "no macro".
      {"the largest IDs",
       {{'Y', 7}, {'X', 0, 1}, {'X', 1, 2}, {'Y', -1}, {'X', 0, 5}, {'Y', 7}, {'X', 2, 6}, {'X', 1, 7},
        {'Y', -1}, {'X', 2, 8}, {'X', 10, 9}},
       kMacros +
           Macro("7     (temp)", {"Start Define     offset       1", "Stop  Define     offset       2",
                                  "Execute          offset       6 (inside macro 4294967295)"}) +
           Macro("4294967295 (perm)", {"Start Define     offset       5", "Stop  Define     offset       7",
                                       "Execute          offset       8", "Make Permanent   offset       9"})},
      {"group deletes and unfinished macros",
       {{'Y', 1}, {'X', 0, 10}, {'X', 2, 11}, {'X', 1, 12}, {'Y', 2}, {'X', 0, 20}, {'X', 1, 21}, {'X', 10, 22},
        {'X', 7, 30}, {'X', 6, 31}, {'X', 2, 32}, {'Y', 1}, {'X', 9, 33}, {'X', 11, 34}, {'X', -1, 35}, {'X', 5, 36}},
       kMacros +
           Macro("1     (temp)", {"Start Define     offset      10", "Stop  Define     offset      12",
                                  "Delete (Temp)    offset      30"}) +
           Macro("2     (perm)", {"Start Define     offset      20", "Stop  Define     offset      21",
                                  "Make Permanent   offset      22", "Delete (All)     offset      31"})},
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

// Enough macros and events that the events spill to disk and the summary
// sorts them in several buckets: each macro still lists its own events in
// order, the macros in order of definition (not of ID).
TEST(MacroSummary, ManyMacrosAndEvents) {
  constexpr std::uint32_t kMacrosDefined = 150'000;
  constexpr std::uint32_t kExecutes = 300'000;
  MacroTracker macros;
  ResetMacros(macros, true);
  std::string want = kMacros;
  std::int64_t offset = 0;
  for (std::uint32_t i = 0; i < kMacrosDefined; ++i) {
    const std::uint32_t id = kMacrosDefined - i;
    SetMacroId(macros, id);
    RecordMacroControl(macros, 0, ++offset);
    RecordMacroControl(macros, 1, ++offset);
    char heading[40];
    std::snprintf(heading, sizeof heading, "%-5u (temp)", id);
    char start[40], stop[40];
    std::snprintf(start, sizeof start, "Start Define     offset %7lld", static_cast<long long>(offset - 1));
    std::snprintf(stop, sizeof stop, "Stop  Define     offset %7lld", static_cast<long long>(offset));
    want += i == 0 ? "" : Macro(heading, {start, stop});
  }
  // The first macro defined is executed many times after all the others.
  SetMacroId(macros, kMacrosDefined);
  std::string first = "    Macro ID " + std::to_string(kMacrosDefined) + " (temp) :\n" +
                      "        Start Define     offset       1\n        Stop  Define     offset       2\n";
  for (std::uint32_t i = 0; i < kExecutes; ++i) {
    RecordMacroControl(macros, 2, ++offset);
    char line[48];
    std::snprintf(line, sizeof line, "        Execute          offset %7lld\n", static_cast<long long>(offset));
    first += line;
  }
  want.insert(kMacros.size(), first + "\n");
  EXPECT_GT(macros.events.Size(), SpillLog::kDefaultMemory);
  const std::string got = Summary(macros, WriteMacroSummary);
  EXPECT_TRUE(got == want) << test::FirstDifference(got, want);
}

std::string PageSummary(std::size_t pages, bool tracking = true) {
  PageTracker tracker;
  ResetPages(tracker, tracking);
  for (std::size_t i = 1; i <= pages; ++i) RecordPageEject(tracker, static_cast<std::int64_t>(i * 1000));
  return Summary(tracker, WritePageSummary);
}

TEST(PageSummary, PageNumberFieldIsAsWideAsTheCount) {
  EXPECT_EQ(PageSummary(2), kRule + "    Page Summary \n\n    Page 1 : offset    1000\n    Page 2 : offset    2000\n\n");
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

}  // namespace
}  // namespace veltrix
