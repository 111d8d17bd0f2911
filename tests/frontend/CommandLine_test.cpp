// The veltrix program run as a child process: what only the command line
// does. Exit statuses, standard output and error, its options, the header
// moment from SOURCE_DATE_EPOCH, standard input, --log, --strict, and the
// refusal to overwrite a source. Messages and listing names are the driver's
// (DecodeFiles_test.cpp).
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "TestSupport.h"

namespace veltrix {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;
using Args = std::vector<std::string>;

struct RunResult {
  int status = -1;  // exit status; -1 when the program did not exit normally
  std::string out, err;
};

const std::string kRule = "\n" + std::string(77, '-') + "\n\n";
const std::string kDateLine = " 3- 5-2024  7:09 Korvane 8.70\n";  // 1709622570 in UTC

// "AB": text only, one page. "A", ESC)5Z (no such record), "B": one exception.
const std::string kCleanJob = "AB";
const std::string kCleanBody = "AB\n";
const std::string kBadJob = "A\x1b)5ZB";
const std::string kBadHeader = "[ ESC ) 5 Z ] " + std::string(8, ' ');  // padded to 22 columns
const std::string kBadLine = kBadHeader + "*** Unknown Escape\n";
const std::string kBadBody = "A\n" + kBadLine + "B\n";
const std::string kBadLogEntry = kBadHeader + "Unknown escape\n";
// A PCL XL stream whose BeginPage comes outside a session: an error line, no
// error-log entry.
const std::string kBadXlJob = "@PJL ENTER LANGUAGE=PCLXL\n) XL;2;0\n\x43";

// Every summary that is on by default, switched off: the listing is the
// header and the lines of the job.
const Args kNoSummaries = {"--no-command-summary", "--no-page-summary", "--no-font-summary", "--no-macro-summary",
                           "--no-palette-summary"};

// The header of a listing on standard output; only the first has the date.
std::string Header(const std::string& source, bool firstFile = true) {
  return (firstFile ? kDateLine : "") + "\nDecoding '" + source + "'" + kRule;
}

Args Join(Args a, const Args& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The words as part of a shell command line, each quoted.
std::string ShellWords(const Args& words) {
  std::string line;
  for (const std::string& word : words) {
    line += " '";
    for (const char c : word) line += c == '\'' ? std::string("'\\''") : std::string(1, c);
    line += "'";
  }
  return line;
}

class CommandLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = test::MakeTempDir("cli-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    jobs_ = root_ / "jobs";
    fs::create_directories(jobs_);
    fs::create_directories(root_ / "home");
    env_ = {"VELTRIX_HOME=" + (root_ / "home").string(), "TZ=JST-9", "LC_ALL=C"};
  }
  void TearDown() override { fs::remove_all(root_); }

  fs::path J(const std::string& name) const { return jobs_ / name; }

  // Runs the program in the jobs directory with `input` on standard input,
  // only `env_` (by default: no user settings, a local time zone that is not
  // UTC) in its environment, and a fixed header moment.
  RunResult Run(const Args& args, const std::string& input = "") const {
    WriteFile(root_ / "stdin", input);
    const Args command = Join(Join(env_, {"SOURCE_DATE_EPOCH=" + epoch_, VELTRIX_BINARY}), args);
    const std::string line = ShellWords({"cd", jobs_}) + " && exec env -i" + ShellWords(command) + " <" +
                             ShellWords({root_ / "stdin"}) + " >" + ShellWords({root_ / "stdout"}) + " 2>" +
                             ShellWords({root_ / "stderr"});
    const int status = std::system(line.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(root_ / "stdout"), ReadFile(root_ / "stderr")};
  }

  std::set<std::string> JobFiles() const {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(jobs_)) names.insert(entry.path().lexically_relative(jobs_));
    return names;
  }

  fs::path root_, jobs_;
  std::vector<std::string> env_;  // the whole environment but SOURCE_DATE_EPOCH
  std::string epoch_ = "1709622570";
};

