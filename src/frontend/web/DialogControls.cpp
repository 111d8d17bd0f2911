#include "frontend/web/DialogControls.h"

#include <algorithm>
#include <array>

#include "frontend/OptionTable.h"

namespace veltrix {

namespace {

constexpr std::size_t kMaxNameLength = 259;
constexpr std::size_t kMaxFontIdText = 63;

using enum ControlKind;
using S = DecodeSettings;

constexpr std::string_view kFiles = "Files";
constexpr std::string_view kOutput = "Output Control";
constexpr std::string_view kSummaries = "Summaries";
constexpr std::string_view kButtons = "Buttons";

// In the order the dialog shows them, group by group.
constexpr auto kControls = std::to_array<DialogControl>({
    {1104, CheckBox, kFiles, "Force &matching output filenames", "ForceMatch", &S::ForceMatch, nullptr, {}, false, {}, {},
     "Names the listing and the side files after the source: its name in lower case with the extension .txt, "
     ".wid, .stp and .fnt. While it is on, the four name fields follow the Source field and cannot be edited."},
    {1100, Edit, kFiles, "S&ource", "SourceFile", nullptr, &S::SourceFile, {}, false, {}, "SOURCE",
     "The print file to decode. A '*' in its file name decodes every matching file in its folder."},
    {1101, Edit, kFiles, "D&est", "DestFile", nullptr, &S::DestFile, {1104}, false, ".txt", "--output",
     "The listing file. It may hold one '*', replaced by each source's base name. Empty: a listing beside the "
     "source, named after it with the extension .TXT."},
    {1105, CheckBox, kFiles, "E&xtract Widths", "ExtractWidths", &S::ExtractWidths, nullptr, {}, false, {}, "--widths",
     "Writes the character widths of the downloaded fonts to the Width file."},
    {1102, Edit, kFiles, "&Width", "ExtWidFile", nullptr, &S::ExtWidFile, {1104, 1105}, false, ".wid", "--widths",
     "The widths file. Extract Widths is switched off at Decode when this is empty."},
    {1106, CheckBox, kFiles, "Strip download &fonts", "StripFonts", &S::StripFonts, nullptr, {}, false, {}, "--strip",
     "Writes a copy of the job without its downloaded fonts to the Stripped file."},
    {1103, Edit, kFiles, "S&tripped", "StripFontFile", nullptr, &S::StripFontFile, {1104, 1106}, false, ".stp",
     "--strip", "The stripped job. Strip download fonts is switched off at Decode when this is empty."},
    {1004, CheckBox, kFiles, "Extract download fonts", "KeepFonts", &S::KeepFonts, nullptr, {}, false, {}, "--extract",
     "Writes the downloaded fonts of the job to the Extracted file."},
    {1002, Edit, kFiles, "Extracted", "KeepFontsFile", nullptr, &S::KeepFontsFile, {1104, 1004}, false, ".fnt",
     "--extract",
     "The extracted fonts file (the base name when each font goes to a file of its own). Extract download fonts "
     "is switched off at Decode when this is empty."},
    {1005, CheckBox, kFiles, "Assign Font IDs, starting with : ", "AssignFontIds", &S::AssignFontIds, nullptr, {},
     false, {}, "--first-font-id", "Gives the extracted fonts new font IDs, counting up from the number beside it."},
    {1006, Edit, kFiles, "", "FirstDFID", nullptr, nullptr, {0, 1004, 1005}, false, {}, "--first-font-id",
     "The first new font ID, a decimal number. Text that is not a number, and a negative number, count as 0 "
     "at the next Decode."},
    {1007, CheckBox, kFiles, "Place in Separate Files", "KeepFontsSeparate", &S::KeepFontsSeparate, nullptr,
     {0, 1004, 1005}, false, {}, "--separate-fonts", "Writes each extracted font to a file of its own."},
    {1107, CheckBox, kOutput, "Show Character Descri&ptors", "ShowCharDesc", &S::ShowCharDesc, nullptr, {1110}, true,
     {}, "--char-descriptors", "Lists the fields of the character descriptors of downloaded characters."},
    {1108, CheckBox, kOutput, "Show Font &Raster Data", "ShowRasFonts", &S::ShowRasFonts, nullptr, {1110}, true, {},
     "--font-raster", "Draws the bitmaps of downloaded characters."},
    {1109, CheckBox, kOutput, "Show &Graphics Raster Data", "ShowRasGraph", &S::ShowRasGraph, nullptr, {1110}, true,
     {}, "--raster", "Lists the rows of raster graphics."},
    {1008, CheckBox, kOutput, "Contiguous", "ShowRasContiguous", &S::ShowRasContiguous, nullptr, {1110}, true, {},
     "--contiguous", "Lists raster rows one after another, without the commands between them (with Show Graphics "
     "Raster Data)."},
    {1110, CheckBox, kOutput, "Suppress &All Output (ERROR CHECK)", "SuppAllOutput", &S::SuppAllOutput, nullptr, {},
     false, {}, "--exceptions-only",
     "Reports only what is wrong in the job. While it is on, the five detail boxes show unchecked and cannot be "
     "changed; their settings come back when it is cleared."},
    {1001, CheckBox, kOutput, "Show 24-Bit Color Raster Values", "Show24BitRast", &S::Show24BitRast, nullptr, {1110},
     true, {}, "--24bit-colors", "Collects the 24-bit colours of raster rows and summarises them."},
    {1111, CheckBox, kSummaries, "Downloaded Fonts", "ShowFontSum", &S::ShowFontSum, nullptr, {}, false, {},
     "--no-font-summary", "The summary of downloaded fonts and the fonts text was printed in."},
    {1112, CheckBox, kSummaries, "Macros", "ShowMacroSum", &S::ShowMacroSum, nullptr, {}, false, {},
     "--no-macro-summary", "The summary of macros."},
    {1113, CheckBox, kSummaries, "Pages", "ShowPageSum", &S::ShowPageSum, nullptr, {}, false, {}, "--no-page-summary",
     "The page eject lines and the summary of pages."},
    {1114, CheckBox, kSummaries, "Commands", "ShowEscSum", &S::ShowEscSum, nullptr, {}, false, {},
     "--no-command-summary", "The counts of PCL escapes, control characters and PCL XL operators."},
    {1000, CheckBox, kSummaries, "Color Palettes", "ShowPaletteSum", &S::ShowPaletteSum, nullptr, {}, false, {},
     "--no-palette-summary", "The summaries of colour palettes."},
    {11003, Button, kButtons, "&Source", {}, nullptr, nullptr, {}, false, {}, {},
     "Opens the file chooser: the folders and files of this computer, PCL files (*.pcl, *.sfp, *.sfs) or all "
     "files. The chosen file goes into the Source field."},
    {11001, Button, kButtons, "&Decode", {}, nullptr, nullptr, {}, false, {}, {},
     "Decodes the source with these settings. The page shows how many bytes have been read; a second Decode "
     "waits until the first has ended."},
    {111, Button, kButtons, "View Dest", {}, nullptr, nullptr, {}, false, {}, {},
     "Shows the listing in the page, a page of lines at a time, with the problem lines (*** and *ERROR*) "
     "highlighted and buttons that go to the next and the previous one. It is enabled after a Decode that "
     "wrote the Dest file."},
    {11002, Button, kButtons, "&Close", {}, nullptr, nullptr, {}, false, {}, {},
     "Saves the settings and stops the program. The page cannot be used afterwards."},
    {11004, Button, kButtons, "&Help", {}, nullptr, nullptr, {}, false, {}, {}, "Shows this help."},
    {1009, Button, kButtons, "About...", {}, nullptr, nullptr, {}, false, {}, {},
     "Shows the program's name and version."},
});

constexpr bool IdsAreUnique() {
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    for (std::size_t j = i + 1; j < kControls.size(); ++j) {
      if (kControls[i].id == kControls[j].id) return false;
    }
  }
  return true;
}
static_assert(IdsAreUnique(), "two controls share an id");

constexpr bool RulesNameCheckBoxes() {
  for (const DialogControl& c : kControls) {
    for (const int id : {c.enable.unchecked, c.enable.checked, c.enable.alsoChecked}) {
      if (id == 0) continue;
      const auto it = std::ranges::find(kControls, id, &DialogControl::id);
      if (it == kControls.end() || it->kind != ControlKind::CheckBox) return false;
    }
    if ((c.kind == ControlKind::CheckBox) != (c.flag != nullptr)) return false;
  }
  return true;
}
static_assert(RulesNameCheckBoxes(), "an enabling rule names a control that is no check box, or a box has no flag");

std::string_view FieldText(const FormFields& form, int id, bool& present) {
  const auto it = form.find("c" + std::to_string(id));
  present = it != form.end();
  return present ? std::string_view(it->second) : std::string_view();
}

}  // namespace

