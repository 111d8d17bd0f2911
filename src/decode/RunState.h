// Everything one decode run changes, in one object that the driver owns.
// Tables stay constant; two runs in one process never share state. Each
// decoder sees only its view of it (Pcl5View, HpglView, XlView, ...), made
// here.
#pragma once

#include <cstdint>
#include <vector>

#include "decode/core/DecodeContext.h"
#include "decode/trackers/MacroTracker.h"
#include "decode/trackers/PageEject.h"
#include "decode/trackers/PageTracker.h"
#include "decode/trackers/PaletteTracker.h"
#include "decode/trackers/TwoByteTracker.h"
#include "decode/trackers/XlUsage.h"
#include "hpgl2/HpglState.h"
#include "fonts/FontExtractor.h"
#include "fonts/FontRegistry.h"
#include "fonts/FontStripper.h"
#include "fonts/FontSelection.h"
#include "pcl5/NameLookup.h"
#include "pcl5/Pcl5State.h"
#include "pcl5/Pcl5View.h"
#include "pclxl/XlView.h"
#include "raster/RasterGraphics.h"
#include "raster/RasterSettings.h"

namespace veltrix {

struct RunState {
  DecodeContext ctx;
  NameTables names;               // paper size, symbol set and typeface names

  OutputSink* syserrSink = nullptr;  // standard output when it carries the listing; else none
  OutputSink nullSink;            // takes the meanings under exceptions-only mode
  PageState page;
  Pcl5State pcl;
  std::vector<std::uint32_t> escapeCounts;  // per escape slot, for the whole file
  FontSelectionState fonts;
  FontRegistry fontRegistry;
  StripState strip;
  KeepState keep;
  RasterSettings raster;
  RasterState rasterRows;
  PaletteTracker palettes;
  HpglState hpgl;
  XlUsageCounters xlUsage;
  PageTracker pages;
  MacroTracker macros;
  TwoByteTracker twoByte;

  RunState();
};

PageEjectView PageEjectViewOf(RunState& run);
HpglView HpglViewOf(RunState& run);
Pcl5View Pcl5ViewOf(RunState& run);
XlView XlViewOf(RunState& run);

}  // namespace veltrix
