// The listing read a page at a time and the search for problem lines, over
// a file written here.
#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "frontend/web/ListingPages.h"

namespace veltrix {
namespace {

TEST(ListingPages, PagesAndProblems) {
  const auto dir = test::MakeTempDir("listing");
  const std::string path = (dir / "l.txt").string();
  // Line i is "line i"; lines 3 and 250000 report problems; line 7 is long.
  std::string text;
  std::vector<std::uint64_t> starts;
  for (int i = 0; i < 300000; ++i) {
    starts.push_back(text.size());
    if (i == 3) text += "[ ESC & z Q ]   *** Unknown Escape\r\n";
    else if (i == 250000) text += "*ERROR* IllegalTag\n";
    else if (i == 7) text += std::string(5000, 'x') + "\n";
    else text += "line " + std::to_string(i) + "\n";
  }
  text += "last without end";
  test::WriteFile(path, text);

  ListingPage page;
  std::string why;
  ASSERT_TRUE(ReadListingPage(path, starts[2] + 2, 6, false, page, why)) << why;
  EXPECT_EQ(page.start, starts[2]) << "an offset inside a line starts at that line";
  ASSERT_EQ(page.lines.size(), 6u);
  EXPECT_EQ(page.lines[1], "[ ESC & z Q ]   *** Unknown Escape") << "CR LF ends a line";
  EXPECT_EQ(page.lines[5].size(), kMaxShownLineLength);
  EXPECT_EQ(page.end, starts[8]);
  EXPECT_EQ(page.size, text.size());

  ASSERT_TRUE(ReadListingPage(path, text.size(), 2, true, page, why));
  EXPECT_EQ(page.lines, (std::vector<std::string>{"line 299999", "last without end"}));
  ASSERT_TRUE(ReadListingPage(path, starts[5], 500, true, page, why));
  EXPECT_EQ(page.start, 0u);
  EXPECT_EQ(page.lines.size(), 5u) << "a page back ends where the next began";

  EXPECT_EQ(FindProblemLine(path, 0, true), starts[3]);
  EXPECT_EQ(FindProblemLine(path, starts[3], true), starts[250000]);
  EXPECT_EQ(FindProblemLine(path, starts[250000], true), std::nullopt);
  EXPECT_EQ(FindProblemLine(path, text.size(), false), starts[250000]);
  EXPECT_EQ(FindProblemLine(path, starts[250000], false), starts[3]);
  EXPECT_EQ(FindProblemLine(path, starts[3], false), std::nullopt);

  EXPECT_FALSE(ReadListingPage((dir / "none").string(), 0, 5, false, page, why));
  EXPECT_FALSE(ReadListingPage(dir.string(), 0, 5, false, page, why)) << "a folder is no listing";
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace veltrix
