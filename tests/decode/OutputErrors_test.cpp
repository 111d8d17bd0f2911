// The veltrix program with outputs that cannot be written or opened: what
// reaches standard error and the exit status, for the listing in a file and
// on standard output, the SYSERR line on standard output, and the error log
// of --log.
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "decode/FullDevice.h"

namespace veltrix {
namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

struct ProgramResult {
  int status = -1;  // exit status; -1 when the program did not exit normally
  std::string err;
};

std::string ShellWord(const std::string& word) {
  std::string quoted = "'";
  for (const char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// A job with one exception (an escape that names nothing), a clean one, a
// PJL job that switches to a language without a decoder (the SYSERR line on
// standard output), and one whose listing is far larger than the sink's
// buffer, so that the write fails during the decode and not at the close.
const std::string kBadJob = "A\x1b)5ZB";
const std::string kCleanJob = "AB";
const std::string kHpglJob = "@PJL ENTER LANGUAGE=HPGL\r\nIN;";
std::string LargeJob() {
  std::string job;
  for (int i = 0; i < 20000; ++i) job += "\x1b&l1O";  // one listing line each
  return job;
}

class OutputErrorsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = test::MakeTempDir("output-errors-" +
                             std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::create_directories(dir_ / "home");
    test::WriteFile(dir_ / "bad.pcl", kBadJob);
    test::WriteFile(dir_ / "clean.pcl", kCleanJob);
    test::WriteFile(dir_ / "hpgl.pcl", kHpglJob);
    test::WriteFile(dir_ / "large.pcl", LargeJob());
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs the program in the test directory, with standard output sent to
  // `standardOutput`.
  ProgramResult Run(const Args& args, const std::string& standardOutput) const {
    std::string line = "cd " + ShellWord(dir_) + " && exec env -i LC_ALL=C SOURCE_DATE_EPOCH=0 VELTRIX_HOME=" +
                       ShellWord(dir_ / "home") + " " + ShellWord(VELTRIX_BINARY);
    for (const std::string& arg : args) line += " " + ShellWord(arg);
    line += " </dev/null >" + ShellWord(standardOutput) + " 2>" + ShellWord(dir_ / "stderr");
    const int status = std::system(line.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, test::ReadFile(dir_ / "stderr")};
  }

  fs::path dir_;
};

TEST_F(OutputErrorsTest, OutputOnAFullDeviceFailsTheRun) {
  const std::string full = test::FullDevice(dir_);
  if (full.empty()) GTEST_SKIP() << "no /dev/full and no right to make one";
  const std::string out = (dir_ / "stdout").string();
  const std::string fullMessage = "veltrix: error writing " + full + ": No space left on device\n";
  const std::string stdoutMessage = "veltrix: error writing standard output: No space left on device\n";
  const struct {
    Args args;
    std::string standardOutput;
    std::string err;
  } cases[] = {
      {{"-o", full, "bad.pcl"}, out, fullMessage},
      {{"-o", full, "large.pcl"}, out, fullMessage},
      {{"--level", "0", "-o", full, "bad.pcl"}, out, fullMessage},  // exceptions only
      {{"bad.pcl"}, full, stdoutMessage},
      {{"large.pcl"}, full, stdoutMessage},
      {{"-o", "hpgl.txt", "hpgl.pcl"}, full, stdoutMessage},  // lost SYSERR line: not merely "Aborted"
      {{"--log", full, "bad.pcl"}, out, fullMessage},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args) + " >" + c.standardOutput);
    const ProgramResult r = Run(c.args, c.standardOutput);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, c.err);
    EXPECT_FALSE(fs::exists(full + ".LOG"));
  }
  // The log was the only output that failed: the listing is all there.
  EXPECT_NE(test::ReadFile(out).find("[ ESC ) 5 Z ]         *** Unknown Escape\nB\n"), std::string::npos);
}

// A log named by --log that cannot be made is reported as the other side
// files are; the listing is still written.
TEST_F(OutputErrorsTest, LogThatCannotBeOpened) {
  const std::string out = (dir_ / "stdout").string();
  const ProgramResult r = Run({"--log", "nodir/x.log", "bad.pcl"}, out);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "veltrix: Error opening log output file nodir/x.log (No such file or directory)\n");
  EXPECT_NE(test::ReadFile(out).find("*** Unknown Escape"), std::string::npos);
}

// A log on a null device: nothing fails, and the device is not deleted as an
// empty log file would be. A node of its own, so that a fault here cannot
// remove the machine's /dev/null.
TEST_F(OutputErrorsTest, LogOnANullDevice) {
  const std::string null = (dir_ / "null").string();
  if (mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) GTEST_SKIP() << "no right to make a device node";
  for (const char* job : {"bad.pcl", "clean.pcl"}) {
    SCOPED_TRACE(job);
    const ProgramResult r = Run({"--log", null, job}, null);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(fs::is_character_file(null));
  }
}

}  // namespace
}  // namespace veltrix
