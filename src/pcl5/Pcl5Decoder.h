// The PCL 5 decoder: one PCL stretch of a job, from the current input
// position to the end of the input or an escape that leaves PCL.
#pragma once

namespace veltrix {

struct Pcl5View;

// Sets endOfFile, languageExit and emulation (unknown) in the context.
void DecodePcl5(const Pcl5View& run);

}  // namespace veltrix
