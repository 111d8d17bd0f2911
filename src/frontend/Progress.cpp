#include "frontend/Progress.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdio>

namespace veltrix {

namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(250);
constexpr std::size_t kDefaultWidth = 80;

// "512.0 MB", "1.25 GB": three significant figures are enough to watch.
std::string ShowBytes(double bytes) {
  char text[32];
  if (bytes >= 1e9) {
    std::snprintf(text, sizeof text, "%.2f GB", bytes / 1e9);
  } else {
    std::snprintf(text, sizeof text, "%.1f MB", bytes / 1e6);
  }
  return text;
}

std::string ShowDuration(double seconds) {
  const auto whole = static_cast<std::uint64_t>(seconds + 0.5);
  char text[32];
  if (whole >= 3600) {
    std::snprintf(text, sizeof text, "%" PRIu64 ":%02" PRIu64 ":%02" PRIu64, whole / 3600, whole / 60 % 60, whole % 60);
  } else {
    std::snprintf(text, sizeof text, "%" PRIu64 ":%02" PRIu64, whole / 60, whole % 60);
  }
  return text;
}

std::size_t TerminalWidth(int fd) {
  winsize size{};
  if (::ioctl(fd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return kDefaultWidth;
}

// Writes all of `text`, giving up quietly: a progress line is never worth an error.
void WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

}  // namespace

std::string FormatProgressLine(const ProgressSnapshot& s, std::size_t width) {
  std::string line = "veltrix: ";
  if (s.fileCount > 1) line += "file " + std::to_string(s.fileNumber) + " of " + std::to_string(s.fileCount) + ": ";
  const std::uint64_t read = s.bytesRead < s.fileSize ? s.bytesRead : s.fileSize;
  char percent[16];
  std::snprintf(percent, sizeof percent, "%3u%%", static_cast<unsigned>(read * 100 / s.fileSize));
  line += ShowBytes(static_cast<double>(read)) + " of " + ShowBytes(static_cast<double>(s.fileSize)) + "  " + percent;
  if (s.seconds > 0.2 && read > 0) {
    const double rate = static_cast<double>(read) / s.seconds;
    char speed[32];
    std::snprintf(speed, sizeof speed, "  %.1f MB/s", rate / 1e6);
    line += speed;
    line += "  " + ShowDuration(static_cast<double>(s.fileSize - read) / rate) + " left";
  }
  if (width > 0 && line.size() >= width) line.resize(width - 1);
  return line;
}

bool WantProgressDisplay(bool quiet) { return !quiet && ::isatty(STDERR_FILENO) == 1; }

ProgressDisplay::ProgressDisplay(const DecodeProgress& progress, int fd)
    : progress_(progress), fd_(fd), thread_([this] { Loop(); }) {}

ProgressDisplay::~ProgressDisplay() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void ProgressDisplay::Draw(const std::string& line) {
  // Carriage return, the line, then erase what an earlier, longer line left.
  WriteAll(fd_, "\r" + line + "\x1b[K");
  shown_ = !line.empty();
}

void ProgressDisplay::Loop() {
  using Clock = std::chrono::steady_clock;
  std::uint32_t file = 0;
  Clock::time_point fileStart = Clock::now();
  std::unique_lock lock(mutex_);
  while (!wake_.wait_for(lock, kRedrawInterval, [this] { return stop_; })) {
    ProgressSnapshot s;
    s.fileNumber = progress_.fileNumber.load(std::memory_order_relaxed);
    s.fileCount = progress_.fileCount.load(std::memory_order_relaxed);
    s.fileSize = progress_.fileSize.load(std::memory_order_relaxed);
    s.bytesRead = progress_.bytesRead.load(std::memory_order_relaxed);
    if (s.fileNumber != file) {
      // The first file began when the display did; a later one is seen
      // within one interval of its start.
      if (file != 0) fileStart = Clock::now();
      file = s.fileNumber;
    }
    if (s.fileSize < kProgressMinFileSize) {
      if (shown_) Draw("");  // a small file followed a large one
      continue;
    }
    s.seconds = std::chrono::duration<double>(Clock::now() - fileStart).count();
    Draw(FormatProgressLine(s, TerminalWidth(fd_)));
  }
  if (shown_) Draw("");
}

}  // namespace veltrix
