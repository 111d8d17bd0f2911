#include "decode/core/DecodeOptions.h"

namespace veltrix {

bool BuildDecodeRequest(DecodeSettings& settings, DecodeRequest& request) {
  // A side file without a name is switched off, and stays off in the settings.
  if (settings.ExtractWidths && settings.ExtWidFile.empty()) settings.ExtractWidths = 0;
  if (settings.StripFonts && settings.StripFontFile.empty()) settings.StripFonts = 0;
  if (settings.KeepFonts && settings.KeepFontsFile.empty()) settings.KeepFonts = 0;

  std::uint32_t flags = DF_FONT_DETAIL;
  if (settings.ShowCharDesc) flags |= DF_CHAR_DESC;
  if (settings.ShowRasFonts) flags |= DF_RAS_FONTS;
  if (settings.ShowRasGraph) flags |= DF_RAS_GRAPH;
  if (settings.ExtractWidths) flags |= DF_EXTRACT_WIDTHS;
  if (settings.ShowFontSum) flags |= DF_FONT_SUM;
  if (settings.ShowMacroSum) flags |= DF_MACRO_SUM;
  if (settings.ShowPageSum) flags |= DF_PAGE_SUM;
  if (settings.ShowEscSum) flags |= DF_ESC_SUM;
  if (settings.StripFonts) flags |= DF_STRIP_FONTS;
  if (settings.SuppAllOutput) flags |= DF_SUPPRESS;
  if (settings.ShowPaletteSum) flags |= DF_PALETTE_SUM;
  if (settings.Show24BitRast) flags |= DF_24BIT_RAST;
  if (settings.ShowRasGraph && settings.ShowRasContiguous) flags |= DF_RAS_CONTIGUOUS;
  if (settings.KeepFonts) flags |= DF_KEEP_FONTS;
  if (settings.KeepFontsSeparate) flags |= DF_KEEP_SEPARATE;

  request.settingsPath = settings.settingsPath;
  request.flags = flags;
  request.source = settings.SourceFile;
  request.dest = settings.DestFile;
  request.widths = settings.ExtractWidths ? std::optional(settings.ExtWidFile) : std::nullopt;
  request.stripped = settings.StripFonts ? std::optional(settings.StripFontFile) : std::nullopt;
  request.kept = settings.KeepFonts ? std::optional(settings.KeepFontsFile) : std::nullopt;
  request.firstFontId = settings.AssignFontIds ? settings.FirstDFID : -1;
  request.level = 4;
  return !settings.SourceFile.empty();
}

std::optional<std::int32_t> ParseFontIdText(std::string_view text) {
  std::size_t i = 0;
  int minusSigns = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') ++minusSigns;
    ++i;
  }
  std::uint32_t value = 0;  // wraps like the 32-bit field it fills
  std::size_t digits = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    value = value * 10 + static_cast<std::uint32_t>(text[i] - '0');
    ++digits;
    ++i;
  }
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (digits == 0 || i != text.size()) return std::nullopt;
  if (minusSigns % 2 == 1) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

std::uint32_t AdjustRunFlags(std::uint32_t flags, std::int32_t level, bool haveKeptName) {
  if (level == 0) flags |= DF_SUPPRESS;
  if (flags & DF_SUPPRESS) {
    flags &= ~kDetailBits;
  } else {
    flags |= DF_ERROR_LOG;
  }
  if (!((flags & DF_KEEP_FONTS) && haveKeptName)) flags &= ~DF_KEEP_SEPARATE;
  return flags;
}

}  // namespace veltrix
