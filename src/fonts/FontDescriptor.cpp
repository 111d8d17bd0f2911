// Reading a font header into a FontDescriptor. All formats share offsets 0
// to 22; from 23 the LaserJet layout (every format but the DeskJet ones,
// unknown formats included), the DeskJet layout of formats 5 and 9, or that
// of format 12 follows, then a tail that depends on the format. Every field
// goes through the descriptor reader, so a block cut short leaves the rest 0
// and nothing is read past its end, whatever its size fields claim.
#include "fonts/FontDescriptor.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace veltrix {

namespace {

constexpr std::size_t kNameFieldLength = 16;
// A format 12 header whose printer-specific block is this long carries 16
// more bytes of the font name after the block.
constexpr std::uint16_t kLongNameBlockSize = 36;

struct NameBuffer {
  std::array<char, 2 * kNameFieldLength> bytes{};
  std::size_t filled = 0;
};

// The next 16 bytes of the name; bytes missing from the block stay NUL.
void ReadNamePart(DescriptorReader& reader, NameBuffer& name) {
  const std::span<const std::uint8_t> part = ReadBytes(reader, kNameFieldLength);
  std::copy(part.begin(), part.end(), name.bytes.begin() + static_cast<std::ptrdiff_t>(name.filled));
  name.filled += kNameFieldLength;
}

// The name ends at its first NUL, as a C string would.
std::string NameText(const NameBuffer& name) {
  const auto end = std::find(name.bytes.begin(), name.bytes.begin() + name.filled, '\0');
  return std::string(name.bytes.begin(), end);
}

// Offsets 0 to 22, alike in every format. The style MSB is kept in the high
// byte of the style until the layout decides what to do with it.
void ReadCommonFields(DescriptorReader& reader, FontRegistry& registry, FontDescriptor& d) {
  d.descriptorSize = ReadWord(reader);
  d.headerFormat = ReadByte(reader);
  NoteFontFormat(registry, d.headerFormat);
  d.fontType = ReadByte(reader);
  d.style = static_cast<std::uint16_t>(ReadByte(reader) << 8);
  SkipBytes(reader, 1);
  d.baselinePosition = ReadWord(reader);
  d.cellWidth = ReadWord(reader);
  d.cellHeight = ReadWord(reader);
  d.orientation = ReadByte(reader);
  d.spacing = ReadByte(reader);
  d.symbolSet = ReadWord(reader);
  d.pitch = ReadWord(reader);
  d.height = ReadWord(reader);
  d.xHeight = ReadWord(reader);
  d.widthType = ReadSignedByte(reader);
}

// From the serif style on, formats 5 and 9 share the LaserJet offsets 27 to 47.
void ReadSerifToFontNumber(DescriptorReader& reader, FontDescriptor& d) {
  d.serifStyle = ReadByte(reader);
  d.quality = ReadByte(reader);
  d.placement = ReadSignedByte(reader);
  d.underlineDistance = ReadSignedByte(reader);
  d.underlineHeight = ReadByte(reader);
  d.textHeight = ReadWord(reader);
  d.textWidth = ReadWord(reader);
  d.firstCode = ReadWord(reader);
  d.lastCode = ReadWord(reader);
  d.pitchExtended = ReadByte(reader);
  d.heightExtended = ReadByte(reader);
  d.capHeight = ReadWord(reader);
  d.fontNumber = ReadField(reader, 4);
}

// Offsets 23 to 47. The typeface is stored low byte first.
void ReadLaserJetMiddle(DescriptorReader& reader, FontDescriptor& d) {
  d.style = static_cast<std::uint16_t>(d.style | ReadByte(reader));
  d.strokeWeight = ReadSignedByte(reader);
  const std::uint8_t typefaceLow = ReadByte(reader);
  d.typeface = static_cast<std::uint16_t>(ReadByte(reader) << 8 | typefaceLow);
  ReadSerifToFontNumber(reader, d);
}

// Formats 5 and 9, offsets 23 to 47: one-byte style and typeface, and a
// slant where the LaserJet layout has the typeface MSB.
void ReadDeskJetMiddle(DescriptorReader& reader, FontDescriptor& d) {
  d.style = ReadByte(reader);  // the style MSB of offset 4 is not part of it
  d.strokeWeight = ReadSignedByte(reader);
  d.typeface = ReadByte(reader);
  d.slant = ReadByte(reader);
  ReadSerifToFontNumber(reader, d);
}

// Format 12, offsets 23 to 49: a whole style word and a slant, so the serif
// style and all after it sit two bytes later than in the LaserJet layout.
void ReadDeskJet500Middle(DescriptorReader& reader, FontDescriptor& d) {
  d.style = ReadWord(reader);
  d.strokeWeight = ReadSignedByte(reader);
  const std::uint8_t typefaceLow = ReadByte(reader);
  d.typeface = static_cast<std::uint16_t>(ReadByte(reader) << 8 | typefaceLow);
  d.slant = ReadByte(reader);
  ReadSerifToFontNumber(reader, d);
}

// The DeskJet extension after the name. Returns whether the name goes on
// after it.
bool ReadDeskJetExtension(DescriptorReader& reader, FontDescriptor& d) {
  d.horizontalPixelResolution = ReadWord(reader);
  d.verticalPixelResolution = ReadWord(reader);
  d.topDoubleUnderlinePosition = ReadSignedByte(reader);
  d.topDoubleUnderlineHeight = ReadByte(reader);
  d.bottomDoubleUnderlinePosition = ReadSignedByte(reader);
  d.bottomDoubleUnderlineHeight = ReadByte(reader);
  d.printerBlockSize = ReadWord(reader);
  d.fontDataSize = ReadWord(reader);
  d.unidirectional = ReadByte(reader);
  d.compressed = ReadByte(reader);
  SkipBytes(reader, 1);
  d.noHalfPitch = ReadByte(reader);
  d.noDoublePitch = ReadByte(reader);
  d.noHalfHeight = ReadByte(reader);
  d.noBold = ReadByte(reader);
  d.noDraft = ReadByte(reader);
  d.boldMethod = ReadByte(reader);
  SkipBytes(reader, 1);
  d.pass2BaseOffset = ReadWord(reader);
  d.pass3BaseOffset = ReadWord(reader);
  d.pass4BaseOffset = ReadWord(reader);
  return d.headerFormat == 12 && d.printerBlockSize == kLongNameBlockSize;
}

void ReadTrueTypeTail(DescriptorReader& reader, FontDescriptor& d) {
  d.scaleFactor = ReadWord(reader);
  d.masterUnderlinePosition = ReadWord(reader);
  d.masterUnderlineThickness = ReadWord(reader);
  d.fontScalingTechnology = ReadByte(reader);
  d.variety = ReadByte(reader);
}

void KeepNotice(std::span<const std::uint8_t> bytes, std::size_t length, FontDescriptor& d) {
  d.notice.assign(bytes.begin(), bytes.end());
  d.notice.resize(length, '\0');
  d.noticeLength = static_cast<std::uint16_t>(length);
}

// Formats 10 and 11: the global data size sits 2 bytes before the end that
// the descriptor size gives (read where the fields ended when they already
// ran past that point), the global data follows, and the notice is what is
// left but for the closing reserved byte and checksum. Both sizes are
// claims: every step stops at the block's end.
void ReadIntellifontTail(DescriptorReader& reader, std::size_t start, FontDescriptor& d) {
  const std::int64_t sizeFieldOffset = std::int64_t{d.descriptorSize} - 2;
  SkipBytes(reader, sizeFieldOffset - static_cast<std::int64_t>(reader.at - start));
  d.printerBlockSize = ReadWord(reader);
  SkipBytes(reader, d.printerBlockSize);
  constexpr std::size_t kClosingBytes = 2;
  if (reader.Remaining() <= kClosingBytes) return;
  const std::size_t length = std::min(reader.Remaining() - kClosingBytes, kMaxNoticeLength);
  KeepNotice(ReadBytes(reader, length), length, d);
}

// Formats 0, 20 and unknown ones: whatever the block holds beyond the
// descriptor size is the notice, read from where the header fields ended.
// Its length comes from the sizes alone; where the block has fewer bytes
// from here on, the notice keeps NULs, which are listed as blanks.
void ReadTrailingNotice(DescriptorReader& reader, std::size_t start, FontDescriptor& d) {
  const std::size_t blockLength = reader.block.size() > start ? reader.block.size() - start : 0;
  if (blockLength <= d.descriptorSize) return;
  const std::size_t length = std::min(blockLength - d.descriptorSize, kMaxNoticeLength);
  KeepNotice(ReadBytes(reader, length), length, d);
}

}  // namespace

