// The PJL reader and the UEL scanner, run between the language decoders.
#pragma once

namespace veltrix {

struct DecodeContext;

// Lists PJL lines until an ENTER LANGUAGE (or FLASHSIMM LANGUAGE) line, a
// line that starts with ESC, or the end of the input.
void ReadPjl(DecodeContext& ctx);

// Skips bytes without listing them up to and including the next UEL.
void ScanForUel(DecodeContext& ctx);

}  // namespace veltrix
