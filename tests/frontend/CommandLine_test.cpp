// The veltrix program run as a child process: exit statuses and messages,
// where listings and error logs go, the report header, and the switches that
// leave summaries out.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
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
const std::string kExceptionsNote = "Reporting exceptions only :\n\n";

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

std::string Header(const std::string& source, const std::string& dest = "", bool firstFile = true) {
  std::string text = firstFile ? kDateLine : "";
  text += "\nDecoding '" + source + "'";
  if (firstFile && !dest.empty()) text += " to '" + dest + "'";
  return text + kRule;
}

Args Join(Args a, const Args& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::string Describe(const Args& args) {
  std::string text;
  for (const std::string& arg : args) text += " " + arg;
  return text;
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
  // `env_` (by default: no user settings, a local time zone that is not UTC)
  // and a fixed header moment.
  RunResult Run(const Args& args, const std::string& input = "") const {
    const fs::path in = root_ / "stdin", out = root_ / "stdout", err = root_ / "stderr";
    WriteFile(in, input);
    const Args argText = Join({VELTRIX_BINARY}, args), envText = Join(env_, {"SOURCE_DATE_EPOCH=" + epoch_});
    std::vector<char*> argv, envp;
    for (const std::string& s : argText) argv.push_back(const_cast<char*>(s.c_str()));
    for (const std::string& s : envText) envp.push_back(const_cast<char*>(s.c_str()));
    argv.push_back(nullptr);
    envp.push_back(nullptr);

    const pid_t pid = ::fork();
    if (pid == 0) {
      const int fdIn = ::open(in.c_str(), O_RDONLY);
      const int fdOut = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const int fdErr = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (fdIn < 0 || fdOut < 0 || fdErr < 0 || ::dup2(fdIn, 0) < 0 || ::dup2(fdOut, 1) < 0 ||
          ::dup2(fdErr, 2) < 0 || ::chdir(jobs_.c_str()) != 0) {
        ::_exit(126);
      }
      ::execve(argv[0], argv.data(), envp.data());
      ::_exit(127);
    }
    RunResult result;
    if (int status = 0; pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
      result.status = WEXITSTATUS(status);
    }
    result.out = ReadFile(out);
    result.err = ReadFile(err);
    return result;
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

TEST_F(CommandLineTest, ExitStatusAndMessage) {
  WriteFile(J("job.pcl"), kCleanJob);
  WriteFile(J("bad.pcl"), kBadJob);
  WriteFile(J("xl.pcl"), kBadXlJob);
  fs::create_directories(J("sub"));
  const std::set<std::string> before = JobFiles();
  struct Case {
    Args args;
    int status;
    std::string message;  // for status 1: the run's message on standard error
    bool writesNothing = true;  // for status 1 and 2
  };
  const Case cases[] = {
      {{"job.pcl"}, 0, ""},
      {{"bad.pcl"}, 0, ""},
      {{"--strict", "job.pcl"}, 0, ""},
      {{"--strict", "bad.pcl"}, 3, ""},
      {{"--strict", "-o", "bad.txt", "bad.pcl"}, 3, ""},
      {{"xl.pcl"}, 0, ""},
      {{"--strict", "xl.pcl"}, 3, ""},
      {{"--version"}, 0, ""},
      {{"--help"}, 0, ""},
      {{"nope.pcl"}, 1, "Error opening nope.pcl for reading"},
      {{"job.pcl", "nope.pcl"}, 1, "Error opening nope.pcl for reading", false},  // job.pcl may be listed
      {{"*.none"}, 1, "Error opening *.none for reading"},
      {{"sub"}, 1, "Error opening sub for reading"},
      {{"-o", "missing/job.txt", "job.pcl"}, 1, "Error opening missing/job.txt for output"},
      {{"-o", "", "job.pcl"}, 1, "Error opening  for output"},
      {{"-o", "*-*.txt", "job.pcl"}, 1, "Invalid wildcard expression in output filename : *-*.txt"},
      {{"--bogus", "job.pcl"}, 2, ""},
      {{"--level", "x", "job.pcl"}, 2, ""},
      {{}, 2, ""},
      {{"-o", "out.txt"}, 2, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Describe(c.args));
    const RunResult r = Run(c.args);
    EXPECT_EQ(r.status, c.status) << r.err;
    if (c.status == 1 || c.status == 2) {
      EXPECT_NE(r.err, "");
      EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
      if (c.writesNothing) {
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(JobFiles(), before);
      }
    } else {
      EXPECT_EQ(r.err, "");
      if (c.status == 0) {
        EXPECT_NE(r.out, "");  // the listing, the version or the help
      }
    }
    fs::remove(J("bad.txt"));
    fs::remove(J("bad.LOG"));
  }
}

TEST_F(CommandLineTest, ListingNeverOverwritesASource) {
  WriteFile(J("job.pcl"), kCleanJob);
  WriteFile(J("two.pcl"), kBadJob);
  const struct {
    Args args;
    std::string listing;
  } cases[] = {
      {{"-o", "job.pcl", "job.pcl"}, "job.pcl"},
      {{"-o", "*.pcl", "job.pcl"}, "job.pcl"},
      {{"-o", "two.pcl", "job.pcl", "two.pcl"}, "two.pcl"},  // the second source would be lost before it is read
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Describe(c.args));
    const RunResult r = Run(c.args);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Error opening " + c.listing + " for output"), std::string::npos) << r.err;
    EXPECT_EQ(ReadFile(J("job.pcl")), kCleanJob);
    EXPECT_EQ(ReadFile(J("two.pcl")), kBadJob);
  }
}

TEST_F(CommandLineTest, ListingGoesToStandardOutputByDefault) {
  WriteFile(J("job.pcl"), kCleanJob);
  const RunResult r = Run(Join(kNoSummaries, {"job.pcl"}));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, Header("job.pcl") + kCleanBody) << test::FirstDifference(r.out, Header("job.pcl") + kCleanBody);
  EXPECT_EQ(JobFiles(), std::set<std::string>{"job.pcl"});  // no listing or log beside the source
  EXPECT_TRUE(fs::is_empty(root_ / "home"));                 // the settings file is not written
}

TEST_F(CommandLineTest, HeaderDateIsSourceDateEpochInUtc) {
  WriteFile(J("job.pcl"), kCleanJob);
  const struct {
    std::string epoch, dateLine;
  } cases[] = {
      {"0", " 1- 1-1970  0:00 Korvane 8.70\n"},
      {"1709622570", " 3- 5-2024  7:09 Korvane 8.70\n"},
      {"1701215999", "11-28-2023 23:59 Korvane 8.70\n"},  // 08:59 the next day in the local zone
      {"951825600", " 2-29-2000 12:00 Korvane 8.70\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.epoch);
    epoch_ = c.epoch;
    const RunResult r = Run(Join(kNoSummaries, {"job.pcl"}));
    EXPECT_EQ(r.out, c.dateLine + "\nDecoding 'job.pcl'" + kRule + kCleanBody);
  }
}

TEST_F(CommandLineTest, WildcardListingNameGivesOneListingPerSource) {
  WriteFile(J("a.pcl"), kCleanJob);
  WriteFile(J("b.c.pcl"), kBadJob);
  const RunResult r = Run(Join(kNoSummaries, {"-o", "*.lst", "a.pcl", "b.c.pcl"}));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(ReadFile(J("a.lst")), Header("a.pcl", "*.lst") + kCleanBody);
  EXPECT_EQ(ReadFile(J("b.lst")), Header("b.c.pcl", "*.lst", false) + kBadBody);  // named up to the first dot
  EXPECT_EQ(ReadFile(J("b.LOG")), kBadLogEntry);
  EXPECT_FALSE(fs::exists(J("a.LOG")));
}

TEST_F(CommandLineTest, SeveralSourcesAreDecodedInTheOrderGiven) {
  WriteFile(J("a.pcl"), "AA");
  WriteFile(J("b.pcl"), "BB");
  const RunResult r = Run(Join(kNoSummaries, {"b.pcl", "a.pcl"}));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, Header("b.pcl") + "BB\n" + Header("a.pcl", "", false) + "AA\n");
}

TEST_F(CommandLineTest, QuotedWildcardDecodesMatchesInByteOrder) {
  WriteFile(J("b.pcl"), "b");
  WriteFile(J("a.pcl"), "a");
  WriteFile(J("B.pcl"), "B");
  WriteFile(J("ab.pcl"), "ab");
  WriteFile(J("a.txt"), "t");
  const std::string abs = jobs_.string() + "/";
  const struct {
    std::string source, shownDir;
    std::vector<std::string> names;
  } cases[] = {
      {"*.pcl", "", {"B.pcl", "a.pcl", "ab.pcl", "b.pcl"}},
      {"?.pcl", "", {"B.pcl", "a.pcl", "b.pcl"}},
      {abs + "a*", abs, {"a.pcl", "a.txt", "ab.pcl"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source);
    std::string want;
    for (const std::string& name : c.names) {
      want += Header(c.shownDir + name, "", want.empty()) + ReadFile(J(name)) + "\n";
    }
    const RunResult r = Run(Join(kNoSummaries, {c.source}));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, want) << test::FirstDifference(r.out, want);
  }
}

TEST_F(CommandLineTest, DashReadsStandardInput) {
  const RunResult r = Run(Join(kNoSummaries, {"-"}), "XY");
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string head = kDateLine + "\nDecoding '", tail = kRule + "XY\n";  // the shown name is our own
  ASSERT_GE(r.out.size(), head.size() + tail.size());
  EXPECT_EQ(r.out.substr(0, head.size()), head);
  EXPECT_EQ(r.out.substr(r.out.size() - tail.size()), tail);
}

TEST_F(CommandLineTest, ExceptionsOnlyListsTheProblemsAndMakesNoLog) {
  WriteFile(J("bad.pcl"), kBadJob);
  const Args modes[] = {{"-e"}, {"--exceptions-only"}, {"--level", "0"}};
  for (const Args& mode : modes) {
    SCOPED_TRACE(Describe(mode));
    const RunResult toFile = Run(Join(Join(kNoSummaries, mode), {"-o", "out.txt", "bad.pcl"}));
    EXPECT_EQ(toFile.status, 0) << toFile.err;
    EXPECT_EQ(ReadFile(J("out.txt")), Header("bad.pcl", "out.txt") + kExceptionsNote + kBadLine);
    EXPECT_FALSE(fs::exists(J("out.LOG")));

    const RunResult toStdout = Run(Join(Join(kNoSummaries, mode), {"--log", "x.log", "bad.pcl"}));
    EXPECT_EQ(toStdout.out, Header("bad.pcl") + kExceptionsNote + kBadLine);
    EXPECT_FALSE(fs::exists(J("x.log")));
  }
}

TEST_F(CommandLineTest, ErrorLogBesideTheListingKeepsOnlyEntries) {
  WriteFile(J("job.pcl"), kCleanJob);
  WriteFile(J("bad.pcl"), kBadJob);
  fs::create_directories(J("d.x"));
  const struct {
    std::string listing, log;
  } cases[] = {
      {"out.txt", "out.LOG"},
      {"out.log", "out.log.LOG"},  // the same extension in another case: appended
      {"out", "out.LOG"},
      {"out.list", "out.list.LOG"},  // more than three characters after the dot
      {"d.x/out", "d.x/out.LOG"},    // a dot in the directory part is no extension
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.listing);
    EXPECT_EQ(Run({"-o", c.listing, "bad.pcl"}).status, 0);
    EXPECT_EQ(ReadFile(J(c.log)), kBadLogEntry);
    EXPECT_EQ(Run({"-o", c.listing, "job.pcl"}).status, 0);
    EXPECT_FALSE(fs::exists(J(c.log)));  // empty, so deleted
  }
  // --log names the log only for a listing on standard output.
  EXPECT_EQ(Run({"-o", "out.txt", "--log", "x.log", "bad.pcl"}).status, 0);
  EXPECT_EQ(ReadFile(J("out.LOG")), kBadLogEntry);
  EXPECT_FALSE(fs::exists(J("x.log")));
}

