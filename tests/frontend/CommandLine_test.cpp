// The veltrix program run as a child process: what only the command line
// does. Exit statuses, standard output and error, its options, help, the
// header moment from SOURCE_DATE_EPOCH, standard input, --log, --strict, the refusal to
// overwrite a source, and outputs that cannot be written. What each option sets in the request is checked in
// OptionTable_test.cpp; messages and listing names are the driver's
// (DecodeFiles_test.cpp).
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "TestSupport.h"
#include "decode/FullDevice.h"

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
    WriteFile(J("job.pcl"), kCleanJob);
    WriteFile(J("bad.pcl"), kBadJob);
  }
  void TearDown() override { fs::remove_all(root_); }

  fs::path J(const std::string& name) const { return jobs_ / name; }

  // Runs the program in the jobs directory with `input` on standard input,
  // only `env_` (by default: no user settings, a local time zone that is not
  // UTC) in its environment, and a fixed header moment.
  RunResult Run(const Args& args, const std::string& input = "", std::string standardOutput = "") const {
    if (standardOutput.empty()) standardOutput = root_ / "stdout";
    WriteFile(root_ / "stdin", input);
    const Args command = Join(Join(env_, {"SOURCE_DATE_EPOCH=" + epoch_, VELTRIX_BINARY}), args);
    const std::string line = ShellWords({"cd", jobs_}) + " && exec env -i" + ShellWords(command) + " <" +
                             ShellWords({root_ / "stdin"}) + " >" + ShellWords({standardOutput}) + " 2>" +
                             ShellWords({root_ / "stderr"});
    const int status = std::system(line.c_str());
    const std::string out = fs::is_regular_file(standardOutput) ? ReadFile(standardOutput) : "";
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out, ReadFile(root_ / "stderr")};
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
// standard error; 2 for bad usage, with no listing or other file written,
// not even the one -o names. A listing never overwrites a source: not the
// one being decoded, nor a later one that would be lost before it is read.
TEST_F(CommandLineTest, ExitStatusAndMessage) {
  WriteFile(J("xl.pcl"), kBadXlJob);
  const std::set<std::string> before = JobFiles();
  const struct {
    Args args;
    int status;
    std::string message;        // on standard error
    bool writesNothing = true;  // for status 1 and 2
  } cases[] = {
      {{"bad.pcl"}, 0, ""},    {{"--strict", "job.pcl"}, 0, ""}, {{"--strict", "bad.pcl"}, 3, ""},
      {{"--strict", "xl.pcl"}, 3, ""}, {{"--version"}, 0, ""},
      {{"nope.pcl"}, 1, "Error opening nope.pcl for reading"},
      {{"job.pcl", "nope.pcl"}, 1, "Error opening nope.pcl for reading", false},  // job.pcl may be listed
      {{"-o", "job.pcl", "job.pcl"}, 1, "Error opening job.pcl for output"},
      {{"-o", "*.pcl", "job.pcl"}, 1, "Error opening job.pcl for output"},
      {{"-o", "bad.pcl", "job.pcl", "bad.pcl"}, 1, "Error opening bad.pcl for output"},
      {{"-o", "out.txt", "--bogus", "job.pcl"}, 2, "--bogus"},
      {{"-o", "out.txt", "--level", "x", "job.pcl"}, 2, "--level"},
      {{"--level", "4", "--level", "5", "job.pcl"}, 2, "--level"},  // given twice
      {{"-o", "out.txt", "-o", "b.txt", "job.pcl"}, 2, "--output"},  // a second listing name
      {{"--strict=maybe", "job.pcl"}, 2, "--strict"},
      {{"job.pcl", "--log"}, 2, "--log"},  // no value
      {{"--max-output", "12Q", "job.pcl"}, 2, "--max-output: '12Q' is not a size"},
      {{"--max-output", "1", "bad.pcl"}, 1, "Listing stopped: output budget of 1 bytes reached (bad.pcl)", false},
      {{"-o", "out.txt", "--strict"}, 2, "SOURCE"},  // no source
      {{""}, 2, "the source name is empty"},
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
    EXPECT_TRUE(failed || !r.out.empty());  // the listing or the version
    EXPECT_EQ(ReadFile(J("job.pcl")), kCleanJob);
    EXPECT_EQ(ReadFile(J("bad.pcl")), kBadJob);
  }
}

