// A pipe copied to an unnamed temporary file, so that ranges of the job can
// be copied again (standard input under a stripped or extracted output).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

#include "TestSupport.h"
#include "decode/core/ByteReader.h"
#include "decode/core/OutputSink.h"
#include "decode/core/TemporarySpool.h"

namespace veltrix {
namespace {

// Sets an environment variable for the life of the object, then puts back
// what was there.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnvironment() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// More than the spool's chunk and a pipe's capacity, written in pieces: the
// copy holds every byte, has no name, starts at its first byte, and can be
// read again by range.
TEST(TemporarySpool, PipeBecomesAnUnnamedFileThatCanBeReadAgain) {
  const auto dir = test::MakeTempDir("spool");
  const ScopedEnvironment tmpdir("TMPDIR", dir.string());
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
  EXPECT_EQ(static_cast<std::size_t>(st.st_size), bytes.size());

  ByteReader in(spool);
  EXPECT_EQ(in.Offset(), 0u);
  EXPECT_EQ(in.Next(), static_cast<std::uint8_t>(bytes[0]));
  std::string copy;
  OutputSink sink(&copy);
  EXPECT_EQ(in.CopyRange(300000, 1000, sink), 1000u);
  sink.Flush();
  EXPECT_TRUE(copy == bytes.substr(300000, 1000));
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
  ASSERT_GE(readable, 0);
  ASSERT_GE(writeOnly, 0);
  const struct {
    std::string tmpdir;
    int input;
    std::string why;
  } cases[] = {
      {(dir / "missing").string(),
       readable,
       "cannot make a temporary file in " + (dir / "missing").string() + ": No such file or directory"},
      {dir.string(), writeOnly, "cannot read the input: Bad file descriptor"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    const ScopedEnvironment tmpdir("TMPDIR", c.tmpdir);
    const int probe = dup(readable);  // the lowest free descriptor before the call
    close(probe);
    std::string why;
    EXPECT_EQ(SpoolToTemporaryFile(c.input, why), -1);
    EXPECT_EQ(why, c.why);
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
