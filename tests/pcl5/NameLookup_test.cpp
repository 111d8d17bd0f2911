// Page size, symbol set and typeface names: the built-in tables and the
// user's tables file. The formatter tests show A3, an unknown page size and an
// unknown symbol set.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "TestSupport.h"
#include "pcl5/NameLookup.h"

namespace veltrix {
namespace {

using enum TablesSection;
using namespace std::string_literals;

// What the listing shows for a number: a paper size nobody knows is nullopt.
std::optional<std::string> LookUp(NameTables& tables, TablesSection kind, std::int32_t number) {
  if (kind == PaperSizes) return PaperSizeName(tables, number);
  return kind == Symsets ? SymbolSetName(tables, number) : TypefaceName(tables, number);
}

class NameLookupTest : public testing::Test {
 protected:
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Write(const std::string& name, const std::string& text) {
    test::WriteFile(dir_ / name, text);
    return (dir_ / name).string();
  }
  const std::filesystem::path dir_ = test::MakeTempDir("names");
};

TEST_F(NameLookupTest, BuiltInTablesWithoutTablesFile) {
  const struct {
    TablesSection kind;
    std::int32_t number;
    std::optional<std::string> want;
  } cases[] = {
      {Symsets, SymbolSetId(8, 'U'), "Roman-8"},
      {Symsets, SymbolSetId(10, 'U'), "PC-8, Code Page 437"},  // the first list wins
      {Symsets, SymbolSetId(0, 'D'), "ISO 60: Norwegian V.1"},
      {Symsets, SymbolSetId(0, '@'), "Default Set"},  // only in the second table
      {PaperSizes, 626, "A4 - 100 sheet Aux feeder"},  // the last row
      {Typefaces, 71, "*** Unknown typeface name : ID = 71"},
  };
  NameTables tables;
  SetTablesFile(tables, (dir_ / "missing.ini").string());
  for (const auto& c : cases) EXPECT_EQ(LookUp(tables, c.kind, c.number), c.want) << c.number;
  EXPECT_EQ(SymbolSetKey(0), "0@");  // 8U is the key of the tables file cases
}

// Every case also checks that the file read once answers as the file read at
// every lookup.
TEST_F(NameLookupTest, TablesFileComesFirst) {
  const std::string longComment = ";" + std::string(254, 'x');  // fills a line of 255 bytes
  const struct {
    const char* name;
    std::string file;
    TablesSection kind;
    std::int32_t number;
    std::string want;
  } cases[] = {
      {"comment and trailing blanks dropped", "[Symsets]\n8u = My Roman   ; mine\n", Symsets, 277, "My Roman"},
      {"header by prefix, any case", "[SYMSETS2]\n8U=Mine\n", Symsets, 277, "Mine"},
      {"header shorter than the name", "[Symset]\n8U=Mine\n", Symsets, 277, "Roman-8"},
      {"entries before any header", "8U=Mine\n[Symsets]\n", Symsets, 277, "Roman-8"},
      {"section ends at the next header", "[Symsets]\n[Other]\n8U=Mine\n", Symsets, 277, "Roman-8"},
      {"only the first header counts", "[Symsets]\n0U=A\n[Symsets]\n8U=Mine\n", Symsets, 277, "Roman-8"},
      {"first entry wins", "[Symsets]\n8U=First\n8u=Second\n", Symsets, 277, "First"},
      {"blanks and tabs", " \t[Typefaces]\n\t 4101 \t= Mine\n", Typefaces, 4101, "Mine"},
      {"other section", "[Typefaces]\n27=Big\n[PaperSizes]\n26=Small\n", PaperSizes, 27, "A3"},
      {"CR LF line ends", "[PaperSizes]\r\n27=Big\r\n", PaperSizes, 27, "Big"},
      {"a lone CR cuts the line", "[PaperSizes]\r27=Big\n", PaperSizes, 27, "A3"},
      {"a zero byte cuts the line", "[PaperSizes]\n27=Big\0=x\n"s, PaperSizes, 27, "Big"},
      {"lines without a key, = or name", "[PaperSizes]\n=Big\n27 Big\n27=\n27 = ;x\n27==x\n27=Big\n", PaperSizes,
       27, "Big"},
      {"a name ends at =", "[PaperSizes]\n27=A=B\n", PaperSizes, 27, "A"},
      {"key is the whole number", "[PaperSizes]\n027=Big\n+27=Big\n", PaperSizes, 27, "A3"},
      {"rest of a long line is a line", "[PaperSizes]\n" + longComment + "27=Tail\n", PaperSizes, 27, "Tail"},
      {"long line cut inside the key", "[PaperSizes]\n" + longComment.substr(1) + "27=Tail\n", PaperSizes, 27,
       "A3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    NameTables tables;
    SetTablesFile(tables, Write("veltrix.ini", c.file));
    EXPECT_EQ(LookUp(tables, c.kind, c.number), c.want);
    const std::string key = c.kind == Symsets ? SymbolSetKey(c.number) : std::to_string(c.number);
    TablesFileCache cache;
    EXPECT_EQ(FindTablesEntry(cache, tables.path, c.kind, key),
              ReadTablesFileEntry(tables.path, kTablesSectionNames[static_cast<std::size_t>(c.kind)], key));
  }
}

// A section larger than what is kept still answers like a file read at every
// lookup.
TEST_F(NameLookupTest, HugeSectionAnswersInFull) {
  std::string file = "[Typefaces]\n";
  const int count = static_cast<int>(kMaxCachedTablesKeys) + 100;
  for (int i = 0; i < count; ++i) file += std::to_string(100000 + i) + "=Face " + std::to_string(i) + "\n";
  const std::string path = Write("huge.ini", file + "100000=Again\n200000=Late\n[Symsets]\n8U=Mine\n");
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
  SetTablesFile(tables, Write("a.ini", "[PaperSizes]\n27=First\n"));
  EXPECT_EQ(PaperSizeName(tables, 27), "First");
  SetTablesFile(tables, Write("b.ini", "[PaperSizes]\n26=Second\n"));
  EXPECT_EQ(PaperSizeName(tables, 27), "A3");
  EXPECT_EQ(PaperSizeName(tables, 26), "Second");
}

}  // namespace
}  // namespace veltrix
