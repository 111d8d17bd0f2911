// Whole jobs against listings checked line by line by hand. Each row of
// golden.list names a job, its listing and the options of the run.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "TestSupport.h"

namespace veltrix {
namespace {

struct GoldenCase {
  std::string name;
  std::string job;
  std::string listing;
  std::uint32_t flags = 0;
};

// The default summaries of a run, and the words that change them.
constexpr std::uint32_t kDefaultFlags = DF_FONT_SUM | DF_MACRO_SUM | DF_PAGE_SUM | DF_ESC_SUM | DF_FONT_DETAIL |
                                        DF_PALETTE_SUM;

std::uint32_t FlagsFromWords(std::istringstream& words) {
  static const std::map<std::string, std::uint32_t> kAdded = {
      {"exceptions-only", DF_SUPPRESS}, {"two-byte-summary", DF_2BYTE_SUM}, {"raster", DF_RAS_GRAPH}};
  static const std::map<std::string, std::uint32_t> kRemoved = {
      {"no-command-summary", DF_ESC_SUM}, {"no-page-summary", DF_PAGE_SUM}, {"no-macro-summary", DF_MACRO_SUM},
      {"no-palette-summary", DF_PALETTE_SUM}, {"no-font-summary", DF_FONT_SUM}};
  std::uint32_t flags = kDefaultFlags;
  std::string word;
  while (words >> word) {
    if (auto it = kAdded.find(word); it != kAdded.end()) flags |= it->second;
    if (auto it = kRemoved.find(word); it != kRemoved.end()) flags &= ~it->second;
  }
  return flags;
}

std::vector<GoldenCase> ReadGoldenList(const std::filesystem::path& list) {
  std::vector<GoldenCase> cases;
  std::istringstream lines(test::ReadFile(list));
  std::string line;
  while (std::getline(lines, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    GoldenCase c;
    words >> c.name >> c.job >> c.listing;
    c.flags = FlagsFromWords(words);
    cases.push_back(c);
  }
  return cases;
}

TEST(Golden, EveryListedJob) {
  const auto dir = test::TestDir() / "golden";
  const auto cases = ReadGoldenList(dir / "golden.list");
  ASSERT_FALSE(cases.empty());
  for (const GoldenCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto jobPath = c.job.starts_with("../") ? test::TestDir() / ".." / c.job.substr(3) : dir / c.job;
    const std::string got = test::Decode(test::ReadFile(jobPath), c.flags).listing;
    const std::string want = test::ReadFile(dir / c.listing);
    ASSERT_FALSE(want.empty()) << c.listing;
    EXPECT_EQ(got, want) << test::FirstDifference(got, want);
  }
}

}  // namespace
}  // namespace veltrix
