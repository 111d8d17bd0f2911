// Character descriptors built byte by byte, decoded into a string.
#pragma once

#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "fonts/CharDescriptor.h"

namespace veltrix::test::chars {

using Bytes = std::vector<std::uint8_t>;

struct Decoded {
  std::string listing;
  std::optional<std::int32_t> width;
  FontRegistry registry;
};

inline Decoded DecodeBlock(const Bytes& block, bool list, bool show) {
  Decoded out;
  {
    OutputSink sink(&out.listing);
    DescriptorReader reader{block};
    out.width = DecodeCharDescriptor(sink, reader, list, show, out.registry);
  }
  return out;
}

inline CharDescriptor ReadBlock(const Bytes& block) {
  DescriptorReader reader{block};
  return ReadCharDescriptor(reader);
}

inline std::uint8_t High(std::uint16_t v) { return static_cast<std::uint8_t>(v >> 8); }
inline std::uint8_t Low(std::uint16_t v) { return static_cast<std::uint8_t>(v & 0xFF); }

struct LaserJetFields {
  std::uint8_t charClass = 1;
  std::uint8_t orientation = 0;
  std::uint16_t left = 0;
  std::uint16_t top = 0;
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  std::uint16_t deltaX = 0;
};

// A format 4 block: the 16 descriptor bytes, then the bitmap.
inline Bytes LaserJetBlock(const LaserJetFields& f, const Bytes& bitmap = {}) {
  Bytes b = {4, 0, 14, f.charClass, f.orientation, 0, High(f.left), Low(f.left), High(f.top), Low(f.top),
             High(f.width), Low(f.width), High(f.height), Low(f.height), High(f.deltaX), Low(f.deltaX)};
  for (const std::uint8_t byte : bitmap) b.push_back(byte);  // insert() trips a false g++ 12 bounds warning
  return b;
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The line that begins with `label` (up to and including its colon).
inline std::string LineOf(const std::string& listing, const std::string& label) {
  for (const std::string& line : Lines(listing)) {
    if (line.starts_with(label)) return line;
  }
  return "(no line " + label + ")";
}

}  // namespace veltrix::test::chars
