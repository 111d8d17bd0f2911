// The decode run: every file that the request's source names, with its
// listing, side files, report header, personality loop and summaries.
#pragma once

#include "decode/core/DecodeOptions.h"

namespace veltrix {

// Returns 0 when the run ended normally, 1 on an error or an abort; the
// outcome is also left in the request (`completed`, `message`).
int DecodeFiles(DecodeRequest& request);

}  // namespace veltrix
