// Whole decodes of jobs written by real drivers (make-jobs.sh in this folder
// regenerates them). The expectations come from the drivers' inputs (page
// counts that Ghostscript and TeX report) and from an independent reading of
// the bytes (RawJobScan.h), never from the decoder's own tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "realjobs/RawJobScan.h"

namespace veltrix {
namespace {

// Where a job's pages end, as its driver wrote it.
enum class PageEnd {
  FormFeeds,  // every page ends with a form feed
  Reset,      // the one page ends with the ESC E after it
};

// A formatted escape whose value is outside what its listing knows: its line
// carries "*** ". `bytes` is the escape as it stands in the job.
struct OddValue {
  std::string bytes;
  std::string header;
};

struct RealJob {
  const char* file;
  int pages;                         // make-jobs.sh prints these from gs's bbox device and TeX's log
  PageEnd pageEnd;
  std::vector<std::string> pjlLines;  // as the job holds them, line ends left out
  std::vector<OddValue> oddValues = {};
  int badEscapes = 0;  // ESC bytes that start no escape; the scan must find as many
  // Only HP-GL/2 drawing marks its page. Exceptions-only runs do not hand
  // HP-GL/2 bytes to its parser, so there nothing marks the page and no page
  // is counted.
  bool onlyHpglMarks = false;
};

// The front end's default run: every summary the dialog ticks.
constexpr std::uint32_t kDefaultRun =
    DF_FONT_SUM | DF_MACRO_SUM | DF_PAGE_SUM | DF_ESC_SUM | DF_PALETTE_SUM | DF_FONT_DETAIL;
constexpr std::string_view kEscSummaryHeading = "\n============ PCL Escape Summary =================\n";

std::string JobBytes(const char* file) { return test::ReadFile(test::TestDir() / "realjobs" / "data" / file); }

std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  std::istringstream in{std::string(text)};
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The listing up to its first summary.
std::string Body(const std::string& listing) { return listing.substr(0, listing.find(kEscSummaryHeading)); }

bool IsEscapeHeader(const std::string& line) { return line.starts_with("[ ESC "); }
bool IsBadEscapeLine(const std::string& line) {
  return line.ends_with("*** Invalid Escape") || line.ends_with("*** Unknown Escape");
}

// The counted lines of the escape summary: key -> occurrences, and the total line.
struct EscapeSummary {
  std::map<std::string, long> counts;
  std::map<std::string, long> invalid;
  long total = -1;
};

EscapeSummary ReadEscapeSummary(const std::string& listing) {
  EscapeSummary summary;
  const std::size_t at = listing.find(kEscSummaryHeading);
  if (at == std::string::npos) return summary;
  for (const std::string& line : Lines(listing.substr(at + kEscSummaryHeading.size()))) {
    if (line.starts_with("<ESC>")) {
      const std::string key = line.substr(0, line.find(' '));
      const long count = std::stol(line.substr(line.rfind(": ") + 2));
      (line.find("*** Invalid Escape") != std::string::npos ? summary.invalid : summary.counts)[key] += count;
    } else if (line.ends_with(" Escape sequences")) {
      summary.total = std::stol(line);
      break;
    }
  }
  return summary;
}

// Offsets from the page summary lines "    Page N : offset X".
std::vector<std::uint64_t> ReadPageSummary(const std::string& listing) {
  std::vector<std::uint64_t> offsets;
  const std::size_t at = listing.rfind("    Page Summary");
  if (at == std::string::npos) return offsets;
  for (const std::string& line : Lines(listing.substr(at))) {
    const std::size_t colon = line.find(" : offset ");
    if (line.starts_with("    Page ") && colon != std::string::npos) {
      offsets.push_back(std::stoull(line.substr(colon + 10)));
    }
  }
  return offsets;
}

std::vector<std::uint64_t> EjectOffsets(const std::string& body) {
  std::vector<std::uint64_t> offsets;
  for (const std::string& line : Lines(body)) {
    if (line.starts_with("[Page Eject offset ")) offsets.push_back(std::stoull(line.substr(19)));
  }
  return offsets;
}

void PrintTo(const RealJob& job, std::ostream* out) { *out << job.file; }

class RealJobTest : public ::testing::TestWithParam<RealJob> {
 protected:
  void SetUp() override {
    bytes_ = JobBytes(GetParam().file);
    ASSERT_FALSE(bytes_.empty()) << "missing job " << GetParam().file;
    scan_ = test::ScanJob(bytes_);
    result_ = test::Decode(bytes_, kDefaultRun);
    body_ = Body(result_.listing);
  }
  std::string bytes_;
  test::RawJobScan scan_;
  MemoryDecodeResult result_;
  std::string body_;
};

TEST_P(RealJobTest, DecodesToTheEndAndFindsEveryPage) {
  const RealJob& job = GetParam();
  EXPECT_FALSE(result_.aborted);
  ASSERT_NE(result_.listing.find(kEscSummaryHeading), std::string::npos);

  const std::vector<std::uint64_t> summary = ReadPageSummary(result_.listing);
  ASSERT_EQ(summary.size(), static_cast<std::size_t>(job.pages));
  EXPECT_EQ(EjectOffsets(body_), summary);

  if (job.pageEnd == PageEnd::FormFeeds) {
    EXPECT_EQ(scan_.formFeedEnds, summary);
  } else {
    ASSERT_FALSE(scan_.resetEnds.empty());
    EXPECT_EQ(summary, std::vector<std::uint64_t>{scan_.resetEnds.back()});
  }
}

TEST_P(RealJobTest, EscapeSummaryCountsWhatTheBytesHold) {
  const EscapeSummary summary = ReadEscapeSummary(result_.listing);
  EXPECT_EQ(summary.counts, scan_.escapes);
  EXPECT_EQ(summary.total, scan_.escapeTotal);

  long listed = 0;
  long bad = 0;
  for (const std::string& line : Lines(body_)) {
    listed += IsEscapeHeader(line);
    bad += IsEscapeHeader(line) && IsBadEscapeLine(line);
  }
  EXPECT_EQ(summary.total, listed - bad);
  EXPECT_EQ(bad, static_cast<long>(scan_.badEscapes.size()));
}

// The control counts start again with every PCL stretch: the 11000 NULs that
// open the hpijs job come before its UEL and are not counted.
TEST_P(RealJobTest, ControlSummaryCountsTheLastPclStretch) {
  std::map<int, long> want;
  for (int code = 0; code < 32; ++code) {
    if (scan_.lastStretchControls[code] > 0) want[code] = scan_.lastStretchControls[code];
  }
  std::map<int, long> got;
  const std::size_t at = result_.listing.find("============ Control Character Summary");
  if (at != std::string::npos) {
    for (const std::string& line : Lines(result_.listing.substr(at))) {
      if (line.starts_with("DEC ")) got[std::stoi(line.substr(4))] = std::stol(line.substr(line.rfind(": ") + 2));
    }
  }
  EXPECT_EQ(got, want);
}

TEST_P(RealJobTest, PjlLinesAndLanguageExitsAsTheBytesSay) {
  const RealJob& job = GetParam();
  ASSERT_EQ(scan_.pjlLines, job.pjlLines);
  const std::vector<std::string> lines = Lines(body_);
  int exits = 0;
  std::vector<std::string> pjl;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_FALSE(lines[i].starts_with("Switched to")) << lines[i];
    if (!IsEscapeHeader(lines[i]) || !lines[i].ends_with("Exit Language")) continue;
    ++exits;
    // What follows an exit is PJL up to the escape that starts the next PCL stretch, or the end.
    std::size_t j = i + 1;
    for (; j < lines.size() && !lines[j].starts_with("["); ++j) pjl.push_back(lines[j]);
    EXPECT_TRUE(j == lines.size() || IsEscapeHeader(lines[j])) << lines[j];
  }
  EXPECT_EQ(exits, scan_.languageExits);
  EXPECT_EQ(pjl, job.pjlLines);
  for (const std::string& line : lines) {
    if (line.starts_with("@PJL")) {
      EXPECT_NE(std::find(pjl.begin(), pjl.end(), line), pjl.end()) << line;
    }
  }
}

TEST_P(RealJobTest, EveryProblemIsInTheJobsBytes) {
  const RealJob& job = GetParam();
  EXPECT_EQ(static_cast<int>(scan_.badEscapes.size()), job.badEscapes);
  std::map<std::string, int> oddLines;
  for (const std::string& line : Lines(body_)) {
    if (line.find("*** ") == std::string::npos || (IsEscapeHeader(line) && IsBadEscapeLine(line))) continue;
    bool known = false;
    for (const OddValue& odd : job.oddValues) {
      if (line.starts_with(odd.header)) {
        ++oddLines[odd.header];
        known = true;
      }
    }
    EXPECT_TRUE(known) << "unexplained: " << line;
  }
  for (const OddValue& odd : job.oddValues) {
    int inJob = 0;
    for (std::size_t at = bytes_.find(odd.bytes); at != std::string::npos; at = bytes_.find(odd.bytes, at + 1)) ++inJob;
    EXPECT_EQ(oddLines[odd.header], inJob) << odd.header;
    EXPECT_GT(inJob, 0) << odd.header;
  }
  const EscapeSummary summary = ReadEscapeSummary(result_.listing);
  long summarised = 0;
  for (const auto& [key, count] : summary.invalid) summarised += count;
  EXPECT_EQ(summarised, job.badEscapes);
}

TEST_P(RealJobTest, ExceptionsOnlyListsOnlyTheBadEscapesAndStillCountsPages) {
  const MemoryDecodeResult quiet = test::Decode(bytes_, DF_SUPPRESS | DF_PAGE_SUM);
  EXPECT_FALSE(quiet.aborted);
  const std::size_t summaryAt = quiet.listing.find("\n===================================================\n");
  ASSERT_NE(summaryAt, std::string::npos);
  std::vector<std::string> want;
  for (const std::string& line : Lines(body_)) {
    if (IsEscapeHeader(line) && IsBadEscapeLine(line)) want.push_back(line);
  }
  const std::vector<std::string> got = Lines(quiet.listing.substr(0, summaryAt));
  for (const std::string& line : got) EXPECT_NE(line.find("*** "), std::string::npos) << line;
  EXPECT_EQ(got, want);
  EXPECT_EQ(quiet.errorLog, "");
  if (GetParam().onlyHpglMarks) {
    EXPECT_NE(quiet.listing.find("    Page Summary : No Pages Defined\n"), std::string::npos);
  } else {
    EXPECT_EQ(ReadPageSummary(quiet.listing), ReadPageSummary(result_.listing));
  }
}

// The colour job's raster data holds an ESC byte: the tests above would see
// an escape there if the data were not skipped.
TEST(RealJobData, OneJobCarriesAnEscInsideData) {
  const test::RawJobScan scan = test::ScanJob(JobBytes("cdj550-colour.pcl"));
  EXPECT_EQ(scan.escBytesInData, 1u);
}

const RealJob kRealJobs[] = {
    {"ljet4-page1.pcl", 1, PageEnd::FormFeeds, {}},
    {"ljet4pjl-page1.pcl", 1, PageEnd::FormFeeds, {"@PJL", "@PJL ENTER LANGUAGE = PCL"}},
    {"ljet3-three-pages.pcl", 3, PageEnd::FormFeeds, {}},
    {"cdj550-colour.pcl", 1, PageEnd::Reset, {}},
    // The driver closes ESC*b0V with an upper-case V and then writes its plane
    // data as if the escape went on: those bytes are text, and one of them is
    // an ESC followed by "~", which starts no escape.
    {"cdj670-page1.pcl", 1, PageEnd::Reset, {}, {}, 1},
    // PCL3GUI is no language the listing knows, so the job stays in PJL until
    // the next line starts with ESC. The page size 73 and the paper source -2
    // are outside the listing's tables.
    {"hpijs-dj990-colour.pcl",
     1,
     PageEnd::FormFeeds,
     {"@PJL ENTER LANGUAGE=PCL3GUI"},
     {{"\x1b&l73A", "[ ESC & l 73 A ]"}, {"\x1b&l-2H", "[ ESC & l -2 H ]"}}},
    {"pstoedit-pcl-drawing.pcl", 1, PageEnd::Reset, {}, {}, 0, true},
    {"dvilj4-hello.pcl",
     1,
     PageEnd::FormFeeds,
     {"@PJL SET RESOLUTION=600", "@PJL SET PAGEPROTECT=OFF", "@PJL ENTER LANGUAGE=PCL"}},
};

INSTANTIATE_TEST_SUITE_P(Drivers, RealJobTest, ::testing::ValuesIn(kRealJobs),
                         [](const ::testing::TestParamInfo<RealJob>& param) {
                           std::string name = std::string(param.param.file).substr(0, std::string(param.param.file).find('.'));
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
}  // namespace veltrix
