// The sink's record of a failed write: the errno of the first write(2) or
// close(2) that failed, kept until the owner asks at its close.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <tuple>

#include "TestSupport.h"
#include "decode/core/OutputSink.h"

namespace veltrix {
namespace {

namespace fs = std::filesystem;

class OutputSinkTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = test::MakeTempDir("sink"); }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

// A short text stays in the buffer until the close, which then reports the
// failure; a text larger than the buffer fails while it is written, and the
// close reports the same first error. A healthy file gets every byte. (A full
// device is tested through the program, CommandLine_test.cpp.)
TEST_F(OutputSinkTest, FirstFailureIsKeptAndReturnedByClose) {
  test::WriteFile(dir_ / "read-only", "");
  const std::string large(700 * 1024, 'x');  // more than the 256 KiB buffer
  for (const auto& [name, flags, error] : {std::tuple((dir_ / "out").string(), O_WRONLY | O_CREAT | O_TRUNC, 0),
                                           std::tuple((dir_ / "read-only").string(), O_RDONLY, EBADF)}) {
    for (const std::string& written : {large, std::string("one line\n")}) {
      SCOPED_TRACE(name + " " + std::to_string(written.size()));
      const int fd = ::open(name.c_str(), flags | O_CLOEXEC, 0644);
      ASSERT_GE(fd, 0) << std::strerror(errno);
      OutputSink sink(fd, true);
      sink.Put(written);
      EXPECT_EQ(sink.Error(), written.size() > 256 * 1024 ? error : 0);  // a short text is not written yet
      sink.Put("more\n");
      EXPECT_EQ(sink.Close(), error);
      EXPECT_EQ(sink.Failed(), error != 0);
      EXPECT_EQ(sink.Close(), error);  // asked again: the same answer
      EXPECT_EQ(test::ReadFile(name), error == 0 ? written + "more\n" : "");
    }
  }
}

// A borrowed descriptor is flushed by the close, not closed.
TEST_F(OutputSinkTest, BorrowedDescriptorStaysOpen) {
  const int fd = ::open((dir_ / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  ASSERT_GE(fd, 0);
  {
    OutputSink sink(fd, false);
    sink.Put("first\n");
    EXPECT_EQ(sink.Close(), 0);
  }
  EXPECT_EQ(::write(fd, "second\n", 7), 7);
  ::close(fd);
  EXPECT_EQ(test::ReadFile(dir_ / "out"), "first\nsecond\n");
}

}  // namespace
}  // namespace veltrix
