// The PCL escape and control character summary, from counts set by hand.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>

#include "decode/RunState.h"
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
const std::string kNothing = kHead + "\n0 Escape sequences\n" + kClosing;

class EscapeSummaryTest : public ::testing::Test {
 protected:
  EscapeSummaryTest() {
    run_.ctx.listing = &sink_;
    ResetEscapeCounts(run_.escapeCounts);
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
    WriteEscapeSummary(Pcl5ViewOf(run_));
    sink_.Flush();
    return std::exchange(text_, {});
  }

  RunState run_;
  std::string text_;
  OutputSink sink_{&text_};
};

// Nothing counted still gives the total and the closing rule; ESC&A counts on
// a group record, which is no escape.
TEST_F(EscapeSummaryTest, ResetClearsEveryCountAndGroupRecordsAreNotListed) {
  Count("E");
  Count("*bW", 3);
  ResetEscapeCounts(run_.escapeCounts);
  EXPECT_EQ(run_.escapeCounts.size(), EscapeSlotCount());
  Count("&A");
  EXPECT_EQ(Summary(), kNothing);
}

// Cut at the first "%", "(" or ":"; a description without them is whole.
TEST_F(EscapeSummaryTest, DescriptionsAreCutBeforeTheirValuePart) {
  const std::pair<std::string_view, std::string> cases[] = {
      {"&aL", "<ESC>&a#L" + Blanks(4) + "Set Left Margin " + Blanks(34)},
      {"&dD", "<ESC>&d#D" + Blanks(4) + "Enable Underlining - " + Blanks(29)},
      {"&kW", "<ESC>&k#W" + Blanks(4) + "*** Print Mode or Text scale, Ignored" + Blanks(13)},
  };
  for (const auto& [path, line] : cases) {
    ResetEscapeCounts(run_.escapeCounts);
    Count(path);
    EXPECT_EQ(Summary(), kHead + line + ":     1 time \n" + "\n1 Escape sequences\n" + kClosing) << path;
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
  EXPECT_EQ(Summary(), kHead + "\n0 Escape sequences\n" +
                           "\n============ Control Character Summary ==========\n\n" +
                           "DEC  1       " + Blanks(50) + ":     1 times\n" +
                           "DEC 14       Shift In" + Blanks(42) + ":     2 times\n" +
                           "DEC 15       Shift Out" + Blanks(41) + ":     1 times\n" + kClosing);
}

}  // namespace
}  // namespace veltrix
