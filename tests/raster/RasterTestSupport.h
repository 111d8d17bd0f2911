// Helpers of the raster tests: a decoder with its listing kept in a string,
// row bytes written as hex, the row lines as the listing shows them, and
// raw PBM bitmaps of rendered pages.
#pragma once

#include <cctype>
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
  std::string digits;
  for (const char c : text) {
    if (std::isxdigit(static_cast<unsigned char>(c))) digits += c;
  }
  for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
    bytes.push_back(static_cast<std::uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
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

inline Bytes Trimmed(Bytes row) {
  while (!row.empty() && row.back() == 0) row.pop_back();
  return row;
}

// A raw PBM ("P4"): rows of (width + 7) / 8 bytes, most significant bit
// first, 1 = black. Empty (no rows) when the file is not one.
struct Bitmap {
  long width = 0;
  long height = 0;
  std::vector<Bytes> rows;
  bool Pixel(long x, long y) const { return (rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x / 8)] >> (7 - x % 8)) & 1; }
};

inline Bitmap ReadPbm(const std::string& file) {
  std::size_t at = 2;
  auto number = [&] {
    while (at < file.size() && (std::isspace(static_cast<unsigned char>(file[at])) || file[at] == '#')) {
      if (file[at] == '#') at = file.find('\n', at);
      if (at != std::string::npos) ++at;
    }
    long v = 0;
    while (at < file.size() && std::isdigit(static_cast<unsigned char>(file[at]))) v = v * 10 + (file[at++] - '0');
    return v;
  };
  Bitmap bitmap;
  if (!file.starts_with("P4")) return bitmap;
  bitmap.width = number();
  bitmap.height = number();
  ++at;  // the one blank before the pixels
  const std::size_t rowBytes = static_cast<std::size_t>(bitmap.width + 7) / 8;
  if (bitmap.width < 1 || bitmap.height < 1 || at > file.size() ||
      file.size() - at != rowBytes * static_cast<std::size_t>(bitmap.height)) {
    return Bitmap{};
  }
  for (long y = 0; y < bitmap.height; ++y, at += rowBytes) bitmap.rows.emplace_back(file.begin() + at, file.begin() + at + rowBytes);
  return bitmap;
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
