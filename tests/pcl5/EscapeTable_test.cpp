#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "pcl5/EscapeEntry.h"
#include "pcl5/EscapeTreeWalk.h"

namespace veltrix {
namespace {

// The record reached by the characters after ESC, value fields left out:
// "&lO" is ESC&l#O. Descends on every character but the last, as the parser does.
const EscapeEntry* Lookup(std::string_view path) {
  EscapeTableId table = EscapeTableId::Root;
  for (std::size_t i = 0; i + 1 < path.size(); ++i) table = DescendEscapeTree(table, path[i]);
  return FindEscape(table, path.back()).entry;
}

struct LookupCase {
  std::string_view path;
  const char* description;  // nullptr: no record
  EscapeFormat format = EscapeFormat::None;
  std::uint8_t syntax = 0;
  std::uint8_t page = 0;
};

TEST(EscapeTable, LookupsFindTheRightRecord) {
  using enum EscapeFormat;
  const LookupCase cases[] = {
      {")Z", nullptr},  // ESC)5Z: no Z under )
      {")C", nullptr},
      {")W", nullptr},
      {"(Z", "Primary Symbol Set", SymbolSet},
      {"(z", "Primary Symbol Set", SymbolSet},
      {")A", "Secondary Symbol Set", SymbolSet},
      {"(X", "Select Primary Font By ID", FontById},
      {")X", "Select Secondary Font By ID", FontById},
      {"&G", "*** unknown"},
      {"&K", "*** unknown"},
      {"&lO", "Paper Orientation : %s", Orientation},
      {"&lo", "Paper Orientation : %s", Orientation},
      {"&LO", "Paper Orientation : %s", Orientation},
      {"*vS", "Set Foreground Color (index into current palette)", ForegroundColour},
      {"&vS", "Set Color"},
      {"E", "Reset", Reset, 0, kPageEjectIfMarked},
      {"&lA", "Set Page Size", PageSize, 0, kPageEjectIfMarked},
      {"&lH", "Select Paper Source : %s", PaperSource, 0, kPageEjectIfMarked},
      {"&lP", "Page Length in lines ( %d )", None, 0, kPageEjectIfMarked},
      {"%X", "Exit Language", None, kSyntaxLeavesPcl, kPageEjectIfMarked},
      {"%A", "Enter PCL ", EnterPcl},
      {"%B", "Enter HPGL", EnterHpgl},
      {"(sW", "Download Character", CharacterData, kSyntaxData, kPageFontHook},
      {")sW", "Download Font Descriptor", FontDescriptor, kSyntaxData, kPageFontHook},
      {"(sS", "Primary Font Style", Style},
      {")sS", "Secondary Font Style", Style},
      {"(fW", "Define User Defined Symbol Set (%d bytes) :", None, kSyntaxData},
      {"*bW", "Transfer Raster Data", RasterData, kSyntaxData, kPageMarks},
      {"*bV", "Transfer Raster Data By Plane", RasterData, kSyntaxData},
      {"*cD", "ID for next download font", FontId, 0, kPageFontHook},
      {"*cE", "ID for next download character", CharacterCode, 0, kPageFontHook},
      {"*cF", "Font Control : %s", None, 0, kPageFontHook},
      {"&pX", "Transparent Print Mode", TransparentPrint},  // its bytes pass as text, not data
      {"*vW", "Configure Image Data", ConfigureImageData, kSyntaxData},
      {"*vN", "Set Source  Transparency : %s"},
      {"*cX", "HPGL Picture Frame Width  (Decipoints) : %d"},
      {"*tH", "Raster Graphics Dest Width", DestinationWidth},
      {"&fX", "Macro Control", MacroControl},
      {"&tP", "Text Parsing Method : %s", TextParsingMethod},
      {"+mW", "NVM related escape with data", None, kSyntaxData},
      {"=", "Half linefeed"},
      {"9", "Clear horizontal margins"},
      {"Z", "Display functions OFF"},
      {"X", nullptr},
      {"&lB", nullptr},
      {"*zA", nullptr},  // no z group under *
  };
  for (const LookupCase& c : cases) {
    SCOPED_TRACE(std::string("ESC ") + std::string(c.path));
    const EscapeEntry* e = Lookup(c.path);
    if (c.description == nullptr) {
      EXPECT_EQ(e, nullptr);
      continue;
    }
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->isEscape);
    EXPECT_STREQ(e->description, c.description);
    EXPECT_EQ(e->format, c.format);
    EXPECT_EQ(e->syntax, c.syntax);
    EXPECT_EQ(e->page, c.page);
  }
}

TEST(EscapeTable, ValueNamesKeepGapsForValuesWithoutName) {
  const EscapeEntry* font = Lookup("(@");
  ASSERT_NE(font, nullptr);
  ASSERT_EQ(font->valueNames.size(), 4u);
  EXPECT_EQ(font->valueNames[0], "");  // ESC(0@ has no name
  EXPECT_EQ(font->valueNames[3], "Select Default Font");

  const EscapeEntry* pattern = Lookup("*cQ");
  ASSERT_NE(pattern, nullptr);
  ASSERT_EQ(pattern->valueNames.size(), 6u);
  EXPECT_EQ(pattern->valueNames[3], "");
  EXPECT_EQ(pattern->valueNames[5], "Make Permanent");

  const EscapeEntry* side = Lookup("&aG");
  ASSERT_NE(side, nullptr);
  ASSERT_EQ(side->valueNames.size(), 3u);
  EXPECT_EQ(side->valueNames[2], "Back Side");
}

TEST(EscapeTable, GroupRecords) {
  // ESC&A: the group record A is found but means nothing on its own.
  const EscapeHit a = FindEscape(DescendEscapeTree(EscapeTableId::Root, '&'), 'A');
  ASSERT_NE(a.entry, nullptr);
  EXPECT_FALSE(a.entry->isEscape);
  EXPECT_EQ(a.entry->description, nullptr);
  EXPECT_EQ(a.entry->format, EscapeFormat::None);

  // ESC&g1X: the G record has no children, so X is not found.
  EXPECT_EQ(DescendEscapeTree(EscapeTableId::Ampersand, 'g'), EscapeTableId::None);
  EXPECT_EQ(FindEscape(EscapeTableId::None, 'X').entry, nullptr);

  const struct {
    EscapeTableId table;
    int c;
    EscapeTableId want;
  } descents[] = {
      {EscapeTableId::Root, '&', EscapeTableId::Ampersand},
      {EscapeTableId::Root, 'E', EscapeTableId::None},
      {EscapeTableId::Root, '?', EscapeTableId::None},
      {EscapeTableId::Root, -1, EscapeTableId::None},
      {EscapeTableId::Ampersand, 'k', EscapeTableId::AmpK},
      {EscapeTableId::Ampersand, 'K', EscapeTableId::AmpK},
      {EscapeTableId::LeftParen, 'f', EscapeTableId::LeftParenF},
      {EscapeTableId::LeftParen, 's', EscapeTableId::LeftParenS},
      {EscapeTableId::RightParen, 'f', EscapeTableId::None},  // only ) s is a group
      {EscapeTableId::RightParen, 's', EscapeTableId::RightParenS},
      {EscapeTableId::Star, 'v', EscapeTableId::StarV},
      {EscapeTableId::Plus, 'm', EscapeTableId::PlusM},
  };
  for (const auto& d : descents) {
    SCOPED_TRACE(d.c);
    EXPECT_EQ(DescendEscapeTree(d.table, d.c), d.want);
  }
}

TEST(EscapeTable, SlotsAreDenseAndHitsPointIntoTheirTable) {
  std::set<std::size_t> slots;
  std::size_t records = 0;
  for (int id = static_cast<int>(EscapeTableId::Root); id < static_cast<int>(EscapeTableId::Count); ++id) {
    const auto table = static_cast<EscapeTableId>(id);
    ASSERT_FALSE(EscapeTable(table).empty()) << id;
    for (std::size_t i = 0; i < EscapeTable(table).size(); ++i) {
      slots.insert(EscapeSlot(table, i));
      ++records;
      const EscapeHit hit = FindEscape(table, EscapeTable(table)[i].key);
      EXPECT_EQ(hit.table, table);
      EXPECT_EQ(hit.index, i);
    }
  }
  EXPECT_EQ(slots.size(), records);
  EXPECT_EQ(records, EscapeSlotCount());
  EXPECT_EQ(*slots.rbegin(), EscapeSlotCount() - 1);
}

std::vector<std::string> WalkKeys() {
  std::vector<std::string> keys;
  WalkEscapeTree([&](const EscapeWalkItem& item) { keys.push_back(EscapeSummaryKey(item.path)); });
  return keys;
}

TEST(EscapeTreeWalk, VisitsEach192EscapeRecordOnce) {
  std::set<std::size_t> slots;
  std::size_t n = 0;
  WalkEscapeTree([&](const EscapeWalkItem& item) {
    ++n;
    EXPECT_TRUE(item.entry->isEscape);
    EXPECT_EQ(Lookup(item.path), item.entry) << item.path;
    EXPECT_LT(item.slot, EscapeSlotCount());
    slots.insert(item.slot);
  });
  EXPECT_EQ(n, 192u);
  EXPECT_EQ(slots.size(), 192u);
}

TEST(EscapeTreeWalk, ListsChildrenJustBeforeTheirRecord) {
  const std::vector<std::string> keys = WalkKeys();
  ASSERT_EQ(keys.size(), 192u);
  EXPECT_EQ(keys.front(), "<ESC>E");
  EXPECT_EQ(keys.back(), "<ESC>Z");
  const auto run = [&](const std::string& first, std::size_t length) {
    const auto it = std::find(keys.begin(), keys.end(), first);
    EXPECT_LE(it + length, keys.end()) << first;
    return it == keys.end() ? std::vector<std::string>{} : std::vector<std::string>(it, it + length);
  };
  EXPECT_EQ(run("<ESC>(f#W", 2), (std::vector<std::string>{"<ESC>(f#W", "<ESC>(#F"}));
  EXPECT_EQ(run("<ESC>(s#B", 9),
            (std::vector<std::string>{"<ESC>(s#B", "<ESC>(s#H", "<ESC>(s#P", "<ESC>(s#S", "<ESC>(s#T",
                                      "<ESC>(s#V", "<ESC>(s#W", "<ESC>(s#Z", "<ESC>(#S"}));
  EXPECT_EQ(run("<ESC>)s#W", 3), (std::vector<std::string>{"<ESC>)s#W", "<ESC>)s#Z", "<ESC>)#S"}));
  EXPECT_EQ(run("<ESC>&k#G", 5),
            (std::vector<std::string>{"<ESC>&k#G", "<ESC>&k#H", "<ESC>&k#S", "<ESC>&k#W", "<ESC>&#K"}));
  EXPECT_EQ(run("<ESC>&f#X", 4),
            (std::vector<std::string>{"<ESC>&f#X", "<ESC>&f#Y", "<ESC>&f#S", "<ESC>&#G"}));
  // Under ( the letters run A to Z without X, then X, then @.
  EXPECT_EQ(run("<ESC>(#Y", 4), (std::vector<std::string>{"<ESC>(#Y", "<ESC>(#Z", "<ESC>(#X", "<ESC>(#@"}));
  EXPECT_EQ(run("<ESC>)#V", 4), (std::vector<std::string>{"<ESC>)#V", "<ESC>)#Y", "<ESC>)#X", "<ESC>)#@"}));
}

TEST(EscapeTreeWalk, SummaryKeys) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"&LA", "<ESC>&l#A"}, {"(U", "<ESC>(#U"},   {"E", "<ESC>E"},     {"(FW", "<ESC>(f#W"},
      {"&D@", "<ESC>&d#@"}, {"%X", "<ESC>%#X"},   {"&G", "<ESC>&#G"}, {"+MW", "<ESC>+m#W"},
  };
  for (const auto& [path, key] : cases) EXPECT_EQ(EscapeSummaryKey(path), key) << path;
}

}  // namespace
}  // namespace veltrix
