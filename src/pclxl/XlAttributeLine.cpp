// The listing line of one PCL XL attribute: its name and its value as text.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "decode/core/OutputSink.h"
#include "pclxl/XlAttributeTable.h"
#include "pclxl/XlAttributes.h"

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

// row: the table row of id, or nullptr.
std::string AttributeName(const XlAttributeRecord* row, std::int32_t id) {
  if (row != nullptr) return std::string(row->name);
  if (id >= 0 && id <= 255) return StringPrintf("Unknown attrib 0x%02X", static_cast<unsigned>(id));
  return {};  // also a value that never received an identifier
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

std::string CharacterText(const XlValue& v) {
  std::string text;
  std::uint32_t element = 0;
  for (std::int32_t i = 0; text.size() < kTextStop && XlGetElementBits(v, i, element); ++i) {
    // Byte and 16-bit elements are shown unsigned, whatever their sign.
    if (v.form == XL_FORM_SBYTE_ARRAY) element &= 0xFF;
    if (v.form == XL_FORM_SINT16_ARRAY) element &= 0xFFFF;
    if (element >= 32 && element <= 127) {
      text += static_cast<char>(element);
    } else if (element < 0x100) {
      text += StringPrintf("<0x%02X>", element);
    } else if (element < 0x10000) {
      text += StringPrintf("<0x%04X>", element);
    } else {
      text += StringPrintf("<0x%08X>", element);
    }
  }
  if (text.size() > kTextLimit) text.resize(kTextLimit);
  return text;
}

std::string ScalarText(std::uint8_t elementType, std::uint32_t word) {
  const auto value = static_cast<std::int32_t>(word);
  switch (elementType) {
    case XL_UBYTE:
      return value > 9 ? StringPrintf("%d (0x%02X)", value, word) : StringPrintf("%d", value);
    case XL_UINT16:
    case XL_UINT32:
      return value > 9 ? StringPrintf("%d (0x%04X)", value, word) : StringPrintf("%d", value);
    case XL_SBYTE:
    case XL_SINT16:
    case XL_SINT32:
      return StringPrintf("%d", value);
    case XL_REAL32:
      return StringPrintf("%f", static_cast<double>(XlReal32(word)));
    default:
      return {};
  }
}

std::string TypedText(const XlValue& v) {
  const auto i = [&v](int k) { return static_cast<std::int32_t>(v.words[k]); };
  const auto f = [&v](int k) { return static_cast<double>(XlReal32(v.words[k])); };
  switch (v.form) {
    case XL_FORM_INTEGER:
      return ScalarText(v.elementType, v.words[0]);
    case XL_FORM_REAL:
      return ScalarText(XL_REAL32, v.words[0]);
    case XL_FORM_INTEGER_PAIR:
      return StringPrintf("(%d, %d)", i(0), i(1));
    case XL_FORM_REAL_PAIR:
      return StringPrintf("(%f, %f)", f(0), f(1));
    case XL_FORM_INTEGER_BOX:
      return StringPrintf("(%d, %d), (%d, %d)", i(0), i(1), i(2), i(3));
    case XL_FORM_REAL_BOX:
      return StringPrintf("(%f, %f), (%f, %f)", f(0), f(1), f(2), f(3));
    default:
      break;
  }
  if (!IsArray(v.form) || v.count > 1) return {};  // embedded data, long arrays
  std::uint32_t element = 0;
  if (v.count == 1 && !XlGetElementBits(v, 0, element)) return {};  // no data behind the count
  return ScalarText(ArrayElementType(v.form), element);
}

std::string ValueText(const XlAttributeRecord* row, const XlValue& v) {
  const auto names = row != nullptr ? row->enumNames : std::span<const std::string_view>{};
  std::int32_t single = 0;
  if (!names.empty() && SingleInteger(v, single) && single >= 0 &&
      static_cast<std::size_t>(single) < names.size()) {
    return std::string(names[static_cast<std::size_t>(single)]);
  }
  // Comments, font names and text strings arrive as arrays of character codes.
  const bool shownAsText = row != nullptr && (row->flags & kXlShownAsText) != 0;
  if (shownAsText && IsIntegerArray(v.form)) return CharacterText(v);
  return TypedText(v);
}

}  // namespace

XlListingLine XlFormatAttribute(const XlValue& v) {
  const XlAttributeRecord* row = XlAttributeRow(v.attrId);
  return XlListingLine{std::string(), AttributeName(row, v.attrId), ValueText(row, v)};
}

}  // namespace veltrix
