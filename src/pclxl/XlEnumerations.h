// PCL XL enumeration names, indexed by the enumerated value. The attribute
// table (XlAttributeTable.h) says which attribute shows which list; some lists
// serve two attributes.
#pragma once

#include <string_view>

namespace veltrix {

inline constexpr std::string_view kXlColorDepthNames[] = {"1Bit", "4Bit", "8Bit"};
inline constexpr std::string_view kXlColorSpaceNames[] = {"BiLevel", "Gray", "RGB", "CMY"};
inline constexpr std::string_view kXlDeviceMatrixNames[] = {"DeviceBest", "DeviceIndependent"};
inline constexpr std::string_view kXlMediaSizeNames[] = {
    "LetterPaper",   "LegalPaper",      "A4Paper",         "ExecPaper",
    "LedgerPaper",   "A3Paper",         "COM10Envelope",   "MonarchEnvelope",
    "C5Envelope",    "DLEnvelope",      "JB4Paper",        "JB5Paper",
    "B5Envelope",    "JPostcard",       "JDoublePostcard", "A5Paper"};
inline constexpr std::string_view kXlMediaSourceNames[] = {
    "DefaultSource", "AutoSelect",    "ManualFeed",  "MultiPurposeTray",
    "UpperCassette", "LowerCassette", "EnvelopeTray"};
inline constexpr std::string_view kXlOrientationNames[] = {
    "PortraitOrientation", "LandscapeOrientation", "ReversePortrait", "ReverseLandscape"};
inline constexpr std::string_view kXlTxModeNames[] = {"Opaque", "Transparent"};
inline constexpr std::string_view kXlMeasureNames[] = {"Inch", "Millimeter",
                                                       "TenthsOfAMillimeter"};
inline constexpr std::string_view kXlSimplexPageModeNames[] = {"SimplexFrontSide"};
inline constexpr std::string_view kXlDuplexPageModeNames[] = {"DuplexHorizontalBinding",
                                                              "DuplexVerticalBinding"};
inline constexpr std::string_view kXlDuplexPageSideNames[] = {"FrontMediaSide", "BackMediaSide"};
inline constexpr std::string_view kXlArcDirectionNames[] = {"ClockWise", "CounterClockWise"};
inline constexpr std::string_view kXlFillModeNames[] = {"NonZeroWinding", "EvenOdd"};
inline constexpr std::string_view kXlLineCapStyleNames[] = {"ButtCap", "RoundCap", "SquareCap",
                                                            "TriangleCap"};
inline constexpr std::string_view kXlLineJoinStyleNames[] = {"MiterJoin", "RoundJoin",
                                                             "BevelJoin", "NoJoin"};
inline constexpr std::string_view kXlPointTypeNames[] = {"UByte", "SByte", "UInt16", "SInt16",
                                                         "Real32"};
inline constexpr std::string_view kXlClipRegionNames[] = {"Interior", "Exterior"};
inline constexpr std::string_view kXlColorMappingNames[] = {"DirectPixel", "IndexedPixel"};
inline constexpr std::string_view kXlCompressModeNames[] = {"NoCompression", "RLECompression"};
inline constexpr std::string_view kXlPatternPersistenceNames[] = {"TempPattern", "PagePattern",
                                                                  "SessionPattern"};
inline constexpr std::string_view kXlDataOrgNames[] = {"BinaryHighByteFirst",
                                                       "BinaryLowByteFirst"};
inline constexpr std::string_view kXlSourceTypeNames[] = {"DefaultDataSource"};
inline constexpr std::string_view kXlErrorReportNames[] = {"NoReporting", "BackChannel",
                                                           "ErrorPage", "BackChAndErrPage"};

}  // namespace veltrix
