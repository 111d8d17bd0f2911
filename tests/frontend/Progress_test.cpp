// The progress line: its text, and the display thread drawing on a pipe and
// erasing what it drew.
#include "frontend/Progress.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace veltrix {
namespace {

TEST(ProgressLine, ShowsBytesPercentSpeedAndTimeLeft) {
  struct Case {
    ProgressSnapshot snapshot;
    std::size_t width;
    std::string want;
  };
  const Case cases[] = {
      // 100 MB of 400 MB in 2 s: 50 MB/s, 300 MB left take 6 s.
      {{100'000'000, 400'000'000, 1, 1, 2.0}, 120, "veltrix: 100.0 MB of 400.0 MB   25%  50.0 MB/s  0:06 left"},
      // Gigabytes, several files, an hour and more left.
      {{1'500'000'000, 20'000'000'000, 2, 3, 1500.0}, 120,
       "veltrix: file 2 of 3: 1.50 GB of 20.00 GB    7%  1.0 MB/s  5:08:20 left"},
      // Nothing read yet: no speed and no estimate (no division by zero).
      {{0, 70'000'000, 1, 1, 0.0}, 120, "veltrix: 0.0 MB of 70.0 MB    0%"},
      // A file that grew while read never shows more than all of it.
      {{90'000'000, 80'000'000, 1, 1, 1.0}, 120, "veltrix: 80.0 MB of 80.0 MB  100%  80.0 MB/s  0:00 left"},
      // A narrow terminal: one column short of its width, so it never wraps.
      {{100'000'000, 400'000'000, 1, 1, 2.0}, 20, "veltrix: 100.0 MB o"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatProgressLine(c.snapshot, c.width), c.want);
}

// Reads what the display wrote to the pipe, once it has stopped.
std::string RunDisplay(std::uint64_t fileSize, std::uint64_t bytesRead) {
  int fds[2];
  EXPECT_EQ(::pipe(fds), 0);
  DecodeProgress progress;
  progress.fileCount = 1;
  progress.fileNumber = 1;
  progress.fileSize = fileSize;
  progress.bytesRead = bytesRead;
  {
    const ProgressDisplay display(progress, fds[1]);
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
  }
  ::close(fds[1]);
  std::string text;
  char buffer[4096];
  for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
  ::close(fds[0]);
  return text;
}

TEST(ProgressDisplay, DrawsALargeFileAndErasesTheLineAtTheEnd) {
  const std::string text = RunDisplay(200'000'000, 100'000'000);
  EXPECT_EQ(text.rfind("\rveltrix: 100.0 MB of 200.0 MB   50%", 0), 0u) << text;
  EXPECT_EQ(text.find('\n'), std::string::npos) << "a progress line never scrolls the terminal";
  const std::string erase = "\r\x1b[K";
  ASSERT_GE(text.size(), erase.size());
  EXPECT_EQ(text.substr(text.size() - erase.size()), erase);
}

TEST(ProgressDisplay, ShowsNothingForASmallFile) {
  EXPECT_EQ(RunDisplay(kProgressMinFileSize - 1, 1000), "");
}

}  // namespace
}  // namespace veltrix
