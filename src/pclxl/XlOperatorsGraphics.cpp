// Operators that set parts of the current graphics state.
#include <algorithm>
#include <cmath>

#include "decode/trackers/JobFacts.h"
#include "pclxl/XlAttributes.h"
#include "pclxl/XlOperators.h"

namespace veltrix {

namespace {

constexpr std::uint8_t kSetBrushSource = 0x63;
constexpr std::uint8_t kSetPaintTxMode = 0x78;

// PaletteDepth 0, 1 and 2 index 2, 16 and 256 entries.
std::size_t PaletteEntries(std::int32_t depth) {
  switch (depth) {
    case 0: return 2;
    case 1: return 16;
    default: return 256;
  }
}

std::uint8_t ElementByte(const XlValue& v, std::int32_t i) {
  std::int32_t e = 0;
  XlGetElement(v, i, e);
  return static_cast<std::uint8_t>(e);
}

}  // namespace

bool XlSetCursor(XlReader& reader, std::uint8_t) {
  XlGraphicsState& gs = XlCurrentState(reader);
  if (!XlRequireRealPair(reader, XL_ATTR_POINT, gs.pointX, gs.pointY)) return false;
  gs.pointDefined = true;
  return true;
}

bool XlSetCursorRel(XlReader& reader, std::uint8_t) {
  XlGraphicsState& gs = XlCurrentState(reader);
  if (!gs.pointDefined) return XlFail(reader, XL_ERR_CURSOR_UNDEFINED);
  double dx = 0, dy = 0;
  if (!XlRequireRealPair(reader, XL_ATTR_POINT, dx, dy)) return false;
  gs.pointX += dx;
  gs.pointY += dy;
  return true;
}

bool XlSetPageOrigin(XlReader& reader, std::uint8_t) {
  XlGraphicsState& gs = XlCurrentState(reader);
  double x = 0, y = 0;
  if (!XlRequireRealPair(reader, XL_ATTR_PAGE_ORIGIN, x, y)) return false;
  gs.originX += x;
  gs.originY += y;
  return true;
}

bool XlSetPageRotation(XlReader& reader, std::uint8_t) {
  std::int32_t angle = 0;
  if (!XlRequireInteger(reader, XL_ATTR_PAGE_ANGLE, angle)) return false;
  XlGraphicsState& gs = XlCurrentState(reader);
  gs.rotation = (gs.rotation + angle / 90 % 4 + 4) % 4;
  return true;
}

bool XlSetPageScale(XlReader& reader, std::uint8_t) {
  double x = 0, y = 0;
  if (XlGetRealPair(XlStack(reader), XL_ATTR_PAGE_SCALE, x, y)) {
    if (x != 0 && y != 0) {
      XlGraphicsState& gs = XlCurrentState(reader);
      gs.scaleX = std::round(x * 100000) / 100000;
      gs.scaleY = std::round(y * 100000) / 100000;
    }
    return true;
  }
  std::int32_t measure = 0, unitsX = 0, unitsY = 0;
  return XlRequireInteger(reader, XL_ATTR_MEASURE, measure) &&
         XlRequireIntegerPair(reader, XL_ATTR_UNITS_PER_MEASURE, unitsX, unitsY);
}

bool XlSetCharAngle(XlReader& reader, std::uint8_t) {
  double angle = 0;
  if (!XlRequireReal(reader, XL_ATTR_CHAR_ANGLE, angle)) return false;
  angle = std::fmod(angle, 360.0);
  XlCurrentState(reader).charAngle = angle < 0 ? angle + 360.0 : angle;
  return true;
}

bool XlSetCharScale(XlReader& reader, std::uint8_t) {
  XlGraphicsState& gs = XlCurrentState(reader);
  return XlRequireRealPair(reader, XL_ATTR_CHAR_SCALE, gs.charScaleX, gs.charScaleY);
}

bool XlSetCharShear(XlReader& reader, std::uint8_t) {
  XlGraphicsState& gs = XlCurrentState(reader);
  return XlRequireRealPair(reader, XL_ATTR_CHAR_SHEAR, gs.charShearX, gs.charShearY);
}

bool XlSetFillMode(XlReader& reader, std::uint8_t) {
  return XlRequireInteger(reader, XL_ATTR_FILL_MODE, XlCurrentState(reader).fillMode);
}

bool XlSetMiterLimit(XlReader& reader, std::uint8_t) {
  return XlRequireReal(reader, XL_ATTR_MITER_LENGTH, XlCurrentState(reader).miterLength);
}

bool XlSetLineCap(XlReader& reader, std::uint8_t) {
  return XlRequireInteger(reader, XL_ATTR_LINE_CAP_STYLE, XlCurrentState(reader).lineCap);
}

bool XlSetLineJoin(XlReader& reader, std::uint8_t) {
  return XlRequireInteger(reader, XL_ATTR_LINE_JOIN_STYLE, XlCurrentState(reader).lineJoin);
}

bool XlSetPenWidth(XlReader& reader, std::uint8_t) {
  return XlRequireReal(reader, XL_ATTR_PEN_WIDTH, XlCurrentState(reader).penWidth);
}

bool XlSetClipMode(XlReader& reader, std::uint8_t) {
  return XlRequireInteger(reader, XL_ATTR_CLIP_MODE, XlCurrentState(reader).clipMode);
}

bool XlSetClipReplace(XlReader& reader, std::uint8_t) {
  return XlRequireInteger(reader, XL_ATTR_CLIP_REGION, XlCurrentState(reader).clipRegion);
}

bool XlSetClipRectangle(XlReader& reader, std::uint8_t) {
  XlGraphicsState& gs = XlCurrentState(reader);
  return XlRequireInteger(reader, XL_ATTR_CLIP_REGION, gs.clipRegion) &&
         XlRequireBox(reader, XL_ATTR_BOUNDING_BOX, gs.clipBox);
}

bool XlSetTxMode(XlReader& reader, std::uint8_t tag) {
  XlGraphicsState& gs = XlCurrentState(reader);
  return XlRequireInteger(reader, XL_ATTR_TX_MODE, tag == kSetPaintTxMode ? gs.paintTxMode : gs.sourceTxMode);
}

bool XlSetROP(XlReader& reader, std::uint8_t) {
  return XlRequireInteger(reader, XL_ATTR_ROP3, XlCurrentState(reader).rop3);
}

bool XlSetLineDash(XlReader& reader, std::uint8_t) {
  XlGraphicsState& gs = XlCurrentState(reader);
  gs.dashes.clear();
  gs.dashOffset = 0;
  const std::span<const XlValue> stack = XlStack(reader);
  if (XlFindAttribute(stack, XL_ATTR_SOLID_LINE) != nullptr) return true;
  const XlValue* style = XlFindArray(reader, XL_ATTR_LINE_DASH_STYLE);
  if (style == nullptr) return XlFail(reader, XL_ERR_MISSING_ATTRIBUTE);
  XlGetReal(stack, XL_ATTR_DASH_OFFSET, gs.dashOffset);
  for (std::int32_t i = 0; i < style->count; ++i) {
    std::int32_t dash = 0;
    if (!XlGetElement(*style, i, dash)) break;
    gs.dashes.push_back(dash);
  }
  return true;
}

bool XlSetPaintSource(XlReader& reader, std::uint8_t tag) {
  const std::span<const XlValue> stack = XlStack(reader);
  XlGraphicsState& gs = XlCurrentState(reader);
  XlPaintSource& source = tag == kSetBrushSource ? gs.brush : gs.pen;
  const std::int32_t nullId = tag == kSetBrushSource ? XL_ATTR_NULL_BRUSH : XL_ATTR_NULL_PEN;
  XlPaintSource next;
  if (XlFindAttribute(stack, nullId) != nullptr) {
    next.kind = XL_PAINT_NULL;
  } else if (XlFindAttribute(stack, XL_ATTR_GRAY_LEVEL) != nullptr) {
    next.kind = XL_PAINT_GRAY;
    XlGetReal(stack, XL_ATTR_GRAY_LEVEL, next.grayLevel);
  } else if (XlFindAttribute(stack, XL_ATTR_PATTERN_SELECT_ID) != nullptr) {
    next.kind = XL_PAINT_PATTERN;
    XlGetInteger(stack, XL_ATTR_PATTERN_SELECT_ID, next.patternId);
  } else if (const XlValue* rgb = XlFindAttribute(stack, XL_ATTR_RGB_COLOR)) {
    const XlValue* array = XlFindArray(reader, XL_ATTR_RGB_COLOR);
    if (array != rgb || rgb->count < 3) return XlFail(reader, XL_ERR_ILLEGAL_DATA_LENGTH);
    next.kind = XL_PAINT_RGB;
    for (std::int32_t i = 0; i < 3; ++i) XlGetElement(*rgb, i, next.rgb[i]);
  } else {
    return XlFail(reader, XL_ERR_MISSING_ATTRIBUTE);
  }
  source = next;
  return true;
}

bool XlSetColorSpace(XlReader& reader, std::uint8_t) {
  XlGraphicsState& gs = XlCurrentState(reader);
  gs.palette.clear();
  std::int32_t space = 0;
  if (!XlRequireInteger(reader, XL_ATTR_COLOR_SPACE, space)) return false;
  if (reader.view.ctx.facts) NoteXlColourSpace(*reader.view.ctx.facts, space);
  if (space == 6) space = 2;
  if (space == 7) space = 1;
  gs.colorSpace = space;
  std::int32_t depth = 0;
  if (!XlGetInteger(XlStack(reader), XL_ATTR_PALETTE_DEPTH, depth)) return true;
  const XlValue* data = XlFindArray(reader, XL_ATTR_PALETTE_DATA);
  if (data == nullptr) return XlFail(reader, XL_ERR_MISSING_ATTRIBUTE);
  const std::size_t limit = PaletteEntries(depth) * (space == 2 ? 3 : 1);
  const std::size_t kept = std::min(limit, static_cast<std::size_t>(std::max(data->count, 0)));
  gs.palette.reserve(kept);
  for (std::size_t i = 0; i < kept; ++i) gs.palette.push_back(ElementByte(*data, static_cast<std::int32_t>(i)));
  return true;
}

}  // namespace veltrix
