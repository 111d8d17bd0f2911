#include "frontend/OptionTable.h"

#include <algorithm>
#include <array>

namespace veltrix {

namespace {

void SetOutput(OptionChoices& c, const OptionValue& v) { c.output = v.text; }
void SetExceptionsOnly(OptionChoices& c, const OptionValue&) { c.settings.SuppAllOutput = 1; }
void SetCharDescriptors(OptionChoices& c, const OptionValue&) { c.settings.ShowCharDesc = 1; }
void SetFontRaster(OptionChoices& c, const OptionValue&) { c.settings.ShowRasFonts = 1; }
void SetRaster(OptionChoices& c, const OptionValue&) { c.settings.ShowRasGraph = 1; }
void SetContiguous(OptionChoices& c, const OptionValue&) { c.settings.ShowRasContiguous = 1; }
void Set24BitColors(OptionChoices& c, const OptionValue&) { c.settings.Show24BitRast = 1; }
void ClearFontSummary(OptionChoices& c, const OptionValue&) { c.settings.ShowFontSum = 0; }
void ClearMacroSummary(OptionChoices& c, const OptionValue&) { c.settings.ShowMacroSum = 0; }
void ClearPageSummary(OptionChoices& c, const OptionValue&) { c.settings.ShowPageSum = 0; }
void ClearCommandSummary(OptionChoices& c, const OptionValue&) { c.settings.ShowEscSum = 0; }
void ClearPaletteSummary(OptionChoices& c, const OptionValue&) { c.settings.ShowPaletteSum = 0; }
void SetTwoByteSummary(OptionChoices& c, const OptionValue&) { c.twoByteSummary = true; }
void SetSeparateFonts(OptionChoices& c, const OptionValue&) { c.settings.KeepFontsSeparate = 1; }
void SetStrict(OptionChoices& c, const OptionValue&) { c.strict = true; }
void SetLevel(OptionChoices& c, const OptionValue& v) { c.level = v.number; }

// An empty side-file name asks for no side file, as an empty dialog field does.
void SetWidths(OptionChoices& c, const OptionValue& v) {
  c.settings.ExtractWidths = !v.text.empty();
  c.settings.ExtWidFile = v.text;
}
void SetStrip(OptionChoices& c, const OptionValue& v) {
  c.settings.StripFonts = !v.text.empty();
  c.settings.StripFontFile = v.text;
}
void SetExtract(OptionChoices& c, const OptionValue& v) {
  c.settings.KeepFonts = !v.text.empty();
  c.settings.KeepFontsFile = v.text;
}

// The dialog's font ID field: invalid or negative text stores 0.
void SetFirstFontId(OptionChoices& c, const OptionValue& v) {
  if (v.text.empty()) return;
  c.settings.AssignFontIds = 1;
  const auto id = ParseFontIdText(v.text);
  c.settings.FirstDFID = id && *id >= 0 ? *id : 0;
}

// An empty name keeps the default log and tables file.
void SetLog(OptionChoices& c, const OptionValue& v) {
  if (!v.text.empty()) c.logPath = std::string(v.text);
}
void SetTables(OptionChoices& c, const OptionValue& v) {
  if (!v.text.empty()) c.tablesPath = std::string(v.text);
}

// SIZE: bytes, or a number with K, M, G or T (powers of 1024); 0 lifts the limit.
void SetMaxOutput(OptionChoices& c, const OptionValue& v) {
  if (const std::optional<std::uint64_t> size = ParseByteSize(v.text)) {
    c.maxOutput = *size;
  } else {
    c.problem = "--max-output: '" + std::string(v.text) + "' is not a size (bytes, or a number with K, M, G or T)";
  }
}

using enum ValueKind;

// Rows with `available` false are refused until their feature is built;
// setting it true gives the option back with its setter unchanged.
constexpr auto kDecodeOptions = std::to_array<OptionRecord>({
    {"output", 'o', Text, "DEST",
     "Listing file; may hold one '*' (the source's base name); '-' (the default) is standard output", SetOutput},
    {"exceptions-only", 'e', Flag, {}, "Report only what is wrong in the job", SetExceptionsOnly},
    {"char-descriptors", 0, Flag, {}, "List the fields of character descriptors", SetCharDescriptors},
    {"font-raster", 0, Flag, {}, "Draw the bitmaps of downloaded characters", SetFontRaster},
    {"raster", 0, Flag, {}, "List raster graphics rows", SetRaster},
    {"contiguous", 0, Flag, {}, "List raster rows contiguously (with --raster)", SetContiguous},
    {"24bit-colors", 0, Flag, {}, "Collect 24-bit raster colours and summarise them", Set24BitColors},
    {"no-font-summary", 0, Flag, {}, "Leave out the downloaded font summary", ClearFontSummary},
    {"no-macro-summary", 0, Flag, {}, "Leave out the macro summary", ClearMacroSummary},
    {"no-page-summary", 0, Flag, {}, "Leave out page ejects and the page summary", ClearPageSummary},
    {"no-command-summary", 0, Flag, {}, "Leave out the PCL escape and PCL XL summaries", ClearCommandSummary},
    {"no-palette-summary", 0, Flag, {}, "Leave out the palette summaries", ClearPaletteSummary},
    {"two-byte-summary", 0, Flag, {}, "Summarise two-byte characters", SetTwoByteSummary},
    {"widths", 0, Text, "FILE", "Write the character widths of downloaded fonts to FILE", SetWidths},
    {"strip", 0, Text, "FILE", "Write the job without its downloaded fonts to FILE", SetStrip},
    {"extract", 0, Text, "FILE", "Write the downloaded fonts to FILE", SetExtract},
    {"separate-fonts", 0, Flag, {}, "One extracted file per font (with --extract)", SetSeparateFonts},
    {"first-font-id", 0, Text, "N", "Renumber extracted fonts from N", SetFirstFontId},
    {"level", 0, Integer, "N", "Listing level (default 4; 0 forces exceptions only)", SetLevel},
    {"log", 0, Text, "FILE", "Error log name when the listing goes to standard output", SetLog},
    {"tables", 0, Text, "FILE", "Tables file of paper size, symbol set and typeface names", SetTables},
    {"strict", 0, Flag, {}, "Exit with status 3 when the job had exceptions", SetStrict},
    {"max-output", 0, Text, "SIZE",
     "Stop listing a file after SIZE bytes (K, M, G suffixes; 0: no limit; default: 1G or 64 times the file)",
     SetMaxOutput},
});

constexpr bool EveryRowIsComplete() {
  return std::ranges::all_of(kDecodeOptions, [](const OptionRecord& r) {
    return !r.longName.empty() && !r.help.empty() && r.set != nullptr && r.valueName.empty() == (r.kind == Flag) &&
           (r.available || !r.feature.empty());
  });
}
static_assert(EveryRowIsComplete(), "a row lacks a name, help, setter, value name or the feature it waits for");

constexpr bool NamesAreUnique() {
  for (std::size_t i = 0; i < kDecodeOptions.size(); ++i) {
    for (std::size_t j = i + 1; j < kDecodeOptions.size(); ++j) {
      if (kDecodeOptions[i].longName == kDecodeOptions[j].longName) return false;
      if (kDecodeOptions[i].shortName != 0 && kDecodeOptions[i].shortName == kDecodeOptions[j].shortName) return false;
    }
  }
  return true;
}
static_assert(NamesAreUnique(), "two rows share a name");

}  // namespace

std::optional<std::uint64_t> ParseByteSize(std::string_view text) {
  std::uint64_t value = 0;
  std::size_t i = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    const std::uint64_t digit = static_cast<std::uint64_t>(text[i] - '0');
    if (value > (UINT64_MAX - digit) / 10) return std::nullopt;
    value = value * 10 + digit;
  }
  if (i == 0) return std::nullopt;
  int shift = 0;
  if (i < text.size()) {
    switch (text[i] | 0x20) {
      case 'k': shift = 10; break;
      case 'm': shift = 20; break;
      case 'g': shift = 30; break;
      case 't': shift = 40; break;
      default: return std::nullopt;
    }
    ++i;
  }
  if (i != text.size()) return std::nullopt;
  if (shift > 0 && value > (UINT64_MAX >> shift)) return std::nullopt;
  return value << shift;
}

