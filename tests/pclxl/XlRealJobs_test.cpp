// Jobs written by Ghostscript's PCL XL drivers (pxlmono, pxlcolor) from
// data/sample.ps (text in four fonts, lines, dashes, curves, fills, a grey
// and a colour image over three pages) and data/photo.ps (a 32x32 colour
// image, an arc and joined lines on one page), the latter also with delta
// row and JPEG image compression:
//   gs -q -dNOPAUSE -dBATCH -sDEVICE=pxlmono -r150 -sOutputFile=... sample.ps
// Each must decode without a single error line and with one page eject per
// EndPage, at the normal level and with every class listed.
#include <string>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "pclxl/XlTestStream.h"

namespace veltrix::test {
namespace {

TEST(XlRealJobs, GhostscriptJobsDecodeCleanly) {
  struct Job {
    const char* file;
    std::size_t pages, images;
  };
  const Job jobs[] = {
      {"pxlmono-sample.pxl", 3, 2},         {"pxlcolor-sample.pxl", 3, 2},     {"pxlcolor-photo.pxl", 1, 1},
      {"pxlmono-photo-deltarow.pxl", 1, 1}, {"pxlcolor-photo-jpeg.pxl", 1, 1},
  };
  for (const Job& job : jobs) {
    SCOPED_TRACE(job.file);
    const std::string bytes = ReadFile(TestDir() / "pclxl/data" / job.file);
    // The PCL XL stretch starts after the PJL line that enters the language.
    const std::size_t enter = bytes.find("@PJL ENTER LANGUAGE");
    ASSERT_NE(enter, std::string::npos);
    const auto stretch = std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())
                             .subspan(bytes.find('\n', enter) + 1);
    for (const int level : {4, 9}) {
      SCOPED_TRACE(level);
      const XlDecodeResult r = DecodeXl(stretch, DF_PAGE_SUM, level);
      EXPECT_EQ(ErrorLines(r.listing), "");
      EXPECT_EQ(r.exceptions, 0u);
      EXPECT_EQ(r.result, 1);
      EXPECT_TRUE(r.languageExit);  // the driver ends the job with a UEL
      EXPECT_EQ(Count(r.listing, "[XL OPERATOR  ] EndPage\n"), job.pages);
      EXPECT_EQ(r.pageEjects, job.pages);
      EXPECT_EQ(Count(r.listing, "[XL OPERATOR  ] BeginImage\n"), job.images);
      EXPECT_EQ(Count(r.listing, "[XL OPERATOR  ] BeginSession\n"), 1u);
      EXPECT_EQ(Count(r.listing, "[XL OPERATOR  ] EndSession\n"), 1u);
      EXPECT_EQ(r.usage.tagCounts[0x44], job.pages);
    }
  }
}

}  // namespace
}  // namespace veltrix::test
