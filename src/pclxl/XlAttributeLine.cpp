// The listing line of one PCL XL attribute: its name and its value as text.
#include <algorithm>
#include <cstring>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "decode/core/DecodeContext.h"
#include "decode/core/OutputSink.h"
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
constexpr std::size_t kLongestToken = 12;  // "<0x%08X>"
constexpr std::size_t kLongestEnumName = 64;

constexpr bool EnumNamesFit() {
  for (const XlAttributeRecord& row : kXlAttributeRows) {
    for (const std::string_view name : row.enumNames) {
      if (name.size() > kLongestEnumName) return false;
    }
  }
  return true;
}
static_assert(EnumNamesFit());

// The value text of one attribute line, written in place: in the listing's
// buffer where the line will hold it, or in an array. The longest text is a
// text value that passed the stop with one more token; four reals with
// their parentheses and separators take far less.
class ValueText {
 public:
  static constexpr std::size_t kRoom = kTextStop + kLongestToken;
  static_assert(kRoom >= 4 * (kFixedRoom + 4) + 1 && kRoom >= kLongestEnumName);

  // `room`: at least kRoom characters.
  explicit ValueText(char* room) : start_(room), end_(room) {}

  std::size_t size() const { return static_cast<std::size_t>(end_ - start_); }
  std::string_view View() const { return {start_, size()}; }
  void Add(char c) { *end_++ = c; }
  void Add(std::string_view s) { end_ = FormatText(end_, s); }
  // Where to write on, then the end of what was written.
  char* End() { return end_; }
  void SetEnd(char* end) { end_ = end; }
  void Cut(std::size_t n) {
    if (size() > n) end_ = start_ + n;
  }

 private:
  char* start_;
  char* end_;
};

// Attribute names: the table's, or "Unknown attrib 0x%02X".
constexpr std::size_t kLongestName = 32;

constexpr bool NamesFit() {
  for (const XlAttributeRecord& row : kXlAttributeRows) {
    if (row.name.size() > kLongestName) return false;
  }
  return true;
}
static_assert(NamesFit());

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
std::string_view AttributeName(const XlAttributeRecord* row, std::int32_t id, char (&room)[kLongestName]) {
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

// One character code: printable ASCII as it stands, anything else as a
// "<0x%0*X>" token of 2, 4 or 8 digits.
void AppendCharacter(std::uint32_t element, ValueText& text) {
  if (element >= 32 && element <= 127) {
    text.Add(static_cast<char>(element));
    return;
  }
  const int digits = element < 0x100 ? 2 : element < 0x10000 ? 4 : 8;
  char* at = text.End();
  for (const char c : {'<', '0', 'x'}) *at++ = c;
  at = FormatHex(at, element, digits);
  *at++ = '>';
  text.SetEnd(at);
}

void AppendCharacterText(const XlValue& v, ValueText& text) {
  if (v.form == XL_FORM_UBYTE_ARRAY || v.form == XL_FORM_SBYTE_ARRAY) {
    // Bytes shown unsigned: the elements are the data bytes themselves.
    const std::size_t n = std::min(static_cast<std::size_t>(std::max(v.count, 0)), v.data.size());
    for (std::size_t i = 0; i < n && text.size() < kTextStop; ++i) AppendCharacter(v.data[i], text);
  } else {
    std::uint32_t element = 0;
    for (std::int32_t i = 0; text.size() < kTextStop && XlGetElementBits(v, i, element); ++i) {
      // 16-bit elements are shown unsigned, whatever their sign.
      if (v.form == XL_FORM_SINT16_ARRAY) element &= 0xFFFF;
      AppendCharacter(element, text);
    }
  }
  text.Cut(kTextLimit);
}

// "%d", then " (0x%0*X)" of the word when the value is above 9.
void AppendNumberAndHex(ValueText& text, std::int32_t value, std::uint32_t word, int hexDigits) {
  char* at = FormatSigned32(text.End(), value);
  if (value > 9) {
    for (const char c : {' ', '(', '0', 'x'}) *at++ = c;
    at = FormatHex(at, word, hexDigits);
    *at++ = ')';
  }
  text.SetEnd(at);
}

void AppendScalarText(std::uint8_t elementType, std::uint32_t word, ValueText& text) {
  const auto value = static_cast<std::int32_t>(word);
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
      text.SetEnd(FormatSigned32(text.End(), value));
      return;
    case XL_REAL32:
      text.SetEnd(FormatFixed6(text.End(), XlReal32(word)));
      return;
    default:
      return;
  }
}

// "(a, b)" or "(a, b), (c, d)" of integers or of reals ("%d" or "%f").
void AppendPoints(const XlValue& v, int count, bool real, ValueText& text) {
  char* at = text.End();
  for (int k = 0; k < count; ++k) {
    if (k == 0) {
      *at++ = '(';
    } else if (k % 2 == 0) {
      for (const char c : {')', ',', ' ', '('}) *at++ = c;
    } else {
      for (const char c : {',', ' '}) *at++ = c;
    }
    at = real ? FormatFixed6(at, XlReal32(v.words[k])) : FormatSigned32(at, static_cast<std::int32_t>(v.words[k]));
  }
  *at++ = ')';
  text.SetEnd(at);
}

void AppendTypedText(const XlValue& v, ValueText& text) {
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

void AppendValueText(const XlAttributeRecord* row, const XlValue& v, ValueText& text) {
  const auto names = row != nullptr ? row->enumNames : std::span<const std::string_view>{};
  std::int32_t single = 0;
  if (!names.empty() && SingleInteger(v, single) && single >= 0 &&
      static_cast<std::size_t>(single) < names.size()) {
    text.Add(names[static_cast<std::size_t>(single)]);
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
  char room[kLongestName];
  char value[ValueText::kRoom];
  ValueText text(value);
  AppendValueText(row, v, text);
  return {std::string(), std::string(AttributeName(row, v.attrId, room)), std::string(text.View())};
}

// The line XlWriteLine would write, built in the listing's buffer: the value
// text goes where a short value stands, and the blanks and the name are put
// before it once it is known to be short.
void XlWriteAttribute(const DecodeContext& ctx, const XlValue& v) {
  if (ctx.listing == nullptr || (ctx.flags & DF_SUPPRESS) != 0) return;
  const XlAttributeRecord* row = XlAttributeRow(v.attrId);
  char room[kLongestName];
  const std::string_view name = AttributeName(row, v.attrId, room);
  OutputSink& out = *ctx.listing;
  char* const line = out.Reserve(kXlPrefixWidth + kLongestName + ValueText::kRoom + 1);
  char* const valueAt = line + kXlPrefixWidth + std::max(name.size(), kXlNameWidth);
  ValueText text(valueAt);
  AppendValueText(row, v, text);
  if (text.size() >= kXlShortValueLimit) {  // laid out on continuation lines
    char value[ValueText::kRoom];
    std::memcpy(value, valueAt, text.size());
    XlWriteLine(ctx, {}, name, {value, text.size()});
    return;
  }
  if (name.empty() && text.size() == 0) return;
  std::memset(line, ' ', kXlPrefixWidth + kXlNameWidth);
  char* end = FormatText(line + kXlPrefixWidth, name);
  if (text.size() != 0) end = text.End();
  *end++ = '\n';
  out.Commit(end);
}

}  // namespace veltrix
