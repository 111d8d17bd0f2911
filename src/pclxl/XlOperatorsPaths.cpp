// Path and text operators: attribute checks and the current point.
#include <bit>

#include "pclxl/XlAttributes.h"
#include "pclxl/XlOperators.h"

namespace veltrix {

namespace {

constexpr std::uint8_t kLineRelPath = 0x9D;
constexpr std::uint8_t kBezierRelPath = 0x95;
constexpr std::int32_t kMaxPointType = 3;  // UByte, SByte, UInt16, SInt16

bool HighByteFirst(const XlReader& reader) {
  return reader.swapBytes != (std::endian::native == std::endian::big);
}

double Coordinate(const XlReader& reader, const std::uint8_t* p, std::int32_t pointType) {
  switch (pointType) {
    case 0: return p[0];
    case 1: return static_cast<std::int8_t>(p[0]);
    default: {
      const std::uint16_t v = HighByteFirst(reader) ? static_cast<std::uint16_t>(p[0] << 8 | p[1])
                                                    : static_cast<std::uint16_t>(p[1] << 8 | p[0]);
      return pointType == 2 ? static_cast<double>(v) : static_cast<double>(static_cast<std::int16_t>(v));
    }
  }
}

// Moves the current point along a list of points held in the embedded data:
// to the last point, or by the sum of them for a relative path. A curve takes
// its points three at a time, and only every third one is an end point.
void FollowPoints(XlReader& reader, const XlValue& data, std::int32_t pointType, bool relative, int step) {
  XlGraphicsState& gs = XlCurrentState(reader);
  const std::size_t size = pointType <= 1 ? 1 : 2;
  double x = gs.pointX, y = gs.pointY;
  const std::size_t points = data.data.size() / (2 * size);
  for (std::size_t i = 0; i < points; ++i) {
    const std::uint8_t* p = data.data.data() + i * 2 * size;
    const double px = Coordinate(reader, p, pointType), py = Coordinate(reader, p + size, pointType);
    if (relative && (i + 1) % step == 0) {
      x += px;
      y += py;
    } else if (!relative) {
      x = px;
      y = py;
    }
  }
  gs.pointX = x;
  gs.pointY = y;
  gs.pointDefined = true;
}

void MoveTo(XlReader& reader, double x, double y, bool relative) {
  XlGraphicsState& gs = XlCurrentState(reader);
  gs.pointX = relative ? gs.pointX + x : x;
  gs.pointY = relative ? gs.pointY + y : y;
  gs.pointDefined = true;
}

// The point list form of LinePath and BezierPath: NumberOfPoints points of
// PointType in the embedded data.
const XlValue* RequirePointList(XlReader& reader, std::int32_t multiple, std::int32_t& pointType) {
  std::int32_t count = 0;
  if (!XlRequireInteger(reader, XL_ATTR_NUMBER_OF_POINTS, count)) return nullptr;
  if (!XlRequireInteger(reader, XL_ATTR_POINT_TYPE, pointType)) return nullptr;
  if (count < 1 || count % multiple != 0) {
    XlFail(reader, XL_ERR_ILLEGAL_DATA_LENGTH);
    return nullptr;
  }
  if (pointType < 0 || pointType > kMaxPointType) {
    XlFail(reader, XL_ERR_ILLEGAL_VALUE);
    return nullptr;
  }
  return XlRequireEmbeddedData(reader, static_cast<std::int64_t>(count) * (pointType <= 1 ? 2 : 4));
}

}  // namespace

bool XlArcPath(XlReader& reader, std::uint8_t) {
  std::int32_t box[4];
  double sx = 0, sy = 0, ex = 0, ey = 0;
  return XlRequireBox(reader, XL_ATTR_BOUNDING_BOX, box) &&
         XlRequireRealPair(reader, XL_ATTR_START_POINT, sx, sy) &&
         XlRequireRealPair(reader, XL_ATTR_END_POINT, ex, ey);
}

bool XlBoxPath(XlReader& reader, std::uint8_t) {
  std::int32_t box[4];
  return XlRequireBox(reader, XL_ATTR_BOUNDING_BOX, box);
}

bool XlRoundRectanglePath(XlReader& reader, std::uint8_t) {
  std::int32_t box[4];
  double w = 0, h = 0;
  return XlRequireBox(reader, XL_ATTR_BOUNDING_BOX, box) &&
         XlRequireRealPair(reader, XL_ATTR_ELLIPSE_DIMENSION, w, h);
}

bool XlLinePath(XlReader& reader, std::uint8_t tag) {
  const bool relative = tag == kLineRelPath;
  if (XlFindAttribute(XlStack(reader), XL_ATTR_END_POINT) != nullptr) {
    double x = 0, y = 0;
    if (!XlRequireRealPair(reader, XL_ATTR_END_POINT, x, y)) return false;
    MoveTo(reader, x, y, relative);
    return true;
  }
  std::int32_t pointType = 0;
  const XlValue* points = RequirePointList(reader, 1, pointType);
  if (points == nullptr) return false;
  FollowPoints(reader, *points, pointType, relative, 1);
  return true;
}

bool XlBezierPath(XlReader& reader, std::uint8_t tag) {
  const bool relative = tag == kBezierRelPath;
  const std::span<const XlValue> stack = XlStack(reader);
  if (XlFindAttribute(stack, XL_ATTR_CONTROL_POINT1) != nullptr &&
      XlFindAttribute(stack, XL_ATTR_CONTROL_POINT2) != nullptr &&
      XlFindAttribute(stack, XL_ATTR_END_POINT) != nullptr) {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0, x = 0, y = 0;
    if (!XlRequireRealPair(reader, XL_ATTR_CONTROL_POINT1, x1, y1) ||
        !XlRequireRealPair(reader, XL_ATTR_CONTROL_POINT2, x2, y2) ||
        !XlRequireRealPair(reader, XL_ATTR_END_POINT, x, y)) {
      return false;
    }
    MoveTo(reader, x, y, relative);
    return true;
  }
  std::int32_t pointType = 0;
  const XlValue* points = RequirePointList(reader, 3, pointType);
  if (points == nullptr) return false;
  FollowPoints(reader, *points, pointType, relative, 3);
  return true;
}

bool XlText(XlReader& reader, std::uint8_t) {
  const XlValue* text = XlFindArray(reader, XL_ATTR_TEXT_DATA);
  if (text == nullptr || text->count < 1) return XlFail(reader, XL_ERR_MISSING_ATTRIBUTE);
  return true;
}

}  // namespace veltrix