TEST_F(CommandLineTest, ErrorLogWithTheListingOnStandardOutput) {
  WriteFile(J("job.pcl"), kCleanJob);
  WriteFile(J("bad.pcl"), kBadJob);
  RunResult r = Run(Join(kNoSummaries, {"bad.pcl"}));
  EXPECT_EQ(r.out, Header("bad.pcl") + kBadBody);
  EXPECT_EQ(JobFiles(), (std::set<std::string>{"bad.pcl", "job.pcl"}));  // no log without --log

  r = Run(Join(kNoSummaries, {"--log", "x.log", "bad.pcl"}));
  EXPECT_EQ(r.out, Header("bad.pcl") + kBadBody);
  EXPECT_EQ(ReadFile(J("x.log")), kBadLogEntry);

  r = Run(Join(kNoSummaries, {"--log", "x.log", "job.pcl"}));
  EXPECT_EQ(r.status, 0);
  EXPECT_FALSE(fs::exists(J("x.log")));
}

TEST_F(CommandLineTest, SummarySwitchesLeaveTheirSummariesOut) {
  WriteFile(J("job.pcl"), kCleanJob);
  const std::string escapeHeading = "\n============ PCL Escape Summary =================\n\n";
  const std::string pageHeading = "\n===================================================\n\n    Page Summary ";
  const std::string pageEject = "[Page Eject offset 2 ]\n";
  const struct {
    Args args;
    bool escapeSummary, pageSummary;
  } cases[] = {
      {{}, true, true},
      {{"--no-command-summary"}, false, true},
      {{"--no-page-summary"}, true, false},
      {{"--no-command-summary", "--no-page-summary"}, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Describe(c.args));
    const RunResult r = Run(Join(c.args, {"job.pcl"}));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.find(Header("job.pcl") + "AB\n"), 0u);
    EXPECT_EQ(r.out.find(escapeHeading) != std::string::npos, c.escapeSummary);
    EXPECT_EQ(r.out.find(pageHeading) != std::string::npos, c.pageSummary);
    EXPECT_EQ(r.out.find(pageEject) != std::string::npos, c.pageSummary);
  }
}

