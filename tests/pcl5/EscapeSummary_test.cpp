#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "pcl5/EscapeSummary.h"
#include "pcl5/EscapeTreeWalk.h"

namespace veltrix {
namespace {

std::string Blanks(std::size_t n) { return std::string(n, ' '); }

// The fixed texts around the counted lines.
const std::string kHead =
    "\n============ PCL Escape Summary =================\n\n"
    "Escape" + Blanks(7) + "Description" + Blanks(39) + "Occurances\n"
    "------" + Blanks(7) + "-----------" + Blanks(39) + "----------\n"
    "\n";
const std::string kClosing = "\n======================================\n";

class EscapeSummaryTest : public ::testing::Test {
 protected:
  EscapeSummaryTest() {
    run_.ctx.listing = &sink_;
    ResetEscapeCounts(run_);
  }

  // Counts the escape reached by `path` (characters after ESC, no values), as the handler does.
  void Count(std::string_view path, std::uint32_t times = 1) {
    EscapeTableId table = EscapeTableId::Root;
    for (std::size_t i = 0; i + 1 < path.size(); ++i) table = DescendEscapeTree(table, path[i]);
    const EscapeHit hit = FindEscape(table, path.back());
    ASSERT_NE(hit.entry, nullptr) << path;
    run_.escapeCounts[EscapeSlot(hit.table, hit.index)] += times;
  }

  std::string Summary() {
    WriteEscapeSummary(run_);
    sink_.Flush();
    return std::exchange(text_, {});
  }

  RunState run_;
  std::string text_;
  OutputSink sink_{&text_};
};

TEST_F(EscapeSummaryTest, ResetAndTwoOrientations) {
  Count("E");
  Count("&lO", 2);
  EXPECT_EQ(Summary(), kHead +
                           "<ESC>E" + Blanks(7) + "Reset" + Blanks(45) + ":     1 time \n" +
                           "<ESC>&l#O" + Blanks(4) + "Paper Orientation " + Blanks(32) + ":     2 times\n" +
                           "\n3 Escape sequences\n" + kClosing);
}

TEST_F(EscapeSummaryTest, NothingCountedStillHasTotalAndClosingRule) {
  EXPECT_EQ(Summary(), kHead + "\n0 Escape sequences\n" + kClosing);
}

TEST_F(EscapeSummaryTest, GroupRecordReachedAsEscapeIsNotListed) {
  Count("&A");  // ESC&A counts on the group record, which is no escape
  EXPECT_EQ(Summary(), kHead + "\n0 Escape sequences\n" + kClosing);
}

TEST_F(EscapeSummaryTest, CombinedEscapeListsBothRecordsInTreeOrder) {
  Count("&lo");  // ESC&l1o2A
  Count("&lA");
  EXPECT_EQ(Summary(), kHead +
                           "<ESC>&l#A" + Blanks(4) + "Set Page Size" + Blanks(37) + ":     1 time \n" +
                           "<ESC>&l#O" + Blanks(4) + "Paper Orientation " + Blanks(32) + ":     1 time \n" +
                           "\n2 Escape sequences\n" + kClosing);
}

TEST_F(EscapeSummaryTest, DescriptionsAreCutBeforeTheirValuePart) {
  const struct {
    std::string_view path;
    std::string line;
  } cases[] = {
      {"&aL", "<ESC>&a#L" + Blanks(4) + "Set Left Margin " + Blanks(34)},
      {"&lX", "<ESC>&l#X" + Blanks(4) + "Number Of Copies " + Blanks(33)},
      {"*cK", "<ESC>*c#K" + Blanks(4) + "HPGL Plot Width " + Blanks(34)},
      {"&dD", "<ESC>&d#D" + Blanks(4) + "Enable Underlining - " + Blanks(29)},
      {"(fW", "<ESC>(f#W" + Blanks(4) + "Define User Defined Symbol Set " + Blanks(19)},
      {"%A", "<ESC>%#A" + Blanks(5) + "Enter PCL " + Blanks(40)},
      {"&G", "<ESC>&#G" + Blanks(5) + "*** unknown" + Blanks(39)},
      {"&kW", "<ESC>&k#W" + Blanks(4) + "*** Print Mode or Text scale, Ignored" + Blanks(13)},
      {"*bS", "<ESC>*b#S" + Blanks(4) + "Specify seed row, ignored" + Blanks(25)},
      {"(U", "<ESC>(#U" + Blanks(5) + "Primary Symbol Set" + Blanks(32)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.path));
    ResetEscapeCounts(run_);
    Count(c.path);
    EXPECT_EQ(Summary(), kHead + c.line + ":     1 time \n" + "\n1 Escape sequences\n" + kClosing);
  }
}

TEST_F(EscapeSummaryTest, UndocumentedEscapesComeFirstAndAreNotInTheTotal) {
  run_.pcl.undocumentedEscapes = {{"<ESC>&z#Q", 2}, {"<ESC>)Z", 1}};
  Count("E", 12345);
  EXPECT_EQ(Summary(), kHead +
                           "<ESC>&z#Q" + Blanks(4) + "*** Invalid Escape" + Blanks(32) + ":     2 times\n" +
                           "<ESC>)Z" + Blanks(6) + "*** Invalid Escape" + Blanks(32) + ":     1 time \n" +
                           "\n" +
                           "<ESC>E" + Blanks(7) + "Reset" + Blanks(45) + ": 12345 times\n" +
                           "\n12345 Escape sequences\n" + kClosing);
  EXPECT_TRUE(run_.pcl.undocumentedEscapes.empty());
}

TEST_F(EscapeSummaryTest, ControlCharactersInCodeOrder) {
  run_.pcl.controlCounts[15] = 1;  // SI
  run_.pcl.controlCounts[14] = 2;  // SO
  run_.pcl.controlCounts[1] = 1;   // no name
  run_.pcl.controlCounts[13] = 7;
  EXPECT_EQ(Summary(), kHead + "\n0 Escape sequences\n" +
                           "\n============ Control Character Summary ==========\n\n" +
                           "DEC  1       " + Blanks(50) + ":     1 times\n" +
                           "DEC 13       Carriage Return" + Blanks(35) + ":     7 times\n" +
                           "DEC 14       Shift In" + Blanks(42) + ":     2 times\n" +
                           "DEC 15       Shift Out" + Blanks(41) + ":     1 times\n" + kClosing);
}

TEST_F(EscapeSummaryTest, ResetClearsEveryCount) {
  Count("E");
  Count("*bW", 3);
  ResetEscapeCounts(run_);
  EXPECT_EQ(run_.escapeCounts.size(), EscapeSlotCount());
  EXPECT_EQ(Summary(), kHead + "\n0 Escape sequences\n" + kClosing);
}

}  // namespace
}  // namespace veltrix