// Listings go to standard output, in the order of the sources given or
// matched, with no error log beside the sources; the settings file is not
// written.
TEST_F(CommandLineTest, ListingOnStandardOutput) {
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
      {{"--level", "0", "--log", "x.log", "bad.pcl"}, exceptionsOnly},
      // The header moment is SOURCE_DATE_EPOCH in UTC; 1701215999 is 08:59
      // the next day in the local zone.
      {{"job.pcl"}, "11-28-2023 23:59 Korvane 8.70\n" + cleanBody, "1701215999"},
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
// only with entries. (Listing files, named by wildcard or not, and the logs
// beside them: DecodeFiles_test.cpp.)
TEST_F(CommandLineTest, LogOption) {
  EXPECT_EQ(Run(Join(kNoSummaries, {"--log", "x.log", "bad.pcl"})).out, Header("bad.pcl") + kBadBody);
  EXPECT_EQ(ReadFile(J("x.log")), kBadLogEntry);
  fs::remove(J("x.log"));
  EXPECT_EQ(Run({"--log", "x.log", "job.pcl"}).status, 0);
  EXPECT_FALSE(fs::exists(J("x.log")));
}

TEST_F(CommandLineTest, DashReadsStandardInput) {
  const RunResult r = Run(Join(kNoSummaries, {"-"}), "XY");
  EXPECT_EQ(r.status, 0) << r.err;
  // The shown name is our own.
  EXPECT_TRUE(r.out.starts_with(kDateLine + "\nDecoding '") && r.out.ends_with(kRule + "XY\n")) << r.out;
}

// Help is made from the option table, a line per row: a few lines prove the
// layout, with and without a short name or a value.
TEST_F(CommandLineTest, Help) {
  const RunResult r = Run({"--help"});
  EXPECT_EQ(r.status, 0);
  for (const char* line : {"\n  -o,--output DEST            Listing file; may hold one '*'",
                           "\n  --level N                   Listing level (default 4;",
                           "\n  --strict                    Exit with status 3 when the job had exceptions\n"}) {
    EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;
  }
}

// Each summary switch leaves out its own summary and no other.
TEST_F(CommandLineTest, SummarySwitches) {
  const std::pair<std::string, std::string> parts[] = {
      {"escape", "PCL Escape Summary"},     {"font", "Font Attribute Summary\n\n        Typeface : default\n"},
      {"macro", "Macro Summary : No Macros"}, {"palette", "Palettes referenced by raster : none"},
      {"page", "    Page Summary \n"},      {"eject", "\n[Page Eject offset 2 ]\n"},
      {"two-byte", "2 Byte Char Summary : No 2 Byte chars"},
  };
  const std::set<std::string> defaults = {"escape", "font", "macro", "palette", "page", "eject"};
  const std::pair<Args, std::set<std::string>> cases[] = {
      {{}, defaults},
      {{"--no-macro-summary"}, {"escape", "font", "palette", "page", "eject"}},
      {{"--no-palette-summary"}, {"escape", "font", "macro", "page", "eject"}},
      {{"--no-page-summary"}, {"escape", "font", "macro", "palette"}},
      {{"--no-font-summary"}, {"escape", "macro", "palette", "page", "eject"}},
      {{"--no-page-summary=false"}, defaults},
      {{"--two-byte-summary"}, {"escape", "font", "macro", "palette", "page", "eject", "two-byte"}},
      {{"--no-command-summary", "--no-font-summary", "--no-macro-summary", "--no-palette-summary"}, {"page", "eject"}},
  };
  for (const auto& [args, shown] : cases) {
    SCOPED_TRACE(::testing::PrintToString(args));
    const RunResult r = Run(Join(args, {"job.pcl"}));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.find(Header("job.pcl") + "AB\n"), 0u);
    for (const auto& [name, text] : parts) {
      EXPECT_EQ(r.out.find(text) != std::string::npos, shown.contains(name)) << name;
    }
  }
}

