#include "decode/RunState.h"

#include "pcl5/EscapeSummary.h"

namespace veltrix {

RunState::RunState() { ResetEscapeCounts(escapeCounts); }

PageEjectView PageEjectViewOf(RunState& run) { return {run.ctx, run.page, run.pages, run.palettes}; }

HpglView HpglViewOf(RunState& run) { return {run.ctx, run.hpgl, run.page, run.pcl.textMethod}; }

Pcl5View Pcl5ViewOf(RunState& run) {
  return {run.ctx,     run.pcl,      PageEjectViewOf(run), HpglViewOf(run), run.fonts,
          run.fontRegistry, run.strip,  run.keep,       run.raster,    run.rasterRows,  run.palettes, run.macros, run.twoByte,
          run.names,   run.escapeCounts, run.nullSink};
}

XlView XlViewOf(RunState& run) {
  return {run.ctx, run.xlUsage, PageEjectViewOf(run), run.fontRegistry, run.keep, run.rasterRows};
}

}  // namespace veltrix
