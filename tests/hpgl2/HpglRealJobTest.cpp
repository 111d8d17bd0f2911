// Jobs written by pstoedit from tests/hpgl2/data/drawing.ps:
//   pstoedit-pcl.pcl       pstoedit -q -f "pcl:-pencolors 4" drawing.ps pstoedit-pcl.pcl
//   pstoedit-plot-pcl.pcl  pstoedit -q -f plot-pcl drawing.ps pstoedit-plot-pcl.pcl
// Both frame their HP-GL/2 with ESC%0B and ESC%0A. The bytes in between go to
// the parser as the PCL 5 decoder hands them over: every byte, then the ESC
// that starts ESC%0A, then the leave step.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "TestSupport.h"
#include "hpgl2/HpglTestRun.h"

namespace veltrix::test {
namespace {

std::string Job(const char* name) { return ReadFile(TestDir() / "hpgl2" / "data" / name); }

// The bytes after ESC%0B up to and including the ESC of ESC%0A.
std::string HpglPart(const std::string& job) {
  const std::size_t enter = job.find("\x1b%0B");
  const std::size_t leave = job.find("\x1b%0A", enter);
  if (enter == std::string::npos || leave == std::string::npos) return {};
  return job.substr(enter + 4, leave + 1 - (enter + 4));
}

std::string ListHpgl(std::string_view bytes) {
  HpglTestRun t;
  t.Feed(bytes);
  LeaveHpgl(HpglViewOf(t.run));
  return t.Listing();
}

std::map<std::string, int> CountMnemonics(const std::string& listing) {
  std::map<std::string, int> counts;
  std::istringstream lines(listing);
  for (std::string line; std::getline(lines, line);) {
    EXPECT_EQ(line.substr(0, kHpglPrefix.size()), kHpglPrefix) << line;
    ++counts[line.substr(kHpglPrefix.size(), 2)];
  }
  return counts;
}

// Through the whole decoder: the PCL 5 parser hands HP-GL/2 bytes over
// between ESC%0B and ESC%0A, lists both escapes, and ejects the drawn page
// when the job ends. The plot's listing was written by hand from the job's bytes.
TEST(HpglRealJob, WholeDecodeListsThePlotBetweenTheEscapes) {
  const std::string job = Job("pstoedit-plot-pcl.pcl");
  const std::string listing = Decode(job, DF_PAGE_SUM | DF_FONT_DETAIL).listing;
  const std::string want = "[ ESC % 0 B ]         Enter HPGL : Pen at previous HPGL pen position\n" +
                           Job("pstoedit-plot-pcl.lst") +
                           "[ ESC % 0 A ]         Enter PCL : Pen at previous PCL cursor position\n" +
                           "[Page Eject offset " + std::to_string(job.size()) + " ]\n";
  EXPECT_EQ(listing.substr(0, listing.find("\n=====")), want);
}

TEST(HpglRealJob, PclDriverCountsAndLines) {
  const std::string part = HpglPart(Job("pstoedit-pcl.pcl"));
  ASSERT_FALSE(part.empty());
  const std::string listing = ListHpgl(part);
  // Counted from the raw bytes: the first two letters of every ";"-separated piece.
  const std::map<std::string, int> want = {
      {"DI", 1}, {"EC", 2}, {"EP", 1}, {"FP", 1}, {"FT", 1}, {"IN", 1},  {"LB", 1}, {"LT", 1}, {"OE", 1},
      {"PD", 62}, {"PG", 1}, {"PM", 2}, {"PU", 10}, {"PW", 3}, {"SC", 1}, {"SI", 1}, {"SP", 5}};
  EXPECT_EQ(CountMnemonics(listing), want);
  for (const char* body : {"IN;", "SC;", "SP 1;", "PW 2;", "PU 282, 282;", "PD 3951, 282;", "FT 1;", "PM 0;",
                           "DI 100, 0;", "SI 0.254, 0.254;", "PU 846, 3386;", "LB \"Veltrix 1.5\"", "SP;", "EC 1;"}) {
    EXPECT_NE(listing.find(HpglLine(body)), std::string::npos) << body;
  }
  // The driver ends with OE and no ";": the ESC of ESC%0A closes that line.
  EXPECT_TRUE(listing.ends_with(HpglLine("PG 1;") + HpglLine("EC 1;") + HpglLine("OE;")));
}

// Cut anywhere, a job's HP-GL/2 still lists only whole lines once the leave
// step has run.
TEST(HpglRealJob, EveryCutEndsInWholeLines) {
  for (const char* name : {"pstoedit-pcl.pcl", "pstoedit-plot-pcl.pcl"}) {
    const std::string part = HpglPart(Job(name));
    ASSERT_FALSE(part.empty()) << name;
    for (std::size_t cut = 0; cut <= part.size(); ++cut) {
      const std::string listing = ListHpgl(std::string_view(part).substr(0, cut));
      ASSERT_TRUE(listing.empty() || listing.back() == '\n') << name << " cut at " << cut;
      CountMnemonics(listing);
    }
  }
}

}  // namespace
}  // namespace veltrix::test
