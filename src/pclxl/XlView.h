// What the PCL XL decoder may touch of the run: the context, its usage
// counters, the page eject that EndPage calls, the font registry and the
// raster rows. Passed by const
// reference; what it refers to is writable.
#pragma once

#include "decode/core/DecodeContext.h"
#include "decode/trackers/PageEject.h"
#include "decode/trackers/XlUsage.h"
#include "fonts/FontExtractor.h"
#include "fonts/FontRegistry.h"
#include "raster/RasterGraphics.h"

namespace veltrix {

struct XlView {
  DecodeContext& ctx;
  XlUsageCounters& usage;
  PageEjectView eject;
  FontRegistry& fontRegistry;  // downloaded fonts
  KeepState& keep;             // downloaded fonts extracted as PCL downloads
  RasterState& raster;         // rows of vendor image data
};

}  // namespace veltrix
