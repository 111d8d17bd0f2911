#include "fonts/CharDescriptor.h"

namespace veltrix {

namespace {

bool IsDeskJet(std::uint8_t format) {
  return format == kCharFormatDeskJet || format == kCharFormatDeskJetPlus || format == kCharFormatDeskJet500;
}

bool HasListing(std::uint8_t format) {
  return format == kCharFormatLaserJet || IsDeskJet(format) || format == kCharFormatTrueType;
}

// The bitmap starts at offset 16.
void ReadLaserJetFields(DescriptorReader& reader, CharDescriptor& d) {
  d.charClass = ReadByte(reader);
  d.orientation = ReadByte(reader);
  SkipBytes(reader, 1);
  d.leftOffset = ReadWord(reader);
  d.topOffset = ReadWord(reader);
  d.characterWidth = ReadWord(reader);
  d.characterHeight = ReadWord(reader);
  d.deltaX = ReadWord(reader);
}

void ReadDeskJetFields(DescriptorReader& reader, CharDescriptor& d) {
  d.charType = ReadByte(reader);
  d.characterWidth = ReadByte(reader);
  d.compressedWidth = ReadByte(reader);
  d.leftPsPad = ReadSignedByte(reader);
  d.rightPsPad = ReadSignedByte(reader);
  if (d.format == kCharFormatDeskJet500) d.compoundAlignPoint = ReadByte(reader);
  d.characterHeight = kDeskJetCharHeight;
}

void ReadTrueTypeFields(DescriptorReader& reader, CharDescriptor& d) {
  d.charClass = ReadByte(reader);
  d.charDataSize = ReadWord(reader);
  // The char data size counts the glyph ID and the two trailing bytes too.
  // A size below 4 wraps to a huge glyph, which the bounded skip stops at
  // the end of the block.
  d.glyphDataSize = static_cast<std::uint16_t>(d.charDataSize - 4);
  d.glyphId = ReadWord(reader);
  SkipBytes(reader, d.glyphDataSize);
  SkipBytes(reader, 1);
  d.checksum = ReadByte(reader);
}

}  // namespace

CharDescriptor ReadCharDescriptor(DescriptorReader& reader) {
  CharDescriptor d;
  d.format = ReadByte(reader);
  d.continuation = ReadByte(reader);
  // A continuation block has no descriptor size: its fields follow byte 1.
  if (d.continuation == 0) d.descriptorSize = ReadByte(reader);
  if (d.format == kCharFormatLaserJet) {
    if (d.continuation == 0) ReadLaserJetFields(reader, d);  // a continuation is bitmap from offset 2 on
  } else if (IsDeskJet(d.format)) {
    ReadDeskJetFields(reader, d);
  } else if (d.format == kCharFormatTrueType) {
    ReadTrueTypeFields(reader, d);
  }
  d.data = std::span(reader.Data(), reader.Remaining());
  return d;
}

std::optional<std::int32_t> DecodeCharDescriptor(OutputSink& listing, DescriptorReader& reader, bool list,
                                                 bool show, FontRegistry& registry) {
  const CharDescriptor d = ReadCharDescriptor(reader);
  NoteCharFormat(registry, d.format);
  if ((list || show) && HasListing(d.format)) ListCharDescriptor(listing, d, list, show);
  if (d.continuation != 0) return std::nullopt;
  return d.format == kCharFormatLaserJet ? d.deltaX : 0;
}

}  // namespace veltrix
