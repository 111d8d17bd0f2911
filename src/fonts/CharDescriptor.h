// Character downloads (the data of ESC(s#W): the character descriptor of
// every format, its field lines and the bitmap drawn as text.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "decode/core/OutputSink.h"
#include "fonts/DescriptorReader.h"
#include "fonts/FontRegistry.h"

namespace veltrix {

// Character formats that have a descriptor layout of their own.
inline constexpr std::uint8_t kCharFormatLaserJet = 4;
inline constexpr std::uint8_t kCharFormatDeskJet = 5;
inline constexpr std::uint8_t kCharFormatDeskJetPlus = 9;
inline constexpr std::uint8_t kCharFormatDeskJet500 = 12;
inline constexpr std::uint8_t kCharFormatTrueType = 15;

// DeskJet characters carry no height: they are always this many rows.
inline constexpr std::uint16_t kDeskJetCharHeight = 50;

// One character descriptor. Every field is 0 when the format does not carry
// it or the block ended before it.
struct CharDescriptor {
  std::span<const std::uint8_t> data;  // from the first byte after the fields to the end of the block
  std::uint8_t descriptorSize = 0;     // listed only: the layouts are fixed
  std::uint8_t format = 0;
  std::uint8_t continuation = 0;       // non-zero: the block goes on with the previous character's data
  std::uint8_t charClass = 0;
  std::uint8_t orientation = 0;
  std::uint16_t leftOffset = 0;
  std::uint16_t topOffset = 0;
  std::uint16_t characterWidth = 0;   // dots
  std::uint16_t characterHeight = 0;  // dots
  std::uint16_t deltaX = 0;           // quarter-dots
  std::uint8_t charType = 0;          // DeskJet
  std::uint8_t compressedWidth = 0;   // DeskJet
  std::int8_t leftPsPad = 0;          // DeskJet
  std::int8_t rightPsPad = 0;         // DeskJet
  std::uint8_t compoundAlignPoint = 0;  // DeskJet 500
  std::uint16_t charDataSize = 0;     // TrueType
  std::uint16_t glyphId = 0;          // TrueType
  std::uint16_t glyphDataSize = 0;    // TrueType: the char data size less 4, modulo 2^16
  std::uint8_t checksum = 0;          // TrueType; never listed
};

// Reads the descriptor fields of the block under `reader`'s rule.
CharDescriptor ReadCharDescriptor(DescriptorReader& reader);

// Decodes the character descriptor in `reader.block`, hands its format to
// the registry (NoteCharFormat), lists its fields when `list` and draws its
// bitmap when `show`. Returns the width the character reports (its Delta X;
// 0 for formats without one), or nothing for a continuation block, whose
// character keeps the width it has.
std::optional<std::int32_t> DecodeCharDescriptor(OutputSink& listing, DescriptorReader& reader, bool list,
                                                 bool show, FontRegistry& registry);

// The field lines (when `list`), then the bitmap (when `show`; TrueType
// glyphs are outlines and are never drawn).
void ListCharDescriptor(OutputSink& listing, const CharDescriptor& descriptor, bool list, bool show);

}  // namespace veltrix
