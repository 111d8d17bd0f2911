#include "decode/core/ByteReader.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

#include "decode/core/MappedWindowGuard.h"
#include "decode/core/OutputSink.h"

namespace veltrix {

namespace {
constexpr std::uint64_t kCopyChunk = 64 * 1024;
}  // namespace

ByteReader::ByteReader(int fd) : fd_(fd) {
  struct stat st {};
  seekable_ = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  if (seekable_) {
    const off_t at = lseek(fd, 0, SEEK_CUR);
    base_ = at > 0 ? static_cast<std::uint64_t>(at) : 0;
  }
  // A file that says it is empty may still have bytes to read (those of
  // /proc do): it is read, not mapped.
  mapped_ = seekable_ && st.st_size > 0;
  if (mapped_) {
    fileSize_ = static_cast<std::uint64_t>(st.st_size);
    startOffset_ = base_;
  } else {
    storage_.resize(kBufferSize);
    data_ = storage_.data();
  }
}

ByteReader::ByteReader(std::span<const std::uint8_t> bytes)
    : memory_(bytes), data_(bytes.data()), len_(bytes.size()), ended_(true) {}

ByteReader::~ByteReader() { Unmap(); }

void ByteReader::Unmap() {
  if (guardSlot_ != kNoGuardSlot && ReleaseMappedWindow(guardSlot_)) failed_ = true;
  guardSlot_ = kNoGuardSlot;
  if (map_ != nullptr) munmap(map_, mapLength_);
  map_ = nullptr;
  mapLength_ = 0;
}

// Leaves the mapping for the buffer, from offset `at` on (a mapping that
// failed): the bytes before it can no longer be stepped back over.
void ByteReader::StopMapping(std::uint64_t at) {
  Unmap();
  mapped_ = false;
  storage_.resize(kBufferSize);
  data_ = storage_.data();
  base_ = at;
  pos_ = len_ = 0;
  if (lseek(fd_, static_cast<off_t>(at), SEEK_SET) < 0) {
    failed_ = ended_ = true;
  }
}

// Maps the window that holds offset `at` and up to kKeepBack bytes before it,
// and moves the reader to `at`. False, with the window unchanged, when the
// file ends at or before `at`.
bool ByteReader::MapWindow(std::uint64_t at) {
  if (at >= fileSize_) {
    // The file may have grown since it was opened.
    struct stat st {};
    if (fstat(fd_, &st) == 0 && static_cast<std::uint64_t>(st.st_size) > fileSize_) {
      fileSize_ = static_cast<std::uint64_t>(st.st_size);
    }
    if (at >= fileSize_) {
      ended_ = true;
      return false;
    }
  }
  static const std::uint64_t kPage = static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
  const std::uint64_t from = std::max(at > kKeepBack ? at - kKeepBack : 0, startOffset_);
  const std::uint64_t mapFrom = from / kPage * kPage;
  const std::uint64_t mapTo = std::min(fileSize_, mapFrom + kMapWindow);
  Unmap();
  if (failed_) {  // the file was cut short under the last window
    ended_ = true;
    return false;
  }
  void* map = mmap(nullptr, static_cast<std::size_t>(mapTo - mapFrom), PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd_,
                   static_cast<off_t>(mapFrom));
  if (map == MAP_FAILED) {
    StopMapping(at);
    return Fill();
  }
  madvise(map, static_cast<std::size_t>(mapTo - mapFrom), MADV_SEQUENTIAL);
  map_ = map;
  mapLength_ = static_cast<std::size_t>(mapTo - mapFrom);
  guardSlot_ = GuardMappedWindow(map_, mapLength_);
  data_ = static_cast<const std::uint8_t*>(map) + (from - mapFrom);
  base_ = from;
  pos_ = static_cast<std::size_t>(at - from);
  len_ = static_cast<std::size_t>(mapTo - from);
  if (progress_) progress_->store(base_ + len_, std::memory_order_relaxed);
  return true;
}

// Moves the unread bytes, and the kKeepBack bytes before them, to the front
// of the buffer.
void ByteReader::Compact() {
  const std::size_t keepFrom = pos_ > kKeepBack ? pos_ - kKeepBack : 0;
  if (keepFrom == 0) return;
  std::memmove(storage_.data(), storage_.data() + keepFrom, len_ - keepFrom);
  base_ += keepFrom;
  pos_ -= keepFrom;
  len_ -= keepFrom;
}

// One read(2) into the free end of the buffer; false at the end of the input.
bool ByteReader::ReadMore() {
  for (;;) {
    const ssize_t got = ::read(fd_, storage_.data() + len_, storage_.size() - len_);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      if (got < 0) failed_ = true;
      ended_ = true;
      return false;
    }
    len_ += static_cast<std::size_t>(got);
    return true;
  }
}

