// The listing budget: a file whose listing outgrows it stops with one line,
// keeps its summaries, and leaves the next file of the run its own budget.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "decode/Korvane.h"
#include "decode/core/ListingBudget.h"

namespace veltrix {
namespace {

namespace fs = std::filesystem;
using test::Count;

TEST(ListingBudget, StopsTheFileKeepsItsSummariesAndSpareTheNext) {
  const fs::path dir = test::MakeTempDir("budget");
  // 2000 pages ejected by ESC&l0H: about 100 KB of listing from 14 KB of job.
  std::string pages;
  for (int i = 0; i < 2000; ++i) pages += "x\x1b&l0H";
  test::WriteFile(dir / "a.pcl", pages);
  test::WriteFile(dir / "b.pcl", "y\f");
  DecodeRequest request{.flags = DF_FONT_DETAIL | DF_PAGE_SUM, .source = (dir / "a.pcl").string(),
                        .dest = (dir / "out.txt").string()};
  request.moreSources = {(dir / "b.pcl").string()};
  request.clock = {0, true};
  request.maxOutput = 4000;
  EXPECT_EQ(DecodeFiles(request), 0);
  EXPECT_EQ(request.message, "Listing stopped: output budget of 4000 bytes reached\n");
  EXPECT_EQ(request.messageDetail, (dir / "a.pcl").string());

  const std::string listing = test::ReadFile(dir / "out.txt");
  const std::size_t stop = listing.find("*** Listing stopped: output budget of 4000 bytes reached\n");
  ASSERT_NE(stop, std::string::npos) << listing;
  // The line comes soon after the budget is spent, and nothing of the job
  // follows it before the summary: the page summary then lists the pages
  // seen up to the stop.
  EXPECT_LT(stop, 4000u + 400u);
  EXPECT_TRUE(listing.substr(stop).starts_with("*** Listing stopped: output budget of 4000 bytes reached\n\n"
                                               "===================================================\n\n"
                                               "    Page Summary \n"))
      << listing.substr(stop, 200);
  const std::size_t pagesListed = Count(listing.substr(0, stop), "[Page Eject offset");
  EXPECT_GT(pagesListed, 10u);
  EXPECT_EQ(Count(listing, "    Page ") - 2, pagesListed + 1);  // a's pages, then b's one page
  EXPECT_NE(listing.find("Decoding '" + (dir / "b.pcl").string() + "'"), std::string::npos);
  EXPECT_EQ(Count(listing, "*** Listing stopped"), 1u);
  fs::remove_all(dir);
}

TEST(ListingBudget, DefaultIsOneGibibyteOrSixtyFourTimesTheJob) {
  EXPECT_EQ(DefaultListingBudget(0), 1u << 30);
  EXPECT_EQ(DefaultListingBudget(16u << 20), 1u << 30);
  EXPECT_EQ(DefaultListingBudget(std::uint64_t{1} << 30), std::uint64_t{64} << 30);
  EXPECT_EQ(DefaultListingBudget(UINT64_MAX / 2), UINT64_MAX);
}

}  // namespace
}  // namespace veltrix
