// Font operators: SetFont and the download of fonts and characters. Fonts are
// known by name without regard to case.
#include <limits>

#include "pclxl/XlAttributes.h"
#include "pclxl/XlOperators.h"
#include "pclxl/XlView.h"

namespace veltrix {

namespace {

XlFontEntry* FindFont(XlInterpreterState& s, const std::string& name) {
  const auto it = s.fontIndex.find(XlNameKey(name));
  return it == s.fontIndex.end() ? nullptr : &s.fonts[it->second];
}

XlFontEntry& AddFont(XlInterpreterState& s, const std::string& name) {
  s.fontIndex.emplace(XlNameKey(name), s.fonts.size());
  s.fonts.push_back(XlFontEntry{name, kXlRemovedFont});
  return s.fonts.back();
}

// Downloaded fonts count up from 0, fonts only named by SetFont down from -2.
std::int32_t NextDownloadedNumber(XlInterpreterState& s) {
  const std::int32_t n = s.nextDownloadedNumber;
  if (s.nextDownloadedNumber < std::numeric_limits<std::int32_t>::max()) ++s.nextDownloadedNumber;
  return n;
}

std::int32_t NextReferencedNumber(XlInterpreterState& s) {
  const std::int32_t n = s.nextReferencedNumber;
  if (s.nextReferencedNumber > std::numeric_limits<std::int32_t>::min()) --s.nextReferencedNumber;
  return n;
}

bool NeedBlock(XlReader& reader, XlDataBlock block) {
  return reader.state.dataBlock == block || XlFail(reader, XL_ERR_ILLEGAL_SEQUENCE);
}

}  // namespace

bool XlSetFont(XlReader& reader, std::uint8_t) {
  XlFontSelection font;
  if (!XlRequireReal(reader, XL_ATTR_CHAR_SIZE, font.size)) return false;
  if (!XlRequireInteger(reader, XL_ATTR_SYMBOL_SET, font.symbolSet)) return false;
  if (!XlRequireName(reader, XL_ATTR_FONT_NAME, font.name)) return false;
  XlInterpreterState& s = reader.state;
  XlFontEntry* entry = FindFont(s, font.name);
  if (entry == nullptr) {
    entry = &AddFont(s, font.name);
    entry->number = NextReferencedNumber(s);
  }
  font.downloaded = entry->number >= 0;
  XlCurrentState(reader).font = std::move(font);
  return true;
}

bool XlBeginFontHeader(XlReader& reader, std::uint8_t) {
  if (!NeedBlock(reader, XL_BLOCK_NONE)) return false;
  std::int32_t format = 0;
  std::string name;
  if (!XlRequireInteger(reader, XL_ATTR_FONT_FORMAT, format)) return false;
  if (!XlRequireName(reader, XL_ATTR_FONT_NAME, name)) return false;
  XlInterpreterState& s = reader.state;
  XlFontEntry* entry = FindFont(s, name);
  if (entry != nullptr && entry->number != kXlRemovedFont) return XlFail(reader, XL_ERR_FONT_EXISTS);
  if (entry == nullptr) entry = &AddFont(s, name);
  entry->number = NextDownloadedNumber(s);
  s.currentFontNumber = entry->number;
  s.currentFontName = name;
  s.blockBuffer.clear();
  s.dataBlock = XL_BLOCK_FONT_HEADER;
  return true;
}

bool XlReadFontHeader(XlReader& reader, std::uint8_t) {
  if (!NeedBlock(reader, XL_BLOCK_FONT_HEADER)) return false;
  std::int32_t length = 0;
  if (!XlRequireInteger(reader, XL_ATTR_FONT_HEADER_LENGTH, length)) return false;
  const XlValue* data = XlRequireEmbeddedData(reader, length);
  if (data == nullptr) return false;
  std::vector<std::uint8_t>& buffer = reader.state.blockBuffer;
  buffer.insert(buffer.end(), data->data.begin(), data->data.end());
  return true;
}

bool XlEndFontHeader(XlReader& reader, std::uint8_t) {
  if (!NeedBlock(reader, XL_BLOCK_FONT_HEADER)) return false;
  XlInterpreterState& s = reader.state;
  if (s.blockBuffer.empty()) return XlFail(reader, XL_ERR_MISSING_DATA);
  const std::uint32_t flags = reader.view.ctx.flags;
  // A complete font goes to the extracted fonts as a PCL download, and to the
  // registry under the complement of its number, apart from PCL font IDs.
  if ((flags & DF_KEEP_FONTS) != 0) KeepXlFontHeader(reader.view.keep, s.currentFontNumber, s.blockBuffer);
  if ((flags & DF_FONT_SUM) != 0) AddFontRecord(reader.view.fontRegistry, s.currentFontName, s.currentFontNumber, true);
  std::vector<std::uint8_t>().swap(s.blockBuffer);
  s.dataBlock = XL_BLOCK_NONE;
  return true;
}

bool XlBeginChar(XlReader& reader, std::uint8_t) {
  if (!NeedBlock(reader, XL_BLOCK_NONE)) return false;
  std::string name;
  if (!XlRequireName(reader, XL_ATTR_FONT_NAME, name)) return false;
  XlInterpreterState& s = reader.state;
  const XlFontEntry* entry = FindFont(s, name);
  if (entry == nullptr || entry->number == kXlRemovedFont) return XlFail(reader, XL_ERR_FONT_UNDEFINED);
  s.currentFontNumber = entry->number;
  s.currentFontName = entry->name;
  s.dataBlock = XL_BLOCK_CHARACTER;
  return true;
}

bool XlReadChar(XlReader& reader, std::uint8_t) {
  if (!NeedBlock(reader, XL_BLOCK_CHARACTER)) return false;
  std::int32_t size = 0, code = 0;
  if (!XlRequireInteger(reader, XL_ATTR_CHAR_DATA_SIZE, size)) return false;
  if (!XlRequireInteger(reader, XL_ATTR_CHAR_CODE, code)) return false;
  const XlValue* data = XlRequireEmbeddedData(reader, size);
  if (data == nullptr) return false;
  if ((reader.view.ctx.flags & DF_KEEP_FONTS) != 0) {
    KeepXlChar(reader.view.keep, reader.state.currentFontNumber, code, data->data);
  }
  return true;
}

bool XlEndChar(XlReader& reader, std::uint8_t) {
  if (!NeedBlock(reader, XL_BLOCK_CHARACTER)) return false;
  reader.state.dataBlock = XL_BLOCK_NONE;
  return true;
}

bool XlRemoveFont(XlReader& reader, std::uint8_t) {
  if (!NeedBlock(reader, XL_BLOCK_NONE)) return false;
  std::string name;
  if (!XlRequireName(reader, XL_ATTR_FONT_NAME, name)) return false;
  if (XlFontEntry* entry = FindFont(reader.state, name)) entry->number = kXlRemovedFont;
  return true;
}

}  // namespace veltrix
