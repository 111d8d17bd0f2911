// PCL XL attribute vocabulary: identifier names, enumeration names, the
// attribute line under each operator, and the routines with which operator
// handlers take attributes off the value stack.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "pclxl/XlAttributeTable.h"
#include "pclxl/XlValue.h"

namespace veltrix {

// Attribute identifiers (the value of an 8BitAttrId or 16BitAttrId tag),
// taken from the attribute table by name: the number stands only in the row.
inline constexpr std::int32_t XL_ATTR_CMY_COLOR = XlAttributeId("CMYColor");
inline constexpr std::int32_t XL_ATTR_PALETTE_DEPTH = XlAttributeId("PaletteDepth");
inline constexpr std::int32_t XL_ATTR_COLOR_SPACE = XlAttributeId("ColorSpace");
inline constexpr std::int32_t XL_ATTR_NULL_BRUSH = XlAttributeId("NullBrush");
inline constexpr std::int32_t XL_ATTR_NULL_PEN = XlAttributeId("NullPen");
inline constexpr std::int32_t XL_ATTR_PALETTE_DATA = XlAttributeId("PaletteData");
inline constexpr std::int32_t XL_ATTR_PALETTE_INDEX = XlAttributeId("PaletteIndex");
inline constexpr std::int32_t XL_ATTR_PATTERN_SELECT_ID = XlAttributeId("PatternSelectID");
inline constexpr std::int32_t XL_ATTR_GRAY_LEVEL = XlAttributeId("GrayLevel");
inline constexpr std::int32_t XL_ATTR_RGB_COLOR = XlAttributeId("RGBColor");
inline constexpr std::int32_t XL_ATTR_PATTERN_ORIGIN = XlAttributeId("PatternOrigin");
inline constexpr std::int32_t XL_ATTR_NEW_DESTINATION_SIZE = XlAttributeId("NewDestinationSize");
inline constexpr std::int32_t XL_ATTR_DEVICE_MATRIX = XlAttributeId("DeviceMatrix");
inline constexpr std::int32_t XL_ATTR_DITHER_MATRIX_DATA_TYPE = XlAttributeId("DitherMatrixDataType");
inline constexpr std::int32_t XL_ATTR_DITHER_ORIGIN = XlAttributeId("DitherOrigin");
inline constexpr std::int32_t XL_ATTR_MEDIA_DESTINATION = XlAttributeId("MediaDestination");
inline constexpr std::int32_t XL_ATTR_MEDIA_SIZE = XlAttributeId("MediaSize");
inline constexpr std::int32_t XL_ATTR_MEDIA_SOURCE = XlAttributeId("MediaSource");
inline constexpr std::int32_t XL_ATTR_MEDIA_TYPE = XlAttributeId("MediaType");
inline constexpr std::int32_t XL_ATTR_ORIENTATION = XlAttributeId("Orientation");
inline constexpr std::int32_t XL_ATTR_PAGE_ANGLE = XlAttributeId("PageAngle");
inline constexpr std::int32_t XL_ATTR_PAGE_ORIGIN = XlAttributeId("PageOrigin");
inline constexpr std::int32_t XL_ATTR_PAGE_SCALE = XlAttributeId("PageScale");
inline constexpr std::int32_t XL_ATTR_ROP3 = XlAttributeId("ROP3");
inline constexpr std::int32_t XL_ATTR_TX_MODE = XlAttributeId("TxMode");
inline constexpr std::int32_t XL_ATTR_CUSTOM_MEDIA_SIZE = XlAttributeId("CustomMediaSize");
inline constexpr std::int32_t XL_ATTR_CUSTOM_MEDIA_SIZE_UNITS = XlAttributeId("CustomMediaSizeUnits");
inline constexpr std::int32_t XL_ATTR_PAGE_COPIES = XlAttributeId("PageCopies");
inline constexpr std::int32_t XL_ATTR_DITHER_MATRIX_SIZE = XlAttributeId("DitherMatrixSize");
inline constexpr std::int32_t XL_ATTR_DITHER_MATRIX_DEPTH = XlAttributeId("DitherMatrixDepth");
inline constexpr std::int32_t XL_ATTR_SIMPLEX_PAGE_MODE = XlAttributeId("SimplexPageMode");
inline constexpr std::int32_t XL_ATTR_DUPLEX_PAGE_MODE = XlAttributeId("DuplexPageMode");
inline constexpr std::int32_t XL_ATTR_DUPLEX_PAGE_SIDE = XlAttributeId("DuplexPageSide");
inline constexpr std::int32_t XL_ATTR_ARC_DIRECTION = XlAttributeId("ArcDirection");
inline constexpr std::int32_t XL_ATTR_BOUNDING_BOX = XlAttributeId("BoundingBox");
inline constexpr std::int32_t XL_ATTR_DASH_OFFSET = XlAttributeId("DashOffset");
inline constexpr std::int32_t XL_ATTR_ELLIPSE_DIMENSION = XlAttributeId("EllipseDimension");
inline constexpr std::int32_t XL_ATTR_END_POINT = XlAttributeId("EndPoint");
inline constexpr std::int32_t XL_ATTR_FILL_MODE = XlAttributeId("FillMode");
inline constexpr std::int32_t XL_ATTR_LINE_CAP_STYLE = XlAttributeId("LineCapStyle");
inline constexpr std::int32_t XL_ATTR_LINE_JOIN_STYLE = XlAttributeId("LineJoinStyle");
inline constexpr std::int32_t XL_ATTR_MITER_LENGTH = XlAttributeId("MiterLength");
inline constexpr std::int32_t XL_ATTR_LINE_DASH_STYLE = XlAttributeId("LineDashStyle");
inline constexpr std::int32_t XL_ATTR_PEN_WIDTH = XlAttributeId("PenWidth");
inline constexpr std::int32_t XL_ATTR_POINT = XlAttributeId("Point");
inline constexpr std::int32_t XL_ATTR_NUMBER_OF_POINTS = XlAttributeId("NumberOfPoints");
inline constexpr std::int32_t XL_ATTR_SOLID_LINE = XlAttributeId("SolidLine");
inline constexpr std::int32_t XL_ATTR_START_POINT = XlAttributeId("StartPoint");
inline constexpr std::int32_t XL_ATTR_POINT_TYPE = XlAttributeId("PointType");
inline constexpr std::int32_t XL_ATTR_CONTROL_POINT1 = XlAttributeId("ControlPoint1");
inline constexpr std::int32_t XL_ATTR_CONTROL_POINT2 = XlAttributeId("ControlPoint2");
inline constexpr std::int32_t XL_ATTR_CLIP_REGION = XlAttributeId("ClipRegion");
inline constexpr std::int32_t XL_ATTR_CLIP_MODE = XlAttributeId("ClipMode");
inline constexpr std::int32_t XL_ATTR_COLOR_DEPTH_ARRAY = XlAttributeId("ColorDepthArray");
inline constexpr std::int32_t XL_ATTR_COLOR_DEPTH = XlAttributeId("ColorDepth");
inline constexpr std::int32_t XL_ATTR_BLOCK_HEIGHT = XlAttributeId("BlockHeight");
inline constexpr std::int32_t XL_ATTR_COLOR_MAPPING = XlAttributeId("ColorMapping");
inline constexpr std::int32_t XL_ATTR_COMPRESS_MODE = XlAttributeId("CompressMode");
inline constexpr std::int32_t XL_ATTR_DESTINATION_BOX = XlAttributeId("DestinationBox");
inline constexpr std::int32_t XL_ATTR_DESTINATION_SIZE = XlAttributeId("DestinationSize");
inline constexpr std::int32_t XL_ATTR_PATTERN_PERSISTENCE = XlAttributeId("PatternPersistence");
inline constexpr std::int32_t XL_ATTR_PATTERN_DEFINE_ID = XlAttributeId("PatternDefineID");
inline constexpr std::int32_t XL_ATTR_SOURCE_HEIGHT = XlAttributeId("SourceHeight");
inline constexpr std::int32_t XL_ATTR_SOURCE_WIDTH = XlAttributeId("SourceWidth");
inline constexpr std::int32_t XL_ATTR_START_LINE = XlAttributeId("StartLine");
inline constexpr std::int32_t XL_ATTR_PAD_BYTES_MULTIPLE = XlAttributeId("PadBytesMultiple");
inline constexpr std::int32_t XL_ATTR_NUMBER_OF_X_PAIRS = XlAttributeId("NumberOfXPairs");
inline constexpr std::int32_t XL_ATTR_Y_START = XlAttributeId("YStart");
inline constexpr std::int32_t XL_ATTR_X_START = XlAttributeId("XStart");
inline constexpr std::int32_t XL_ATTR_X_END = XlAttributeId("XEnd");
inline constexpr std::int32_t XL_ATTR_NUMBER_OF_SCAN_LINES = XlAttributeId("NumberOfScanLines");
inline constexpr std::int32_t XL_ATTR_COMMENT_DATA = XlAttributeId("CommentData");
inline constexpr std::int32_t XL_ATTR_DATA_ORG = XlAttributeId("DataOrg");
inline constexpr std::int32_t XL_ATTR_MEASURE = XlAttributeId("Measure");
inline constexpr std::int32_t XL_ATTR_SOURCE_TYPE = XlAttributeId("SourceType");
inline constexpr std::int32_t XL_ATTR_UNITS_PER_MEASURE = XlAttributeId("UnitsPerMeasure");
inline constexpr std::int32_t XL_ATTR_QUERY_KEY = XlAttributeId("QueryKey");
inline constexpr std::int32_t XL_ATTR_STREAM_NAME = XlAttributeId("StreamName");
inline constexpr std::int32_t XL_ATTR_STREAM_DATA_LENGTH = XlAttributeId("StreamDataLength");
inline constexpr std::int32_t XL_ATTR_ERROR_REPORT = XlAttributeId("ErrorReport");
inline constexpr std::int32_t XL_ATTR_IO_READ_TIME_OUT = XlAttributeId("IOReadTimeOut");
inline constexpr std::int32_t XL_ATTR_VENDOR_BEGIN_IMAGE = XlAttributeId("Vendor Begin Image");
inline constexpr std::int32_t XL_ATTR_VENDOR_DATA_LENGTH = XlAttributeId("Vendor Data Length");
inline constexpr std::int32_t XL_ATTR_VENDOR_STRIP_COUNT = XlAttributeId("Vendor Strip Count");
inline constexpr std::int32_t XL_ATTR_VENDOR_STRIP_HEIGHT = XlAttributeId("Vendor Strip Height");
inline constexpr std::int32_t XL_ATTR_VENDOR_VERSION = XlAttributeId("Vendor Version");
inline constexpr std::int32_t XL_ATTR_VENDOR_COLOR_SPACE = XlAttributeId("Vendor Color Space");
inline constexpr std::int32_t XL_ATTR_VENDOR_INTERLEAVE = XlAttributeId("Vendor Interleave");
inline constexpr std::int32_t XL_ATTR_PASS_THROUGH_COMMAND = XlAttributeId("PassThroughCommand");
inline constexpr std::int32_t XL_ATTR_PASS_THROUGH_ARRAY = XlAttributeId("PassThroughArray");
inline constexpr std::int32_t XL_ATTR_DIAGNOSTICS = XlAttributeId("Diagnostics");
inline constexpr std::int32_t XL_ATTR_CHAR_ANGLE = XlAttributeId("CharAngle");
inline constexpr std::int32_t XL_ATTR_CHAR_CODE = XlAttributeId("CharCode");
inline constexpr std::int32_t XL_ATTR_CHAR_DATA_SIZE = XlAttributeId("CharDataSize");
inline constexpr std::int32_t XL_ATTR_CHAR_SCALE = XlAttributeId("CharScale");
inline constexpr std::int32_t XL_ATTR_CHAR_SHEAR = XlAttributeId("CharShear");
inline constexpr std::int32_t XL_ATTR_CHAR_SIZE = XlAttributeId("CharSize");
inline constexpr std::int32_t XL_ATTR_FONT_HEADER_LENGTH = XlAttributeId("FontHeaderLength");
inline constexpr std::int32_t XL_ATTR_FONT_NAME = XlAttributeId("FontName");
inline constexpr std::int32_t XL_ATTR_FONT_FORMAT = XlAttributeId("FontFormat");
inline constexpr std::int32_t XL_ATTR_SYMBOL_SET = XlAttributeId("SymbolSet");
inline constexpr std::int32_t XL_ATTR_TEXT_DATA = XlAttributeId("TextData--------------->:");
inline constexpr std::int32_t XL_ATTR_CHAR_SUB_MODE_ARRAY = XlAttributeId("CharSubModeArray");
inline constexpr std::int32_t XL_ATTR_X_SPACING_DATA = XlAttributeId("XSpacingData");
inline constexpr std::int32_t XL_ATTR_Y_SPACING_DATA = XlAttributeId("YSpacingData");
inline constexpr std::int32_t XL_ATTR_CHAR_BOLD_VALUE = XlAttributeId("CharBoldValue");

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

// Writes the line XlFormatAttribute makes (nothing when it is empty).
struct DecodeContext;
void XlWriteAttribute(const DecodeContext& ctx, const XlValue& v);

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
