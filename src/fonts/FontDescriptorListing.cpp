// The field lines of a font header: one field a line, every label
// right-aligned in 18 columns so that the colons line up.
#include "decode/core/OutputSink.h"
#include "fonts/FontDescriptor.h"
#include "fonts/FontDescriptorNames.h"
#include "pcl5/NameLookup.h"

namespace veltrix {

namespace {

// A descriptor size up to this covers no more than the fields up to the
// typeface, so the listing stops there.
constexpr std::uint16_t kLongestShortDescriptor = 26;

// The extended pitch and height are fractions in 1/256. The height constant
// is deliberately not 0.06 / 256 (0.000234375): this is the value listings
// are compared against, and the two round differently at some sizes.
constexpr double kPitchExtendedUnit = 0.00390625;
constexpr double kPointsPerHeightUnit = 0.06;
constexpr double kPointsPerHeightExtendedUnit = 0.00023437866216659633;

void PutLabel(OutputSink& out, const char* label) { out.Printf("%18s : ", label); }

void PutNumber(OutputSink& out, const char* label, int value) { out.Printf("%18s : %d\n", label, value); }

// The value in decimal and again in hexadecimal.
void PutNumberTwice(OutputSink& out, const char* label, int value) {
  out.Printf("%18s : %d (0x%02X)\n", label, value, static_cast<unsigned>(value));
}

void PutNamed(OutputSink& out, const char* label, std::span<const NumberName> table, std::int32_t value) {
  PutLabel(out, label);
  if (const auto name = FindFontFieldName(table, value)) {
    out.Put(*name);
  } else {
    out.Printf("Unknown (%d)", value);
  }
  out.Put('\n');
}

void PutText(OutputSink& out, const char* label, std::string_view text) {
  PutLabel(out, label);
  out.Put(text);
  out.Put('\n');
}

double PitchCpi(const FontDescriptor& d) {
  if (IsDeskJetFormat(d.headerFormat)) return d.pitch == 0 ? 0.0 : 1200.0 / d.pitch;
  if (d.pitch == 0 && d.pitchExtended == 0) return 0.0;
  return 1200.0 / (d.pitch + d.pitchExtended * kPitchExtendedUnit);
}

double HeightPoints(const FontDescriptor& d) {
  if (IsDeskJetFormat(d.headerFormat)) return d.height * kPointsPerHeightUnit;
  return d.height * kPointsPerHeightUnit + d.heightExtended * kPointsPerHeightExtendedUnit;
}

void ListStyle(OutputSink& out, const FontDescriptor& d) {
  if (IsDeskJetFormat(d.headerFormat)) {
    PutNamed(out, "Style", DeskJetStyleNames(), d.style & 3);
    return;
  }
  PutNamed(out, "Posture", PostureNames(), d.style & 3);
  PutNamed(out, "Width", StyleWidthNames(), (d.style >> 2) & 7);
  PutNamed(out, "Structure", StructureNames(), (d.style >> 5) & 31);
}

void ListDeskJetExtension(OutputSink& out, const FontDescriptor& d) {
  PutNumberTwice(out, "Horz Pixel Res", d.horizontalPixelResolution);
  PutNumber(out, "Vert Pixel Res", d.verticalPixelResolution);
  PutNumber(out, "Top Dbl UL Pos", d.topDoubleUnderlinePosition);
  PutNumber(out, "Top Dbl UL Height", d.topDoubleUnderlineHeight);
  PutNumber(out, "Bot Dbl UL Pos", d.bottomDoubleUnderlinePosition);
  PutNumber(out, "Bot Dbl UL Height", d.bottomDoubleUnderlineHeight);
  PutNumberTwice(out, "Ptr Spef. Block Sz", d.printerBlockSize);
  PutNumber(out, "Font Data Size", d.fontDataSize);
  PutNumber(out, "Unidirectional", d.unidirectional);
  PutNumber(out, "Compressed", d.compressed);
  PutNumber(out, "No Half Pitch", d.noHalfPitch);
  PutNumber(out, "No Double Pitch", d.noDoublePitch);
  PutNumber(out, "No Half Height", d.noHalfHeight);
  PutNumber(out, "No Bold", d.noBold);
  PutNumber(out, "No Draft", d.noDraft);
  PutNamed(out, "Bold Method", BoldMethodNames(), d.boldMethod);
  PutNumber(out, "Pass 2 Base Offset", d.pass2BaseOffset);
  PutNumber(out, "Pass 3 Base Offset", d.pass3BaseOffset);
  PutNumber(out, "Pass 4 Base Offset", d.pass4BaseOffset);
}

// Control codes and bytes from 0x80 would upset the listing: they show as blanks.
void ListNotice(OutputSink& out, const FontDescriptor& d) {
  PutLabel(out, "Copyright");
  for (std::size_t i = 0; i < d.noticeLength && i < d.notice.size(); ++i) {
    const auto byte = static_cast<std::uint8_t>(d.notice[i]);
    out.Put(byte < 0x20 || byte >= 0x80 ? ' ' : static_cast<char>(byte));
  }
  out.Put('\n');
}

void ListTrueTypeTail(OutputSink& out, const FontDescriptor& d) {
  PutNumber(out, "Scale Factor", d.scaleFactor);
  PutNumber(out, "Master UL Pos", d.masterUnderlinePosition);
  PutNumber(out, "Master UL Thick", d.masterUnderlineThickness);
  PutNumber(out, "Font Scale Tech", d.fontScalingTechnology);
  PutNumber(out, "Variety", d.variety);
}

}  // namespace

void ListFontDescriptor(OutputSink& listing, const FontDescriptor& d, NameTables& names) {
  OutputSink& out = listing;
  const bool deskJet = IsDeskJetFormat(d.headerFormat);
  PutNumberTwice(out, "Size", d.descriptorSize);
  PutNamed(out, "Format", HeaderFormatNames(), d.headerFormat);
  PutNamed(out, "Font type", FontTypeNames(), d.fontType);
  ListStyle(out, d);
  PutNumber(out, "Baseline Distance", d.baselinePosition);
  PutNumber(out, "Cell Width", d.cellWidth);
  PutNumber(out, "Cell Height", d.cellHeight);
  PutNamed(out, "Orientation", OrientationNames(), d.orientation);
  PutNamed(out, "Spacing", SpacingNames(), d.spacing);
  PutText(out, "Symbol set", SymbolSetName(names, d.symbolSet));
  out.Printf("%18s : %0.2f cpi\n", "Pitch", PitchCpi(d));
  out.Printf("%18s : %0.2f points\n", "Height", HeightPoints(d));
  out.Printf("%18s : %d dots\n", "xHeight", d.xHeight >> 2);
  PutNamed(out, "Width Type", WidthTypeNames(), d.widthType);
  PutText(out, "Stroke Weight", StrokeWeightName(d.strokeWeight));
  PutText(out, "Typeface Family", TypefaceName(names, d.typeface));
  if (d.descriptorSize <= kLongestShortDescriptor) return;

  if (deskJet) PutNumber(out, "Slant", d.slant);
  PutText(out, "Serif Style", SerifStyleName(d.serifStyle));
  PutNamed(out, "Quality", QualityNames(), d.quality);
  if (!deskJet) PutNamed(out, "Placement", PlacementNames(), d.placement);
  PutNumber(out, "Underline distance", d.underlineDistance);
  PutNumber(out, "Underline height", d.underlineHeight);
  PutNumberTwice(out, "Text height", d.textHeight);
  PutNumberTwice(out, "Text width", d.textWidth);
  PutNumberTwice(out, "First code", d.firstCode);
  PutNumberTwice(out, "Last code", d.lastCode);
  out.Printf("%18s : %%%0.2f\n", "Cap height", d.capHeight * 100.0 / 65535.0);
  PutText(out, "Font name", d.fontName);

  if (d.headerFormat == 20) {
    PutNumber(out, "X Resolution", d.xResolution);
    PutNumber(out, "Y Resolution", d.yResolution);
  } else if (deskJet) {
    ListDeskJetExtension(out, d);
  }
  if (d.noticeLength > 0) ListNotice(out, d);
  if (d.headerFormat == 15 || d.headerFormat == 16) ListTrueTypeTail(out, d);
  out.Put('\n');
}

}  // namespace veltrix
