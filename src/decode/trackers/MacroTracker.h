// Macro tracker: the life of every PCL macro of the file, for the macro
// summary.
//
// A job may define millions of macros and call them millions of times, so
// nothing here grows by more than a few bytes a macro: the IDs in
// definition order, one state byte each, an ID index,
// and the events themselves in a log that spills to disk. The group deletes
// visit only the macros that are defined, through lists that drop each
// entry once it is visited.
#pragma once

#include <cstdint>
#include <deque>

#include "decode/core/IdIndex.h"
#include "decode/core/OutputSink.h"
#include "decode/core/SpillLog.h"

namespace veltrix {

struct MacroTracker {
  bool tracking = false;
  std::uint32_t currentMacroId = 0;  // the last ESC&f#Y
  bool defining = false;             // a definition is open
  std::uint32_t definingMacroId = 0;
  bool overlayOn = false;
  std::uint32_t overlayMacroId = 0;

  // Deques rather than vectors: they grow a block at a time, never holding
  // two copies of a long table.
  std::deque<std::uint32_t> ids;    // macro IDs in order of first definition
  std::deque<std::uint8_t> states;  // per macro: the kMacro* bits below
  IdIndex indexById;                 // ID -> position in `ids`
  // Macros that may be defined, temporary and permanent; an entry goes stale
  // when its macro is deleted or changes permanence, and is dropped when a
  // group delete visits it.
  std::deque<std::uint32_t> maybeTemporary;
  std::deque<std::uint32_t> maybePermanent;
  // Every event in the job's order: the macro's position, the action (with
  // bit 4 set when an ID of the macro being defined follows), the offset as a
  // zigzag difference from the event before, then that ID.
  SpillLog events;
  std::int64_t lastOffset = 0;
};

inline constexpr std::uint8_t kMacroPermanent = 0x1;
inline constexpr std::uint8_t kMacroDefined = 0x2;
inline constexpr std::uint8_t kMacroOnTemporaryList = 0x4;
inline constexpr std::uint8_t kMacroOnPermanentList = 0x8;

void ResetMacros(MacroTracker& macros, bool tracking);
// ESC&f#Y.
void SetMacroId(MacroTracker& macros, std::uint32_t id);
// ESC&f#X, with the input offset just after the escape.
void RecordMacroControl(MacroTracker& macros, std::uint32_t action, std::int64_t offset);
// The summary is the tracker's last use: it first lets go of the ID index
// and the lists of defined macros, so that its sort has their memory.
void WriteMacroSummary(MacroTracker& macros, OutputSink& out);
void ReleaseMacros(MacroTracker& macros);

}  // namespace veltrix
