// An append-only log of bytes that stays small in memory: past its memory
// share it moves what it holds to an unnamed temporary file, and it is read
// back from the start in order. The trackers keep their per-page and
// per-macro records in it, so that a job of a million pages costs disk, not
// memory. When no temporary file can be made the log simply stays in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace veltrix {

class SpillLog {
 public:
  static constexpr std::size_t kDefaultMemory = 1 << 20;

  explicit SpillLog(std::size_t memoryBytes = kDefaultMemory) : memoryBytes_(memoryBytes) {}
  ~SpillLog();
  SpillLog(const SpillLog&) = delete;
  SpillLog& operator=(const SpillLog&) = delete;

  void Append(const std::uint8_t* bytes, std::size_t n);
  void AppendByte(std::uint8_t b) {
    if (tail_.size() >= memoryBytes_) Spill();
    tail_.push_back(b);
  }
  // An unsigned LEB128 number: 1 byte below 128, at most 10.
  void AppendVarint(std::uint64_t v) {
    while (v >= 0x80) {
      AppendByte(static_cast<std::uint8_t>(v | 0x80));
      v >>= 7;
    }
    AppendByte(static_cast<std::uint8_t>(v));
  }

  std::uint64_t Size() const { return spilled_ + tail_.size(); }
  bool Empty() const { return Size() == 0; }
  // Empties the log and gives back its memory and its file.
  void Clear();

  // Reads the log from its start. The log must not change while a reader
  // is open.
  class Reader {
   public:
    explicit Reader(const SpillLog& log) : log_(log) {}
    bool AtEnd();
    // The next byte; 0 past the end (test AtEnd first).
    std::uint8_t Byte() {
      if (pos_ == len_ && !Refill()) return 0;
      return buffer_[pos_++];
    }
    std::uint64_t Varint() {
      std::uint64_t v = 0;
      for (int shift = 0; shift < 64; shift += 7) {
        const std::uint8_t b = Byte();
        v |= static_cast<std::uint64_t>(b & 0x7F) << shift;
        if (!(b & 0x80)) break;
      }
      return v;
    }

   private:
    bool Refill();
    const SpillLog& log_;
    std::vector<std::uint8_t> chunk_;
    const std::uint8_t* buffer_ = nullptr;
    std::size_t pos_ = 0;
    std::size_t len_ = 0;
    std::uint64_t fileOffset_ = 0;
    bool inTail_ = false;
  };

 private:
  void Spill();

  std::size_t memoryBytes_;
  std::vector<std::uint8_t> tail_;  // the bytes after those in the file
  std::uint64_t spilled_ = 0;      // bytes in the file
  int fd_ = -1;
  bool noFile_ = false;  // a temporary file could not be made or written
};

// Signed numbers as varints: 0, -1, 1, -2, ... become 0, 1, 2, 3, ...
inline std::uint64_t ZigZag(std::int64_t v) {
  return (static_cast<std::uint64_t>(v) << 1) ^ static_cast<std::uint64_t>(v >> 63);
}
inline std::int64_t UnZigZag(std::uint64_t v) {
  return static_cast<std::int64_t>(v >> 1) ^ -static_cast<std::int64_t>(v & 1);
}

}  // namespace veltrix
