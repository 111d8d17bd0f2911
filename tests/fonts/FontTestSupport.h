// Font headers and character descriptors built byte by byte, and one decode
// of such a block into its record, its listing and the registry it noted its
// format in.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "fonts/CharDescriptor.h"
#include "fonts/FontDescriptor.h"

namespace veltrix::test {

using Bytes = std::vector<std::uint8_t>;

// A header of `size` zero bytes whose fields are then set at their offsets.
class HeaderBytes {
 public:
  explicit HeaderBytes(std::size_t size) : bytes_(size, 0) {}
  HeaderBytes& Byte(std::size_t offset, int value) {
    if (bytes_.size() < offset + 1) bytes_.resize(offset + 1, 0);
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

 private:
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
  if (format == 5 || format == 9) return 92;
  if (format == 12) return 110;
  if (format == 15 || format == 16) return 72;
  if (format == 20) return 68;
  return format == 10 || format == 11 ? 66 : 64;  // 66: the global data size after the name
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

struct DecodedChar {
  std::string listing;
  std::optional<std::int32_t> width;
  FontRegistry registry;
};

inline DecodedChar DecodeChar(const Bytes& block, bool list, bool show) {
  DecodedChar out;
  OutputSink sink(&out.listing);
  DescriptorReader reader{block};
  out.width = DecodeCharDescriptor(sink, reader, list, show, out.registry);
  sink.Flush();
  return out;
}

inline CharDescriptor ReadChar(const Bytes& block) {
  DescriptorReader reader{block};
  return ReadCharDescriptor(reader);
}

inline std::uint8_t High(std::uint16_t v) { return static_cast<std::uint8_t>(v >> 8); }
inline std::uint8_t Low(std::uint16_t v) { return static_cast<std::uint8_t>(v & 0xFF); }

struct LaserJetFields {
  std::uint8_t charClass = 1;
  std::uint8_t orientation = 0;
  std::uint16_t left = 0, top = 0, width = 0, height = 0, deltaX = 0;
};

// A format 4 character block: the 16 descriptor bytes, then the bitmap.
inline Bytes LaserJetBlock(const LaserJetFields& f, const Bytes& bitmap = {}) {
  Bytes b = {4, 0, 14, f.charClass, f.orientation, 0, High(f.left), Low(f.left), High(f.top), Low(f.top),
             High(f.width), Low(f.width), High(f.height), Low(f.height), High(f.deltaX), Low(f.deltaX)};
  for (const std::uint8_t byte : bitmap) b.push_back(byte);  // insert() trips a false g++ 12 bounds warning
  return b;
}

// The first line that begins with `label` (written with its colon).
inline std::string LineOf(const std::string& listing, std::string_view label) {
  for (const std::string& line : Lines(listing)) {
    if (line.starts_with(label)) return line;
  }
  return "(no line " + std::string(label) + ")";
}


// A font command found by a walk of a job's escapes, independent of the
// decoder: ESC*c#D ('D'), ESC*c#E ('E'), ESC)s#W ('H') or ESC(s#W ('C');
// `offset` is just after its terminator, where a download's data begins.
struct FontCommand {
  char kind;
  std::uint32_t value;
  std::size_t offset;
};

inline std::vector<FontCommand> ScanFontCommands(std::string_view job) {
  std::vector<FontCommand> found;
  std::size_t i = 0;
  while (i < job.size()) {
    if (job[i] != '\x1b' || i + 2 >= job.size() || job[i + 1] < '!' || job[i + 1] > '/') {
      ++i;
      continue;
    }
    const char param = job[i + 1];
    const char group = job[i + 2] >= 'a' && job[i + 2] <= 'z' ? job[i + 2] : 0;
    i += group ? 3 : 2;
    for (;;) {  // value and terminator, again while the terminator is lower case
      std::uint32_t value = 0;
      while (i < job.size() && (job[i] == '+' || job[i] == '-' || job[i] == '.' || (job[i] >= '0' && job[i] <= '9'))) {
        if (job[i] >= '0' && job[i] <= '9') value = value * 10 + static_cast<std::uint32_t>(job[i] - '0');
        ++i;
      }
      if (i >= job.size()) break;
      const char terminator = job[i++];
      const char upper = static_cast<char>(terminator & ~0x20);
      const std::string key{param, group, upper};
      for (const auto& [name, kind] : {std::pair{"*cD", 'D'}, {"*cE", 'E'}, {")sW", 'H'}, {"(sW", 'C'}}) {
        if (key == name) found.push_back({kind, value, i});
      }
      if (upper == 'W') i = std::min(job.size(), i + value);
      if (terminator == upper) break;
    }
  }
  return found;
}

inline std::uint16_t WordAt(const Bytes& b, std::size_t offset) {
  return static_cast<std::uint16_t>(b[offset] << 8 | b[offset + 1]);
}

// The data of a download found by the scan.
inline Bytes DataOf(std::string_view job, const FontCommand& c) {
  const std::string_view data = job.substr(c.offset, c.value);
  return Bytes(data.begin(), data.end());
}

}  // namespace veltrix::test
