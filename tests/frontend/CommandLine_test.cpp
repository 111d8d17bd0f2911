// The veltrix program run as a child process: what only the command line
// does. Exit statuses, standard output and error, its options, help, the
// header moment from SOURCE_DATE_EPOCH, standard input, --log, --strict, and the refusal to
// overwrite a source. What each option sets in the request is checked in
// OptionTable_test.cpp; messages and listing names are the driver's
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
#include "frontend/OptionTable.h"

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
// standard error (usage errors, status 2, are tested below). A listing never
// overwrites a source: not the one being decoded, nor a later one that would
// be lost before it is read.
TEST_F(CommandLineTest, ExitStatusAndMessage) {
  WriteFile(J("job.pcl"), kCleanJob);
  WriteFile(J("bad.pcl"), kBadJob);
  WriteFile(J("xl.pcl"), kBadXlJob);
  const std::set<std::string> before = JobFiles();
  const struct {
    Args args;
    int status;
    std::string message;        // for status 1: the run's message on standard error
    bool writesNothing = true;  // for status 1
  } cases[] = {
      {{"bad.pcl"}, 0, ""},           {{"--strict", "job.pcl"}, 0, ""}, {{"--strict", "bad.pcl"}, 3, ""},
      {{"--strict", "xl.pcl"}, 3, ""}, {{"--version"}, 0, ""},           {{"--help"}, 0, ""},
      {{"nope.pcl"}, 1, "Error opening nope.pcl for reading"},
      {{"job.pcl", "nope.pcl"}, 1, "Error opening nope.pcl for reading", false},  // job.pcl may be listed
      {{"-o", "job.pcl", "job.pcl"}, 1, "Error opening job.pcl for output"},
      {{"-o", "*.pcl", "job.pcl"}, 1, "Error opening job.pcl for output"},
      {{"-o", "bad.pcl", "job.pcl", "bad.pcl"}, 1, "Error opening bad.pcl for output"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const RunResult r = Run(c.args);
    EXPECT_EQ(r.status, c.status) << r.err;
    const bool failed = c.status == 1;
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

// Bad usage: status 2, a message on standard error, and no listing or other
// file written, not even the listing that -o names.
TEST_F(CommandLineTest, UsageErrors) {
  WriteFile(J("job.pcl"), kCleanJob);
  const std::set<std::string> before = JobFiles();
  const std::pair<Args, std::string> cases[] = {
      {{"--bogus", "job.pcl"}, "--bogus"},
      {{"-x", "job.pcl"}, "-x"},
      {{"--level", "x", "job.pcl"}, "--level"},
      {{"--level", "3.5", "job.pcl"}, "--level"},
      {{"--level", "4", "--level", "5", "job.pcl"}, "--level"},  // given twice
      {{"-o", "b.txt", "job.pcl"}, "--output"},  // a second listing name
      {{"--strict=maybe", "job.pcl"}, "--strict"},
      {{"job.pcl", "--log"}, "--log"},  // no value
      {{"--strict"}, "SOURCE"},  // no source
      {{}, "SOURCE"},
      {{""}, "the source name is empty"},
  };
  for (const auto& [args, message] : cases) {
    SCOPED_TRACE(::testing::PrintToString(args));
    const RunResult r = Run(Join({"-o", "out.txt"}, args));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(JobFiles(), before);
  }
}

// Help has a line for every option of the table, with its value name and
// help text, marked when the option is not available yet.
TEST_F(CommandLineTest, HelpListsEveryOption) {
  const RunResult r = Run({"--help"});
  ASSERT_EQ(r.status, 0);
  std::vector<std::string> lines;
  for (std::size_t from = 0, end; from < r.out.size(); from = end + 1) {
    end = r.out.find('\n', from);
    if (end == std::string::npos) end = r.out.size();
    lines.push_back(r.out.substr(from, end - from));
  }
  ASSERT_FALSE(DecodeOptionRecords().empty());
  for (const OptionRecord& option : DecodeOptionRecords()) {
    SCOPED_TRACE(option.longName);
    std::string names = "--" + std::string(option.longName);
    if (option.shortName != 0) names = std::string("-") + option.shortName + "," + names;
    if (option.kind != ValueKind::Flag) names += " " + std::string(option.valueName);
    int found = 0;
    for (const std::string& line : lines) {
      if (line.rfind("  " + names + " ", 0) != 0) continue;
      ++found;
      EXPECT_NE(line.find(option.help), std::string::npos) << line;
      EXPECT_EQ(line.find("(not available yet)") != std::string::npos, !option.available) << line;
    }
    EXPECT_EQ(found, 1) << r.out;
  }
}

// Each summary switch leaves out its own summary and no other; --contiguous
// alone changes nothing, since no raster rows are listed without --raster.
TEST_F(CommandLineTest, SummarySwitches) {
  WriteFile(J("job.pcl"), kCleanJob);
  const std::string rule = "\n===================================================\n\n";
  const struct {
    std::string name, text;
  } parts[] = {
      {"escape", "\n============ PCL Escape Summary =================\n\n"},
      // "AB" is printed in the default font: its attributes are all unset.
      {"font", rule + "    Font Summary : No Downloaded Fonts\n\n\n" + rule + "    Font Attribute Summary\n\n" +
                   "        Typeface : default\n      Symbol Set : default\n         Spacing : default\n" +
                   "           Pitch : default\n          Points : default\n           Style : default\n" +
                   "          Weight : default\n\n"},
      {"macro", rule + "    Macro Summary : No Macros Defined\n"},
      {"palette", rule + "    Palettes referenced by raster : none\n"},
      {"page", rule + "    Page Summary \n"},
      {"eject", "\n[Page Eject offset 2 ]\n"},
      {"two-byte", rule + "    2 Byte Char Summary : No 2 Byte chars referenced\n"},
  };
  const std::set<std::string> defaults = {"escape", "font", "macro", "palette", "page", "eject"};
  const std::pair<Args, std::set<std::string>> cases[] = {
      {{}, defaults},
      {{"--no-command-summary"}, {"font", "macro", "palette", "page", "eject"}},
      {{"--no-macro-summary"}, {"escape", "font", "palette", "page", "eject"}},
      {{"--no-palette-summary"}, {"escape", "font", "macro", "page", "eject"}},
      {{"--no-page-summary"}, {"escape", "font", "macro", "palette"}},
      {{"--no-font-summary"}, {"escape", "macro", "palette", "page", "eject"}},
      {{"--no-page-summary=false"}, defaults},
      {{"--two-byte-summary"}, {"escape", "font", "macro", "palette", "page", "eject", "two-byte"}},
      {{"--contiguous"}, defaults},
      {{"--no-command-summary", "--no-font-summary", "--no-macro-summary", "--no-palette-summary",
        "--no-page-summary"},
       {}},
  };
  for (const auto& [args, shown] : cases) {
    SCOPED_TRACE(::testing::PrintToString(args));
    const RunResult r = Run(Join(args, {"job.pcl"}));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.find(Header("job.pcl") + "AB\n"), 0u);
    for (const auto& part : parts) {
      EXPECT_EQ(r.out.find(part.text) != std::string::npos, shown.contains(part.name)) << part.name;
    }
  }
}

// -o and --output write the listing to a file instead of standard output; a
// '*' in the name stands for each source's base name.
TEST_F(CommandLineTest, OutputOption) {
  WriteFile(J("job.pcl"), kCleanJob);
  WriteFile(J("bad.pcl"), kBadJob);
  const std::string body = kRule + kCleanBody;
  for (const std::string option : {"-o", "--output"}) {
    SCOPED_TRACE(option);
    const RunResult r = Run(Join(kNoSummaries, {option, "out.txt", "job.pcl"}));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    const std::string listing = ReadFile(J("out.txt"));
    EXPECT_EQ(listing.substr(0, kDateLine.size()), kDateLine);
    ASSERT_GE(listing.size(), body.size());
    EXPECT_EQ(listing.substr(listing.size() - body.size()), body);
    fs::remove(J("out.txt"));
  }
  const RunResult r = Run(Join(kNoSummaries, {"--output=*.lst", "job.pcl", "bad.pcl"}));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  const std::string job = ReadFile(J("job.lst")), bad = ReadFile(J("bad.lst"));
  ASSERT_GE(job.size(), body.size());
  EXPECT_EQ(job.substr(job.size() - body.size()), body);
  EXPECT_EQ(bad, Header("bad.pcl", false) + kBadBody);
}

// --level sets how much of a PCL XL stream is listed: below 4 no attribute
// lines, below 3 no operator lines either. The job comes from a real driver.
TEST_F(CommandLineTest, LevelSetsPclXlDetail) {
  fs::copy_file(test::TestDir() / "pclxl/data/pxlmono-sample.pxl", J("job.pxl"));
  const auto listing = [&](const Args& level) {
    const RunResult r = Run(Join(Join(kNoSummaries, level), {"job.pxl"}));
    EXPECT_EQ(r.status, 0) << r.err;
    return r.out;
  };
  // The lines of `text` that do not start with `prefix`.
  const auto without = [](const std::string& text, const std::string& prefix) {
    std::string kept;
    for (std::size_t from = 0, end; from < text.size(); from = end + 1) {
      end = text.find('\n', from);
      if (end == std::string::npos) end = text.size() - 1;
      if (text.compare(from, prefix.size(), prefix) != 0) kept += text.substr(from, end + 1 - from);
    }
    return kept;
  };
  const std::string operatorLine = "[XL OPERATOR  ] ", attributeLine = std::string(16, ' ');
  const std::string full = listing({}), level3 = listing({"--level", "3"}), level2 = listing({"--level=2"});
  ASSERT_NE(full.find(operatorLine + "BeginSession\n" + attributeLine), std::string::npos);
  EXPECT_EQ(listing({"--level", "4"}), full);
  EXPECT_EQ(level3, without(full, attributeLine));
  EXPECT_NE(level3.find(operatorLine), std::string::npos);
  EXPECT_EQ(level2, without(level3, operatorLine));
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