void DecodeFontDescriptor(OutputSink& listing, DescriptorReader& reader, bool list, FontRegistry& registry,
                          NameTables& names, FontDescriptor& descriptor) {
  FontDescriptor& d = descriptor;
  d = FontDescriptor{};
  const std::size_t start = reader.at;
  ReadCommonFields(reader, registry, d);

  const std::uint8_t format = d.headerFormat;
  if (format == 5 || format == 9) {
    ReadDeskJetMiddle(reader, d);
  } else if (format == 12) {
    ReadDeskJet500Middle(reader, d);
  } else {
    ReadLaserJetMiddle(reader, d);
  }
  NameBuffer name;
  ReadNamePart(reader, name);

  if (IsDeskJetFormat(format)) {
    if (ReadDeskJetExtension(reader, d)) ReadNamePart(reader, name);
  } else if (format == 15 || format == 16) {
    ReadTrueTypeTail(reader, d);
  } else if (format == 10 || format == 11) {
    ReadIntellifontTail(reader, start, d);
  } else {
    if (format == 20) {
      d.xResolution = ReadWord(reader);
      d.yResolution = ReadWord(reader);
    }
    ReadTrailingNotice(reader, start, d);
  }
  d.fontName = NameText(name);

  if (list) ListFontDescriptor(listing, d, names);
}

}  // namespace veltrix
