#include "frontend/CommandLine.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "decode/core/DecodeOptions.h"
#include "decode/Korvane.h"
#include "frontend/SettingsPath.h"

namespace veltrix {

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitExceptions = 3;

// SOURCE_DATE_EPOCH fixes the header's moment (in UTC) so that listings can
// be compared byte for byte; otherwise it is now, in local time.
HeaderClock ReadHeaderClock() {
  HeaderClock clock;
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch && *epoch) {
    char* end = nullptr;
    const long long seconds = std::strtoll(epoch, &end, 10);
    if (end && *end == '\0') {
      clock.epochSeconds = seconds;
      clock.utc = true;
      return clock;
    }
  }
  clock.epochSeconds = static_cast<std::int64_t>(std::time(nullptr));
  return clock;
}

}  // namespace

int RunCommandLine(int argc, char** argv) {
  CLI::App app{"Lists every command of a printer job (PCL 5, HP-GL/2, PCL XL, PJL) with its parameters and data."};
  app.set_version_flag("--version", std::string("veltrix ") + VELTRIX_VERSION);
  app.get_formatter()->column_width(30);

  DecodeSettings settings;
  settings.ForceMatch = 0;
  std::vector<std::string> sources;
  std::string output = "-";
  bool exceptionsOnly = false, charDescriptors = false, fontRaster = false, raster = false, contiguous = false;
  bool colors24 = false, noFontSummary = false, noMacroSummary = false, noPageSummary = false;
  bool noCommandSummary = false, noPaletteSummary = false, twoByteSummary = false, separateFonts = false;
  bool strict = false;
  std::string widths, strip, extract, firstFontId, log, tables;
  int level = 4;

  app.add_option("SOURCE", sources, "Print files; '*' and '?' in a file name (quoted) match files; '-' reads standard input")
      ->required();
  app.add_option("-o,--output", output, "Listing file; may hold one '*' (the source's base name); '-' is standard output")
      ->capture_default_str();
  app.add_flag("-e,--exceptions-only", exceptionsOnly, "Report only what is wrong in the job");
  app.add_flag("--char-descriptors", charDescriptors, "List the fields of character descriptors");
  app.add_flag("--font-raster", fontRaster, "Draw the bitmaps of downloaded characters");
  app.add_flag("--raster", raster, "List raster graphics rows");
  app.add_flag("--contiguous", contiguous, "List raster rows contiguously (with --raster)");
  app.add_flag("--24bit-colors", colors24, "Collect 24-bit raster colours and summarise them");
  app.add_flag("--no-font-summary", noFontSummary, "Leave out the downloaded font summary");
  app.add_flag("--no-macro-summary", noMacroSummary, "Leave out the macro summary");
  app.add_flag("--no-page-summary", noPageSummary, "Leave out page ejects and the page summary");
  app.add_flag("--no-command-summary", noCommandSummary, "Leave out the PCL escape and PCL XL summaries");
  app.add_flag("--no-palette-summary", noPaletteSummary, "Leave out the palette summaries");
  app.add_flag("--two-byte-summary", twoByteSummary, "Summarise two-byte characters");
  app.add_option("--widths", widths, "Write the character widths of downloaded fonts to FILE");
  app.add_option("--strip", strip, "Write the job without its downloaded fonts to FILE");
  app.add_option("--extract", extract, "Write the downloaded fonts to FILE");
  app.add_flag("--separate-fonts", separateFonts, "One extracted file per font (with --extract)");
  app.add_option("--first-font-id", firstFontId, "Renumber extracted fonts from N");
  app.add_option("--level", level, "Listing level (0 forces exceptions only)")->capture_default_str();
  app.add_option("--log", log, "Error log name when the listing goes to standard output");
  app.add_option("--tables", tables, "Tables file of paper size, symbol set and typeface names");
  app.add_flag("--strict", strict, "Exit with status 3 when the job had exceptions");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e);
    return status == 0 ? 0 : kExitUsage;
  }

  settings.SuppAllOutput = exceptionsOnly;
  settings.ShowCharDesc = charDescriptors;
  settings.ShowRasFonts = fontRaster;
  settings.ShowRasGraph = raster;
  settings.ShowRasContiguous = contiguous;
  settings.Show24BitRast = colors24;
  settings.ShowFontSum = !noFontSummary;
  settings.ShowMacroSum = !noMacroSummary;
  settings.ShowPageSum = !noPageSummary;
  settings.ShowEscSum = !noCommandSummary;
  settings.ShowPaletteSum = !noPaletteSummary;
  settings.ExtractWidths = !widths.empty();
  settings.ExtWidFile = widths;
  settings.StripFonts = !strip.empty();
  settings.StripFontFile = strip;
  settings.KeepFonts = !extract.empty();
  settings.KeepFontsFile = extract;
  settings.KeepFontsSeparate = separateFonts;
  if (!firstFontId.empty()) {
    settings.AssignFontIds = 1;
    const auto id = ParseFontIdText(firstFontId);
    settings.FirstDFID = id && *id >= 0 ? *id : 0;
  }
  settings.SourceFile = sources.front();
  settings.DestFile = output;
  settings.settingsPath = SettingsFilePath();

  DecodeRequest request;
  if (!BuildDecodeRequest(settings, request)) {
    std::cerr << "veltrix: the source name is empty\n";
    return kExitUsage;
  }
  request.moreSources.assign(sources.begin() + 1, sources.end());
  request.level = level;
  if (twoByteSummary) request.flags |= DF_2BYTE_SUM;
  request.listingToStdout = output == "-";
  if (request.listingToStdout) request.dest = std::nullopt;
  if (!log.empty()) request.logPath = log;
  if (!tables.empty()) request.tablesPath = tables;
  request.clock = ReadHeaderClock();

  const int result = DecodeFiles(request);
  if (!request.message.empty()) {
    std::string message = request.message;
    while (!message.empty() && message.back() == '\n') message.pop_back();
    std::cerr << "veltrix: " << message;
    if (!request.messageDetail.empty()) std::cerr << " (" << request.messageDetail << ")";
    std::cerr << "\n";
    return kExitFailed;
  }
  if (result != 0) return kExitFailed;
  if (strict && request.exceptionCount > 0) return kExitExceptions;
  return 0;
}

}  // namespace veltrix
