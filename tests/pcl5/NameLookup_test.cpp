// Page size, symbol set and typeface names: the built-in tables and the
// user's tables file.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "pcl5/NameLookup.h"

namespace veltrix {
namespace {

enum class Kind { PaperSize, SymbolSet, Typeface };

// What the listing shows for a number: a paper size nobody knows is nullopt.
std::optional<std::string> LookUp(NameTables& tables, Kind kind, std::int32_t number) {
  switch (kind) {
    case Kind::PaperSize:
      return PaperSizeName(tables, number);
    case Kind::SymbolSet:
      return SymbolSetName(tables, number);
    case Kind::Typeface:
      return TypefaceName(tables, number);
  }
  return std::nullopt;
}

std::string KeyOf(Kind kind, std::int32_t number) {
  return kind == Kind::SymbolSet ? SymbolSetKey(number) : std::to_string(number);
}

TablesSection SectionOf(Kind kind) {
  switch (kind) {
    case Kind::PaperSize:
      return TablesSection::PaperSizes;
    case Kind::SymbolSet:
      return TablesSection::Symsets;
    case Kind::Typeface:
      break;
  }
  return TablesSection::Typefaces;
}

// The file read once must answer as the file read at every lookup. True when
// the file names the number.
bool ExpectCacheAgrees(const std::string& path, Kind kind, std::int32_t number) {
  const TablesSection section = SectionOf(kind);
  const std::string key = KeyOf(kind, number);
  TablesFileCache cache;
  const std::optional<std::string> read =
      ReadTablesFileEntry(path, kTablesSectionNames[static_cast<std::size_t>(section)], key);
  EXPECT_EQ(FindTablesEntry(cache, path, section, key), read) << key;
  return read.has_value();
}

class NameLookupTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "veltrix-names-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  std::string WriteTablesFile(const std::string& name, const std::string& text) {
    const std::filesystem::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }
  std::filesystem::path dir_;
};

TEST_F(NameLookupTest, BuiltInTablesWithoutTablesFile) {
  struct Case {
    Kind kind;
    std::int32_t number;
    std::optional<std::string> want;
  };
  const std::vector<Case> cases = {
      {Kind::SymbolSet, SymbolSetId(8, 'U'), "Roman-8"},
      {Kind::SymbolSet, SymbolSetId(10, 'U'), "PC-8, Code Page 437"},  // the first list wins
      {Kind::SymbolSet, SymbolSetId(0, 'D'), "ISO 60: Norwegian V.1"},
      {Kind::SymbolSet, SymbolSetId(3, 'R'), "pc-cyrillic"},
      {Kind::SymbolSet, SymbolSetId(0, '\\'), "Pdf Standard"},
      {Kind::SymbolSet, SymbolSetId(0, '@'), "Default Set"},          // only in the second table
      {Kind::SymbolSet, SymbolSetId(0, 'R'), "Cyrillic ASCII (ECMA-113/86, ISO 8859/5"},
      {Kind::SymbolSet, SymbolSetId(31402, 'T'), "Wingdings"},
      {Kind::SymbolSet, SymbolSetId(3, 'Z'), "*** Unknown symset name : ID = 122"},
      {Kind::PaperSize, 27, "A3"},
      {Kind::PaperSize, 1, "Executive"},
      {Kind::PaperSize, 626, "A4 - 100 sheet Aux feeder"},
      {Kind::PaperSize, 5, std::nullopt},
      {Kind::PaperSize, -26, std::nullopt},
      {Kind::Typeface, 0, "Line Printer"},
      {Kind::Typeface, 75, "Century Oldsytle"},
      {Kind::Typeface, 4101, "CG Times"},
      {Kind::Typeface, 16686, "Symbol"},
      {Kind::Typeface, 16901, "Times New"},
      {Kind::Typeface, 31402, "Wingdings"},
      {Kind::Typeface, 71, "*** Unknown typeface name : ID = 71"},
  };
  NameTables tables;
  SetTablesFile(tables, (dir_ / "missing.ini").string());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    EXPECT_EQ(LookUp(tables, c.kind, c.number), c.want);
  }
}

TEST(SymbolSetKey, IsThePclForm) {
  EXPECT_EQ(SymbolSetKey(277), "8U");
  EXPECT_EQ(SymbolSetKey(0), "0@");
  EXPECT_EQ(SymbolSetKey(SymbolSetId(0, '_')), "0_");
  EXPECT_EQ(SymbolSetKey(SymbolSetId(579, 'L')), "579L");
}

