#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>

#include "TestSupport.h"
#include "decode/core/DecodeOptions.h"
#include "hpgl2/HpglTestRun.h"

namespace veltrix::test {
namespace {

using namespace std::string_literals;
using namespace std::string_view_literals;
std::string L(std::string_view body, bool open = false) { return HpglLine(body, open); }

// The real jobs cover plain instructions, long parameter lists and an ETX label.
TEST(HpglParser, InstructionsAndLabels) {
  const struct {
    const char* name;
    std::string_view bytes;
    std::string want;
    std::uint32_t textMethod = 0;
  } cases[] = {
      {"next mnemonic ends the line", "PA100,200.50PD;", L("PA 100, 200.5;") + L("PD;")},
      {"number waits for its end", "PA-1.0", L("PA", true)},
      {"ESC ends the line", "PA-1.0\x1b", L("PA -1;")},
      {"lower case", "in;sp1;", L("IN;") + L("SP 1;")},
      {"unknown mnemonic", "ZZ5;", L("ZZ 5;")},
      {"lone letter dropped", "P5IN;", L("IN;")},
      {"CR LF inside a number", "PA1,2\r\n3;", L("PA 1, 23;")},
      {"stray byte in parameters ends it", "PA1,*2;", L("PA 1;")},
      {"stray byte in a number is ignored", "PA1*2;", L("PA 12;")},
      {"PE data not listed", "PE<=Ag?Bb9;PE1,2\x1bIN;", L("PE (Polygon encoded)") + L("PE (Polygon encoded)") +
                                                            L("IN;")},
      {"comment", "CO \"PA1,2;\";IN;", L("IN;")},
      // Labels.
      {"interrupted by ESC", "LBHel\x1b", L("LB \"Hel\"")},
      {"CR LF kept", "LBA\r\nB\x03", L("LB \"A\r\nB\"")},
      {"NUL ends the shown text", "LBa\0b\x03"sv, L("LB \"a\"")},
      {"DT hidden terminator", "DT*;LBABC*", L("LB \"ABC\"")},
      {"DT shown terminator", "DT*, 0;LBABC*", L("LB \"ABC*\"")},
      {"DT; restores ETX", "DT*,0;DT;LBABC\x03", L("LB \"ABC\"")},
      {"DT without comma", "DT*IN;LBab*", L("IN;") + L("LB \"ab\"")},
      {"CR as terminator", "DT\rLBab\r", L("LB \"ab\"")},
      // Two-byte text parsing methods: the bytes are kept as received.
      {"two-byte pair", "LB\xA4\xA2\x03", L("LB \"\xA4\xA2\""), 38},
      {"terminator as lead byte does not end", "DT*;LB*A*\x1b", L("LB \"*A*\""), 21},
      {"shown terminator second in a pair", "DT*,0;LBA*", L("LB \"A*\""), 21},
  };
  for (const auto& c : cases) {
    HpglTestRun t(c.textMethod);
    t.Feed(c.bytes);
    EXPECT_EQ(t.Listing(), c.want) << c.name;
  }
}

TEST(HpglParser, Numbers) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {".5", "PA 0.5;"}, {"5.", "PA 5;"}, {"1.05", "PA 1.05;"}, {"-0.250", "PA -0.25;"}, {"1.5.25", "PA 1.5, 0.25;"},
      {"1+2-3", "PA 1, +2, -3;"}, {"1 2,,3", "PA 1, 2, 3;"}, {"-", "PA;"}, {".", "PA;"}, {"-+5", "PA +5;"},
      {"1.1234567891", "PA 1.123456789;"},  // fraction digits past the ninth are not kept
      {"7.0000000009", "PA 7;"},
      {"4294967297", "PA 1;"},  // the integer part wraps at 32 bits
  };
  for (const auto& [param, want] : cases) {
    HpglTestRun t;
    t.Feed("PA"s.append(param).append(";"));
    EXPECT_EQ(t.Listing(), L(want)) << param;
  }
}

TEST(HpglParser, LabelLength) {
  HpglTestRun t;
  t.Feed("LB" + std::string(10000, 'x') + "\x03");
  EXPECT_EQ(t.Listing(), L("LB \"" + std::string(4095, 'x') + "\""));

  HpglTestRun pair(38);  // a pair that does not fit whole is dropped; a single byte still fits
  pair.Feed("LB" + std::string(4094, 'a') + "\xA4\xA2" + "b\x03");
  EXPECT_EQ(pair.Listing(), L("LB \"" + std::string(4094, 'a') + "b\""));
}

// Which instructions draw is fixed by the instruction table; these are the ways in.
TEST(HpglParser, PageMarking) {
  const std::pair<std::string_view, bool> cases[] = {
      {"PA1,2;", true}, {"pd;", true},  {"PU1,2;", false}, {"ZZ;", false},        {"LBx\x03", true}, {"LBx", false},
      {"PE;", true},    {"DT*;", false}, {"P", false},     {"CO\"PA\"", false},
  };
  for (const auto& [bytes, marks] : cases) {
    HpglTestRun t;
    t.Feed(bytes);
    EXPECT_EQ(t.run.page.pageMarked, marks) << bytes;
  }
}

TEST(HpglParser, LeaveFinishesTheInstructionOnce) {
  HpglTestRun open, label;  // an ESC closes a line before the leave step: see the real jobs
  open.Feed("PA1,2");
  LeaveHpgl(HpglViewOf(open.run));
  LeaveHpgl(HpglViewOf(open.run));
  EXPECT_EQ(open.Listing(), L("PA 1, 2;"));
  label.Feed("LBab");
  LeaveHpgl(HpglViewOf(label.run));
  EXPECT_EQ(label.Listing(), L("LB \"ab\""));
}

TEST(HpglParser, TerminatorLivesUntilReset) {
  HpglTestRun t;
  t.Feed("DT*;");
  LeaveHpgl(HpglViewOf(t.run));
  EnterHpgl(HpglViewOf(t.run));  // a new HP-GL/2 stretch keeps the terminator
  t.Feed("LBab*");
  ResetHpgl(t.run.hpgl);  // a new PCL stretch brings back ETX
  t.Feed("LBcd*\x03");
  EXPECT_EQ(t.Listing(), L("LB \"ab\"") + L("LB \"cd*\""));
}

// The end of the job finishes the instruction in progress as an ESC would,
// and the page eject that follows gets a line of its own.
TEST(HpglParser, EndOfJobFinishesTheInstruction) {
  const std::string enter = "\x1b%0B";
  const std::string entered = "[ ESC % 0 B ]         Enter HPGL : Pen at previous HPGL pen position\n";
  const struct {
    std::string bytes;
    std::string want;
  } cases[] = {
      {enter + "PA1,2", entered + HpglLine("PA 1, 2;") + "[Page Eject offset 9 ]\n"},
      {enter + "LBabc", entered + HpglLine("LB \"abc\"") + "[Page Eject offset 9 ]\n"},
      {enter + "PA1,2;PD", entered + HpglLine("PA 1, 2;") + HpglLine("PD;") + "[Page Eject offset 12 ]\n"},
      {enter + "IN;", entered + HpglLine("IN;")},  // nothing drawn, no page
  };
  for (const auto& c : cases) {
    const std::string listing = Decode(c.bytes, kNoSummaries | DF_PAGE_SUM).listing;
    EXPECT_EQ(listing.substr(0, listing.find("\n=====")), c.want) << c.bytes;  // the page summary cut off
  }
}

}  // namespace
}  // namespace veltrix::test