std::span<const DialogControl> DialogControls() { return kControls; }

const DialogControl* FindDialogControl(int id) {
  const auto it = std::ranges::find(kControls, id, &DialogControl::id);
  return it != kControls.end() ? &*it : nullptr;
}

std::string PlainLabel(std::string_view label) {
  std::string plain;
  for (std::size_t i = 0; i < label.size(); ++i) {
    if (label[i] == '&' && i + 1 < label.size()) ++i;
    plain += label[i];
  }
  return plain;
}

char Mnemonic(std::string_view label) {
  const std::size_t amp = label.find('&');
  if (amp == std::string_view::npos || amp + 1 >= label.size()) return 0;
  const char c = label[amp + 1];
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

void ApplyDialogForm(const FormFields& form, DecodeSettings& settings, bool copyEdits) {
  for (const DialogControl& control : kControls) {
    bool present = false;
    const std::string_view text = FieldText(form, control.id, present);
    if (!present) continue;
    if (control.flag) {
      std::uint32_t value = 0;
      for (const char c : text) {
        if (c < '0' || c > '9') break;
        value = value * 10 + static_cast<std::uint32_t>(c - '0');
      }
      settings.*control.flag = value;
    } else if (copyEdits && control.name) {
      settings.*control.name = std::string(text.substr(0, kMaxNameLength));
    } else if (copyEdits && control.key == "FirstDFID") {
      const auto id = ParseFontIdText(text.substr(0, kMaxFontIdText));
      settings.FirstDFID = id && *id >= 0 ? *id : 0;
    }
  }
}

bool BuildPageRequest(DecodeSettings& settings, DecodeRequest& request, std::string& why) {
  if (settings.SourceFile.empty()) {
    why = "There is no source file to decode.";
    return false;
  }
  if (settings.DestFile == "-") {
    why = "Dest \"-\" is standard output, which the page cannot show: name a listing file.";
    return false;
  }
  OptionChoices choices;
  choices.settings = settings;
  choices.output = settings.DestFile;
  const std::string sources[] = {settings.SourceFile};
  const bool run = BuildRequestFromChoices(choices, sources, request);
  settings = choices.settings;
  if (!run) why = "There is no source file to decode.";
  return run;
}

}  // namespace veltrix