TEST_F(NameLookupTest, TablesFileComesFirst) {
  const std::string longComment = ";" + std::string(254, 'x');  // fills a line of 255 bytes
  struct Case {
    const char* name;
    std::string file;
    Kind kind;
    std::int32_t number;
    std::string want;
  };
  const std::vector<Case> cases = {
      {"comment and trailing blanks dropped", "[Symsets]\n8u = My Roman   ; mine\n",
       Kind::SymbolSet, 277, "My Roman"},
      {"header by prefix, any case", "[SYMSETS2]\n8U=Mine\n", Kind::SymbolSet, 277, "Mine"},
      {"header shorter than the name", "[Symset]\n8U=Mine\n", Kind::SymbolSet, 277, "Roman-8"},
      {"entries before any header", "8U=Mine\n[Symsets]\n", Kind::SymbolSet, 277, "Roman-8"},
      {"section ends at the next header", "[Symsets]\n[Other]\n8U=Mine\n", Kind::SymbolSet,
       277, "Roman-8"},
      {"only the first header counts", "[Symsets]\n0U=A\n[Symsets]\n8U=Mine\n",
       Kind::SymbolSet, 277, "Roman-8"},
      {"first entry wins", "[Symsets]\n8U=First\n8u=Second\n", Kind::SymbolSet, 277, "First"},
      {"unknown ID named", "[Symsets]\n3z=Mine\n", Kind::SymbolSet, 122, "Mine"},
      {"blanks and tabs", " \t[Typefaces]\n\t 4101 \t= Mine\n", Kind::Typeface, 4101, "Mine"},
      {"other section", "[Typefaces]\n27=Big\n[PaperSizes]\n26=Small\n", Kind::PaperSize, 27,
       "A3"},
      {"CR LF line ends", "[PaperSizes]\r\n27=Big\r\n", Kind::PaperSize, 27, "Big"},
      {"lines without a key, = or name", "[PaperSizes]\n=Big\n27 Big\n27=\n27 = ;x\n27=Big\n",
       Kind::PaperSize, 27, "Big"},
      {"a name ends at =", "[PaperSizes]\n27=A=B\n", Kind::PaperSize, 27, "A"},
      {"number without built-in name", "[PaperSizes]\n5 = Five\n", Kind::PaperSize, 5, "Five"},
      {"key is the whole number", "[PaperSizes]\n027=Big\n+27=Big\n", Kind::PaperSize, 27, "A3"},
      {"rest of a long line is a line", "[PaperSizes]\n" + longComment + "27=Tail\n",
       Kind::PaperSize, 27, "Tail"},
      {"long line cut inside the key", "[PaperSizes]\n" + longComment.substr(1) + "27=Tail\n",
       Kind::PaperSize, 27, "A3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NameTables tables;
    SetTablesFile(tables, WriteTablesFile("veltrix.ini", c.file));
    EXPECT_EQ(LookUp(tables, c.kind, c.number), c.want);
    ExpectCacheAgrees(tables.path, c.kind, c.number);
  }
}

// Files stitched from line starts, bodies and ends that matter to the parser.
TEST_F(NameLookupTest, CacheAgreesWithReadingAtEveryLookup) {
  const std::vector<std::string> starts = {"", "", " ", "\t "};
  const std::vector<std::string> bodies = {
      "[Symsets]", "[symsets2]", "[PaperSizes]", "[Typefaces]", "[x]", "8u = Name", "8U=Other",
      "27=Name", "27 =  Other ", "4101\t=Name", "4101=", "=Name", "27", "8U==x", "8u ; =y"};
  const std::vector<std::string> ends = {"\n",   "\n", "\r\n", "\r",
                                         ";c\n", "",   std::string("\0\n", 2)};
  std::mt19937 random(12345);
  int named = 0;
  for (int round = 0; round < 300; ++round) {
    std::string file;
    const int lines = static_cast<int>(random() % 12);
    for (int i = 0; i < lines; ++i) {
      file += starts[random() % starts.size()] + bodies[random() % bodies.size()] +
              ends[random() % ends.size()];
    }
    SCOPED_TRACE(testing::PrintToString(file));
    const std::string path = WriteTablesFile("random.ini", file);
    named += ExpectCacheAgrees(path, Kind::SymbolSet, 277);
    named += ExpectCacheAgrees(path, Kind::PaperSize, 27);
    named += ExpectCacheAgrees(path, Kind::Typeface, 4101);
  }
  EXPECT_GT(named, 30);  // the pieces do make entries that count
}

TEST_F(NameLookupTest, BinaryFileLeavesBuiltInNames) {
  std::string junk;
  for (int i = 0; i < 4 * 1024 * 1024; ++i) junk.push_back(static_cast<char>(i * 7 % 256));
  NameTables tables;
  SetTablesFile(tables, WriteTablesFile("junk.ini", junk));
  EXPECT_EQ(PaperSizeName(tables, 27), "A3");
  EXPECT_EQ(SymbolSetName(tables, 277), "Roman-8");
}

// A section larger than what is kept still answers like a file read at every
// lookup.
TEST_F(NameLookupTest, HugeSectionAnswersInFull) {
  std::string file = "[Typefaces]\n";
  const int count = static_cast<int>(kMaxCachedTablesKeys) + 100;
  for (int i = 0; i < count; ++i) {
    file += std::to_string(100000 + i) + "=Face " + std::to_string(i) + "\n";
  }
  file += "100000=Again\n200000=Late\n[Symsets]\n8U=Mine\n";
  const std::string path = WriteTablesFile("huge.ini", file);
  NameTables tables;
  SetTablesFile(tables, path);
  EXPECT_EQ(TypefaceName(tables, 100000), "Face 0");
  EXPECT_EQ(TypefaceName(tables, 100000 + count - 1), "Face " + std::to_string(count - 1));
  EXPECT_EQ(TypefaceName(tables, 200000), "Late");
  EXPECT_EQ(TypefaceName(tables, 4101), "CG Times");
  EXPECT_EQ(SymbolSetName(tables, 277), "Mine");
  EXPECT_EQ(ReadTablesFileEntry(path, "Typefaces", "200000"), "Late");
}

TEST_F(NameLookupTest, NewTablesFileReplacesTheOld) {
  NameTables tables;
  SetTablesFile(tables, WriteTablesFile("a.ini", "[PaperSizes]\n27=First\n"));
  EXPECT_EQ(PaperSizeName(tables, 27), "First");
  SetTablesFile(tables, WriteTablesFile("b.ini", "[PaperSizes]\n26=Second\n"));
  EXPECT_EQ(PaperSizeName(tables, 27), "A3");
  EXPECT_EQ(PaperSizeName(tables, 26), "Second");
}

}  // namespace
}  // namespace veltrix
