// Helpers of the raster row tests: a decoder with its listing kept in a
// string, row bytes written as hex, and the row lines as the listing shows
// them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "decode/core/OutputSink.h"
#include "raster/RasterGraphics.h"

namespace veltrix::test {

using Bytes = std::vector<std::uint8_t>;

// "41 42 0a" -> {0x41, 0x42, 0x0A}; blanks and "|" (a record boundary) are ignored.
inline Bytes Hex(std::string_view text) {
  Bytes bytes;
  int high = -1;
  for (const char c : text) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) continue;
    if (high < 0) {
      high = digit;
    } else {
      bytes.push_back(static_cast<std::uint8_t>(high << 4 | digit));
      high = -1;
    }
  }
  return bytes;
}

inline Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

inline Bytes Repeat(const Bytes& part, std::size_t times) {
  Bytes all;
  for (std::size_t i = 0; i < times; ++i) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// The line of a one-bit row whose bytes, up to its last non-zero one, are
// `bytes`: "<rast>:", then per byte its bits from the most significant one,
// "1" for a set bit and a blank for a clear one.
inline std::string OneBitLine(const Bytes& bytes) {
  std::string line = "<rast>:";
  for (const std::uint8_t b : bytes) {
    for (int bit = 7; bit >= 0; --bit) line += (b >> bit) & 1 ? '1' : ' ';
  }
  return line + "\n";
}

// A raster state after the per-file reset, its listing kept in `text`.
struct RowDecoder {
  RasterState raster;
  std::string text;
  OutputSink listing{&text};

  explicit RowDecoder(bool listRows = true, bool trackColours = false) {
    ResetRaster(raster, trackColours, listRows);
  }
  ~RowDecoder() { ReleaseRaster(raster); }

  // One row block under `method` (the method stays in force).
  void Row(std::int32_t method, const Bytes& data, bool directColourAtStart = false) {
    SetRasterCompression(raster, method);
    DecodeRasterRow(raster, std::span<const std::uint8_t>(data), listing, directColourAtStart);
  }
  void RowWithoutData(bool directColourAtStart = false) {
    DecodeRasterRow(raster, std::nullopt, listing, directColourAtStart);
  }
  // Everything listed so far, and forgets it.
  std::string Take() {
    listing.Flush();
    std::string out;
    out.swap(text);
    return out;
  }
};

}  // namespace veltrix::test
