// The progress line on a terminal: while a large file is decoded, one line
// on standard error with the bytes read, the percentage, the speed and the
// time left, redrawn a few times a second and erased when the run ends.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "decode/core/DecodeProgress.h"

namespace veltrix {

// Files smaller than this finish before a progress line would help.
inline constexpr std::uint64_t kProgressMinFileSize = 64ull << 20;

// What one redraw shows.
struct ProgressSnapshot {
  std::uint64_t bytesRead = 0;
  std::uint64_t fileSize = 0;  // > 0
  std::uint32_t fileNumber = 0;
  std::uint32_t fileCount = 0;
  double seconds = 0;  // since this file began
};

// "veltrix: 1.2 GB of 3.4 GB  35%  412.0 MB/s  0:05 left", with "file 2 of 3: "
// after the program name when the run has several files; cut to `width - 1`
// columns so that the terminal never wraps it.
std::string FormatProgressLine(const ProgressSnapshot& snapshot, std::size_t width);

// Whether a run should show progress: standard error is a terminal and the
// user did not ask for quiet.
bool WantProgressDisplay(bool quiet);

// Polls `progress` from its own thread while it lives; the destructor stops
// the thread and erases the line. `fd` is the terminal to draw on.
class ProgressDisplay {
 public:
  ProgressDisplay(const DecodeProgress& progress, int fd);
  ~ProgressDisplay();
  ProgressDisplay(const ProgressDisplay&) = delete;
  ProgressDisplay& operator=(const ProgressDisplay&) = delete;

 private:
  void Loop();
  void Draw(const std::string& line);

  const DecodeProgress& progress_;
  int fd_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  bool shown_ = false;
  std::thread thread_;
};

}  // namespace veltrix
