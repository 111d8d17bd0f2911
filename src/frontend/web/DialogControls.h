// The dialog as a table: every control with its id, label (a '&' marks the
// mnemonic), the setting it edits, when it is enabled, and what help says
// about it. The page builds its form from these rows, the server applies the
// form to the settings through them, and the help page describes them.
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>

#include "decode/core/DecodeOptions.h"

namespace veltrix {

enum class ControlKind : std::uint8_t { CheckBox, Edit, Button };

// Enabled when every named check box is in the state given (0: no condition).
struct EnableRule {
  int unchecked = 0;
  int checked = 0;
  int alsoChecked = 0;
};

struct DialogControl {
  int id = 0;
  ControlKind kind = ControlKind::CheckBox;
  std::string_view group = {};
  std::string_view label = {};
  std::string_view key = {};  // the settings key it edits; empty for buttons
  std::uint32_t DecodeSettings::*flag = nullptr;
  std::string DecodeSettings::*name = nullptr;
  EnableRule enable = {};
  bool shownOffWhenSuppressed = false;  // shown unchecked while "Suppress All Output" is on
  std::string_view derivedExtension = {};  // the name ForceMatch gives it
  std::string_view option = {};  // the command-line option that asks for the same
  std::string_view help = {};
};

std::span<const DialogControl> DialogControls();
const DialogControl* FindDialogControl(int id);

// The label without its '&', and the mnemonic letter (lower case, 0: none).
std::string PlainLabel(std::string_view label);
char Mnemonic(std::string_view label);

// The source chooser's filter: pairs of description and patterns.
inline constexpr std::string_view kSourceFilter = "PCL Files|*.pcl;*.sfp;*.sfs|All Files|*.*|";

// The fields of a submitted form, named "c" and the control id.
using FormFields = std::map<std::string, std::string, std::less<>>;

// Check boxes set their settings (the page sends each setting's value, so a
// click has flipped it already); with `copyEdits` the edit fields are copied
// as the dialog copies them at Decode and Close: names up to 259 characters,
// the font ID text through the font ID parser (0 when invalid or negative).
void ApplyDialogForm(const FormFields& form, DecodeSettings& settings, bool copyEdits);

// Builds the request of a Decode from the settings through the option table,
// as the command line does; the settings keep what the builder changes (a
// side file without a name switched off). False, with the reason, when
// there is nothing to run.
bool BuildPageRequest(DecodeSettings& settings, DecodeRequest& request, std::string& why);

}  // namespace veltrix
