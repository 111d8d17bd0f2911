// The options that steer every decoder: the persistent settings, the request
// that one run is started with, the option bits and the personality codes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace veltrix {

struct DecodeProgress;

// Option bits: one word that every decoder tests (never the settings).
inline constexpr std::uint32_t DF_CHAR_DESC = 0x1;
inline constexpr std::uint32_t DF_RAS_FONTS = 0x2;
inline constexpr std::uint32_t DF_RAS_GRAPH = 0x4;
inline constexpr std::uint32_t DF_EXTRACT_WIDTHS = 0x8;
inline constexpr std::uint32_t DF_FONT_SUM = 0x10;
inline constexpr std::uint32_t DF_MACRO_SUM = 0x20;
inline constexpr std::uint32_t DF_PAGE_SUM = 0x40;
inline constexpr std::uint32_t DF_ESC_SUM = 0x80;
inline constexpr std::uint32_t DF_FONT_DETAIL = 0x100;
inline constexpr std::uint32_t DF_STRIP_FONTS = 0x200;
inline constexpr std::uint32_t DF_SUPPRESS = 0x400;
inline constexpr std::uint32_t DF_ERROR_LOG = 0x800;
inline constexpr std::uint32_t DF_PALETTE_SUM = 0x2000;
inline constexpr std::uint32_t DF_24BIT_RAST = 0x4000;
inline constexpr std::uint32_t DF_2BYTE_SUM = 0x8000;
inline constexpr std::uint32_t DF_RAS_CONTIGUOUS = 0x10000;
inline constexpr std::uint32_t DF_KEEP_FONTS = 0x20000;
inline constexpr std::uint32_t DF_KEEP_SEPARATE = 0x40000;

// Listing detail that exceptions-only mode takes away from every decoder.
inline constexpr std::uint32_t kDetailBits = DF_CHAR_DESC | DF_RAS_FONTS | DF_RAS_GRAPH | DF_FONT_DETAIL;

// Personality codes: the decoder of the next stretch of a job.
inline constexpr int EMUL_UNKNOWN = 0;
inline constexpr int EMUL_PJL = 1;
inline constexpr int EMUL_PCL = 2;
inline constexpr int EMUL_HPGL = 3;
inline constexpr int EMUL_PCLXL = 4;
inline constexpr int EMUL_POSTSCRIPT = 5;

// The persistent options, named as their settings-file keys. Flags are 0 off,
// non-zero on.
struct DecodeSettings {
  std::uint32_t SuppAllOutput = 0;
  std::uint32_t ShowCharDesc = 0;
  std::uint32_t ShowRasFonts = 0;
  std::uint32_t ShowRasGraph = 0;
  std::uint32_t ShowRasContiguous = 0;
  std::uint32_t ShowFontSum = 1;
  std::uint32_t ShowMacroSum = 1;
  std::uint32_t ShowPageSum = 1;
  std::uint32_t ShowEscSum = 1;
  std::uint32_t ExtractWidths = 0;
  std::uint32_t StripFonts = 0;
  std::uint32_t Show24BitRast = 0;
  std::uint32_t ShowPaletteSum = 1;
  std::uint32_t KeepFonts = 0;
  std::uint32_t AssignFontIds = 0;
  std::uint32_t KeepFontsSeparate = 0;
  std::int32_t FirstDFID = 0;
  std::uint32_t ForceMatch = 1;
  std::string SourceFile;
  std::string DestFile;
  std::string ExtWidFile;
  std::string StripFontFile;
  std::string KeepFontsFile;
  std::string settingsPath;
};

// The moment printed in the first report header of a run.
struct HeaderClock {
  std::int64_t epochSeconds = 0;
  bool utc = false;  // true: print in UTC (a fixed moment for comparable listings)
};

// What a front end hands to the driver for one run.
struct DecodeRequest {
  std::string settingsPath;
  std::uint32_t flags = 0;
  std::string source;
  // More sources decoded in the same run after `source`, in order, as the
  // matches of one wildcard would be (a shell-expanded command line).
  std::vector<std::string> moreSources;
  std::optional<std::string> dest;  // none: a .TXT listing beside the source
  std::optional<std::string> widths;
  std::optional<std::string> stripped;
  std::optional<std::string> kept;
  std::int32_t firstFontId = -1;
  bool completed = false;
  std::int32_t level = 4;
  std::string message;

  // Additions of this system's front ends.
  bool listingToStdout = false;       // dest "-": the listing goes to standard output
  std::optional<std::string> logPath;  // error log name when the listing is standard output
  std::optional<std::string> tablesPath;  // overrides the tables file beside the settings
  HeaderClock clock;
  std::string messageDetail;          // why the run failed (the system's reason), for the command line
  std::uint64_t exceptionCount = 0;   // result: problems reported in all files of the run
  DecodeProgress* progress = nullptr;  // not owned; updated while the run goes on
  std::optional<std::string> factsPath;  // the JSON facts of the run; "-" is standard output
  // Listing bytes one file may write (0: no limit); none: the larger of 1 GiB
  // and 64 times the file's size.
  std::optional<std::uint64_t> maxOutput;
};

// Fills `request` from `settings` (switching off side files that have no
// name, in the settings too). Returns whether there is a source to decode.
bool BuildDecodeRequest(DecodeSettings& settings, DecodeRequest& request);

// Parses the text of a font ID field. Returns nullopt when it is not valid.
std::optional<std::int32_t> ParseFontIdText(std::string_view text);

// The bits a run works with after the driver's adjustments (level 0 forces
// exceptions only, which drops the detail bits; otherwise an error log).
std::uint32_t AdjustRunFlags(std::uint32_t flags, std::int32_t level, bool haveKeptName);

}  // namespace veltrix
