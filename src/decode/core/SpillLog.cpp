#include "decode/core/SpillLog.h"

#include <unistd.h>

#include <algorithm>

#include "decode/core/TemporarySpool.h"

namespace veltrix {

namespace {

constexpr std::size_t kReadChunk = 256 * 1024;

}  // namespace

SpillLog::~SpillLog() {
  if (fd_ >= 0) ::close(fd_);
}

void SpillLog::Append(const std::uint8_t* bytes, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) AppendByte(bytes[i]);
}

// Moves the memory part to the file. Without a file the memory part grows on.
void SpillLog::Spill() {
  if (noFile_ || tail_.empty()) {
    if (tail_.capacity() == tail_.size()) tail_.reserve(std::max<std::size_t>(64, tail_.size() * 2));
    return;
  }
  if (fd_ < 0) fd_ = OpenUnnamedFile(TemporaryDirectory());
  if (fd_ < 0 || !WriteAll(fd_, tail_.data(), tail_.size())) {
    // Keep everything in memory from now on; what the file holds so far
    // stays readable.
    noFile_ = true;
    tail_.reserve(tail_.size() * 2);
    return;
  }
  spilled_ += tail_.size();
  tail_.clear();
}

void SpillLog::Clear() {
  std::vector<std::uint8_t>().swap(tail_);
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  spilled_ = 0;
  noFile_ = false;
}

bool SpillLog::Reader::AtEnd() { return pos_ == len_ && !Refill(); }

bool SpillLog::Reader::Refill() {
  if (inTail_) return false;
  if (fileOffset_ < log_.spilled_) {
    chunk_.resize(static_cast<std::size_t>(std::min<std::uint64_t>(kReadChunk, log_.spilled_ - fileOffset_)));
    const ssize_t got = ::pread(log_.fd_, chunk_.data(), chunk_.size(), static_cast<off_t>(fileOffset_));
    if (got > 0) {
      fileOffset_ += static_cast<std::uint64_t>(got);
      buffer_ = chunk_.data();
      pos_ = 0;
      len_ = static_cast<std::size_t>(got);
      return true;
    }
    fileOffset_ = log_.spilled_;  // a read error: go on with the memory part
  }
  inTail_ = true;
  std::vector<std::uint8_t>().swap(chunk_);
  buffer_ = log_.tail_.data();
  pos_ = 0;
  len_ = log_.tail_.size();
  return len_ > 0;
}

}  // namespace veltrix
