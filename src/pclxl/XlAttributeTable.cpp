// The PCL XL attribute table: identifier and name, in the order searched.
#include <algorithm>
#include <array>
#include <cstdint>

#include "pclxl/XlAttributes.h"

namespace veltrix {
namespace {

struct XlAttributeEntry {
  std::int32_t id = 0;
  const char* name = "";
};

// Searched front to back. The vendor image attributes sit at the end, out of
// numeric order, except Vendor Data Length, which sits among the job
// attributes.
constexpr auto kXlAttributeTable = std::to_array<XlAttributeEntry>({
    {1, "CMYColor"},
    {2, "PaletteDepth"},
    {3, "ColorSpace"},
    {4, "NullBrush"},
    {5, "NullPen"},
    {6, "PaletteData"},
    {7, "PaletteIndex"},
    {8, "PatternSelectID"},
    {9, "GrayLevel"},
    {11, "RGBColor"},
    {12, "PatternOrigin"},
    {13, "NewDestinationSize"},
    {33, "DeviceMatrix"},
    {34, "DitherMatrixDataType"},
    {35, "DitherOrigin"},
    {36, "MediaDestination"},
    {37, "MediaSize"},
    {38, "MediaSource"},
    {39, "MediaType"},
    {40, "Orientation"},
    {41, "PageAngle"},
    {42, "PageOrigin"},
    {43, "PageScale"},
    {44, "ROP3"},
    {45, "TxMode"},
    {47, "CustomMediaSize"},
    {48, "CustomMediaSizeUnits"},
    {49, "PageCopies"},
    {50, "DitherMatrixSize"},
    {51, "DitherMatrixDepth"},
    {52, "SimplexPageMode"},
    {53, "DuplexPageMode"},
    {54, "DuplexPageSide"},
    {65, "ArcDirection"},
    {66, "BoundingBox"},
    {67, "DashOffset"},
    {68, "EllipseDimension"},
    {69, "EndPoint"},
    {70, "FillMode"},
    {71, "LineCapStyle"},
    {72, "LineJoinStyle"},
    {73, "MiterLength"},
    {74, "LineDashStyle"},
    {75, "PenWidth"},
    {76, "Point"},
    {77, "NumberOfPoints"},
    {78, "SolidLine"},
    {79, "StartPoint"},
    {80, "PointType"},
    {81, "ControlPoint1"},
    {82, "ControlPoint2"},
    {83, "ClipRegion"},
    {84, "ClipMode"},
    {97, "ColorDepthArray"},
    {98, "ColorDepth"},
    {99, "BlockHeight"},
    {100, "ColorMapping"},
    {101, "CompressMode"},
    {102, "DestinationBox"},
    {103, "DestinationSize"},
    {104, "PatternPersistence"},
    {105, "PatternDefineID"},
    {107, "SourceHeight"},
    {108, "SourceWidth"},
    {109, "StartLine"},
    {110, "PadBytesMultiple"},
    {111, "NumberOfXPairs"},
    {112, "YStart"},
    {113, "XStart"},
    {114, "XEnd"},
    {115, "NumberOfScanLines"},
    {129, "CommentData"},
    {130, "DataOrg"},
    {134, "Measure"},
    {136, "SourceType"},
    {137, "UnitsPerMeasure"},
    {138, "QueryKey"},
    {139, "StreamName"},
    {140, "StreamDataLength"},
    {143, "ErrorReport"},
    {144, "IOReadTimeOut"},
    {146, "Vendor Data Length"},
    {158, "PassThroughCommand"},
    {159, "PassThroughArray"},
    {160, "Diagnostics"},
    {161, "CharAngle"},
    {162, "CharCode"},
    {163, "CharDataSize"},
    {164, "CharScale"},
    {165, "CharShear"},
    {166, "CharSize"},
    {167, "FontHeaderLength"},
    {168, "FontName"},
    {169, "FontFormat"},
    {170, "SymbolSet"},
    {171, "TextData--------------->:"},
    {172, "CharSubModeArray"},
    {175, "XSpacingData"},
    {176, "YSpacingData"},
    {177, "CharBoldValue"},
    {145, "Vendor Begin Image"},
    {147, "Vendor Strip Count"},
    {148, "Vendor Strip Height"},
    {149, "Vendor Version"},
    {151, "Vendor Color Space"},
    {152, "Vendor Interleave"},
});

static_assert(kXlAttributeTable.size() == 106);

constexpr bool IdentifiersAreUnique() {
  for (std::size_t i = 0; i < kXlAttributeTable.size(); ++i) {
    for (std::size_t j = i + 1; j < kXlAttributeTable.size(); ++j) {
      if (kXlAttributeTable[i].id == kXlAttributeTable[j].id) return false;
    }
  }
  return true;
}
static_assert(IdentifiersAreUnique());

}  // namespace

const char* XlAttributeName(std::int32_t id) {
  const auto it = std::ranges::find(kXlAttributeTable, id, &XlAttributeEntry::id);
  return it != kXlAttributeTable.end() ? it->name : nullptr;
}

}  // namespace veltrix
