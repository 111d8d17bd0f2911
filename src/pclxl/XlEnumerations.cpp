// PCL XL enumeration names, indexed by the enumerated value, and which
// attribute uses which list.
#include <algorithm>
#include <array>
#include <functional>
#include <cstdint>
#include <span>
#include <string_view>

#include "pclxl/XlAttributes.h"

namespace veltrix {
namespace {

constexpr std::string_view kColorDepthNames[] = {"1Bit", "4Bit", "8Bit"};
constexpr std::string_view kColorSpaceNames[] = {"BiLevel", "Gray", "RGB", "CMY"};
constexpr std::string_view kDeviceMatrixNames[] = {"DeviceBest", "DeviceIndependent"};
constexpr std::string_view kMediaSizeNames[] = {
    "LetterPaper",   "LegalPaper",      "A4Paper",         "ExecPaper",
    "LedgerPaper",   "A3Paper",         "COM10Envelope",   "MonarchEnvelope",
    "C5Envelope",    "DLEnvelope",      "JB4Paper",        "JB5Paper",
    "B5Envelope",    "JPostcard",       "JDoublePostcard", "A5Paper"};
constexpr std::string_view kMediaSourceNames[] = {
    "DefaultSource", "AutoSelect",    "ManualFeed",  "MultiPurposeTray",
    "UpperCassette", "LowerCassette", "EnvelopeTray"};
constexpr std::string_view kOrientationNames[] = {
    "PortraitOrientation", "LandscapeOrientation", "ReversePortrait", "ReverseLandscape"};
constexpr std::string_view kTxModeNames[] = {"Opaque", "Transparent"};
constexpr std::string_view kMeasureNames[] = {"Inch", "Millimeter", "TenthsOfAMillimeter"};
constexpr std::string_view kSimplexPageModeNames[] = {"SimplexFrontSide"};
constexpr std::string_view kDuplexPageModeNames[] = {"DuplexHorizontalBinding",
                                                     "DuplexVerticalBinding"};
constexpr std::string_view kDuplexPageSideNames[] = {"FrontMediaSide", "BackMediaSide"};
constexpr std::string_view kArcDirectionNames[] = {"ClockWise", "CounterClockWise"};
constexpr std::string_view kFillModeNames[] = {"NonZeroWinding", "EvenOdd"};
constexpr std::string_view kLineCapStyleNames[] = {"ButtCap", "RoundCap", "SquareCap",
                                                   "TriangleCap"};
constexpr std::string_view kLineJoinStyleNames[] = {"MiterJoin", "RoundJoin", "BevelJoin",
                                                    "NoJoin"};
constexpr std::string_view kPointTypeNames[] = {"UByte", "SByte", "UInt16", "SInt16",
                                                "Real32"};
constexpr std::string_view kClipRegionNames[] = {"Interior", "Exterior"};
constexpr std::string_view kColorMappingNames[] = {"DirectPixel", "IndexedPixel"};
constexpr std::string_view kCompressModeNames[] = {"NoCompression", "RLECompression"};
constexpr std::string_view kPatternPersistenceNames[] = {"TempPattern", "PagePattern",
                                                         "SessionPattern"};
constexpr std::string_view kDataOrgNames[] = {"BinaryHighByteFirst", "BinaryLowByteFirst"};
constexpr std::string_view kSourceTypeNames[] = {"DefaultDataSource"};
constexpr std::string_view kErrorReportNames[] = {"NoReporting", "BackChannel", "ErrorPage",
                                                  "BackChAndErrPage"};

struct XlEnumerationEntry {
  std::int32_t attribute = 0;
  std::span<const std::string_view> names = {};
};

// Attributes not listed here (MediaDestination, MediaType, Diagnostics, ...)
// are shown by their data type.
constexpr auto kXlEnumerations = std::to_array<XlEnumerationEntry>({
    {XL_ATTR_PALETTE_DEPTH, kColorDepthNames},
    {XL_ATTR_COLOR_SPACE, kColorSpaceNames},
    {XL_ATTR_DEVICE_MATRIX, kDeviceMatrixNames},
    {XL_ATTR_MEDIA_SIZE, kMediaSizeNames},
    {XL_ATTR_MEDIA_SOURCE, kMediaSourceNames},
    {XL_ATTR_ORIENTATION, kOrientationNames},
    {XL_ATTR_TX_MODE, kTxModeNames},
    {XL_ATTR_CUSTOM_MEDIA_SIZE_UNITS, kMeasureNames},
    {XL_ATTR_SIMPLEX_PAGE_MODE, kSimplexPageModeNames},
    {XL_ATTR_DUPLEX_PAGE_MODE, kDuplexPageModeNames},
    {XL_ATTR_DUPLEX_PAGE_SIDE, kDuplexPageSideNames},
    {XL_ATTR_ARC_DIRECTION, kArcDirectionNames},
    {XL_ATTR_FILL_MODE, kFillModeNames},
    {XL_ATTR_LINE_CAP_STYLE, kLineCapStyleNames},
    {XL_ATTR_LINE_JOIN_STYLE, kLineJoinStyleNames},
    {XL_ATTR_POINT_TYPE, kPointTypeNames},
    {XL_ATTR_CLIP_REGION, kClipRegionNames},
    {XL_ATTR_CLIP_MODE, kFillModeNames},
    {XL_ATTR_COLOR_DEPTH, kColorDepthNames},
    {XL_ATTR_COLOR_MAPPING, kColorMappingNames},
    {XL_ATTR_COMPRESS_MODE, kCompressModeNames},
    {XL_ATTR_PATTERN_PERSISTENCE, kPatternPersistenceNames},
    {XL_ATTR_DATA_ORG, kDataOrgNames},
    {XL_ATTR_MEASURE, kMeasureNames},
    {XL_ATTR_SOURCE_TYPE, kSourceTypeNames},
    {XL_ATTR_ERROR_REPORT, kErrorReportNames},
});

static_assert(std::ranges::adjacent_find(kXlEnumerations, std::ranges::greater_equal{},
                                         &XlEnumerationEntry::attribute) ==
              kXlEnumerations.end());

}  // namespace

std::span<const std::string_view> XlEnumerationNames(std::int32_t id) {
  const auto it = std::ranges::lower_bound(kXlEnumerations, id, {}, &XlEnumerationEntry::attribute);
  return it != kXlEnumerations.end() && it->attribute == id ? it->names
                                                            : std::span<const std::string_view>{};
}

}  // namespace veltrix
