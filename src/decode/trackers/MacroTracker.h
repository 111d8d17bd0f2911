// Macro tracker: the life of every PCL macro of the file, for the macro
// summary.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "decode/core/OutputSink.h"

namespace veltrix {

struct MacroEvent {
  std::int32_t action = 0;        // the ESC&f#X value, 0 to 10
  std::int32_t insideMacro = -1;  // the macro being defined at the time, -1 when none
  std::int64_t offset = 0;        // input offset just after the macro control escape
};

struct MacroRecord {
  std::int32_t macroId = 0;
  bool permanent = false;
  bool defined = false;  // its definition was stopped, and it was not deleted since
  std::vector<MacroEvent> events;
};

struct MacroTracker {
  bool tracking = false;
  std::int32_t currentMacroId = 0;    // the last ESC&f#Y
  std::int32_t definingMacroId = -1;  // -1: no definition open
  std::int32_t overlayMacroId = -1;   // -1: no overlay enabled
  std::vector<MacroRecord> macros;    // in order of first definition
  std::unordered_map<std::int32_t, std::size_t> indexById;  // into macros
};

void ResetMacros(MacroTracker& macros, bool tracking);
// ESC&f#Y.
void SetMacroId(MacroTracker& macros, std::int32_t id);
// ESC&f#X, with the input offset just after the escape.
void RecordMacroControl(MacroTracker& macros, std::int32_t action, std::int64_t offset);
void WriteMacroSummary(const MacroTracker& macros, OutputSink& out);
void ReleaseMacros(MacroTracker& macros);

}  // namespace veltrix
