// The HP-GL/2 parser, fed byte by byte by the PCL 5 decoder while HP-GL/2 is
// active.
#pragma once

#include <cstdint>

namespace veltrix {

struct RunState;
struct HpglState;

void ResetHpgl(HpglState& state);           // at every entry of the PCL 5 decoder
void EnterHpgl(RunState& run);               // ESC%#B
void LeaveHpgl(RunState& run);               // ESC%#A: finishes the instruction in progress
void FeedHpgl(RunState& run, std::uint8_t b);

}  // namespace veltrix