// Outputs that cannot be written or opened fail the run: the listing in a
// file and on standard output, the SYSERR line on standard output, a side
// file and the error log of --log. The large job's listing is far larger
// than the sink's buffer, so that the write fails during the decode and not
// at the close.
TEST_F(CommandLineTest, OutputsThatCannotBeWrittenFailTheRun) {
  const std::string full = test::FullDevice(root_);
  if (full.empty()) GTEST_SKIP() << "no /dev/full and no right to make one";
  WriteFile(J("hpgl.pcl"), "@PJL ENTER LANGUAGE=HPGL\r\nIN;");
  std::string large;
  for (int i = 0; i < 20000; ++i) large += "\x1b&l1O";  // one listing line each
  WriteFile(J("large.pcl"), large);
  const std::string fullMessage = "veltrix: error writing " + full + ": No space left on device\n";
  const std::string stdoutMessage = "veltrix: error writing standard output: No space left on device\n";
  const struct {
    Args args;
    std::string standardOutput, err;
    bool listed = false;  // the listing on standard output is all there
  } cases[] = {
      {{"-o", full, "bad.pcl"}, "", fullMessage},
      {{"-o", full, "large.pcl"}, "", fullMessage},
      {{"--level", "0", "-o", full, "bad.pcl"}, "", fullMessage},  // exceptions only
      {{"bad.pcl"}, full, stdoutMessage},
      {{"large.pcl"}, full, stdoutMessage},
      {{"-o", "hpgl.txt", "hpgl.pcl"}, full, stdoutMessage},  // lost SYSERR line: not merely "Aborted"
      // A side file, written to at the second source's header: the run ends there.
      {Join(kNoSummaries, {"--widths", full, "-o", "all.txt", "job.pcl", "bad.pcl"}), "", fullMessage},
      {{"--log", full, "bad.pcl"}, "", fullMessage, true},
      // A log that cannot be made is reported as the other side files are.
      {{"--log", "nodir/x.log", "bad.pcl"}, "",
       "veltrix: Error opening log output file nodir/x.log (No such file or directory)\n", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args) + " >" + c.standardOutput);
    const RunResult r = Run(c.args, "", c.standardOutput);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, c.err);
    EXPECT_FALSE(fs::exists(full + ".LOG"));
    EXPECT_EQ(r.out.find(kBadLine + "B\n") != std::string::npos, c.listed) << r.out;
  }
  EXPECT_EQ(ReadFile(J("all.txt")), kDateLine + "\nDecoding 'job.pcl' to 'all.txt'" + kRule + kCleanBody);
}

// A log on a null device: nothing fails, and the device is not deleted as an
// empty log file would be. A node of its own, so that a fault here cannot
// remove the machine's /dev/null.
TEST_F(CommandLineTest, LogOnANullDevice) {
  const std::string null = (root_ / "null").string();
  if (mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) GTEST_SKIP() << "no right to make a device node";
  for (const char* job : {"bad.pcl", "job.pcl"}) {
    const RunResult r = Run({"--log", null, job}, "", null);
    EXPECT_EQ(std::tie(r.status, r.err), std::tuple(0, "")) << job;
    EXPECT_TRUE(fs::is_character_file(null));
  }
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
    std::istringstream in(text);
    std::string kept;
    for (std::string line; std::getline(in, line);) kept += line.starts_with(prefix) ? "" : line + "\n";
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