// 0, or 3 with --strict after exceptions; 1 with the run's message on
// standard error; 2 for a usage error. A listing never overwrites a source:
// not the one being decoded, nor a later one that would be lost before it is
// read.
TEST_F(CommandLineTest, ExitStatusAndMessage) {
  WriteFile(J("job.pcl"), kCleanJob);
  WriteFile(J("bad.pcl"), kBadJob);
  WriteFile(J("xl.pcl"), kBadXlJob);
  const std::set<std::string> before = JobFiles();
  const struct {
    Args args;
    int status;
    std::string message;        // for status 1: the run's message on standard error
    bool writesNothing = true;  // for status 1 and 2
  } cases[] = {
      {{"bad.pcl"}, 0, ""},           {{"--strict", "job.pcl"}, 0, ""}, {{"--strict", "bad.pcl"}, 3, ""},
      {{"--strict", "xl.pcl"}, 3, ""}, {{"--version"}, 0, ""},           {{"--help"}, 0, ""},
      {{"nope.pcl"}, 1, "Error opening nope.pcl for reading"},
      {{"job.pcl", "nope.pcl"}, 1, "Error opening nope.pcl for reading", false},  // job.pcl may be listed
      {{"-o", "job.pcl", "job.pcl"}, 1, "Error opening job.pcl for output"},
      {{"-o", "*.pcl", "job.pcl"}, 1, "Error opening job.pcl for output"},
      {{"-o", "bad.pcl", "job.pcl", "bad.pcl"}, 1, "Error opening bad.pcl for output"},
      {{"--bogus", "job.pcl"}, 2, ""}, {{"--level", "x", "job.pcl"}, 2, ""}, {{}, 2, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const RunResult r = Run(c.args);
    EXPECT_EQ(r.status, c.status) << r.err;
    const bool failed = c.status == 1 || c.status == 2;
    EXPECT_EQ(r.err.empty(), !failed) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    if (failed && c.writesNothing) {
      EXPECT_EQ(r.out, "");
      EXPECT_EQ(JobFiles(), before);
    }
    if (c.status == 0) {
      EXPECT_NE(r.out, "");  // the listing, the version or the help
    }
    EXPECT_EQ(ReadFile(J("job.pcl")), kCleanJob);
    EXPECT_EQ(ReadFile(J("bad.pcl")), kBadJob);
  }
}

// Listings go to standard output, in the order of the sources given or
// matched, with no error log beside the sources; the settings file is not
// written.
TEST_F(CommandLineTest, ListingOnStandardOutput) {
  WriteFile(J("job.pcl"), kCleanJob);
  WriteFile(J("bad.pcl"), kBadJob);
  WriteFile(J("B.pcl"), "B");
  const std::string exceptionsOnly = Header("bad.pcl") + "Reporting exceptions only :\n\n" + kBadLine;
  const std::string cleanBody = "\nDecoding 'job.pcl'" + kRule + kCleanBody;
  const struct {
    Args args;
    std::string want;
    std::string epoch = "1709622570";
  } cases[] = {
      {{"job.pcl", "bad.pcl"}, Header("job.pcl") + kCleanBody + Header("bad.pcl", false) + kBadBody},
      {{"*.pcl"},  // a quoted wildcard: the matches in byte order
       Header("B.pcl") + "B\n" + Header("bad.pcl", false) + kBadBody + Header("job.pcl", false) + kCleanBody},
      // Exceptions only: no log even when one is named.
      {{"-e", "--log", "x.log", "bad.pcl"}, exceptionsOnly},
      {{"--exceptions-only", "--log", "x.log", "bad.pcl"}, exceptionsOnly},
      {{"--level", "0", "--log", "x.log", "bad.pcl"}, exceptionsOnly},
      // The header moment is SOURCE_DATE_EPOCH in UTC; 1701215999 is 08:59
      // the next day in the local zone.
      {{"job.pcl"}, " 1- 1-1970  0:00 Korvane 8.70\n" + cleanBody, "0"},
      {{"job.pcl"}, "11-28-2023 23:59 Korvane 8.70\n" + cleanBody, "1701215999"},
      {{"job.pcl"}, " 2-29-2000 12:00 Korvane 8.70\n" + cleanBody, "951825600"},
  };
  const std::set<std::string> before = JobFiles();
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    epoch_ = c.epoch;
    const RunResult r = Run(Join(kNoSummaries, c.args));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.want) << test::FirstDifference(r.out, c.want);
    EXPECT_EQ(JobFiles(), before);
  }
  EXPECT_TRUE(fs::is_empty(root_ / "home"));
}

