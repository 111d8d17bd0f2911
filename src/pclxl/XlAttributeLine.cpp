// The listing line of one PCL XL attribute: its name and its value as text.
#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "decode/core/TextFormat.h"
#include "pclxl/XlAttributeTable.h"
#include "pclxl/XlAttributes.h"
#include "pclxl/XlWriteLine.h"

namespace veltrix {
namespace {

// Text values are built in the 2048-byte listing buffer: no element is added
// once the text has reached this length, and an element that starts just
// below it is cut at the end of the buffer (its terminating zero included).
constexpr std::size_t kTextStop = 2038;
constexpr std::size_t kTextLimit = 2047;

bool IsIntegerArray(std::uint8_t form) {
  return form >= XL_FORM_SBYTE_ARRAY && form <= XL_FORM_UINT32_ARRAY;
}

bool IsArray(std::uint8_t form) {
  return form >= XL_FORM_SBYTE_ARRAY && form <= XL_FORM_REAL32_ARRAY;
}

std::uint8_t ArrayElementType(std::uint8_t form) {
  switch (form) {
    case XL_FORM_SBYTE_ARRAY: return XL_SBYTE;
    case XL_FORM_SINT16_ARRAY: return XL_SINT16;
    case XL_FORM_SINT32_ARRAY: return XL_SINT32;
    case XL_FORM_UBYTE_ARRAY: return XL_UBYTE;
    case XL_FORM_UINT16_ARRAY: return XL_UINT16;
    case XL_FORM_UINT32_ARRAY: return XL_UINT32;
    default: return XL_REAL32;
  }
}

// row: the table row of id, or nullptr. `room` holds a made-up name.
std::string_view AttributeName(const XlAttributeRecord* row, std::int32_t id, char (&room)[32]) {
  if (row != nullptr) return row->name;
  if (id < 0 || id > 255) return {};  // also a value that never received an identifier
  constexpr std::string_view kUnknown = "Unknown attrib 0x";
  char* at = std::copy(kUnknown.begin(), kUnknown.end(), room);
  at = FormatHex(at, static_cast<unsigned>(id), 2);
  return {room, static_cast<std::size_t>(at - room)};
}

// The single value of an integer scalar or of an integer array of at most
// one element (an empty array counts as 0). False for anything else.
bool SingleInteger(const XlValue& v, std::int32_t& out) {
  if (v.form == XL_FORM_INTEGER) {
    out = static_cast<std::int32_t>(v.words[0]);
    return true;
  }
  if (!IsIntegerArray(v.form) || v.count > 1) return false;
  if (v.count <= 0) {
    out = 0;
    return true;
  }
  return XlGetElement(v, 0, out);
}

// "<0x%0*X>"
void AppendHexToken(std::string& text, std::uint32_t element, int digits) {
  char number[kNumberRoom + 4] = {'<', '0', 'x'};
  char* at = FormatHex(number + 3, element, digits);
  *at++ = '>';
  text.append(number, at);
}

void AppendCharacterText(const XlValue& v, std::string& text) {
  const std::size_t start = text.size();
  std::uint32_t element = 0;
  for (std::int32_t i = 0; text.size() - start < kTextStop && XlGetElementBits(v, i, element); ++i) {
    // Byte and 16-bit elements are shown unsigned, whatever their sign.
    if (v.form == XL_FORM_SBYTE_ARRAY) element &= 0xFF;
    if (v.form == XL_FORM_SINT16_ARRAY) element &= 0xFFFF;
    if (element >= 32 && element <= 127) {
      text += static_cast<char>(element);
    } else if (element < 0x100) {
      AppendHexToken(text, element, 2);
    } else if (element < 0x10000) {
      AppendHexToken(text, element, 4);
    } else {
      AppendHexToken(text, element, 8);
    }
  }
  if (text.size() - start > kTextLimit) text.resize(start + kTextLimit);
}

// "%d", then " (0x%0*X)" of the word when the value is above 9.
void AppendNumberAndHex(std::string& text, std::int32_t value, std::uint32_t word, int hexDigits) {
  char number[2 * kNumberRoom + 8];
  char* at = FormatSigned(number, value);
  if (value > 9) {
    for (const char c : {' ', '(', '0', 'x'}) *at++ = c;
    at = FormatHex(at, word, hexDigits);
    *at++ = ')';
  }
  text.append(number, at);
}

void AppendScalarText(std::uint8_t elementType, std::uint32_t word, std::string& text) {
  const auto value = static_cast<std::int32_t>(word);
  char number[kFixedRoom];
  switch (elementType) {
    case XL_UBYTE:
      AppendNumberAndHex(text, value, word, 2);
      return;
    case XL_UINT16:
    case XL_UINT32:
      AppendNumberAndHex(text, value, word, 4);
      return;
    case XL_SBYTE:
    case XL_SINT16:
    case XL_SINT32:
      text.append(number, FormatSigned(number, value));
      return;
    case XL_REAL32:
      text.append(number, FormatFixed6(number, XlReal32(word)));
      return;
    default:
      return;
  }
}

// "(a, b)" or "(a, b), (c, d)" of integers or of reals ("%d" or "%f").
void AppendPoints(const XlValue& v, int count, bool real, std::string& text) {
  char number[kFixedRoom];
  for (int k = 0; k < count; ++k) {
    text += k == 0 ? "(" : (k % 2 == 0 ? "), (" : ", ");
    char* const end = real ? FormatFixed6(number, XlReal32(v.words[k]))
                           : FormatSigned(number, static_cast<std::int32_t>(v.words[k]));
    text.append(number, end);
  }
  text += ')';
}

void AppendTypedText(const XlValue& v, std::string& text) {
  switch (v.form) {
    case XL_FORM_INTEGER:
      AppendScalarText(v.elementType, v.words[0], text);
      return;
    case XL_FORM_REAL:
      AppendScalarText(XL_REAL32, v.words[0], text);
      return;
    case XL_FORM_INTEGER_PAIR:
    case XL_FORM_REAL_PAIR:
      AppendPoints(v, 2, v.form == XL_FORM_REAL_PAIR, text);
      return;
    case XL_FORM_INTEGER_BOX:
    case XL_FORM_REAL_BOX:
      AppendPoints(v, 4, v.form == XL_FORM_REAL_BOX, text);
      return;
    default:
      break;
  }
  if (!IsArray(v.form) || v.count > 1) return;  // embedded data, long arrays
  std::uint32_t element = 0;
  if (v.count == 1 && !XlGetElementBits(v, 0, element)) return;  // no data behind the count
  AppendScalarText(ArrayElementType(v.form), element, text);
}

void AppendValueText(const XlAttributeRecord* row, const XlValue& v, std::string& text) {
  const auto names = row != nullptr ? row->enumNames : std::span<const std::string_view>{};
  std::int32_t single = 0;
  if (!names.empty() && SingleInteger(v, single) && single >= 0 &&
      static_cast<std::size_t>(single) < names.size()) {
    text += names[static_cast<std::size_t>(single)];
    return;
  }
  // Comments, font names and text strings arrive as arrays of character codes.
  const bool shownAsText = row != nullptr && (row->flags & kXlShownAsText) != 0;
  if (shownAsText && IsIntegerArray(v.form)) {
    AppendCharacterText(v, text);
    return;
  }
  AppendTypedText(v, text);
}

}  // namespace

XlListingLine XlFormatAttribute(const XlValue& v) {
  const XlAttributeRecord* row = XlAttributeRow(v.attrId);
  char room[32];
  XlListingLine line{std::string(), std::string(AttributeName(row, v.attrId, room)), std::string()};
  AppendValueText(row, v, line.value);
  return line;
}

void XlWriteAttribute(const DecodeContext& ctx, const XlValue& v, std::string& scratch) {
  const XlAttributeRecord* row = XlAttributeRow(v.attrId);
  char room[32];
  const std::string_view name = AttributeName(row, v.attrId, room);
  scratch.clear();
  AppendValueText(row, v, scratch);
  if (!name.empty() || !scratch.empty()) XlWriteLine(ctx, {}, name, scratch);
}

}  // namespace veltrix
