// Listing of text and control bytes outside escapes.
#pragma once

#include <cstdint>

#include "pcl5/Pcl5View.h"

namespace veltrix {

inline constexpr std::int32_t kWrapColumn = 70;

void ListTextByteSlow(const Pcl5View& run, std::uint8_t b);

// Bytes a text run takes: printable ones, TAB, CR and LF.
inline bool IsTextRunByte(int b) { return (b >= 32 && b < 128) || b == 9 || b == 10 || b == 13; }

// Whether `b` starts a run of text that ListTextRun may list: a run byte in
// PCL text with one-byte characters, outside transparent data and HP-GL/2,
// in a listing that shows text.
inline bool StartsTextRun(const Pcl5View& run, int b) {
  const Pcl5State& pcl = run.pcl;
  return IsTextRunByte(b) && pcl.textMethod == 0 && !pcl.hpglActive && pcl.transparentLeft == 0 &&
         !(run.ctx.flags & DF_SUPPRESS);
}

// Lists `first` and the run bytes that follow it in the reader's buffer, and
// consumes them: the same listing, page marks, used fonts and control counts
// as byte by byte, with a stretch of printable bytes in one write.
void ListTextRun(const Pcl5View& run, std::uint8_t first, ByteReader& in);

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
