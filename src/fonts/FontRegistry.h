// The downloaded fonts of the file being decoded: every font definition (PCL
// soft fonts and PCL XL downloaded fonts), the widths of their characters,
// and the header and character formats met. Summarised at the end of the
// file (the Font Summary and the Font Attribute Summary) and written to the
// widths file.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "decode/core/OutputSink.h"
#include "fonts/FontSelection.h"

namespace veltrix {

// At most this many distinct header formats and character formats are kept.
inline constexpr std::size_t kMaxFormatsNoted = 16;

struct FontRecord {
  std::string name;     // may be empty; up to its first NUL
  std::int32_t id = 0;  // the PCL font ID; for a PCL XL font the complement of its font number
  std::int32_t index = 0;  // earlier definitions with the same id
  std::uint8_t format = 0;  // the current font format when the font was defined
  bool xl = false;
  std::map<std::int32_t, std::int32_t> widths;  // character code -> Delta X, ascending by code
};

struct FontRegistry {
  bool widthsOn = false;   // DF_EXTRACT_WIDTHS of the current file
  bool summaryOn = false;  // DF_FONT_SUM of the current file
  std::int32_t currentFontId = 0;    // the last ESC*c#D
  std::int32_t currentCharCode = 0;  // the last ESC*c#E
  std::vector<FontRecord> fonts;     // in definition order
  std::int32_t currentFont = -1;     // index in fonts of the record that receives widths; -1 none
  std::uint8_t currentFontFormat = 0;
  std::vector<std::uint8_t> fontFormats;  // in order of first appearance
  std::vector<std::uint8_t> charFormats;
  // Per stored id: how many definitions it has and the index in fonts of
  // the last PCL one, so that a job of many fonts costs linear time.
  struct IdDefinitions {
    std::int32_t count = 0;
    std::int32_t lastPcl = -1;
  };
  std::unordered_map<std::int32_t, IdDefinitions> byId;
};

// Before each file: both flags set, everything else cleared; the font
// selections reset (all attributes unset, primary current) and the used
// fonts emptied.
void StartFontRegistry(FontRegistry& registry, FontSelectionState& selections, bool widthsOn, bool summaryOn);
// ESC*c#D: a new ID makes its last PCL definition the current font (none
// when it has none).
void NoteFontId(FontRegistry& registry, std::int32_t id);
// ESC*c#E.
void NoteCharCode(FontRegistry& registry, std::int32_t code);
// The header format of the descriptor being decoded.
void NoteFontFormat(FontRegistry& registry, std::uint8_t format);
// The format of the character descriptor being decoded.
void NoteCharFormat(FontRegistry& registry, std::uint8_t format);
// A font definition: PCL (the descriptor's name, the current font ID) or
// PCL XL (the font's name and number, xl set). Nothing happens unless the
// widths or the summary are on. A PCL record becomes the current font.
void AddFontRecord(FontRegistry& registry, std::string_view name, std::int32_t id, bool xl);
// The Delta X of the current character, for the current font (if any).
void NoteCharWidth(FontRegistry& registry, std::int32_t width);
// The record's name as the summary and the widths file show it.
inline std::string_view ShownFontName(const FontRecord& record) {
  return record.name.empty() ? std::string_view("<unnamed>") : std::string_view(record.name);
}

// How many later definitions share the record's id (the record must be one
// of the registry's).
std::int32_t LaterDefinitions(const FontRegistry& registry, const FontRecord& record);

// The Font Summary and the Font Attribute Summary, written whatever the
// flags: the caller decides whether the summary is wanted.
void WriteFontSummary(const FontRegistry& registry, const FontSelectionState& selections, OutputSink& listing);
// The widths file's part of this file (nothing unless widths are on and a
// font was defined).
void WriteWidths(const FontRegistry& registry, OutputSink& widths);
// After each file: everything released.
void EndFontRegistry(FontRegistry& registry, FontSelectionState& selections);

}  // namespace veltrix
