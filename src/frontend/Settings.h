// The settings file: the dialog's options between runs, in sections "Flags",
// "Values" and "Files" of veltrix.ini. The same file holds the name tables
// and whatever else the user keeps there; writing the settings replaces only
// their own keys and keeps every other line as it was.
#pragma once

#include <string>
#include <string_view>

#include "decode/core/DecodeOptions.h"

namespace veltrix {

// What a load or a save came to: `ok` false with a message for the user.
struct SettingsOutcome {
  bool ok = true;
  std::string message;
};

// The output names that follow the source when ForceMatch is on: the file
// name lower-cased and its extension replaced by ".txt" (added when it has
// none), then ".wid", ".stp" and ".fnt" in place of the ".txt". The folder
// part keeps its case (folder names are case-sensitive here).
std::string MatchingName(std::string_view source, std::string_view extension);
void DeriveMatchingNames(DecodeSettings& settings);

// Reads the keys from the text of a settings file into `settings` (a missing
// key keeps the value it has). False, with the reason in `why`, when the text
// is not a settings file (a NUL byte, an unclosed section name).
bool ReadSettingsText(std::string_view text, DecodeSettings& settings, std::string& why);

// The text of the settings file after a save: `oldText` with every key of
// the settings replaced or added, in the save order, and every other section,
// key and comment kept. Numbers are written as their low 16 bits, unsigned.
std::string MergeSettingsText(std::string_view oldText, const DecodeSettings& settings);

// Starts from the defaults, sets the settings path and reads the file at
// `path` (a missing file is not an error); then derives the output names when
// ForceMatch is on. On a file that cannot be read the settings are the
// defaults and the message says why.
SettingsOutcome LoadSettings(const std::string& path, DecodeSettings& settings);

// Writes the settings to their settings path (nothing when it is empty),
// creating its folder when needed. A file that exists but cannot be read as a
// settings file is left alone, so that nothing the user keeps there is lost.
SettingsOutcome SaveSettings(const DecodeSettings& settings);

}  // namespace veltrix
