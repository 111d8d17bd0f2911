#include "pclxl/XlTagTable.h"

#include <algorithm>
#include <array>
#include <functional>

#include "pclxl/XlOperators.h"
#include "pclxl/XlReader.h"

namespace veltrix {

namespace {

struct NamedTag {
  std::uint8_t tag = 0;
  std::string_view name = {};
  XlTagHandler handler = nullptr;
};

// Every tag with a name, in ascending order. Operators without a handler
// change nothing and always succeed.
constexpr auto kNamedTags = std::to_array<NamedTag>({
    {0x27, "StreamBind Ascii", XlHandleStreamBinding},
    {0x28, "StreamBind Binary HiLo", XlHandleStreamBinding},
    {0x29, "StreamBind Binary LoHi", XlHandleStreamBinding},
    {0x41, "BeginSession", XlBeginSession},
    {0x42, "EndSession", XlEndSession},
    {0x43, "BeginPage", XlBeginPage},
    {0x44, "EndPage", XlEndPage},
    {0x46, "VendorFxn", XlVendorFxn},
    {0x47, "Comment"},
    {0x48, "OpenDataSource"},
    {0x49, "CloseDataSource"},
    {0x4A, "EchoComment"},
    {0x4B, "Query"},
    {0x4C, "Diagnostic3"},
    {0x4F, "BeginFontHeader", XlBeginFontHeader},
    {0x50, "ReadFontHeader", XlReadFontHeader},
    {0x51, "EndFontHeader", XlEndFontHeader},
    {0x52, "BeginChar", XlBeginChar},
    {0x53, "ReadChar", XlReadChar},
    {0x54, "EndChar", XlEndChar},
    {0x55, "RemoveFont", XlRemoveFont},
    {0x5B, "BeginStream", XlBeginStream},
    {0x5C, "ReadStream", XlReadStream},
    {0x5D, "EndStream", XlEndStream},
    {0x5E, "ExecStream", XlExecStream},
    {0x60, "PopGS", XlPopGS},
    {0x61, "PushGS", XlPushGS},
    {0x62, "SetClipReplace", XlSetClipReplace},
    {0x63, "SetBrushSource", XlSetPaintSource},
    {0x64, "SetCharAngle", XlSetCharAngle},
    {0x65, "SetCharScale", XlSetCharScale},
    {0x66, "SetCharShear", XlSetCharShear},
    {0x67, "SetClipIntersect"},
    {0x68, "SetClipRectangle", XlSetClipRectangle},
    {0x69, "SetClipToPage"},
    {0x6A, "SetColorSpace", XlSetColorSpace},
    {0x6B, "SetCursor", XlSetCursor},
    {0x6C, "SetCursorRel", XlSetCursorRel},
    {0x6D, "SetHalftoneMethod"},
    {0x6E, "SetFillMode", XlSetFillMode},
    {0x6F, "SetFont", XlSetFont},
    {0x70, "SetLineDash", XlSetLineDash},
    {0x71, "SetLineCap", XlSetLineCap},
    {0x72, "SetLineJoin", XlSetLineJoin},
    {0x73, "SetMiterLimit", XlSetMiterLimit},
    {0x74, "SetPageDefaultCTM"},
    {0x75, "SetPageOrigin", XlSetPageOrigin},
    {0x76, "SetPageRotation", XlSetPageRotation},
    {0x77, "SetPageScale", XlSetPageScale},
    {0x78, "SetPaintTxMode", XlSetTxMode},
    {0x79, "SetPenSource", XlSetPaintSource},
    {0x7A, "SetPenWidth", XlSetPenWidth},
    {0x7B, "SetROP", XlSetROP},
    {0x7C, "SetSourceTxMode", XlSetTxMode},
    {0x7D, "SetCharBoldValue"},
    {0x7F, "SetClipMode", XlSetClipMode},
    {0x80, "SetPathToClip"},
    {0x81, "SetCharSubMode"},
    {0x84, "CloseSubPath"},
    {0x85, "NewPath"},
    {0x86, "PaintPath"},
    {0x91, "ArcPath", XlArcPath},
    {0x93, "BezierPath", XlBezierPath},
    {0x95, "BezierRelPath", XlBezierPath},
    {0x96, "Chord", XlArcPath},
    {0x97, "ChordPath", XlArcPath},
    {0x98, "Ellipse", XlBoxPath},
    {0x99, "EllipsePath", XlBoxPath},
    {0x9B, "LinePath", XlLinePath},
    {0x9D, "LineRelPath", XlLinePath},
    {0x9E, "Pie", XlArcPath},
    {0x9F, "PiePath", XlArcPath},
    {0xA0, "Rectangle", XlBoxPath},
    {0xA1, "RectanglePath", XlBoxPath},
    {0xA2, "RoundRectangle", XlRoundRectanglePath},
    {0xA3, "RoundRectanglePath", XlRoundRectanglePath},
    {0xA8, "Text", XlText},
    {0xA9, "TextPath"},
    {0xB0, "BeginImage", XlBeginImage},
    {0xB1, "ReadImage", XlReadImage},
    {0xB2, "EndImage", XlEndImage},
    {0xB3, "BeginRastPattern", XlBeginRastPattern},
    {0xB4, "ReadRastPattern", XlReadRastPattern},
    {0xB5, "EndRastPattern", XlEndRastPattern},
    {0xB6, "BeginScan"},
    {0xB8, "EndScan"},
    {0xB9, "ScanLineRel"},
    {0xBF, "PclPassThru"},
    {0xC0, "UByteData", XlHandleScalar},
    {0xC1, "UInt16Data", XlHandleScalar},
    {0xC2, "UInt32Data", XlHandleScalar},
    {0xC3, "SInt16Data", XlHandleScalar},
    {0xC4, "SInt32Data", XlHandleScalar},
    {0xC5, "Real32Data", XlHandleScalar},
    {0xC8, "UByteArray", XlHandleArray},
    {0xC9, "UInt16Array", XlHandleArray},
    {0xCA, "UInt32Array", XlHandleArray},
    {0xCB, "SInt16Array", XlHandleArray},
    {0xCC, "SInt32Array", XlHandleArray},
    {0xCD, "Real32Array", XlHandleArray},
    {0xD0, "UByteXy", XlHandlePair},
    {0xD1, "UInt16Xy", XlHandlePair},
    {0xD2, "UInt32Xy", XlHandlePair},
    {0xD3, "SInt16Xy", XlHandlePair},
    {0xD4, "SInt32Xy", XlHandlePair},
    {0xD5, "Real32Xy", XlHandlePair},
    {0xE0, "UByteBox", XlHandleBox},
    {0xE1, "UInt16Box", XlHandleBox},
    {0xE2, "UInt32Box", XlHandleBox},
    {0xE3, "SInt16Box", XlHandleBox},
    {0xE4, "SInt32Box", XlHandleBox},
    {0xE5, "Real32Box", XlHandleBox},
    {0xF8, "8BitAttrId", XlHandleAttributeId},
    {0xF9, "16BitAttrId", XlHandleAttributeId},
    {0xFA, "EmbeddedData", XlHandleLoneEmbeddedData},
    {0xFB, "EmbeddedDataByte", XlHandleLoneEmbeddedData},
});
static_assert(std::ranges::adjacent_find(kNamedTags, std::ranges::greater_equal{}, &NamedTag::tag) ==
              kNamedTags.end());

constexpr XlTagClass ClassOfTag(unsigned t) {
  if (t == 0x00 || (t >= 0x09 && t <= 0x0D) || t == 0x20) return XL_TAG_WHITESPACE;
  if (t >= 0x27 && t <= 0x29) return XL_TAG_STREAM_BINDING;
  if (t >= 0x41 && t <= 0xBF) return XL_TAG_OPERATOR;
  if (t >= 0xC0 && t <= 0xEF) return XL_TAG_DATA_TYPE;
  if (t == 0xF8 || t == 0xF9) return XL_TAG_ATTRIBUTE_ID;
  if (t == 0xFA || t == 0xFB) return XL_TAG_EMBEDDED_DATA;
  if (t >= 0xF0) return XL_TAG_RESERVED;
  return XL_TAG_UNUSED;
}

constexpr std::array<XlTagEntry, 256> BuildTagTable() {
  std::array<XlTagEntry, 256> table{};
  for (unsigned t = 0; t < table.size(); ++t) table[t].tagClass = ClassOfTag(t);
  for (const NamedTag& named : kNamedTags) {
    table[named.tag].name = named.name;
    table[named.tag].handler = named.handler;
  }
  return table;
}

constexpr bool NamedTagsKeepTheirClass() {
  for (const NamedTag& named : kNamedTags) {
    const XlTagClass c = ClassOfTag(named.tag);
    if (c == XL_TAG_UNUSED || c == XL_TAG_RESERVED || c == XL_TAG_WHITESPACE) return false;
  }
  return true;
}
static_assert(NamedTagsKeepTheirClass());

}  // namespace

constexpr std::array<XlTagEntry, 256> kXlTagTable = BuildTagTable();

std::string_view XlTagClassLabel(XlTagClass tagClass) {
  return tagClass < std::size(kXlTagClassLabels) ? kXlTagClassLabels[tagClass] : std::string_view();
}

}  // namespace veltrix
