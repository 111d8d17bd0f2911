// One entry of the PCL XL value stack, and the PCL XL listing line record.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace veltrix {

enum XlElementType : std::uint8_t {
  XL_UBYTE = 0,
  XL_SBYTE = 1,
  XL_UINT16 = 2,
  XL_SINT16 = 3,
  XL_UINT32 = 4,  // kept as a signed 32-bit integer, so limited to 0..2^31-1
  XL_SINT32 = 5,
  XL_REAL32 = 6,
  XL_COMPOSITE = 7,  // pairs, boxes and embedded data
};

// Forms of a value.
enum XlForm : std::uint8_t {
  XL_FORM_INTEGER = 0,
  XL_FORM_REAL = 2,
  XL_FORM_INTEGER_PAIR = 3,
  XL_FORM_REAL_PAIR = 4,
  XL_FORM_INTEGER_BOX = 5,
  XL_FORM_REAL_BOX = 6,
  XL_FORM_SBYTE_ARRAY = 7,
  XL_FORM_SINT16_ARRAY = 8,
  XL_FORM_SINT32_ARRAY = 9,
  XL_FORM_UBYTE_ARRAY = 10,
  XL_FORM_UINT16_ARRAY = 11,
  XL_FORM_UINT32_ARRAY = 12,
  XL_FORM_REAL32_ARRAY = 13,
  XL_FORM_EMBEDDED = 14,
};

struct XlValue {
  std::int32_t attrId = -1;  // -1 until an attribute identifier tag names it
  std::uint8_t form = XL_FORM_INTEGER;
  std::uint8_t elementType = XL_UBYTE;
  std::int32_t count = 0;    // elements of an array, bytes of embedded data
  // Scalar: word 0; pair: x, y; box: x1, y1, x2, y2. A Real32 keeps its bit
  // pattern.
  std::uint32_t words[4] = {0, 0, 0, 0};
  // Array elements (host byte order, element size 1, 2 or 4 bytes) or the
  // embedded data bytes.
  std::vector<std::uint8_t> data;
};

// A PCL XL listing line: label, name and value (each may be empty).
struct XlListingLine {
  std::string label;
  std::string name;
  std::string value;
};

}  // namespace veltrix
