// The page eject: the only writer of the page eject line and the only caller
// of the page tracker. Used by the PCL 5 decoder (form feeds, page commands,
// the end of a PCL stretch), the orientation command, and (always forced) by
// PCL XL's EndPage.
#pragma once

#include "decode/core/DecodeContext.h"
#include "decode/trackers/PageTracker.h"
#include "decode/trackers/PaletteTracker.h"

namespace veltrix {

// What the languages put on the current page.
struct PageState {
  bool pageMarked = false;       // something printed since the last eject
  bool textSinceColour = false;  // PCL text printed since the colour in use was last noted
};

// What a page eject may touch.
struct PageEjectView {
  DecodeContext& ctx;
  PageState& page;
  PageTracker& pages;
  PaletteTracker& palettes;
};

// Ejects the page when `force` is set or something was put on it.
void EjectPage(const PageEjectView& view, bool force);

}  // namespace veltrix