bool ByteReader::Fill() {
  if (ended_ || fd_ < 0) return false;
  if (mapped_) return MapWindow(Offset()) && pos_ < len_;
  Compact();
  if (len_ < storage_.size()) ReadMore();  // a pipe hands over what it has
  if (progress_) progress_->store(base_ + len_, std::memory_order_relaxed);
  return pos_ < len_;
}

bool ByteReader::Failed() const { return failed_ || MappedWindowFaulted(guardSlot_); }

bool ByteReader::Unread(std::size_t n) {
  if (n > pos_) return false;
  pos_ -= n;
  return true;
}

void ByteReader::SkipPastBuffer(std::uint64_t n) {
  const std::uint64_t inBuffer = len_ - pos_;
  const std::uint64_t target = Offset() + n;
  if (mapped_ && !ended_ && target >= Offset()) {  // the next read maps the window there
    base_ = target;
    pos_ = len_ = 0;
    return;
  }
  if (fd_ >= 0 && seekable_ && !ended_) {
    if (lseek(fd_, static_cast<off_t>(target), SEEK_SET) >= 0) {
      base_ = target;
      pos_ = len_ = 0;
      return;
    }
  }
  // A pipe (or memory): read and drop what is there.
  n -= inBuffer;
  pos_ = len_;
  while (n > 0 && Fill()) {
    const std::uint64_t step = std::min<std::uint64_t>(n, len_ - pos_);
    pos_ += static_cast<std::size_t>(step);
    n -= step;
  }
  if (n > 0) {  // the input ended inside the skipped bytes
    base_ = target;
    pos_ = len_ = 0;
    ended_ = true;
  }
}

std::size_t ByteReader::Read(std::uint8_t* out, std::size_t n) {
  std::size_t done = 0;
  while (done < n) {
    if (pos_ == len_ && !Fill()) break;
    const std::size_t step = std::min(n - done, len_ - pos_);
    std::memcpy(out + done, data_ + pos_, step);
    pos_ += step;
    done += step;
  }
  return done;
}

bool ByteReader::Take(std::uint64_t n, std::vector<std::uint8_t>& into) {
  while (n > 0) {
    if (pos_ == len_ && !Fill()) return false;
    const std::size_t step = static_cast<std::size_t>(std::min<std::uint64_t>(n, len_ - pos_));
    into.insert(into.end(), data_ + pos_, data_ + pos_ + step);
    pos_ += step;
    n -= step;
  }
  return true;
}

std::span<const std::uint8_t> ByteReader::Peek(std::size_t n) {
  n = std::min(n, kBufferSize / 2);
  if (mapped_ && len_ - pos_ < n && !ended_) MapWindow(Offset());  // a window holds far more than n
  if (!mapped_ && fd_ >= 0 && len_ - pos_ < n && !ended_) {
    Compact();
    while (len_ - pos_ < n && ReadMore()) {
    }
  }
  return {data_ + pos_, std::min(n, len_ - pos_)};
}

std::optional<std::uint64_t> ByteReader::CopyRange(std::uint64_t offset, std::uint64_t length,
                                                   OutputSink& out) const {
  length = std::min(length, std::numeric_limits<std::uint64_t>::max() - offset);  // a range that would wrap ends at the largest offset
  if (fd_ < 0) {
    if (offset >= memory_.size()) return 0;
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(length, memory_.size() - offset));
    out.Put(memory_.data() + offset, n);
    return n;
  }
  if (!seekable_) return std::nullopt;
  constexpr std::uint64_t kLastOffset = std::numeric_limits<off_t>::max();  // no file reaches it
  if (offset >= kLastOffset) return 0;
  length = std::min(length, kLastOffset - offset);
  // pread(2) leaves the descriptor's offset alone, so the reader's next
  // read(2) continues where it stopped.
  std::vector<std::uint8_t> chunk(static_cast<std::size_t>(std::min<std::uint64_t>(length, kCopyChunk)));
  std::uint64_t copied = 0;
  while (copied < length) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(length - copied, chunk.size()));
    const ssize_t got = ::pread(fd_, chunk.data(), want, static_cast<off_t>(offset + copied));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return std::nullopt;
    if (got == 0) break;  // the end of the file
    out.Put(chunk.data(), static_cast<std::size_t>(got));
    copied += static_cast<std::uint64_t>(got);
  }
  return copied;
}

}  // namespace veltrix
