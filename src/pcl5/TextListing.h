// Listing of text and control bytes outside escapes.
#pragma once

#include <cstdint>

#include "pcl5/Pcl5View.h"

namespace veltrix {

inline constexpr std::int32_t kWrapColumn = 70;

enum class LineBreak : std::uint8_t { None, End, Wrap };

// The break a byte makes on the listing's text line before it is listed: a
// CR or LF ends the line only when a second one of its kind arrives (the
// first is noted on the line); any other byte ends a line that has a CR or
// LF, or wraps a full one. `plain`: the byte is a one-byte character outside
// transparent data, so a CR or LF is a line end at all.
inline LineBreak BreakBefore(ListingLine& line, std::uint8_t b, bool plain) {
  if (plain && (b == 13 || b == 10)) {
    const std::uint8_t bit = b == 13 ? 1 : 2;
    if (line.lineEnds & bit) return LineBreak::End;
    line.lineEnds |= bit;
    return LineBreak::None;
  }
  if (line.lineEnds != 0) return LineBreak::End;
  return line.column >= kWrapColumn ? LineBreak::Wrap : LineBreak::None;
}

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
