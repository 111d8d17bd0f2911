#include "decode/core/OutputSink.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace veltrix {

namespace {
constexpr std::size_t kBufferSize = 256 * 1024;
// The discard sink never flushes anything, so a small buffer serves; a
// string grows by itself, so its sink needs no large buffer either.
constexpr std::size_t kDiscardBufferSize = 4096;
constexpr std::size_t kMemoryBufferSize = 16 * 1024;
}  // namespace

OutputSink::OutputSink() : buf_(kDiscardBufferSize) {}

OutputSink::OutputSink(int fd, bool ownsFd)
    : buf_(kBufferSize), target_(Target::Descriptor), fd_(fd), ownsFd_(ownsFd) {}

OutputSink::OutputSink(std::string* memory)
    : buf_(kMemoryBufferSize), target_(Target::Memory), memory_(memory) {}

OutputSink::~OutputSink() { Close(); }

void OutputSink::PutLong(std::string_view s) {
  while (!s.empty()) {
    if (len_ == buf_.size()) Flush();
    const std::size_t step = std::min(s.size(), buf_.size() - len_);
    std::memcpy(buf_.data() + len_, s.data(), step);
    len_ += step;
    s.remove_prefix(step);
  }
}

void OutputSink::PutPadded(std::string_view s, std::size_t width) {
  if (width <= 256 && s.size() <= 256 && buf_.size() - len_ >= 512) {  // a listing column: in place
    char* at = buf_.data() + len_;
    if (!s.empty()) std::memcpy(at, s.data(), s.size());
    if (s.size() < width) std::memset(at + s.size(), ' ', width - s.size());
    len_ += std::max(width, s.size());
    return;
  }
  Put(s);
  if (s.size() >= width) return;
  std::size_t blanks = width - s.size();
  while (blanks > 0) {
    const std::size_t step = std::min<std::size_t>(blanks, 4096);
    char* at = Reserve(step);
    std::memset(at, ' ', step);
    Commit(at + step);
    blanks -= step;
  }
}

void OutputSink::Printf(const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (n < 0) return;
  if (static_cast<std::size_t>(n) < sizeof text) {
    Put(std::string_view(text, static_cast<std::size_t>(n)));
    return;
  }
  std::string big(static_cast<std::size_t>(n) + 1, '\0');
  va_start(args, format);
  std::vsnprintf(big.data(), big.size(), format, args);
  va_end(args);
  big.resize(static_cast<std::size_t>(n));
  Put(big);
}

void OutputSink::Flush() {
  if (len_ == 0) return;
  switch (target_) {
    case Target::Discard:
      break;
    case Target::Memory:
      memory_->append(buf_.data(), len_);
      break;
    case Target::Descriptor: {
      std::size_t done = 0;
      while (done < len_ && error_ == 0) {
        const ssize_t n = ::write(fd_, buf_.data() + done, len_ - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
          error_ = n < 0 ? errno : EIO;  // a write of 0 bytes would repeat forever
          break;
        }
        done += static_cast<std::size_t>(n);
      }
      break;
    }
  }
  written_ += len_;
  len_ = 0;
}

int OutputSink::Close() {
  Flush();
  if (ownsFd_ && fd_ >= 0) {
    // Some file systems (NFS, quotas) report a failed write only here. The
    // descriptor is gone even when close(2) fails, so it is never retried;
    // EINTR says nothing about the data.
    if (::close(fd_) != 0 && errno != EINTR && error_ == 0) error_ = errno;
    fd_ = -1;
    ownsFd_ = false;
  }
  return error_;
}

std::string StringPrintf(const char* format, ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (n < 0) return {};
  if (static_cast<std::size_t>(n) < sizeof text) return std::string(text, static_cast<std::size_t>(n));
  std::string big(static_cast<std::size_t>(n) + 1, '\0');
  va_start(args, format);
  std::vsnprintf(big.data(), big.size(), format, args);
  va_end(args);
  big.resize(static_cast<std::size_t>(n));
  return big;
}

}  // namespace veltrix
