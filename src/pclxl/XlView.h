// What the PCL XL decoder may touch of the run: the context, its usage
// counters, the page eject that EndPage calls and the font registry. Passed by const
// reference; what it refers to is writable.
#pragma once

#include "decode/core/DecodeContext.h"
#include "decode/trackers/PageEject.h"
#include "decode/trackers/XlUsage.h"
#include "fonts/FontRegistry.h"

namespace veltrix {

struct XlView {
  DecodeContext& ctx;
  XlUsageCounters& usage;
  PageEjectView eject;
  FontRegistry& fontRegistry;  // downloaded fonts
};

}  // namespace veltrix
