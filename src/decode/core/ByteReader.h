// Buffered reader over a print file, a pipe or a block of memory.
//
// Every decoder reads the job through this class: one compare per byte on the
// fast path, 64-bit offsets, and skips that seek instead of reading when the
// input is a regular file. A regular file is mapped into memory a window at a
// time (kMapWindow bytes, the one before unmapped), so that its bytes are
// never copied and the memory it takes stays small; a pipe, a terminal or a
// file that cannot be mapped is read into a buffer. A mapped file that another
// process cuts short ends the input as a read error (MappedWindowGuard.h).
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace veltrix {

class OutputSink;

class ByteReader {
 public:
  // Bytes kept from the previous buffer when it is refilled, so that a reader
  // can always step back over the last few bytes it took.
  static constexpr std::size_t kKeepBack = 64;
  static constexpr std::size_t kBufferSize = 256 * 1024;
  static constexpr std::size_t kMapWindow = 4 * 1024 * 1024;

  // A file descriptor (not owned). Regular files are skipped by lseek.
  explicit ByteReader(int fd);
  // A block of memory (tests, fuzz targets, stored streams). Not copied.
  explicit ByteReader(std::span<const std::uint8_t> bytes);

  ~ByteReader();

  ByteReader(const ByteReader&) = delete;
  ByteReader& operator=(const ByteReader&) = delete;

  // The next byte, or -1 when the input has ended.
  int Next() { return pos_ < len_ || Fill() ? data_[pos_++] : -1; }

  // The bytes read ahead and not yet consumed (none may be there): a loop
  // that handles a run of bytes at a time looks at them, then Skip()s.
  std::span<const std::uint8_t> Buffered() const { return {data_ + pos_, len_ - pos_}; }

  // File offset of the next byte to be read.
  std::uint64_t Offset() const { return base_ + pos_; }

  // Steps back over up to kKeepBack bytes already read. Returns false (and
  // does nothing) when the bytes are no longer available.
  bool Unread(std::size_t n);

  // Moves forward by n bytes. The offset advances by n even when the input
  // ends first, as a seek past the end of a file does; the next read then
  // reports the end.
  void Skip(std::uint64_t n) {
    if (n <= len_ - pos_) {
      pos_ += static_cast<std::size_t>(n);
      return;
    }
    SkipPastBuffer(n);
  }

  // Appends up to n bytes to `into` as they arrive (never reserves n up
  // front, so a forged count costs only the bytes that are there). Returns
  // false when the input ended before n bytes were taken.
  bool Take(std::uint64_t n, std::vector<std::uint8_t>& into);

  // Reads up to n bytes into `out`; returns how many were read.
  std::size_t Read(std::uint8_t* out, std::size_t n);

  // Makes up to n bytes (n <= kBufferSize / 2) visible without consuming
  // them; returns the bytes available (fewer at the end of the input).
  std::span<const std::uint8_t> Peek(std::size_t n);

  // Copies bytes [offset, offset + length) of the input to `out`, as
  // pread(2) does: the reader's offset, its buffer and the bytes that Next()
  // returns are the same afterwards. Offsets are those of Offset(). Returns
  // how many bytes were copied, fewer than `length` when the input ends
  // first (none from an offset past the end).
  //
  // Only a regular file or memory can be read again. A pipe, a terminal or a
  // socket gives nullopt without copying anything (also for a length of 0, so
  // that a caller learns it at its first copy); so does a read error.
  // Standard input is most often a pipe, so it is not read again here
  // either: a driver that needs copies of it (for the stripped job or the
  // extracted fonts) spools it first with SpoolToTemporaryFile
  // (decode/core/TemporarySpool.h) and decodes that file, rather than keep
  // the whole job in memory.
  std::optional<std::uint64_t> CopyRange(std::uint64_t offset, std::uint64_t length, OutputSink& out) const;

  // Ends the input where the reader stands, as if the job ended there: a
  // decode that must stop early (its listing budget is spent) lets every
  // decoder finish through its usual end-of-input path.
  void Stop() {
    pos_ = len_;
    ended_ = true;
  }

  // True when a read error (not the end) stopped the input; a mapped file
  // cut short while it was read counts as one.
  bool Failed() const;

  // From now on, each refill (or each mapped window) stores the offset
  // reached in *counter (read by another thread; relaxed, as only a display
  // reads it).
  void ReportProgressTo(std::atomic<std::uint64_t>* counter) { progress_ = counter; }

 private:
  bool Fill();
  void SkipPastBuffer(std::uint64_t n);
  void Compact();
  bool ReadMore();
  bool MapWindow(std::uint64_t at);
  void Unmap();
  void StopMapping(std::uint64_t at);

  std::vector<std::uint8_t> storage_;
  std::span<const std::uint8_t> memory_;  // the whole input of a memory reader
  const std::uint8_t* data_ = nullptr;
  std::size_t pos_ = 0;
  std::size_t len_ = 0;
  std::uint64_t base_ = 0;  // file offset of data_[0]
  int fd_ = -1;
  bool seekable_ = false;
  bool ended_ = false;
  bool failed_ = false;
  std::atomic<std::uint64_t>* progress_ = nullptr;
  // A mapped regular file: the mapping (page-aligned), the file's size as
  // last seen, and the offset the reader started at (no byte before it is
  // shown, as none would be read).
  bool mapped_ = false;
  void* map_ = nullptr;
  std::size_t mapLength_ = 0;
  std::uint64_t fileSize_ = 0;
  std::uint64_t startOffset_ = 0;
  int guardSlot_ = -1;  // the window's slot in the SIGBUS guard
};

}  // namespace veltrix
