// The escape tree: the searches over it, the records whose flags drive the
// decoder, and the walk of the summary. The tree's shape, key forms and record
// count are checked where the tree is defined; the parser and formatter tests
// show lower-case keys, ESC&G, ESC E and ESC*b#V at work.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "pcl5/EscapeEntry.h"
#include "pcl5/EscapeTreeWalk.h"

namespace veltrix {
namespace {

// The record reached by the characters after ESC, value fields left out:
// "&lO" is ESC&l#O. Descends on every character but the last, as the parser does.
EscapeHit Find(std::string_view path) {
  EscapeTableId table = EscapeTableId::Root;
  for (std::size_t i = 0; i + 1 < path.size(); ++i) table = DescendEscapeTree(table, path[i]);
  return FindEscape(table, path.back());
}

TEST(EscapeTable, LookupsFindTheRightRecord) {
  using enum EscapeFormat;
  for (const char* path : {")Z", "X", "&lB", "*zA"}) EXPECT_EQ(Find(path).entry, nullptr) << path;  // *z: no group
  const struct {
    std::string_view path;
    const char* description;
    EscapeFormat format = None;
    std::uint8_t syntax = 0;
    std::uint8_t page = 0;
  } cases[] = {
      {"&lA", "Set Page Size", PageSize, 0, kPageEjectIfMarked},
      {"%X", "Exit Language", None, kSyntaxLeavesPcl, kPageEjectIfMarked},
      {"(sW", "Download Character", CharacterData, kSyntaxData, kPageFontHook},
      {"*bW", "Transfer Raster Data", RasterData, kSyntaxData, kPageMarks},
      {"*cD", "ID for next download font", FontId, 0, kPageFontHook},
      {"*cF", "Font Control : %s", None, 0, kPageFontHook},
      {"+mW", "NVM related escape with data", None, kSyntaxData},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("ESC ") + std::string(c.path));
    const EscapeEntry* e = Find(c.path).entry;
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->isEscape);
    EXPECT_STREQ(e->description, c.description);
    EXPECT_EQ(std::tuple(e->format, e->syntax, e->page), std::tuple(c.format, c.syntax, c.page));
  }
}

// Every escape is found again by its path, and counts in a slot of its own.
TEST(EscapeTreeWalk, VisitsEachEscapeOnceChildrenJustBeforeTheirRecord) {
  std::set<std::size_t> slots;
  std::vector<std::string> keys;
  WalkEscapeTree([&](const EscapeWalkItem& item) {
    const EscapeHit hit = Find(item.path);
    EXPECT_TRUE(item.entry->isEscape);
    EXPECT_EQ(hit.entry, item.entry) << item.path;
    EXPECT_EQ(EscapeSlot(hit.table, hit.index), item.slot) << item.path;
    EXPECT_LT(item.slot, EscapeSlotCount());
    slots.insert(item.slot);
    keys.push_back(EscapeSummaryKey(item.path));
  });
  ASSERT_EQ(keys.size(), 192u);
  EXPECT_EQ(slots.size(), 192u);
  EXPECT_EQ(keys.front(), "<ESC>E");
  EXPECT_EQ(keys.back(), "<ESC>Z");
  const auto run = [&](const std::string& first, std::size_t length) {
    const auto it = std::find(keys.begin(), keys.end(), first);
    EXPECT_LE(it + length, keys.end()) << first;
    return it == keys.end() ? std::vector<std::string>{} : std::vector<std::string>(it, it + length);
  };
  using V = std::vector<std::string>;
  EXPECT_EQ(run("<ESC>(f#W", 2), (V{"<ESC>(f#W", "<ESC>(#F"}));
  EXPECT_EQ(run("<ESC>)s#W", 3), (V{"<ESC>)s#W", "<ESC>)s#Z", "<ESC>)#S"}));
  EXPECT_EQ(run("<ESC>&k#W", 2), (V{"<ESC>&k#W", "<ESC>&#K"}));
  // Under ( the letters run A to Z without X, then X, then @.
  EXPECT_EQ(run("<ESC>(#Y", 4), (V{"<ESC>(#Y", "<ESC>(#Z", "<ESC>(#X", "<ESC>(#@"}));
}

}  // namespace
}  // namespace veltrix
