// Buffered output for the listing and every side file.
//
// All output of one stream goes through one 256 KiB buffer that is written
// with one write(2) when full. A sink writes to a file descriptor, appends to
// a string (tests, the web page), or discards everything (the null sink of
// the exceptions-only mode, fuzzing).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "decode/core/TextFormat.h"

namespace veltrix {

class OutputSink {
 public:
  enum class Target { Discard, Descriptor, Memory };

  OutputSink();                                   // discards everything
  explicit OutputSink(int fd, bool ownsFd);       // writes to fd
  explicit OutputSink(std::string* memory);       // appends to *memory
  ~OutputSink();

  OutputSink(const OutputSink&) = delete;
  OutputSink& operator=(const OutputSink&) = delete;

  void Put(char c) {
    if (len_ == buf_.size()) Flush();
    buf_[len_++] = c;
  }
  void Put(std::string_view s) {
    const std::size_t n = s.size();
    if (n > buf_.size() - len_) {
      PutLong(s);
      return;
    }
    char* to = buf_.data() + len_;
    const char* from = s.data();
    // Most pieces of a listing line are short: two overlapping fixed-size
    // copies are cheaper than a call to memcpy.
    if (n < 8) {
      for (std::size_t i = 0; i < n; ++i) to[i] = from[i];
    } else if (n <= 16) {
      std::uint64_t head, tail;
      std::memcpy(&head, from, 8);
      std::memcpy(&tail, from + n - 8, 8);
      std::memcpy(to, &head, 8);
      std::memcpy(to + n - 8, &tail, 8);
    } else {
      std::memcpy(to, from, n);
    }
    len_ += n;
  }
  void Put(const std::uint8_t* bytes, std::size_t n) {
    Put(std::string_view(reinterpret_cast<const char*>(bytes), n));
  }
  // s left-aligned in a field of `width` columns ("%-22s").
  void PutPadded(std::string_view s, std::size_t width);
  // Numbers as the printf conversions of decode/core/TextFormat.h write them.
  void PutDecimal(std::int64_t v) { Commit(FormatSigned(Reserve(kNumberRoom), v)); }      // "%lld"
  void PutUnsigned(std::uint64_t v) { Commit(FormatUnsigned(Reserve(kNumberRoom), v)); }  // "%llu"
  void PutHex(std::uint64_t v, int width, bool lower = false) {                          // "%0*llX"
    Commit(FormatHex(Reserve(kNumberRoom), v, width, lower));
  }
  void PutFixed6(float v) { Commit(FormatFixed6(Reserve(kFixedRoom), v)); }  // "%f"

  // Room for n bytes (n at most 4096) at the end of the buffer, to be
  // written in place and then ended with Commit(end of what was written).
  char* Reserve(std::size_t n) {
    if (buf_.size() - len_ < n) Flush();
    return buf_.data() + len_;
  }
  void Commit(const char* end) { len_ = static_cast<std::size_t>(end - buf_.data()); }
  // printf-style formatting, for the fixed texts of the listing.
  void Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // Writes the buffer out. After a failed write(2) the sink keeps taking
  // text but writes nothing more: a full disk stays full, and the caller
  // learns of the failure from Error() or Close().
  void Flush();
  // Flushes and closes an owned descriptor (a borrowed one, such as standard
  // output, is only flushed). Returns 0, or the errno of the first write(2)
  // or close(2) that failed.
  int Close();

  bool IsDiscard() const { return target_ == Target::Discard; }
  bool Failed() const { return error_ != 0; }
  // The errno of the first failed write(2) or close(2); 0 while none failed.
  int Error() const { return error_; }
  std::uint64_t BytesWritten() const { return written_ + len_; }

 private:
  void PutLong(std::string_view s);

  std::vector<char> buf_;
  std::size_t len_ = 0;
  std::uint64_t written_ = 0;
  Target target_ = Target::Discard;
  int fd_ = -1;
  bool ownsFd_ = false;
  int error_ = 0;
  std::string* memory_ = nullptr;
};

// Formats like snprintf into a std::string.
std::string StringPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace veltrix
