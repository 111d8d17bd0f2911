#include "pcl5/EscapeFormatters.h"

#include <array>

#include "pcl5/FormatterKinds.h"

namespace veltrix {

namespace {

struct FormatterRecord {
  EscapeFormat kind = EscapeFormat::None;
  EscapeFormatter format = nullptr;
};

// Indexed by EscapeFormat; each record names its kind, and the compiler
// checks that it stands at that index.
constexpr auto kFormatters = std::to_array<FormatterRecord>({
    {EscapeFormat::None, nullptr},  // the description is a template
    {EscapeFormat::Reset, FormatReset},
    {EscapeFormat::CursorMove, FormatCursorMove},
    {EscapeFormat::PageSize, FormatPageSize},
    {EscapeFormat::Orientation, FormatOrientation},
    {EscapeFormat::OutputTray, FormatOutputTray},
    {EscapeFormat::PaperSource, FormatPaperSource},
    {EscapeFormat::TextParsingMethod, FormatTextParsingMethod},
    {EscapeFormat::SymbolSet, FormatSymbolSet},
    {EscapeFormat::FontById, FormatFontById},
    {EscapeFormat::Typeface, FormatTypeface},
    {EscapeFormat::Style, FormatStyle},
    {EscapeFormat::StrokeWeight, FormatStrokeWeight},
    {EscapeFormat::Pitch, FormatPitch},
    {EscapeFormat::PointSize, FormatPointSize},
    {EscapeFormat::Spacing, FormatSpacing},
    {EscapeFormat::FontDescriptor, FormatFontDescriptor},
    {EscapeFormat::CharacterData, FormatCharacterData},
    {EscapeFormat::CharacterCode, FormatCharacterCode},
    {EscapeFormat::FontId, FormatFontId},
    {EscapeFormat::MacroId, FormatMacroId},
    {EscapeFormat::MacroControl, FormatMacroControl},
    {EscapeFormat::EnterHpgl, FormatEnterHpgl},
    {EscapeFormat::EnterPcl, FormatEnterPcl},
    {EscapeFormat::PaletteControl, FormatPaletteControl},
    {EscapeFormat::PaletteControlId, FormatPaletteControlId},
    {EscapeFormat::SelectPalette, FormatSelectPalette},
    {EscapeFormat::TransparentPrint, FormatTransparentPrint},
    {EscapeFormat::ConfigureImageData, FormatConfigureImageData},
    {EscapeFormat::ForegroundColour, FormatForegroundColour},
    {EscapeFormat::RasterResolution, FormatRasterResolution},
    {EscapeFormat::DestinationWidth, FormatDestinationWidth},
    {EscapeFormat::DestinationHeight, FormatDestinationHeight},
    {EscapeFormat::RasterWidth, FormatRasterWidth},
    {EscapeFormat::RasterHeight, FormatRasterHeight},
    {EscapeFormat::RasterMsb, FormatRasterMsb},
    {EscapeFormat::Compression, FormatCompression},
    {EscapeFormat::StartRaster, FormatStartRaster},
    {EscapeFormat::EndRaster, FormatEndRaster},
    {EscapeFormat::RasterData, FormatRasterData},
    {EscapeFormat::RasterYOffset, FormatRasterYOffset},
});

constexpr bool EachAtItsIndex() {
  for (std::size_t i = 0; i < kFormatters.size(); ++i) {
    if (static_cast<std::size_t>(kFormatters[i].kind) != i) return false;
  }
  return kFormatters.size() == kEscapeFormatCount;
}
static_assert(EachAtItsIndex(), "one formatter per kind, in the order of EscapeFormat");

}  // namespace

constexpr std::array<EscapeFormatter, kEscapeFormatCount> kEscapeFormatters = [] {
  std::array<EscapeFormatter, kEscapeFormatCount> formatters{};
  for (std::size_t i = 0; i < kFormatters.size(); ++i) formatters[i] = kFormatters[i].format;
  return formatters;
}();

}  // namespace veltrix
