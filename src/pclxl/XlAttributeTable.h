// The PCL XL attribute table: one row per known attribute identifier with
// its listing name, its enumeration names and how its value is shown, and a
// 256-entry index built from the rows at compile time for direct lookup.
// The XL_ATTR_* identifiers of XlAttributes.h are looked up here by name, so
// a number lives only in its row.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "pclxl/XlEnumerations.h"

namespace veltrix {

// Flags of an attribute row.
inline constexpr std::uint8_t kXlShownAsText = 1;  // an integer array is shown as characters

struct XlAttributeRecord {
  std::int32_t id = 0;                               // 8BitAttrId / 16BitAttrId value, 0..255
  std::string_view name = {};                        // printed as it stands: some carry blanks
  std::span<const std::string_view> enumNames = {};  // indexed by the value; empty: shown by type
  std::uint8_t flags = 0;                            // kXlShownAsText
};

// Strictly ascending identifiers.
inline constexpr auto kXlAttributeRows = std::to_array<XlAttributeRecord>({
    {1, "CMYColor"},
    {2, "PaletteDepth", kXlColorDepthNames},
    {3, "ColorSpace", kXlColorSpaceNames},
    {4, "NullBrush"},
    {5, "NullPen"},
    {6, "PaletteData"},
    {7, "PaletteIndex"},
    {8, "PatternSelectID"},
    {9, "GrayLevel"},
    {11, "RGBColor"},
    {12, "PatternOrigin"},
    {13, "NewDestinationSize"},
    {33, "DeviceMatrix", kXlDeviceMatrixNames},
    {34, "DitherMatrixDataType"},
    {35, "DitherOrigin"},
    {36, "MediaDestination"},
    {37, "MediaSize", kXlMediaSizeNames},
    {38, "MediaSource", kXlMediaSourceNames},
    {39, "MediaType"},
    {40, "Orientation", kXlOrientationNames},
    {41, "PageAngle"},
    {42, "PageOrigin"},
    {43, "PageScale"},
    {44, "ROP3"},
    {45, "TxMode", kXlTxModeNames},
    {47, "CustomMediaSize"},
    {48, "CustomMediaSizeUnits", kXlMeasureNames},
    {49, "PageCopies"},
    {50, "DitherMatrixSize"},
    {51, "DitherMatrixDepth"},
    {52, "SimplexPageMode", kXlSimplexPageModeNames},
    {53, "DuplexPageMode", kXlDuplexPageModeNames},
    {54, "DuplexPageSide", kXlDuplexPageSideNames},
    {65, "ArcDirection", kXlArcDirectionNames},
    {66, "BoundingBox"},
    {67, "DashOffset"},
    {68, "EllipseDimension"},
    {69, "EndPoint"},
    {70, "FillMode", kXlFillModeNames},
    {71, "LineCapStyle", kXlLineCapStyleNames},
    {72, "LineJoinStyle", kXlLineJoinStyleNames},
    {73, "MiterLength"},
    {74, "LineDashStyle"},
    {75, "PenWidth"},
    {76, "Point"},
    {77, "NumberOfPoints"},
    {78, "SolidLine"},
    {79, "StartPoint"},
    {80, "PointType", kXlPointTypeNames},
    {81, "ControlPoint1"},
    {82, "ControlPoint2"},
    {83, "ClipRegion", kXlClipRegionNames},
    {84, "ClipMode", kXlFillModeNames},
    {97, "ColorDepthArray"},
    {98, "ColorDepth", kXlColorDepthNames},
    {99, "BlockHeight"},
    {100, "ColorMapping", kXlColorMappingNames},
    {101, "CompressMode", kXlCompressModeNames},
    {102, "DestinationBox"},
    {103, "DestinationSize"},
    {104, "PatternPersistence", kXlPatternPersistenceNames},
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
    {129, "CommentData", {}, kXlShownAsText},
    {130, "DataOrg", kXlDataOrgNames},
    {134, "Measure", kXlMeasureNames},
    {136, "SourceType", kXlSourceTypeNames},
    {137, "UnitsPerMeasure"},
    {138, "QueryKey"},
    {139, "StreamName"},
    {140, "StreamDataLength"},
    {143, "ErrorReport", kXlErrorReportNames},
    {144, "IOReadTimeOut"},
    {145, "Vendor Begin Image"},
    {146, "Vendor Data Length"},
    {147, "Vendor Strip Count"},
    {148, "Vendor Strip Height"},
    {149, "Vendor Version"},
    {151, "Vendor Color Space"},
    {152, "Vendor Interleave"},
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
    {168, "FontName", {}, kXlShownAsText},
    {169, "FontFormat"},
    {170, "SymbolSet"},
    {171, "TextData--------------->:", {}, kXlShownAsText},  // the arrow is part of the name
    {172, "CharSubModeArray"},
    {175, "XSpacingData"},
    {176, "YSpacingData"},
    {177, "CharBoldValue"},
});

constexpr bool XlAttributeRowsAreWellFormed() {
  std::int32_t previous = -1;
  for (const XlAttributeRecord& row : kXlAttributeRows) {
    if (row.id <= previous || row.id > 255) return false;  // ascending, unique, 8-bit
    // XlAttributeName hands the name out as a C string.
    if (row.name.empty() || row.name.data()[row.name.size()] != '\0') return false;
    previous = row.id;
  }
  return true;
}
static_assert(XlAttributeRowsAreWellFormed());
static_assert(kXlAttributeRows.size() == 106);

// Names are unique, so that an identifier can be looked up by its name.
constexpr bool XlAttributeNamesAreUnique() {
  for (std::size_t i = 0; i < kXlAttributeRows.size(); ++i) {
    for (std::size_t j = i + 1; j < kXlAttributeRows.size(); ++j) {
      if (kXlAttributeRows[i].name == kXlAttributeRows[j].name) return false;
    }
  }
  return true;
}
static_assert(XlAttributeNamesAreUnique());

// Row position of each identifier 0..255; kXlNoAttributeRow where there is none.
inline constexpr std::uint8_t kXlNoAttributeRow = 0xFF;
static_assert(kXlAttributeRows.size() < kXlNoAttributeRow);

constexpr std::array<std::uint8_t, 256> XlIndexAttributeRows() {
  std::array<std::uint8_t, 256> index{};
  index.fill(kXlNoAttributeRow);
  for (std::size_t row = 0; row < kXlAttributeRows.size(); ++row) {
    index[static_cast<std::size_t>(kXlAttributeRows[row].id)] = static_cast<std::uint8_t>(row);
  }
  return index;
}
inline constexpr std::array<std::uint8_t, 256> kXlAttributeRowById = XlIndexAttributeRows();

// The row of an identifier; nullptr for one without a row (any outside 0..255).
constexpr const XlAttributeRecord* XlAttributeRow(std::int32_t id) {
  if (id < 0 || id > 255) return nullptr;
  const std::uint8_t row = kXlAttributeRowById[static_cast<std::size_t>(id)];
  return row == kXlNoAttributeRow ? nullptr : &kXlAttributeRows[row];
}

// Checked on row positions: sanitizer builds cannot compare the addresses of
// rows at compile time.
constexpr bool XlIndexFindsEveryRowAndNothingElse() {
  std::size_t found = 0;
  for (std::size_t id = 0; id < kXlAttributeRowById.size(); ++id) {
    const std::uint8_t row = kXlAttributeRowById[id];
    if (row == kXlNoAttributeRow) continue;
    if (row >= kXlAttributeRows.size() || kXlAttributeRows[row].id != static_cast<std::int32_t>(id)) {
      return false;
    }
    ++found;
  }
  return found == kXlAttributeRows.size();
}
static_assert(XlIndexFindsEveryRowAndNothingElse());

// Never defined: a call to it only appears in a failed compile-time lookup.
void XlAttributeNameIsNotInTheTable();

// The identifier of the row named `name`; a name without a row does not compile.
consteval std::int32_t XlAttributeId(std::string_view name) {
  for (const XlAttributeRecord& row : kXlAttributeRows) {
    if (row.name == name) return row.id;
  }
  XlAttributeNameIsNotInTheTable();
  return -1;
}

}  // namespace veltrix
