// What the driver does with one opened input: the first-personality test,
// the tracker starts, the personality loop, the summaries and the tracker
// ends. Shared by file runs and in-memory decodes.
#pragma once

#include "decode/core/ByteReader.h"

namespace veltrix {

struct RunState;

// A job that begins with "@PJL" and a blank (after NULs, tabs and blanks
// only) is read by the PJL reader first; anything else by the PCL 5 decoder.
bool StartsWithPjl(ByteReader& in);

void StartTrackers(RunState& run);
// Hands the input to one decoder at a time until it ends or is aborted.
void RunPersonalityLoop(RunState& run, bool startsWithPjl);
void WriteSummaries(RunState& run);
void EndTrackers(RunState& run);

}  // namespace veltrix
