// What the PCL 5 decoder and its formatters may touch of the run: its own
// state, the trackers it feeds, and the HP-GL/2 parser it hands bytes to.
// Passed by const reference; what it refers to is writable.
#pragma once

#include <cstdint>
#include <vector>

#include "decode/core/DecodeContext.h"
#include "decode/trackers/MacroTracker.h"
#include "decode/trackers/PageEject.h"
#include "decode/trackers/PaletteTracker.h"
#include "decode/trackers/TwoByteTracker.h"
#include "hpgl2/HpglParser.h"
#include "fonts/FontExtractor.h"
#include "fonts/FontRegistry.h"
#include "fonts/FontStripper.h"
#include "fonts/FontSelection.h"
#include "pcl5/NameLookup.h"
#include "pcl5/Pcl5State.h"
#include "raster/RasterGraphics.h"
#include "raster/RasterSettings.h"

namespace veltrix {

struct Pcl5View {
  DecodeContext& ctx;
  Pcl5State& pcl;
  PageEjectView eject;   // with the page state that text and drawing mark
  HpglView hpgl;
  FontSelectionState& fonts;
  FontRegistry& fontRegistry;  // downloaded fonts and their widths
  StripState& strip;           // the job without its font downloads
  KeepState& keep;             // the font downloads on their own
  RasterSettings& rasterSettings;  // what the raster escapes set and ESC E resets
  RasterState& raster;             // the raster rows
  PaletteTracker& palettes;
  MacroTracker& macros;
  TwoByteTracker& twoByte;
  NameTables& names;
  std::vector<std::uint32_t>& escapeCounts;  // per escape slot, for the whole file
  OutputSink& nullSink;  // takes the meanings under exceptions-only mode
};

}  // namespace veltrix
