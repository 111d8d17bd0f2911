#include "decode/trackers/MacroTracker.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace veltrix {

namespace {

// The ESC&f#X values.
enum MacroAction : std::int32_t {
  kStartDefine = 0,
  kStopDefine = 1,
  kExecute = 2,
  kCall = 3,
  kEnableOverlay = 4,
  kDisableOverlay = 5,
  kDeleteAll = 6,
  kDeleteTemporary = 7,
  kDelete = 8,
  kMakeTemporary = 9,
  kMakePermanent = 10,
};

// Indexed by the action; every name is 15 characters, so the offsets line up.
constexpr std::array<std::string_view, 11> kActionNames = {
    "Start Define   ", "Stop  Define   ", "Execute        ", "Call           ",
    "Enable  Overlay", "Disable Overlay", "Delete (All)   ", "Delete (Temp)  ",
    "Delete         ", "Make Temporary ", "Make Permanent "};
static_assert(std::ranges::all_of(kActionNames, [](std::string_view s) { return s.size() == 15; }));
static_assert(kActionNames.size() == kMakePermanent + 1);

void AddEvent(const MacroTracker& macros, MacroRecord& record, std::int32_t action,
              std::int64_t offset) {
  // Executing, deleting or changing the permanence of a macro that is not
  // completely defined leaves no trace.
  if (action >= kExecute && !record.defined) return;
  switch (action) {
    case kStartDefine:
    case kDeleteAll:
    case kDeleteTemporary:
    case kDelete:
      record.defined = false;
      break;
    case kStopDefine:
      record.defined = true;
      break;
    case kMakeTemporary:
      record.permanent = false;
      break;
    case kMakePermanent:
      record.permanent = true;
      break;
    default:
      break;
  }
  record.events.push_back(MacroEvent{action, macros.definingMacroId, offset});
}

// Only a start of definition makes a record; any other action on an unknown ID
// is dropped.
void RecordAction(MacroTracker& macros, std::int32_t id, std::int32_t action, std::int64_t offset) {
  auto it = macros.indexById.find(id);
  if (it == macros.indexById.end()) {
    if (action != kStartDefine) return;
    it = macros.indexById.emplace(id, macros.macros.size()).first;
    macros.macros.push_back(MacroRecord{id});
  }
  AddEvent(macros, macros.macros[it->second], action, offset);
}

}  // namespace

void ResetMacros(MacroTracker& macros, bool tracking) {
  ReleaseMacros(macros);
  macros.tracking = tracking;
  macros.currentMacroId = 0;
  macros.definingMacroId = -1;
  macros.overlayMacroId = -1;
}

void SetMacroId(MacroTracker& macros, std::int32_t id) { macros.currentMacroId = id; }

void RecordMacroControl(MacroTracker& macros, std::int32_t action, std::int64_t offset) {
  if (!macros.tracking || action < kStartDefine || action > kMakePermanent) return;
  // Inside a definition the printer stores every other macro command in the
  // macro instead of carrying it out.
  if (macros.definingMacroId >= 0 && action != kStopDefine && action != kExecute &&
      action != kCall) {
    return;
  }
  switch (action) {
    case kStartDefine:
      macros.definingMacroId = macros.currentMacroId;
      RecordAction(macros, macros.currentMacroId, kStartDefine, offset);
      break;
    case kStopDefine:
      if (macros.definingMacroId >= 0) {
        RecordAction(macros, macros.definingMacroId, kStopDefine, offset);
        macros.definingMacroId = -1;
      }
      break;
    case kEnableOverlay:
      if (macros.overlayMacroId >= 0) {
        RecordAction(macros, macros.overlayMacroId, kDisableOverlay, offset);
      }
      macros.overlayMacroId = macros.currentMacroId;
      RecordAction(macros, macros.currentMacroId, kEnableOverlay, offset);
      break;
    case kDisableOverlay:
      if (macros.overlayMacroId >= 0) {
        RecordAction(macros, macros.overlayMacroId, kDisableOverlay, offset);
        macros.overlayMacroId = -1;
      }
      break;
    case kDeleteAll:
      for (MacroRecord& record : macros.macros) AddEvent(macros, record, kDeleteAll, offset);
      break;
    case kDeleteTemporary:
      for (MacroRecord& record : macros.macros) {
        if (!record.permanent) AddEvent(macros, record, kDeleteTemporary, offset);
      }
      break;
    default:  // execute, call, delete, make temporary, make permanent
      RecordAction(macros, macros.currentMacroId, action, offset);
      break;
  }
}

void WriteMacroSummary(const MacroTracker& macros, OutputSink& out) {
  if (!macros.tracking) return;
  out.Printf("\n===================================================\n\n    Macro Summary %s\n\n",
             macros.macros.empty() ? ": No Macros Defined" : "");
  for (const MacroRecord& record : macros.macros) {
    out.Printf("    Macro ID %-5d (%s) :\n", record.macroId, record.permanent ? "perm" : "temp");
    for (const MacroEvent& event : record.events) {
      out.Put("        ");
      out.Put(kActionNames[static_cast<std::size_t>(event.action)]);
      out.Printf("  offset %7lld", static_cast<long long>(event.offset));
      if ((event.action == kExecute || event.action == kCall) && event.insideMacro >= 0) {
        out.Printf(" (inside macro %-5d)", event.insideMacro);
      }
      out.Put('\n');
    }
    out.Put('\n');
  }
}

void ReleaseMacros(MacroTracker& macros) {
  std::vector<MacroRecord>().swap(macros.macros);
  std::unordered_map<std::int32_t, std::size_t>().swap(macros.indexById);
}

}  // namespace veltrix
