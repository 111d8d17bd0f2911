// Hand-made PCL XL streams and a decode of them into a string, for the PCL XL
// reader and operator tests.
#pragma once

#include <bit>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "decode/RunState.h"
#include "decode/core/ByteReader.h"
#include "decode/core/OutputSink.h"
#include "pclxl/XlDecoder.h"

namespace veltrix::test {

// Builds a stream after its binding header, low byte first unless asked.
class XlStream {
 public:
  explicit XlStream(bool highByteFirst = false, bool withHeader = true) : high_(highByteFirst) {
    if (withHeader) Byte(highByteFirst ? 0x28 : 0x29).Text(" XL;2;0;test\n");
  }

  XlStream& Byte(int b) { return Bytes({b}); }
  XlStream& Bytes(std::initializer_list<int> bs) {
    for (const int b : bs) bytes_.push_back(static_cast<std::uint8_t>(b));
    return *this;
  }
  XlStream& Text(std::string_view s) {
    bytes_.insert(bytes_.end(), s.begin(), s.end());
    return *this;
  }
  // A value of n bytes in the stream's byte order.
  XlStream& U(std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) Byte(static_cast<int>(v >> (8 * (high_ ? n - 1 - i : i)) & 0xFF));
    return *this;
  }
  XlStream& U16(std::uint32_t v) { return U(v, 2); }
  XlStream& U32(std::uint32_t v) { return U(v, 4); }
  static std::uint32_t F(float v) { return std::bit_cast<std::uint32_t>(v); }

  // Data type tags.
  XlStream& UByte(int v) { return Byte(0xC0).Byte(v); }
  XlStream& UInt16(std::uint32_t v) { return Byte(0xC1).U16(v); }
  XlStream& UInt32(std::uint32_t v) { return Byte(0xC2).U32(v); }
  XlStream& SInt16(int v) { return Byte(0xC3).U16(v); }
  XlStream& SInt32(int v) { return Byte(0xC4).U32(v); }
  XlStream& Real32(float v) { return Byte(0xC5).U32(F(v)); }
  XlStream& UByteXy(int x, int y) { return Byte(0xD0).Byte(x).Byte(y); }
  XlStream& UInt16Xy(int x, int y) { return Byte(0xD1).U16(x).U16(y); }
  XlStream& SInt16Xy(int x, int y) { return Byte(0xD3).U16(x).U16(y); }
  XlStream& Real32Xy(float x, float y) { return Byte(0xD5).U32(F(x)).U32(F(y)); }
  XlStream& UInt16Box(int x1, int y1, int x2, int y2) { return Byte(0xE1).U16(x1).U16(y1).U16(x2).U16(y2); }
  // A UByte array with a UByte count.
  XlStream& UByteArray(std::string_view s) { return Byte(0xC8).Byte(0xC0).Byte(static_cast<int>(s.size())).Text(s); }

  // An attribute identifier for the value before it.
  XlStream& Attr(int id) { return Byte(0xF8).Byte(id); }
  XlStream& Attr16(std::uint32_t id) { return Byte(0xF9).U16(id); }

  // An operator, optionally with embedded data (0xFB for short data).
  XlStream& Op(int tag) { return Byte(tag); }
  XlStream& OpWithData(int tag, std::string_view data) {
    const auto n = static_cast<std::uint32_t>(data.size());
    return (n < 256 ? Byte(tag).Byte(0xFB).Byte(static_cast<int>(n)) : Byte(tag).Byte(0xFA).U32(n)).Text(data);
  }

  // The usual opening: a session in inches at 600 units, then a portrait page.
  XlStream& Session() { return UByte(0).Attr(134).UInt16Xy(600, 600).Attr(137).Op(0x41); }
  XlStream& Page() { return UByte(0).Attr(40).UByte(2).Attr(37).Op(0x43); }

  // The attributes that BeginImage and ReadImage need.
  XlStream& Image(int depth, int width, int height) {
    return UByte(0).Attr(100).UByte(depth).Attr(98).UInt16(width).Attr(108).UInt16(height).Attr(107)
        .UInt16Xy(width, height).Attr(103);
  }
  XlStream& Rows(int start, int count) { return UInt16(start).Attr(109).UInt16(count).Attr(99).UByte(0).Attr(101); }

  const std::vector<std::uint8_t>& Data() const { return bytes_; }
  std::string Str() const { return std::string(bytes_.begin(), bytes_.end()); }

 private:
  std::vector<std::uint8_t> bytes_;
  bool high_ = false;
};

// What one decode of a stretch gives back.
struct XlDecodeResult {
  std::string listing;
  int result = 0;
  bool endOfFile = false;
  bool languageExit = false;
  std::uint64_t exceptions = 0;
  std::uint64_t bytesLeft = 0;  // input not read by the stretch
  std::size_t pageEjects = 0;
  XlUsageCounters usage;
};

inline XlDecodeResult DecodeXl(std::span<const std::uint8_t> bytes, std::uint32_t flags = 0, int level = 4) {
  std::string listing;
  ByteReader in(bytes);
  RunState run;
  OutputSink sink(&listing);
  run.ctx.flags = flags;
  run.ctx.level = level;
  run.ctx.input = &in;
  run.ctx.listing = &sink;
  ResetPages(run.pages, (flags & DF_PAGE_SUM) != 0);
  const int result = DecodePclXl(XlViewOf(run));
  sink.Flush();
  return {listing, result, run.ctx.endOfFile, run.ctx.languageExit, run.ctx.exceptionCount, bytes.size() - in.Offset(),
          run.pages.count, run.xlUsage};
}

inline XlDecodeResult DecodeXl(const XlStream& s, std::uint32_t flags = 0, int level = 4) {
  return DecodeXl(std::span<const std::uint8_t>(s.Data()), flags, level);
}

// The error line of a failing tag, in the listing's own layout.
inline std::string Err(int tag, std::string_view name, std::string_view error) {
  char head[96];
  std::snprintf(head, sizeof head, "[XL *ERROR*   ] Error processing tag %d (0x%02X) ", tag, tag);
  return head + std::string(name) + " : " + std::string(error) + "\n";
}

// The error lines of a listing, in order.
inline std::string ErrorLines(const std::string& listing) {
  std::istringstream in(listing);
  std::string line, errors;
  while (std::getline(in, line)) {
    if (line.starts_with("[XL *ERROR*   ]")) errors += line + "\n";
  }
  return errors;
}

}  // namespace veltrix::test