// --log names the error log of a listing on standard output; it survives
// only with entries. Beside a listing file the log is named after it.
TEST_F(CommandLineTest, LogOption) {
  WriteFile(J("job.pcl"), kCleanJob);
  WriteFile(J("bad.pcl"), kBadJob);
  EXPECT_EQ(Run(Join(kNoSummaries, {"--log", "x.log", "bad.pcl"})).out, Header("bad.pcl") + kBadBody);
  EXPECT_EQ(ReadFile(J("x.log")), kBadLogEntry);
  EXPECT_EQ(Run({"--log", "x.log", "job.pcl"}).status, 0);
  EXPECT_FALSE(fs::exists(J("x.log")));
  EXPECT_EQ(Run({"-o", "out.txt", "--log", "x.log", "bad.pcl"}).status, 0);
  EXPECT_EQ(ReadFile(J("out.LOG")), kBadLogEntry);
  EXPECT_FALSE(fs::exists(J("x.log")));
}

TEST_F(CommandLineTest, DashReadsStandardInput) {
  const RunResult r = Run(Join(kNoSummaries, {"-"}), "XY");
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string head = kDateLine + "\nDecoding '", tail = kRule + "XY\n";  // the shown name is our own
  ASSERT_GE(r.out.size(), head.size() + tail.size());
  EXPECT_EQ(r.out.substr(0, head.size()), head);
  EXPECT_EQ(r.out.substr(r.out.size() - tail.size()), tail);
}

TEST_F(CommandLineTest, SummarySwitchesLeaveTheirSummariesOut) {
  WriteFile(J("job.pcl"), kCleanJob);
  const std::string escapeHeading = "\n============ PCL Escape Summary =================\n\n";
  const std::string pageHeading = "\n===================================================\n\n    Page Summary ";
  const std::string pageEject = "[Page Eject offset 2 ]\n";
  const std::tuple<Args, bool, bool> cases[] = {{{"--no-command-summary"}, false, true},
                                                {{"--no-page-summary"}, true, false}};
  for (const auto& [args, escapeSummary, pageSummary] : cases) {
    SCOPED_TRACE(::testing::PrintToString(args));
    const RunResult r = Run(Join(args, {"job.pcl"}));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.find(Header("job.pcl") + "AB\n"), 0u);
    EXPECT_EQ(r.out.find(escapeHeading) != std::string::npos, escapeSummary);
    EXPECT_EQ(r.out.find(pageHeading) != std::string::npos, pageSummary);
    EXPECT_EQ(r.out.find(pageEject) != std::string::npos, pageSummary);
  }
}

// Each settings directory has a tables file with its own name for paper
// size 5, which has no built-in name.
TEST_F(CommandLineTest, TablesFileIsFoundInTheSettingsDirectory) {
  WriteFile(J("size.pcl"), "\x1b&l5A");
  WriteFile(J("alt.ini"), "[PaperSizes]\n5=Alt Size\n");
  for (const std::string dir : {"home", "xdg/veltrix", "user/.config/veltrix"}) {
    fs::create_directories(root_ / dir);
    WriteFile(root_ / dir / "veltrix.ini", "; sizes of this site\n[PaperSizes]\n5 = " + dir + " Size ; ours\n");
  }
  const std::string root = root_.string() + "/";
  const std::tuple<std::string, Args, std::string> cases[] = {
      {"VELTRIX_HOME=" + root + "home", {}, "home Size"},
      {"VELTRIX_HOME=" + root + "home", {"--tables", "alt.ini"}, "Alt Size"},
      {"VELTRIX_HOME=" + root + "jobs", {}, "*** Unknown ( 5 )"},
      {"XDG_CONFIG_HOME=" + root + "xdg", {}, "xdg/veltrix Size"},
      {"HOME=" + root + "user", {}, "user/.config/veltrix Size"},
  };
  for (const auto& [home, extra, name] : cases) {
    SCOPED_TRACE(home);
    env_ = {home, "TZ=UTC"};
    EXPECT_EQ(Run(Join(Join(kNoSummaries, extra), {"size.pcl"})).out,
              Header("size.pcl") + "[ ESC & l 5 A ]       Set Page Size : " + name + "\n");
  }
}

}  // namespace
}  // namespace veltrix