TEST_F(CommandLineTest, TablesFileIsFoundInTheSettingsDirectory) {
  WriteFile(J("size.pcl"), "\x1b&l5A");  // paper size 5 has no built-in name
  WriteFile(J("alt.ini"), "[PaperSizes]\n5=Alt Size\n");
  const std::string root = root_.string();
  const struct {
    std::string home;  // environment entry naming the settings directory (or its parent)
    std::string tables;
    Args extra;
    std::string name;
  } cases[] = {
      {"VELTRIX_HOME=" + root + "/home", "home/veltrix.ini", {}, "My Size"},
      {"VELTRIX_HOME=" + root + "/home", "home/veltrix.ini", {"--tables", "alt.ini"}, "Alt Size"},
      {"VELTRIX_HOME=" + root + "/home", "", {}, "*** Unknown ( 5 )"},
      {"XDG_CONFIG_HOME=" + root + "/xdg", "xdg/veltrix/veltrix.ini", {}, "My Size"},
      {"HOME=" + root + "/user", "user/.config/veltrix/veltrix.ini", {}, "My Size"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.home + " " + c.tables);
    if (!c.tables.empty()) {
      fs::create_directories((root_ / c.tables).parent_path());
      WriteFile(root_ / c.tables, "; sizes of this site\n[PaperSizes]\n5 = My Size ; ours\n");
    }
    env_ = {c.home, "TZ=UTC"};
    const RunResult r = Run(Join(Join(kNoSummaries, c.extra), {"size.pcl"}));
    EXPECT_EQ(r.out, Header("size.pcl") + "[ ESC & l 5 A ]       Set Page Size : " + c.name + "\n");
    if (!c.tables.empty()) fs::remove(root_ / c.tables);
  }
}

}  // namespace
}  // namespace veltrix
