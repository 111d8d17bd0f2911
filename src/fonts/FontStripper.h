// The stripped job: a byte copy of the input without its font download
// groups (ESC*c#D, ESC*c#E, ESC*c#F, ESC)s#W, ESC(s#W and their data).
//
// The PCL 5 byte loop reports every byte it reads itself (StripByteHook) and
// the end of every font group (StripEscapeHook); the copy is made from the
// input by offset, so bytes read by the escape parser, by handlers and by
// other personalities (PJL lines) are copied without being reported. A
// combined escape that loses a group is repaired: a group left at its start
// gets the escape's prefix (ESC and its parameterized and group characters)
// written before it, and the group kept before a removed one has its
// chaining (lower-case) terminator written in upper case.
#pragma once

#include <cstdint>
#include <limits>

#include "decode/core/ByteReader.h"
#include "decode/core/OutputSink.h"

namespace veltrix {

// What the byte loop knows about the byte it reports.
enum class StripByteKind : std::uint8_t {
  Escape,        // the byte is ESC
  FurtherGroup,  // the byte starts a further group of a combined escape
  Other,         // text, a control byte, anything else
};

inline constexpr std::uint64_t kNoPendingEscape = std::numeric_limits<std::uint64_t>::max();

struct StripState {
  ByteReader* input = nullptr;    // read back by offset, its position left as found
  OutputSink* output = nullptr;   // the stripped job
  bool enabled = false;
  std::uint64_t copiedTo = 0;     // the output stands for the input up to this offset
  std::uint64_t escapeStart = kNoPendingEscape;  // the ESC of the escape being parsed
  std::uint64_t mark = 0;         // offset of the last byte reported
  // Bytes [owedFrom, copiedTo) belong in the output unchanged but are not
  // written yet: they go out in one copy when something else must follow
  // them, so a job of short escapes and text costs no read per escape.
  std::uint64_t owedFrom = 0;
  bool copyFailed = false;        // the input could not be read again: the output lacks bytes
};

// Starts a file: nothing copied, no escape pending. With `enabled` clear
// every hook does nothing. `input` must be a file or memory: a pipe cannot
// be read again (spool it first).
void StartStrip(StripState& strip, ByteReader& input, OutputSink& output, bool enabled);

// Out of line: the end of a pending escape, reached by a byte that is not
// part of it (or by the next ESC).
void EndStripEscape(StripState& strip);

// Called by the PCL 5 byte loop for every byte it reads, with the byte's
// offset, right after reading it (the reader stands at offset + 1).
inline void StripByteHook(StripState& strip, std::uint64_t offset, StripByteKind kind) {
  if (!strip.enabled) return;
  strip.mark = offset;
  if (kind == StripByteKind::Escape) {
    // A pending escape that lost its first group still owes the prefix of
    // the groups it kept; false whenever none is pending.
    if (strip.copiedTo > strip.escapeStart) EndStripEscape(strip);
    strip.escapeStart = offset;
  } else if (kind == StripByteKind::Other && strip.escapeStart != kNoPendingEscape) {
    EndStripEscape(strip);
  }
}

// Called after the handler of a font download group, with the offset right
// after the group and its data: the group (from the byte that started it, or
// from the ESC when it was the escape's first group) is left out.
void StripEscapeHook(StripState& strip, std::uint64_t offsetAfterGroup);

// At the end of the file's decode: writes what is left up to `inputEnd`
// (the size of the input; a larger value is harmless) and disables the
// hooks. The driver closes the output.
void FinishStrip(StripState& strip, std::uint64_t inputEnd);

}  // namespace veltrix
