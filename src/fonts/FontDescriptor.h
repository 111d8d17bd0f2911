// Font headers (the data of ESC)s#W): the font descriptor of the nine header
// formats (LaserJet bitmap 0 and 20, Intellifont 10 and 11, TrueType 15 and
// 16, DeskJet bitmap 5, 9 and 12), decoded into a record and listed one
// field a line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "decode/core/OutputSink.h"
#include "fonts/DescriptorReader.h"
#include "fonts/FontRegistry.h"
#include "pcl5/NameLookup.h"

namespace veltrix {

// The DeskJet bitmap formats: their header differs from offset 23 on and
// ends in a printer-specific extension.
constexpr bool IsDeskJetFormat(std::uint8_t headerFormat) {
  return headerFormat == 5 || headerFormat == 9 || headerFormat == 12;
}

// The most notice bytes kept.
inline constexpr std::size_t kMaxNoticeLength = 511;

// Every field is 0 when the format does not carry it or the block ended
// before it.
struct FontDescriptor {
  std::string fontName;      // up to 32 bytes, up to its first NUL
  std::string notice;        // noticeLength bytes; NUL where the block ended first
  std::uint16_t descriptorSize = 0;
  std::uint8_t headerFormat = 0;
  std::uint8_t fontType = 0;
  std::uint16_t baselinePosition = 0;
  std::uint16_t cellWidth = 0;
  std::uint16_t cellHeight = 0;
  std::uint8_t orientation = 0;
  std::uint8_t spacing = 0;
  std::uint16_t symbolSet = 0;
  std::uint16_t pitch = 0;
  std::uint16_t height = 0;
  std::uint16_t xHeight = 0;
  std::int8_t widthType = 0;
  std::uint16_t style = 0;
  std::int8_t strokeWeight = 0;
  std::uint16_t typeface = 0;
  std::uint8_t slant = 0;
  std::uint8_t serifStyle = 0;
  std::uint8_t quality = 0;
  std::int8_t placement = 0;
  std::int8_t underlineDistance = 0;
  std::uint8_t underlineHeight = 0;
  std::uint16_t textHeight = 0;
  std::uint16_t textWidth = 0;
  std::uint16_t firstCode = 0;
  std::uint16_t lastCode = 0;
  std::uint8_t pitchExtended = 0;
  std::uint8_t heightExtended = 0;
  std::uint16_t capHeight = 0;
  std::uint32_t fontNumber = 0;
  std::uint16_t noticeLength = 0;
  std::uint16_t xResolution = 0;
  std::uint16_t yResolution = 0;
  std::uint16_t horizontalPixelResolution = 0;
  std::uint16_t verticalPixelResolution = 0;
  std::int8_t topDoubleUnderlinePosition = 0;
  std::uint8_t topDoubleUnderlineHeight = 0;
  std::int8_t bottomDoubleUnderlinePosition = 0;
  std::uint8_t bottomDoubleUnderlineHeight = 0;
  std::uint16_t printerBlockSize = 0;  // formats 10 and 11: the global data size
  std::uint16_t fontDataSize = 0;
  std::uint8_t unidirectional = 0;
  std::uint8_t compressed = 0;
  std::uint8_t noHalfPitch = 0;
  std::uint8_t noDoublePitch = 0;
  std::uint8_t noHalfHeight = 0;
  std::uint8_t noBold = 0;
  std::uint8_t noDraft = 0;
  std::uint8_t boldMethod = 0;
  std::uint16_t pass2BaseOffset = 0;
  std::uint16_t pass3BaseOffset = 0;
  std::uint16_t pass4BaseOffset = 0;
  std::uint16_t scaleFactor = 0;
  std::uint16_t masterUnderlinePosition = 0;
  std::uint16_t masterUnderlineThickness = 0;
  std::uint8_t fontScalingTechnology = 0;
  std::uint8_t variety = 0;
};

// Decodes the font header in `reader.block` into `descriptor` (first reset
// to all zeros), hands its header format to the registry (NoteFontFormat)
// as soon as it is read, and lists the fields when `list` is set.
void DecodeFontDescriptor(OutputSink& listing, DescriptorReader& reader, bool list, FontRegistry& registry,
                          NameTables& names, FontDescriptor& descriptor);

// The field lines of a decoded descriptor.
void ListFontDescriptor(OutputSink& listing, const FontDescriptor& descriptor, NameTables& names);

}  // namespace veltrix