std::span<const OptionRecord> DecodeOptionRecords() { return kDecodeOptions; }

const OptionRecord* FindDecodeOption(std::string_view longName) {
  const auto it = std::ranges::find(kDecodeOptions, longName, &OptionRecord::longName);
  return it != kDecodeOptions.end() ? &*it : nullptr;
}

std::string NotAvailableText(const OptionRecord& option) {
  return "--" + std::string(option.longName) + " is not available yet (" + std::string(option.feature) +
         " is coming in a later version)";
}

bool BuildRequestFromChoices(OptionChoices& choices, std::span<const std::string> sources, DecodeRequest& request) {
  if (sources.empty()) return false;
  choices.settings.SourceFile = sources.front();
  choices.settings.DestFile = choices.output;
  if (!BuildDecodeRequest(choices.settings, request)) return false;
  request.moreSources.assign(sources.begin() + 1, sources.end());
  request.level = choices.level;
  // Two-byte counting has no setting (the dialog never asks for it): only the request carries it.
  if (choices.twoByteSummary) request.flags |= DF_2BYTE_SUM;
  request.listingToStdout = choices.output == "-";
  if (request.listingToStdout) request.dest = std::nullopt;
  request.logPath = choices.logPath;
  request.tablesPath = choices.tablesPath;
  request.maxOutput = choices.maxOutput;
  return true;
}

}  // namespace veltrix
