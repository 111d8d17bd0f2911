// Font headers built byte by byte at their offsets, and one decode of such a
// block into its record, its listing and the registry it noted its format in.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "fonts/FontDescriptor.h"

namespace veltrix::test {

using Bytes = std::vector<std::uint8_t>;

// A header of `size` zero bytes whose fields are then set at their offsets.
class HeaderBytes {
 public:
  explicit HeaderBytes(std::size_t size) : bytes_(size, 0) {}
  HeaderBytes& Byte(std::size_t offset, int value) {
    Grow(offset + 1);
    bytes_[offset] = static_cast<std::uint8_t>(value);
    return *this;
  }
  HeaderBytes& Word(std::size_t offset, int value) {  // big-endian, as in the stream
    return Byte(offset, (value >> 8) & 0xFF).Byte(offset + 1, value & 0xFF);
  }
  HeaderBytes& Text(std::size_t offset, std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) Byte(offset + i, static_cast<std::uint8_t>(text[i]));
    return *this;
  }
  HeaderBytes& Append(std::string_view text) { return Text(bytes_.size(), text); }
  HeaderBytes& Append(std::size_t count, std::uint8_t value) {
    bytes_.insert(bytes_.end(), count, value);
    return *this;
  }
  const Bytes& bytes() const { return bytes_; }
  Bytes Prefix(std::size_t length) const {
    return Bytes(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(std::min(length, bytes_.size())));
  }

 private:
  void Grow(std::size_t size) {
    if (bytes_.size() < size) bytes_.resize(size, 0);
  }
  Bytes bytes_;
};

// A header of `size` bytes with its descriptor size and header format set.
inline HeaderBytes Header(std::size_t size, int descriptorSize, int format) {
  HeaderBytes h(size);
  h.Word(0, descriptorSize).Byte(2, format);
  return h;
}

// The full length of a header of each format: the fields, the tail, and for
// format 12 the 16 further name bytes.
inline std::size_t FullLength(int format) {
  switch (format) {
    case 5:
    case 9: return 92;
    case 12: return 110;
    case 15:
    case 16: return 72;
    case 20: return 68;
    case 10:
    case 11: return 66;  // the global data size right after the name
    default: return 64;
  }
}

struct DecodedHeader {
  FontDescriptor descriptor;
  std::string listing;
  FontRegistry registry;
};

// No tables file: every name comes from the built-in tables.
inline DecodedHeader DecodeHeader(const Bytes& block, bool list = true) {
  DecodedHeader out;
  {
    OutputSink sink(&out.listing);
    NameTables names;
    DescriptorReader reader{block};
    DecodeFontDescriptor(sink, reader, list, out.registry, names, out.descriptor);
  }
  return out;
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The first line that begins with `label` (written with its colon).
inline std::string LineOf(const std::string& listing, std::string_view label) {
  for (const std::string& line : Lines(listing)) {
    if (line.starts_with(label)) return line;
  }
  return "(no line " + std::string(label) + ")";
}

// The listing from the line that begins with `label` to its end.
inline std::string ListingFrom(const std::string& listing, std::string_view label) {
  const std::size_t at = listing.find("\n" + std::string(label));
  return at == std::string::npos ? "(no line " + std::string(label) + ")" : listing.substr(at + 1);
}

}  // namespace veltrix::test
