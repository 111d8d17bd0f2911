// Taking attributes off the PCL XL value stack for the operator handlers.
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <span>

#include "pclxl/XlAttributes.h"

namespace veltrix {
namespace {

// Bytes per element of an array form; 0 for a form that is not an array.
std::size_t ElementSize(std::uint8_t form) {
  switch (form) {
    case XL_FORM_SBYTE_ARRAY:
    case XL_FORM_UBYTE_ARRAY:
      return 1;
    case XL_FORM_SINT16_ARRAY:
    case XL_FORM_UINT16_ARRAY:
      return 2;
    case XL_FORM_SINT32_ARRAY:
    case XL_FORM_UINT32_ARRAY:
    case XL_FORM_REAL32_ARRAY:
      return 4;
    default:
      return 0;
  }
}

std::int32_t AsInteger(std::uint32_t word) { return static_cast<std::int32_t>(word); }

}  // namespace

float XlReal32(std::uint32_t bits) { return std::bit_cast<float>(bits); }

std::int32_t XlTruncate(float f) {
  if (std::isnan(f)) return 0;
  if (f >= 2147483648.0f) return INT32_MAX;
  if (f <= -2147483648.0f) return INT32_MIN;
  return static_cast<std::int32_t>(f);
}

const XlValue* XlFindAttribute(std::span<const XlValue> stack, std::int32_t id) {
  for (std::size_t i = stack.size(); i-- > 0;) {
    if (stack[i].attrId == id) return &stack[i];
  }
  return nullptr;
}

bool XlGetInteger(std::span<const XlValue> stack, std::int32_t id, std::int32_t& out) {
  const XlValue* v = XlFindAttribute(stack, id);
  if (v == nullptr) return false;
  if (v->form == XL_FORM_INTEGER) {
    out = AsInteger(v->words[0]);
  } else if (v->form == XL_FORM_REAL) {
    out = XlTruncate(XlReal32(v->words[0]));
  } else {
    return false;
  }
  return true;
}

bool XlGetReal(std::span<const XlValue> stack, std::int32_t id, double& out) {
  const XlValue* v = XlFindAttribute(stack, id);
  if (v == nullptr) return false;
  if (v->form == XL_FORM_INTEGER) {
    out = AsInteger(v->words[0]);
  } else if (v->form == XL_FORM_REAL) {
    out = XlReal32(v->words[0]);
  } else {
    return false;
  }
  return true;
}

bool XlGetIntegerPair(std::span<const XlValue> stack, std::int32_t id, std::int32_t& x,
                      std::int32_t& y) {
  const XlValue* v = XlFindAttribute(stack, id);
  if (v == nullptr) return false;
  if (v->form == XL_FORM_INTEGER_PAIR) {
    x = AsInteger(v->words[0]);
    y = AsInteger(v->words[1]);
  } else if (v->form == XL_FORM_REAL_PAIR) {
    x = XlTruncate(XlReal32(v->words[0]));
    y = XlTruncate(XlReal32(v->words[1]));
  } else {
    return false;
  }
  return true;
}

bool XlGetRealPair(std::span<const XlValue> stack, std::int32_t id, double& x, double& y) {
  const XlValue* v = XlFindAttribute(stack, id);
  if (v == nullptr) return false;
  if (v->form == XL_FORM_INTEGER_PAIR) {
    x = AsInteger(v->words[0]);
    y = AsInteger(v->words[1]);
  } else if (v->form == XL_FORM_REAL_PAIR) {
    x = XlReal32(v->words[0]);
    y = XlReal32(v->words[1]);
  } else {
    return false;
  }
  return true;
}

bool XlGetIntegerBox(std::span<const XlValue> stack, std::int32_t id, std::int32_t box[4]) {
  const XlValue* v = XlFindAttribute(stack, id);
  if (v == nullptr) return false;
  if (v->form != XL_FORM_INTEGER_BOX && v->form != XL_FORM_REAL_BOX) return false;
  for (int i = 0; i < 4; ++i) {
    box[i] = v->form == XL_FORM_INTEGER_BOX ? AsInteger(v->words[i])
                                            : XlTruncate(XlReal32(v->words[i]));
  }
  return true;
}

bool XlGetElementBits(const XlValue& v, std::int32_t index, std::uint32_t& out) {
  const std::size_t size = ElementSize(v.form);
  if (size == 0 || index < 0 || index >= v.count) return false;
  // count is a claim: the element must also lie inside the data block.
  const std::size_t at = static_cast<std::size_t>(index) * size;
  if (at + size > v.data.size()) return false;
  const std::uint8_t* p = v.data.data() + at;
  switch (v.form) {
    case XL_FORM_SBYTE_ARRAY:
      out = static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<std::int8_t>(p[0])));
      break;
    case XL_FORM_UBYTE_ARRAY:
      out = p[0];
      break;
    case XL_FORM_SINT16_ARRAY: {
      std::int16_t e;
      std::memcpy(&e, p, 2);
      out = static_cast<std::uint32_t>(static_cast<std::int32_t>(e));
      break;
    }
    case XL_FORM_UINT16_ARRAY: {
      std::uint16_t e;
      std::memcpy(&e, p, 2);
      out = e;
      break;
    }
    default:
      std::memcpy(&out, p, 4);
      break;
  }
  return true;
}

bool XlGetElement(const XlValue& v, std::int32_t index, std::int32_t& out) {
  std::uint32_t bits = 0;
  if (!XlGetElementBits(v, index, bits)) return false;
  out = v.form == XL_FORM_REAL32_ARRAY ? XlTruncate(XlReal32(bits)) : AsInteger(bits);
  return true;
}

bool XlGetText(std::span<const XlValue> stack, std::int32_t id, char* buffer, std::size_t size) {
  const XlValue* v = XlFindAttribute(stack, id);
  if (v == nullptr || size == 0 || ElementSize(v->form) == 0 || v->count <= 0) return false;
  std::uint32_t first = 0;
  if (!XlGetElementBits(*v, 0, first)) return false;  // no data behind the count
  std::size_t length = 0;
  std::uint32_t element = 0;
  while (length + 1 < size &&
         XlGetElementBits(*v, static_cast<std::int32_t>(length), element)) {
    buffer[length++] = static_cast<char>(element & 0xFF);
  }
  buffer[length] = '\0';
  return true;
}

}  // namespace veltrix
