// The cursor over a downloaded descriptor block (a font header or a
// character download), shared by the font and character descriptor
// decoders. Every field is read under one rule: a field of n bytes takes
// min(n, remaining) bytes, so a block cut short leaves the missing fields 0
// and never reads past its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace veltrix {

struct DescriptorReader {
  std::span<const std::uint8_t> block;  // the whole descriptor block
  std::size_t at = 0;                   // offset of the next unread byte

  std::size_t Remaining() const { return at < block.size() ? block.size() - at : 0; }
  const std::uint8_t* Data() const { return block.data() + (at < block.size() ? at : block.size()); }
};

// A big-endian field of `size` bytes (1 to 4). When fewer bytes remain the
// ones that are there fill the start of the field and the rest stays 0: a
// 2-byte field of which one byte remained holds that byte times 256.
inline std::uint32_t ReadField(DescriptorReader& reader, int size) {
  std::uint32_t value = 0;
  for (int i = 0; i < size; ++i) {
    value <<= 8;
    if (reader.at < reader.block.size()) value |= reader.block[reader.at++];
  }
  return value;
}

inline std::uint8_t ReadByte(DescriptorReader& reader) { return static_cast<std::uint8_t>(ReadField(reader, 1)); }
inline std::int8_t ReadSignedByte(DescriptorReader& reader) { return static_cast<std::int8_t>(ReadField(reader, 1)); }
inline std::uint16_t ReadWord(DescriptorReader& reader) { return static_cast<std::uint16_t>(ReadField(reader, 2)); }

// Moves on by min(n, remaining) bytes; a count of 0 or less does nothing.
inline void SkipBytes(DescriptorReader& reader, std::int64_t n) {
  if (n <= 0) return;
  const std::size_t step = static_cast<std::uint64_t>(n) < reader.Remaining() ? static_cast<std::size_t>(n)
                                                                              : reader.Remaining();
  reader.at += step;
}

// The next min(n, remaining) bytes, and the cursor moved past them.
inline std::span<const std::uint8_t> ReadBytes(DescriptorReader& reader, std::size_t n) {
  const std::size_t step = n < reader.Remaining() ? n : reader.Remaining();
  const std::span<const std::uint8_t> bytes(reader.Data(), step);
  reader.at += step;
  return bytes;
}

}  // namespace veltrix
