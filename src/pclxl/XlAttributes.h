// PCL XL attribute vocabulary: identifier names, enumeration names, the
// attribute line under each operator, and the routines with which operator
// handlers take attributes off the value stack.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "pclxl/XlValue.h"

namespace veltrix {

// Attribute identifiers (the value of an 8BitAttrId or 16BitAttrId tag).
inline constexpr std::int32_t XL_ATTR_CMY_COLOR = 1;
inline constexpr std::int32_t XL_ATTR_PALETTE_DEPTH = 2;
inline constexpr std::int32_t XL_ATTR_COLOR_SPACE = 3;
inline constexpr std::int32_t XL_ATTR_NULL_BRUSH = 4;
inline constexpr std::int32_t XL_ATTR_NULL_PEN = 5;
inline constexpr std::int32_t XL_ATTR_PALETTE_DATA = 6;
inline constexpr std::int32_t XL_ATTR_PALETTE_INDEX = 7;
inline constexpr std::int32_t XL_ATTR_PATTERN_SELECT_ID = 8;
inline constexpr std::int32_t XL_ATTR_GRAY_LEVEL = 9;
inline constexpr std::int32_t XL_ATTR_RGB_COLOR = 11;
inline constexpr std::int32_t XL_ATTR_PATTERN_ORIGIN = 12;
inline constexpr std::int32_t XL_ATTR_NEW_DESTINATION_SIZE = 13;
inline constexpr std::int32_t XL_ATTR_DEVICE_MATRIX = 33;
inline constexpr std::int32_t XL_ATTR_DITHER_MATRIX_DATA_TYPE = 34;
inline constexpr std::int32_t XL_ATTR_DITHER_ORIGIN = 35;
inline constexpr std::int32_t XL_ATTR_MEDIA_DESTINATION = 36;
inline constexpr std::int32_t XL_ATTR_MEDIA_SIZE = 37;
inline constexpr std::int32_t XL_ATTR_MEDIA_SOURCE = 38;
inline constexpr std::int32_t XL_ATTR_MEDIA_TYPE = 39;
inline constexpr std::int32_t XL_ATTR_ORIENTATION = 40;
inline constexpr std::int32_t XL_ATTR_PAGE_ANGLE = 41;
inline constexpr std::int32_t XL_ATTR_PAGE_ORIGIN = 42;
inline constexpr std::int32_t XL_ATTR_PAGE_SCALE = 43;
inline constexpr std::int32_t XL_ATTR_ROP3 = 44;
inline constexpr std::int32_t XL_ATTR_TX_MODE = 45;
inline constexpr std::int32_t XL_ATTR_CUSTOM_MEDIA_SIZE = 47;
inline constexpr std::int32_t XL_ATTR_CUSTOM_MEDIA_SIZE_UNITS = 48;
inline constexpr std::int32_t XL_ATTR_PAGE_COPIES = 49;
inline constexpr std::int32_t XL_ATTR_DITHER_MATRIX_SIZE = 50;
inline constexpr std::int32_t XL_ATTR_DITHER_MATRIX_DEPTH = 51;
inline constexpr std::int32_t XL_ATTR_SIMPLEX_PAGE_MODE = 52;
inline constexpr std::int32_t XL_ATTR_DUPLEX_PAGE_MODE = 53;
inline constexpr std::int32_t XL_ATTR_DUPLEX_PAGE_SIDE = 54;
inline constexpr std::int32_t XL_ATTR_ARC_DIRECTION = 65;
inline constexpr std::int32_t XL_ATTR_BOUNDING_BOX = 66;
inline constexpr std::int32_t XL_ATTR_DASH_OFFSET = 67;
inline constexpr std::int32_t XL_ATTR_ELLIPSE_DIMENSION = 68;
inline constexpr std::int32_t XL_ATTR_END_POINT = 69;
inline constexpr std::int32_t XL_ATTR_FILL_MODE = 70;
inline constexpr std::int32_t XL_ATTR_LINE_CAP_STYLE = 71;
inline constexpr std::int32_t XL_ATTR_LINE_JOIN_STYLE = 72;
inline constexpr std::int32_t XL_ATTR_MITER_LENGTH = 73;
inline constexpr std::int32_t XL_ATTR_LINE_DASH_STYLE = 74;
inline constexpr std::int32_t XL_ATTR_PEN_WIDTH = 75;
inline constexpr std::int32_t XL_ATTR_POINT = 76;
inline constexpr std::int32_t XL_ATTR_NUMBER_OF_POINTS = 77;
inline constexpr std::int32_t XL_ATTR_SOLID_LINE = 78;
inline constexpr std::int32_t XL_ATTR_START_POINT = 79;
inline constexpr std::int32_t XL_ATTR_POINT_TYPE = 80;
inline constexpr std::int32_t XL_ATTR_CONTROL_POINT1 = 81;
inline constexpr std::int32_t XL_ATTR_CONTROL_POINT2 = 82;
inline constexpr std::int32_t XL_ATTR_CLIP_REGION = 83;
inline constexpr std::int32_t XL_ATTR_CLIP_MODE = 84;
inline constexpr std::int32_t XL_ATTR_COLOR_DEPTH_ARRAY = 97;
inline constexpr std::int32_t XL_ATTR_COLOR_DEPTH = 98;
inline constexpr std::int32_t XL_ATTR_BLOCK_HEIGHT = 99;
inline constexpr std::int32_t XL_ATTR_COLOR_MAPPING = 100;
inline constexpr std::int32_t XL_ATTR_COMPRESS_MODE = 101;
inline constexpr std::int32_t XL_ATTR_DESTINATION_BOX = 102;
inline constexpr std::int32_t XL_ATTR_DESTINATION_SIZE = 103;
inline constexpr std::int32_t XL_ATTR_PATTERN_PERSISTENCE = 104;
inline constexpr std::int32_t XL_ATTR_PATTERN_DEFINE_ID = 105;
inline constexpr std::int32_t XL_ATTR_SOURCE_HEIGHT = 107;
inline constexpr std::int32_t XL_ATTR_SOURCE_WIDTH = 108;
inline constexpr std::int32_t XL_ATTR_START_LINE = 109;
inline constexpr std::int32_t XL_ATTR_PAD_BYTES_MULTIPLE = 110;
inline constexpr std::int32_t XL_ATTR_NUMBER_OF_X_PAIRS = 111;
inline constexpr std::int32_t XL_ATTR_Y_START = 112;
inline constexpr std::int32_t XL_ATTR_X_START = 113;
inline constexpr std::int32_t XL_ATTR_X_END = 114;
inline constexpr std::int32_t XL_ATTR_NUMBER_OF_SCAN_LINES = 115;
inline constexpr std::int32_t XL_ATTR_COMMENT_DATA = 129;
inline constexpr std::int32_t XL_ATTR_DATA_ORG = 130;
inline constexpr std::int32_t XL_ATTR_MEASURE = 134;
inline constexpr std::int32_t XL_ATTR_SOURCE_TYPE = 136;
inline constexpr std::int32_t XL_ATTR_UNITS_PER_MEASURE = 137;
inline constexpr std::int32_t XL_ATTR_QUERY_KEY = 138;
inline constexpr std::int32_t XL_ATTR_STREAM_NAME = 139;
inline constexpr std::int32_t XL_ATTR_STREAM_DATA_LENGTH = 140;
inline constexpr std::int32_t XL_ATTR_ERROR_REPORT = 143;
inline constexpr std::int32_t XL_ATTR_IO_READ_TIME_OUT = 144;
inline constexpr std::int32_t XL_ATTR_VENDOR_BEGIN_IMAGE = 145;
inline constexpr std::int32_t XL_ATTR_VENDOR_DATA_LENGTH = 146;
inline constexpr std::int32_t XL_ATTR_VENDOR_STRIP_COUNT = 147;
inline constexpr std::int32_t XL_ATTR_VENDOR_STRIP_HEIGHT = 148;
inline constexpr std::int32_t XL_ATTR_VENDOR_VERSION = 149;
inline constexpr std::int32_t XL_ATTR_VENDOR_COLOR_SPACE = 151;
inline constexpr std::int32_t XL_ATTR_VENDOR_INTERLEAVE = 152;
inline constexpr std::int32_t XL_ATTR_PASS_THROUGH_COMMAND = 158;
inline constexpr std::int32_t XL_ATTR_PASS_THROUGH_ARRAY = 159;
inline constexpr std::int32_t XL_ATTR_DIAGNOSTICS = 160;
inline constexpr std::int32_t XL_ATTR_CHAR_ANGLE = 161;
inline constexpr std::int32_t XL_ATTR_CHAR_CODE = 162;
inline constexpr std::int32_t XL_ATTR_CHAR_DATA_SIZE = 163;
inline constexpr std::int32_t XL_ATTR_CHAR_SCALE = 164;
inline constexpr std::int32_t XL_ATTR_CHAR_SHEAR = 165;
inline constexpr std::int32_t XL_ATTR_CHAR_SIZE = 166;
inline constexpr std::int32_t XL_ATTR_FONT_HEADER_LENGTH = 167;
inline constexpr std::int32_t XL_ATTR_FONT_NAME = 168;
inline constexpr std::int32_t XL_ATTR_FONT_FORMAT = 169;
inline constexpr std::int32_t XL_ATTR_SYMBOL_SET = 170;
inline constexpr std::int32_t XL_ATTR_TEXT_DATA = 171;
inline constexpr std::int32_t XL_ATTR_CHAR_SUB_MODE_ARRAY = 172;
inline constexpr std::int32_t XL_ATTR_X_SPACING_DATA = 175;
inline constexpr std::int32_t XL_ATTR_Y_SPACING_DATA = 176;
inline constexpr std::int32_t XL_ATTR_CHAR_BOLD_VALUE = 177;

// ---- Vocabulary -----------------------------------------------------------

// The name of an attribute identifier; nullptr when the identifier is not in
// the attribute table. Names are printed exactly as they stand (some carry
// blanks, TextData carries its own arrow).
const char* XlAttributeName(std::int32_t id);

// The enumeration names of an attribute, indexed by value; empty when the
// attribute is not enumerated.
std::span<const std::string_view> XlEnumerationNames(std::int32_t id);

// ---- Attribute line -------------------------------------------------------

// The attribute line record for one stack value: empty label, the attribute
// name ("Unknown attrib 0x%02X" for an unlisted identifier in 0..255, empty
// otherwise) and the value text. The caller writes it with XlWriteLine unless
// all three texts are empty.
XlListingLine XlFormatAttribute(const XlValue& v);

// ---- Access routines ------------------------------------------------------
// Each looks for the most recently pushed value (the highest index) whose
// attrId is id; a false result means the attribute is treated as missing,
// and the out parameters are left untouched.

const XlValue* XlFindAttribute(std::span<const XlValue> stack, std::int32_t id);

// Form 0 as it stands; form 2 (Real32) truncated toward zero.
bool XlGetInteger(std::span<const XlValue> stack, std::int32_t id, std::int32_t& out);
// Form 0 converted; form 2 as it stands (a Real32 widened to double exactly).
bool XlGetReal(std::span<const XlValue> stack, std::int32_t id, double& out);
// Form 3 as it stands; form 4 truncated toward zero.
bool XlGetIntegerPair(std::span<const XlValue> stack, std::int32_t id, std::int32_t& x,
                      std::int32_t& y);
// Form 3 converted; form 4 as it stands.
bool XlGetRealPair(std::span<const XlValue> stack, std::int32_t id, double& x, double& y);
// Form 5 as it stands; form 6 truncated toward zero. box: x1, y1, x2, y2.
bool XlGetIntegerBox(std::span<const XlValue> stack, std::int32_t id, std::int32_t box[4]);
// Element `index` of an array value (forms 7-13): SByte and SInt16
// sign-extended, UByte and UInt16 zero-extended, 32-bit as they stand, Real32
// truncated. Fails for a negative index, an index at or beyond count, an index
// whose bytes are not in data, and a value that is not an array.
bool XlGetElement(const XlValue& v, std::int32_t index, std::int32_t& out);
// Element `index` of an array value widened to 32 bits as its type says,
// Real32 as its bit pattern; fails as XlGetElement does.
bool XlGetElementBits(const XlValue& v, std::int32_t index, std::uint32_t& out);
// The low byte of each element of a non-empty array value, at most size - 1
// of them, then a terminating zero. Fails (buffer untouched) for an empty
// array, a non-array value, or size 0.
bool XlGetText(std::span<const XlValue> stack, std::int32_t id, char* buffer, std::size_t size);

// A Real32 bit pattern as a float.
float XlReal32(std::uint32_t bits);
// A float truncated toward zero; NaN gives 0 and values outside the 32-bit
// range give the nearest limit, so hostile reals cannot overflow.
std::int32_t XlTruncate(float f);

}  // namespace veltrix
