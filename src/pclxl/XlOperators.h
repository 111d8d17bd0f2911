// PCL XL operator handlers. Each checks its operator against the session,
// page and data block state and the attributes on the value stack, keeps the
// state the later checks need, and on a violation stores an XlError code and
// returns false.
#pragma once

#include <cstdint>
#include <string>

#include "pclxl/XlReader.h"

namespace veltrix {

// Session, page and graphics state stack.
bool XlBeginSession(XlReader& reader, std::uint8_t tag);
bool XlEndSession(XlReader& reader, std::uint8_t tag);
bool XlBeginPage(XlReader& reader, std::uint8_t tag);
bool XlEndPage(XlReader& reader, std::uint8_t tag);
bool XlPushGS(XlReader& reader, std::uint8_t tag);
bool XlPopGS(XlReader& reader, std::uint8_t tag);

// Graphics state settings.
bool XlSetCursor(XlReader& reader, std::uint8_t tag);
bool XlSetCursorRel(XlReader& reader, std::uint8_t tag);
bool XlSetPageOrigin(XlReader& reader, std::uint8_t tag);
bool XlSetPageRotation(XlReader& reader, std::uint8_t tag);
bool XlSetPageScale(XlReader& reader, std::uint8_t tag);
bool XlSetCharAngle(XlReader& reader, std::uint8_t tag);
bool XlSetCharScale(XlReader& reader, std::uint8_t tag);
bool XlSetCharShear(XlReader& reader, std::uint8_t tag);
bool XlSetFillMode(XlReader& reader, std::uint8_t tag);
bool XlSetMiterLimit(XlReader& reader, std::uint8_t tag);
bool XlSetLineCap(XlReader& reader, std::uint8_t tag);
bool XlSetLineJoin(XlReader& reader, std::uint8_t tag);
bool XlSetPenWidth(XlReader& reader, std::uint8_t tag);
bool XlSetClipMode(XlReader& reader, std::uint8_t tag);
bool XlSetClipReplace(XlReader& reader, std::uint8_t tag);
bool XlSetClipRectangle(XlReader& reader, std::uint8_t tag);
bool XlSetTxMode(XlReader& reader, std::uint8_t tag);  // SetPaintTxMode, SetSourceTxMode
bool XlSetROP(XlReader& reader, std::uint8_t tag);
bool XlSetLineDash(XlReader& reader, std::uint8_t tag);
bool XlSetPaintSource(XlReader& reader, std::uint8_t tag);  // SetBrushSource, SetPenSource
bool XlSetColorSpace(XlReader& reader, std::uint8_t tag);

// Paths and text.
bool XlArcPath(XlReader& reader, std::uint8_t tag);    // ArcPath, Chord(Path), Pie(Path)
bool XlBoxPath(XlReader& reader, std::uint8_t tag);    // Ellipse(Path), Rectangle(Path)
bool XlRoundRectanglePath(XlReader& reader, std::uint8_t tag);
bool XlLinePath(XlReader& reader, std::uint8_t tag);   // LinePath, LineRelPath
bool XlBezierPath(XlReader& reader, std::uint8_t tag); // BezierPath, BezierRelPath
bool XlText(XlReader& reader, std::uint8_t tag);

// Fonts.
bool XlSetFont(XlReader& reader, std::uint8_t tag);
bool XlBeginFontHeader(XlReader& reader, std::uint8_t tag);
bool XlReadFontHeader(XlReader& reader, std::uint8_t tag);
bool XlEndFontHeader(XlReader& reader, std::uint8_t tag);
bool XlBeginChar(XlReader& reader, std::uint8_t tag);
bool XlReadChar(XlReader& reader, std::uint8_t tag);
bool XlEndChar(XlReader& reader, std::uint8_t tag);
bool XlRemoveFont(XlReader& reader, std::uint8_t tag);

// Stored streams.
bool XlBeginStream(XlReader& reader, std::uint8_t tag);
bool XlReadStream(XlReader& reader, std::uint8_t tag);
bool XlEndStream(XlReader& reader, std::uint8_t tag);
bool XlExecStream(XlReader& reader, std::uint8_t tag);

// Images, raster patterns and vendor image data.
bool XlBeginImage(XlReader& reader, std::uint8_t tag);
bool XlReadImage(XlReader& reader, std::uint8_t tag);
bool XlEndImage(XlReader& reader, std::uint8_t tag);
bool XlBeginRastPattern(XlReader& reader, std::uint8_t tag);
bool XlReadRastPattern(XlReader& reader, std::uint8_t tag);
bool XlEndRastPattern(XlReader& reader, std::uint8_t tag);
bool XlVendorFxn(XlReader& reader, std::uint8_t tag);
bool XlReadVendorData(XlReader& reader, std::uint64_t count);
// The rows startLine to startLine + blockHeight - 1 of the current image must
// follow the rows received so far and lie inside it (else code 14); they
// then count as received.
bool XlAcceptImageRows(XlReader& reader, std::int32_t startLine, std::int32_t blockHeight);

// ---- Shared by the handlers ------------------------------------------------
// Each Require routine fails with code 13 when the attribute is missing or
// of a form it does not take.

bool XlRequireInteger(XlReader& reader, std::int32_t id, std::int32_t& out);
bool XlRequireReal(XlReader& reader, std::int32_t id, double& out);
bool XlRequireIntegerPair(XlReader& reader, std::int32_t id, std::int32_t& x, std::int32_t& y);
bool XlRequireRealPair(XlReader& reader, std::int32_t id, double& x, double& y);
bool XlRequireBox(XlReader& reader, std::int32_t id, std::int32_t box[4]);
// A font or stream name: a non-empty text, cut to 127 characters.
bool XlRequireName(XlReader& reader, std::int32_t id, std::string& out);
// The most recent array value (forms 7-13) with the identifier, or nullptr.
const XlValue* XlFindArray(const XlReader& reader, std::int32_t id);

// The most recent embedded data on the stack, which must hold exactly
// `expected` bytes: fewer (or none) fails with 19, more with 23.
const XlValue* XlRequireEmbeddedData(XlReader& reader, std::int64_t expected);

inline XlGraphicsState& XlCurrentState(XlReader& reader) { return reader.state.gsStack.back(); }

// Lower-cased copy of a font or stream name: names match without regard to case.
std::string XlNameKey(const std::string& name);

}  // namespace veltrix
