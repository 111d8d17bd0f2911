// A pipe copied to an unnamed temporary file, so that ranges of the job can
// be copied again (standard input under a stripped or extracted output).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <tuple>

#include "TestSupport.h"
#include "decode/core/TemporarySpool.h"

namespace veltrix {
namespace {

// Sets TMPDIR for the life of the object, then puts back what was there.
struct ScopedTmpdir {
  explicit ScopedTmpdir(const std::string& value) {
    if (const char* was = std::getenv("TMPDIR")) old = was;
    setenv("TMPDIR", value.c_str(), 1);
  }
  ~ScopedTmpdir() { old ? setenv("TMPDIR", old->c_str(), 1) : unsetenv("TMPDIR"); }
  std::optional<std::string> old;
};

// More than the spool's chunk and a pipe's capacity, written in pieces: the
// copy holds every byte, has no name, and can be read again (by range:
// ByteReader_test.cpp).
TEST(TemporarySpool, PipeBecomesAnUnnamedFileThatCanBeReadAgain) {
  const auto dir = test::MakeTempDir("spool");
  const ScopedTmpdir tmpdir(dir.string());
  std::string bytes(600 * 1024, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 31 + i / 1021) & 0xFF);
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  std::thread writer([&] {
    for (std::size_t at = 0; at < bytes.size(); at += 5000) {
      const std::size_t n = std::min<std::size_t>(5000, bytes.size() - at);
      ASSERT_EQ(write(pipeEnds[1], bytes.data() + at, n), static_cast<ssize_t>(n));
    }
    close(pipeEnds[1]);
  });
  std::string why;
  const int spool = SpoolToTemporaryFile(pipeEnds[0], why);
  writer.join();
  close(pipeEnds[0]);
  ASSERT_GE(spool, 0) << why;

  struct stat st {};
  ASSERT_EQ(fstat(spool, &st), 0);
  EXPECT_TRUE(S_ISREG(st.st_mode));
  EXPECT_EQ(st.st_nlink, 0u);  // nothing is left behind in the directory
  EXPECT_TRUE(std::filesystem::is_empty(dir));
  std::string copy(bytes.size() + 1, '\0');  // read again from its first byte, to the end
  ASSERT_EQ(pread(spool, copy.data(), copy.size(), 0), static_cast<ssize_t>(bytes.size()));
  EXPECT_TRUE(copy.substr(0, bytes.size()) == bytes);
  close(spool);
  std::filesystem::remove_all(dir);
}

// A temporary directory that is not there, and an input that cannot be read:
// -1 and the reason, and no descriptor left open.
TEST(TemporarySpool, FailuresGiveTheirReason) {
  const auto dir = test::MakeTempDir("spool-fail");
  test::WriteFile(dir / "input", "job");
  const int readable = open((dir / "input").c_str(), O_RDONLY | O_CLOEXEC);
  const int writeOnly = open((dir / "input").c_str(), O_WRONLY | O_CLOEXEC);
  ASSERT_TRUE(readable >= 0 && writeOnly >= 0);
  const std::string missing = (dir / "missing").string();
  const std::tuple<std::string, int, std::string> cases[] = {
      {missing, readable, "cannot make a temporary file in " + missing + ": No such file or directory"},
      {dir.string(), writeOnly, "cannot read the input: Bad file descriptor"},
  };
  for (const auto& [tmpdirName, input, reason] : cases) {
    const ScopedTmpdir tmpdir(tmpdirName);
    const int probe = dup(readable);  // the lowest free descriptor before the call
    close(probe);
    std::string why;
    EXPECT_EQ(SpoolToTemporaryFile(input, why), -1);
    EXPECT_EQ(why, reason);
    const int after = dup(readable);
    EXPECT_EQ(after, probe);  // the spool's descriptor was closed
    close(after);
  }
  close(readable);
  close(writeOnly);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace veltrix
