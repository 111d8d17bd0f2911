// The extracted fonts: every font header and character download of the job,
// written again as self-contained PCL download commands, into one file or
// into one file per font, under the font IDs of the job or under new ones
// counted from a first ID.
//
// The PCL 5 decoder reports the four groups that matter (KeepFontHook); the
// header and character data are copied from the input by offset. The PCL XL
// decoder hands over its downloaded fonts' headers and characters from
// memory, and they are written in the same PCL command form.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "decode/core/ByteReader.h"
#include "decode/core/OutputSink.h"

namespace veltrix {

// The kind of font a header defines; it names a separate font file.
enum class FontClass : std::uint8_t {
  PortraitBitmap,   // header format 0 or 20, orientation 0
  LandscapeBitmap,  // header format 0 or 20, any other orientation
  Scalable,         // header format 10 or 11
  TrueType,         // header format 15 or 16, and every PCL XL font
  Other,            // any other format, or a header of fewer than 64 bytes
};

// The group of a font download command that the PCL 5 decoder reports.
enum class KeepGroup : std::uint8_t {
  FontId,      // ESC*c#D
  CharCode,    // ESC*c#E
  FontHeader,  // ESC)s#W: its data is the header
  CharData,    // ESC(s#W: its data is the character
};

// A font of the job, in the order of its first header.
struct FontMapEntry {
  std::int64_t id = 0;  // the job's font ID (or PCL XL font number)
  FontClass fontClass = FontClass::Other;
};

// Beyond this many fonts the map is emptied and starts again (a job that
// defines this many fonts is forged; renumbered IDs repeat long before).
inline constexpr std::size_t kMaxFontMapEntries = std::size_t{1} << 20;

struct FontIdMap {
  std::vector<FontMapEntry> entries;                        // in definition order
  std::unordered_map<std::int64_t, std::uint32_t> position;  // id -> index in entries
};

// Opens a separate font file: truncating it, or for appending. Returns null
// with the reason in `why` when the file cannot be opened. Given by the
// driver, which alone decides which paths may be written.
using FontFileOpener =
    std::function<std::unique_ptr<OutputSink>(const std::string& path, bool append, std::string& why)>;

struct KeepState {
  const ByteReader* input = nullptr;  // copied from by offset
  // Where downloads go: the extracted-fonts file, or with separate files the
  // file of the font being written (none before the first is opened).
  OutputSink* output = nullptr;
  std::unique_ptr<OutputSink> fontFile;  // the open separate file
  std::string fontFilePath;
  FontFileOpener openFontFile;
  std::int32_t firstId = -1;  // new IDs count from here; negative: the job's IDs are kept
  FontIdMap map;
  bool separate = false;
  std::string baseName;          // the pattern of separate file names
  std::int64_t currentFont = 0;  // the last ESC*c#D (or PCL XL font number)
  std::int64_t currentChar = 0;  // the last ESC*c#E (or PCL XL character code)
  std::int64_t newId = -1;       // the current font's ID in the output; -1: not in the map
  std::int64_t writtenId = -1;   // the last font ID written
  std::int64_t writtenChar = -1;  // the last character code written
  // For the driver to report: the first separate file that could not be
  // opened (its downloads were discarded), and the first whose writing or
  // closing failed (errno).
  std::string openFailurePath;
  std::string openFailureReason;
  std::string writeFailurePath;
  int writeFailureError = 0;
  bool copyFailed = false;  // the input could not be read again: downloads lack data
};

// Starts a file. With `separate` the output is ignored and files named after
// `baseName` are opened through `openFontFile`; otherwise everything goes to
// `output` (null: nothing is extracted, and the hooks do nothing).
void StartKeep(KeepState& keep, const ByteReader& input, OutputSink* output, std::int32_t firstId, bool separate,
               std::string baseName, FontFileOpener openFontFile);

// Called by the PCL 5 decoder after each of the four groups, with the offset
// where the group's data starts (right after its terminator) and its value.
void KeepFontHook(KeepState& keep, std::uint64_t dataOffset, std::uint32_t value, KeepGroup group);

// A complete PCL XL font header, and a PCL XL character of a downloaded font.
void KeepXlFontHeader(KeepState& keep, std::int32_t fontNumber, std::span<const std::uint8_t> header);
void KeepXlChar(KeepState& keep, std::int32_t fontNumber, std::int32_t charCode, std::span<const std::uint8_t> data);

// At the end of the file: closes the open separate file, releases the map and
// disables the hooks. A single output is the driver's to close.
void FinishKeep(KeepState& keep);

// The class of a PCL font header from its first bytes (64 are needed).
FontClass ClassifyFontHeader(std::span<const std::uint8_t> header);

// The name of a separate font file: the base name with its extension (from
// the last '.' after which no ':', '\\' or '/' comes) replaced by the ID and
// the class's extension, or with them appended when it has none.
std::string SeparateFontFileName(std::string_view baseName, std::int64_t id, FontClass fontClass);

}  // namespace veltrix
