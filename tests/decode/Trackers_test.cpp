// Macro, page and two-byte character summaries, compared as whole texts.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "decode/MacroTracker.h"
#include "decode/PageTracker.h"
#include "decode/TwoByteTracker.h"

namespace veltrix {
namespace {

const std::string kRule = "\n===================================================\n\n";

template <typename Tracker, typename Writer>
std::string Summary(const Tracker& tracker, Writer write) {
  std::string text;
  {
    OutputSink out(&text);
    write(tracker, out);
  }
  return text;
}

// One macro command of a job: ESC&f#Y (offset unused) or ESC&f#X.
struct MacroStep {
  char command;
  std::int32_t value;
  std::int64_t offset = 0;
};

struct MacroCase {
  const char* name;
  std::vector<MacroStep> steps;
  std::string want;
};

std::string RunMacros(const std::vector<MacroStep>& steps) {
  MacroTracker macros;
  ResetMacros(macros, true);
  for (const MacroStep& step : steps) {
    if (step.command == 'Y') {
      SetMacroId(macros, step.value);
    } else {
      RecordMacroControl(macros, step.value, step.offset);
    }
  }
  return Summary(macros, WriteMacroSummary);
}

TEST(MacroSummary, Jobs) {
  const std::vector<MacroCase> cases = {
      {"define, execute, make permanent",
       {{'Y', 5}, {'X', 0, 10}, {'X', 1, 40}, {'X', 2, 50}, {'X', 10, 60}},
       kRule + "    Macro Summary \n\n"
               "    Macro ID 5     (perm) :\n"
               "        Start Define     offset      10\n"
               "        Stop  Define     offset      40\n"
               "        Execute          offset      50\n"
               "        Make Permanent   offset      60\n"
               "\n"},
      {"executing an undefined macro", {{'Y', 7}, {'X', 2, 9}},
       kRule + "    Macro Summary : No Macros Defined\n\n"},
      {"a second overlay disables the first",
       {{'Y', 1}, {'X', 0, 1}, {'X', 1, 2}, {'Y', 2}, {'X', 0, 3}, {'X', 1, 4},
        {'Y', 1}, {'X', 4, 5}, {'Y', 2}, {'X', 4, 6}, {'X', 5, 7}, {'X', 5, 8}},
       kRule + "    Macro Summary \n\n"
               "    Macro ID 1     (temp) :\n"
               "        Start Define     offset       1\n"
               "        Stop  Define     offset       2\n"
               "        Enable  Overlay  offset       5\n"
               "        Disable Overlay  offset       6\n"
               "\n"
               "    Macro ID 2     (temp) :\n"
               "        Start Define     offset       3\n"
               "        Stop  Define     offset       4\n"
               "        Enable  Overlay  offset       6\n"
               "        Disable Overlay  offset       7\n"
               "\n"},
      // While 4 is defined only stop, execute and call count; the stop ends
      // macro 4 although the current ID is 3 by then.
      {"commands inside a definition",
       {{'Y', 3}, {'X', 0, 100}, {'X', 1, 200}, {'Y', 4}, {'X', 0, 300}, {'Y', 3},
        {'X', 2, 400}, {'X', 3, 500}, {'X', 8, 600}, {'X', 10, 700}, {'X', 0, 800},
        {'X', 1, 900}, {'X', 2, 1234567}},
       kRule + "    Macro Summary \n\n"
               "    Macro ID 3     (temp) :\n"
               "        Start Define     offset     100\n"
               "        Stop  Define     offset     200\n"
               "        Execute          offset     400 (inside macro 4    )\n"
               "        Call             offset     500 (inside macro 4    )\n"
               "        Execute          offset 1234567\n"
               "\n"
               "    Macro ID 4     (temp) :\n"
               "        Start Define     offset     300\n"
               "        Stop  Define     offset     900\n"
               "\n"},
      // 7 deletes only the temporary macro 1; 6 then reaches only 2, since 1 is
      // no longer defined; executing a deleted or unfinished macro leaves nothing.
      {"group deletes and unfinished macros",
       {{'Y', 1}, {'X', 0, 10}, {'X', 2, 11}, {'X', 1, 12}, {'Y', 2}, {'X', 0, 20},
        {'X', 1, 21}, {'X', 10, 22}, {'X', 7, 30}, {'X', 6, 31}, {'X', 2, 32},
        {'Y', 1}, {'X', 9, 33}, {'X', 11, 34}, {'X', -1, 35}},
       kRule + "    Macro Summary \n\n"
               "    Macro ID 1     (temp) :\n"
               "        Start Define     offset      10\n"
               "        Stop  Define     offset      12\n"
               "        Delete (Temp)    offset      30\n"
               "\n"
               "    Macro ID 2     (perm) :\n"
               "        Start Define     offset      20\n"
               "        Stop  Define     offset      21\n"
               "        Make Permanent   offset      22\n"
               "        Delete (All)     offset      31\n"
               "\n"},
      {"redefinition keeps the first place and the events",
       {{'Y', 9}, {'X', 0, 1}, {'X', 1, 2}, {'Y', 8}, {'X', 0, 3}, {'X', 1, 4},
        {'Y', 9}, {'X', 0, 5}, {'X', 1, 6}, {'X', 8, 7}},
       kRule + "    Macro Summary \n\n"
               "    Macro ID 9     (temp) :\n"
               "        Start Define     offset       1\n"
               "        Stop  Define     offset       2\n"
               "        Start Define     offset       5\n"
               "        Stop  Define     offset       6\n"
               "        Delete           offset       7\n"
               "\n"
               "    Macro ID 8     (temp) :\n"
               "        Start Define     offset       3\n"
               "        Stop  Define     offset       4\n"
               "\n"},
  };
  for (const MacroCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(RunMacros(c.steps), c.want);
  }
}

TEST(MacroSummary, NothingWithoutTrackingAndNothingCarriedOver) {
  MacroTracker macros;
  ResetMacros(macros, false);
  SetMacroId(macros, 1);
  RecordMacroControl(macros, 0, 5);
  RecordMacroControl(macros, 1, 6);
  EXPECT_EQ(Summary(macros, WriteMacroSummary), "");

  ResetMacros(macros, true);
  SetMacroId(macros, 2);
  RecordMacroControl(macros, 0, 5);  // the definition stays open at the end of the file
  ResetMacros(macros, true);
  RecordMacroControl(macros, 0, 7);  // a reset ID is 0 and no definition is open
  EXPECT_EQ(Summary(macros, WriteMacroSummary), kRule + "    Macro Summary \n\n"
                                                        "    Macro ID 0     (temp) :\n"
                                                        "        Start Define     offset       7\n"
                                                        "\n");
}

std::string PageSummary(std::size_t pages) {
  PageTracker tracker;
  ResetPages(tracker, true);
  for (std::size_t i = 1; i <= pages; ++i) {
    RecordPageEject(tracker, static_cast<std::int64_t>(i * 1000));
  }
  return Summary(tracker, WritePageSummary);
}

TEST(PageSummary, PageNumberFieldIsAsWideAsTheCount) {
  std::string nine = kRule + "    Page Summary \n\n";
  for (int i = 1; i <= 9; ++i) {
    nine += "    Page " + std::to_string(i) + " : offset    " + std::to_string(i) + "000\n";
  }
  nine += "\n";
  EXPECT_EQ(PageSummary(9), nine);

  const std::string ten = PageSummary(10);
  EXPECT_NE(ten.find("\n    Page  1 : offset    1000\n"), std::string::npos) << ten;
  EXPECT_NE(ten.find("\n    Page  9 : offset    9000\n"), std::string::npos) << ten;
  EXPECT_NE(ten.find("\n    Page 10 : offset   10000\n\n"), std::string::npos) << ten;

  EXPECT_EQ(PageSummary(0), kRule + "    Page Summary : No Pages Defined\n\n");
}

TEST(PageSummary, NothingWithoutTracking) {
  PageTracker tracker;
  ResetPages(tracker, false);
  RecordPageEject(tracker, 10);
  EXPECT_EQ(Summary(tracker, WritePageSummary), "");
}

TEST(TwoByteSummary, DistinctCodesAscending) {
  struct Case {
    const char* name;
    std::vector<std::uint32_t> codes;
    std::string want;
  };
  const std::vector<Case> cases = {
      {"repeated code", {0x8140, 0x3021, 0x8140},
       kRule + "    2 Byte Char Summary \n\n    0x3021\n    0x8140\n\n"
               "    Total unique 2 byte values = 2\n"},
      {"none", {}, kRule + "    2 Byte Char Summary : No 2 Byte chars referenced\n\n"},
      {"short and wide codes", {0x12345, 0x41, 0xFFFF, 0x12345, 0x10000, 0x41},
       kRule + "    2 Byte Char Summary \n\n    0x0041\n    0xFFFF\n    0x10000\n    0x12345\n\n"
               "    Total unique 2 byte values = 4\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TwoByteTracker tracker;
    ResetTwoByte(tracker, true);
    for (const std::uint32_t code : c.codes) CountTwoByteCode(tracker, code);
    EXPECT_EQ(Summary(tracker, WriteTwoByteSummary), c.want);
  }
}

TEST(TwoByteSummary, ResetForgetsAndReleaseStopsTracking) {
  TwoByteTracker tracker;
  ResetTwoByte(tracker, true);
  CountTwoByteCode(tracker, 0x8140);
  ResetTwoByte(tracker, true);
  CountTwoByteCode(tracker, 0x8140);  // counted again: the earlier file is forgotten
  EXPECT_EQ(Summary(tracker, WriteTwoByteSummary),
            kRule + "    2 Byte Char Summary \n\n    0x8140\n\n"
                    "    Total unique 2 byte values = 1\n");
  ReleaseTwoByte(tracker);
  CountTwoByteCode(tracker, 0x8141);
  EXPECT_EQ(Summary(tracker, WriteTwoByteSummary), "");
}

}  // namespace
}  // namespace veltrix
