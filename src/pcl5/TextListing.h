// Listing of text and control bytes outside escapes.
#pragma once

#include <cstdint>
#include <cstring>

#include "pcl5/Pcl5View.h"

namespace veltrix {

inline constexpr std::int32_t kWrapColumn = 70;

void ListTextByteSlow(const Pcl5View& run, std::uint8_t b);

// Whether `b` starts a run of plain text that ListPlainTextRun may list:
// printable, on a line without a line end and short of the wrap column, in
// PCL text with one-byte characters, outside transparent data.
inline bool StartsPlainTextRun(const Pcl5View& run, int b) {
  const Pcl5State& pcl = run.pcl;
  return b >= 32 && b < 128 && run.ctx.textLine.lineEnds == 0 && run.ctx.textLine.column < kWrapColumn &&
         pcl.textMethod == 0 && !pcl.hpglActive && pcl.transparentLeft == 0 && !(run.ctx.flags & DF_SUPPRESS);
}

// Lists `first` and the printable bytes that follow it in the reader's
// buffer, up to the wrap column, with one write, and consumes them: the
// same listing and page marks as byte by byte, at a fraction of the cost.
inline void ListPlainTextRun(const Pcl5View& run, std::uint8_t first, ByteReader& in) {
  ListingLine& line = run.ctx.textLine;
  const std::span<const std::uint8_t> ahead = in.Buffered();
  const std::size_t room = static_cast<std::size_t>(kWrapColumn - line.column - 1);
  const std::size_t limit = ahead.size() < room ? ahead.size() : room;
  std::size_t n = 0;
  bool marks = first > 32;
  // Eight bytes at a time while all of them are plain (32 to 127): no byte
  // below 0x20 and no high bit set; any byte other than a blank marks the page.
  constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
  while (n + 8 <= limit) {
    std::uint64_t word;
    std::memcpy(&word, ahead.data() + n, 8);
    if ((((word - kOnes * 0x20) & ~word) | word) & kHighs) break;
    marks |= word != kOnes * 0x20;
    n += 8;
  }
  while (n < limit && ahead[n] >= 32 && ahead[n] < 128) marks |= ahead[n++] > 32;
  OutputSink& out = *run.ctx.listing;
  out.Put(static_cast<char>(first));
  out.Put(ahead.data(), n);
  in.Skip(n);
  line.column += static_cast<std::int32_t>(n + 1);
  const FontSelection& font = run.fonts.secondaryCurrent ? run.fonts.secondary : run.fonts.primary;
  if (!font.noted) NoteUsedFont(run.fonts);
  if (marks) {
    run.eject.page.pageMarked = true;
    run.eject.page.textSinceColour = true;
  }
}

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
