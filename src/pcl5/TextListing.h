// Listing of text and control bytes outside escapes.
#pragma once

#include <cstdint>

#include "pcl5/Pcl5View.h"

namespace veltrix {

inline constexpr std::int32_t kWrapColumn = 70;

void ListTextByteSlow(const Pcl5View& run, std::uint8_t b);

// Lists one text byte (or hands it to HP-GL/2 while that is active). A
// printable byte in the middle of a line, the common case, is written here.
inline void ListTextByte(const Pcl5View& run, std::uint8_t b) {
  Pcl5State& pcl = run.pcl;
  if (b >= 32 && b < 128 && run.ctx.textLine.lineEnds == 0 && run.ctx.textLine.column < kWrapColumn && pcl.textMethod == 0 &&
      !pcl.hpglActive) {
    run.ctx.listing->Put(static_cast<char>(b));
    ++run.ctx.textLine.column;
    const FontSelection& font = run.fonts.secondaryCurrent ? run.fonts.secondary : run.fonts.primary;
    if (!font.noted) NoteUsedFont(run.fonts);
    return;
  }
  ListTextByteSlow(run, b);
}

}  // namespace veltrix
