// Session and page operators, the graphics state stack, and the attribute
// helpers that every operator handler uses.
#include <cctype>
#include <cmath>

#include "decode/trackers/JobFacts.h"
#include "decode/trackers/PageEject.h"
#include "pclxl/XlAttributes.h"
#include "pclxl/XlOperators.h"
#include "pclxl/XlView.h"

namespace veltrix {

namespace {

constexpr std::size_t kNameBuffer = 128;       // font and stream names: 127 characters
constexpr std::size_t kMediaNameBuffer = 64;   // a MediaSize given as a name: 63 characters

bool IsArrayForm(std::uint8_t form) { return form >= XL_FORM_SBYTE_ARRAY && form <= XL_FORM_REAL32_ARRAY; }

// Units per inch from a measure and a count of units per measure: the
// millimetre is taken as 100/2525 of an inch.
bool UnitsPerInch(std::int32_t measure, std::int64_t units, std::int64_t& perInch) {
  switch (measure) {
    case 0: perInch = units; return true;
    case 1: perInch = units * 2525 / 100; return true;
    case 2: perInch = units * 2525 / 1000; return true;
    default: return false;
  }
}

// A custom media size in units of 1/7200 inch must come to at least one unit
// in each direction.
bool CustomMediaSizeIsValid(std::int32_t units, double width, double height) {
  static constexpr double kFactors[] = {7200.0, 181800.0, 2525.0 * 7.2};
  if (units < 0 || units > 2) return false;
  return std::trunc(width * kFactors[units]) >= 1.0 && std::trunc(height * kFactors[units]) >= 1.0;
}

// --facts: the settings a BeginPage gives its page.
void NoteBeginPageFacts(XlReader& reader, std::int32_t orientation) {
  const std::span<const XlValue> stack = XlStack(reader);
  PageSettings page;
  page.orientation = orientation;
  XlGetInteger(stack, XL_ATTR_MEDIA_SIZE, page.pageSize);
  XlGetInteger(stack, XL_ATTR_MEDIA_SOURCE, page.paperSource);
  if (XlFindAttribute(stack, XL_ATTR_SIMPLEX_PAGE_MODE) != nullptr) {
    page.duplexMode = 0;
  } else if (XlFindAttribute(stack, XL_ATTR_DUPLEX_PAGE_MODE) != nullptr) {
    page.duplexMode = 1;
    XlGetInteger(stack, XL_ATTR_DUPLEX_PAGE_SIDE, page.duplexSide);
  }
  NoteXlPage(*reader.view.ctx.facts, page);
}

std::uint64_t XlOffset(const XlReader& reader) { return reader.view.ctx.input->Offset(); }

// --facts: the copies an EndPage gives its page (none when it names none);
// a printed page is counted here when no page eject is listed for it.
void NoteEndPageFacts(XlReader& reader, std::int32_t copies) {
  const DecodeContext& ctx = reader.view.ctx;
  const bool given = XlFindAttribute(XlStack(reader), XL_ATTR_PAGE_COPIES) != nullptr;
  const bool ejectListed = ctx.listing != nullptr && (ctx.flags & DF_PAGE_SUM) != 0;
  NoteXlEndPage(*ctx.facts, XlOffset(reader), given ? copies : kFactUnset, copies != 0 && !ejectListed);
}

}  // namespace

bool XlRequireInteger(XlReader& reader, std::int32_t id, std::int32_t& out) {
  return XlGetInteger(XlStack(reader), id, out) || XlFail(reader, XL_ERR_MISSING_ATTRIBUTE);
}

bool XlRequireReal(XlReader& reader, std::int32_t id, double& out) {
  return XlGetReal(XlStack(reader), id, out) || XlFail(reader, XL_ERR_MISSING_ATTRIBUTE);
}

bool XlRequireIntegerPair(XlReader& reader, std::int32_t id, std::int32_t& x, std::int32_t& y) {
  return XlGetIntegerPair(XlStack(reader), id, x, y) || XlFail(reader, XL_ERR_MISSING_ATTRIBUTE);
}

bool XlRequireRealPair(XlReader& reader, std::int32_t id, double& x, double& y) {
  return XlGetRealPair(XlStack(reader), id, x, y) || XlFail(reader, XL_ERR_MISSING_ATTRIBUTE);
}

bool XlRequireBox(XlReader& reader, std::int32_t id, std::int32_t box[4]) {
  return XlGetIntegerBox(XlStack(reader), id, box) || XlFail(reader, XL_ERR_MISSING_ATTRIBUTE);
}

bool XlRequireName(XlReader& reader, std::int32_t id, std::string& out) {
  char text[kNameBuffer];
  if (!XlGetText(XlStack(reader), id, text, sizeof text) || text[0] == '\0') {
    return XlFail(reader, XL_ERR_MISSING_ATTRIBUTE);
  }
  out.assign(text);
  return true;
}

const XlValue* XlFindArray(const XlReader& reader, std::int32_t id) {
  const XlValue* v = XlFindAttribute(XlStack(reader), id);
  return v != nullptr && IsArrayForm(v->form) ? v : nullptr;
}

const XlValue* XlRequireEmbeddedData(XlReader& reader, std::int64_t expected) {
  const std::span<const XlValue> stack = XlStack(reader);
  for (std::size_t i = stack.size(); i-- > 0;) {
    const XlValue& v = stack[i];
    if (v.form != XL_FORM_EMBEDDED) continue;
    if (v.count < expected) break;
    if (v.count > expected) {
      XlFail(reader, XL_ERR_EXTRA_DATA);
      return nullptr;
    }
    return &v;
  }
  XlFail(reader, XL_ERR_MISSING_DATA);
  return nullptr;
}

std::string XlNameKey(const std::string& name) {
  std::string key = name;
  for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return key;
}

bool XlBeginSession(XlReader& reader, std::uint8_t) {
  if (reader.streamState != XL_STATE_OUTSIDE_SESSION) return XlFail(reader, XL_ERR_ILLEGAL_SEQUENCE);
  std::int32_t measure = 0, unitsX = 0, unitsY = 0;
  if (!XlRequireInteger(reader, XL_ATTR_MEASURE, measure)) return false;
  if (!XlRequireIntegerPair(reader, XL_ATTR_UNITS_PER_MEASURE, unitsX, unitsY)) return false;
  std::int64_t perInchX = 0, perInchY = 0;
  if (!UnitsPerInch(measure, unitsX, perInchX) || !UnitsPerInch(measure, unitsY, perInchY)) {
    return XlFail(reader, XL_ERR_ILLEGAL_VALUE);
  }
  if (perInchX < 1 || perInchY < 1) return XlFail(reader, XL_ERR_ILLEGAL_VALUE);
  reader.state.unitsPerInchX = static_cast<std::int32_t>(perInchX);
  reader.state.unitsPerInchY = static_cast<std::int32_t>(perInchY);
  if (JobFacts* facts = reader.view.ctx.facts) NoteXlSession(*facts, XlOffset(reader), measure, unitsX, unitsY);
  reader.streamState = XL_STATE_IN_SESSION;
  return true;
}

bool XlEndSession(XlReader& reader, std::uint8_t) {
  if (reader.streamState != XL_STATE_IN_SESSION) return XlFail(reader, XL_ERR_ILLEGAL_SEQUENCE);
  reader.streamState = XL_STATE_OUTSIDE_SESSION;
  return true;
}

bool XlBeginPage(XlReader& reader, std::uint8_t) {
  if (reader.streamState != XL_STATE_IN_SESSION) return XlFail(reader, XL_ERR_ILLEGAL_SEQUENCE);
  XlInterpreterState& s = reader.state;
  const std::span<const XlValue> stack = XlStack(reader);
  std::int32_t orientation = 0;
  if (!XlRequireInteger(reader, XL_ATTR_ORIENTATION, orientation)) return false;
  s.orientation = orientation % 4;
  if (reader.view.ctx.facts) NoteBeginPageFacts(reader, orientation);

  std::int32_t side = 0;
  if (XlFindAttribute(stack, XL_ATTR_SIMPLEX_PAGE_MODE) != nullptr) {
    s.duplex = false;
  } else if (XlFindAttribute(stack, XL_ATTR_DUPLEX_PAGE_MODE) != nullptr) {
    s.duplex = true;
    if (XlGetInteger(stack, XL_ATTR_DUPLEX_PAGE_SIDE, side)) s.duplexSide = side % 2;
  }

  std::int32_t mediaSize = 0;
  char mediaName[kMediaNameBuffer];
  std::int32_t units = 0;
  double width = 0, height = 0;
  if (!XlGetInteger(stack, XL_ATTR_MEDIA_SIZE, mediaSize) &&
      !XlGetText(stack, XL_ATTR_MEDIA_SIZE, mediaName, sizeof mediaName) &&
      XlGetInteger(stack, XL_ATTR_CUSTOM_MEDIA_SIZE_UNITS, units) &&
      XlGetRealPair(stack, XL_ATTR_CUSTOM_MEDIA_SIZE, width, height) &&
      !CustomMediaSizeIsValid(units, width, height)) {
    return XlFail(reader, XL_ERR_ILLEGAL_VALUE);
  }

  // Each page starts from a fresh graphics state with the cursor at the origin.
  s.gsStack.assign(1, XlGraphicsState{});
  s.gsStack[0].pointDefined = true;
  reader.streamState = XL_STATE_IN_PAGE;
  return true;
}

bool XlEndPage(XlReader& reader, std::uint8_t) {
  if (reader.streamState != XL_STATE_IN_PAGE) return XlFail(reader, XL_ERR_ILLEGAL_SEQUENCE);
  std::int32_t copies = 1;
  XlGetInteger(XlStack(reader), XL_ATTR_PAGE_COPIES, copies);
  const DecodeContext& ctx = reader.view.ctx;
  if (ctx.facts) NoteEndPageFacts(reader, copies);
  if (ctx.listing != nullptr && (ctx.flags & DF_PAGE_SUM) != 0 && copies != 0) EjectPage(reader.view.eject, true);
  if (reader.state.duplex) reader.state.duplexSide ^= 1;
  reader.streamState = XL_STATE_IN_SESSION;
  return true;
}

bool XlPushGS(XlReader& reader, std::uint8_t) {
  std::vector<XlGraphicsState>& stack = reader.state.gsStack;
  if (stack.size() > kXlMaxPushedStates) return XlFail(reader, XL_ERR_MAX_GS_LEVELS);
  XlGraphicsState copy = stack.back();
  stack.push_back(std::move(copy));
  return true;
}

bool XlPopGS(XlReader& reader, std::uint8_t) {
  if (reader.state.gsStack.size() > 1) reader.state.gsStack.pop_back();
  return true;
}

}  // namespace veltrix
