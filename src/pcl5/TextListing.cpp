#include "pcl5/TextListing.h"

#include <bit>
#include <cstring>
#include <string_view>

#include "decode/core/TextFormat.h"
#include "decode/core/TwoByteText.h"
#include "decode/trackers/PageEject.h"
#include "hpgl2/HpglParser.h"
#include "pcl5/Pcl5View.h"

namespace veltrix {

namespace {

void PutHex(OutputSink& out, std::uint32_t code, int digits) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out.Put("<0x");
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out.Put(kHex[(code >> shift) & 0xF]);
  out.Put('>');
}

// Copies the printable bytes (32 to 127) at the start of `from` to `to`, at
// most `limit` of them, and returns how many; sets `marks` when one of them
// is not a blank. `readable` bytes may be read from `from` (at least
// `limit`), and `to` has room for 8 bytes more than `limit`.
std::size_t CopyPrintable(const std::uint8_t* from, std::size_t limit, std::size_t readable, char* to, bool& marks) {
  static_assert(std::endian::native == std::endian::little, "the first byte is the lowest of a word");
  constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
  constexpr std::uint64_t kBlanks = kOnes * ' ';
  std::size_t n = 0;
  // Eight bytes at a time: a byte below 0x20 or with its high bit set flags
  // its top bit in `other` (a borrow may flag later bytes too, never an
  // earlier one), so the lowest flag is the first byte that is not plain.
  const auto other = [](std::uint64_t word) { return (((word - kBlanks) & ~word) | word) & kHighs; };
  std::uint64_t word;
  for (; n + 8 <= limit; n += 8) {
    std::memcpy(&word, from + n, 8);
    std::memcpy(to + n, &word, 8);
    if (other(word) != 0) break;
    marks |= word != kBlanks;
  }
  // The word that holds the end of the stretch: its plain bytes before the
  // first other one, up to the limit.
  if (n < limit && readable - n >= 8) {
    std::memcpy(&word, from + n, 8);
    std::memcpy(to + n, &word, 8);
    const std::uint64_t flags = other(word);
    std::size_t take = flags != 0 ? static_cast<std::size_t>(__builtin_ctzll(flags)) / 8 : 8;
    if (take > limit - n) take = limit - n;
    marks |= take > 0 && ((word ^ kBlanks) << (64 - 8 * take)) != 0;
    return n + take;
  }
  // The last bytes of the reader's buffer, one at a time.
  for (; n < limit && from[n] >= 32 && from[n] < 128; ++n) {
    marks |= from[n] > 32;
    to[n] = static_cast<char>(from[n]);
  }
  return n;
}

}  // namespace

void ListTextRun(const Pcl5View& run, std::uint8_t first, ByteReader& in) {
  // The run is written into reserved room with a cursor; one step below
  // writes at most a line's worth (a stretch up to the wrap column, or a line
  // end, "-->  " and a tag).
  constexpr std::size_t kRoom = 1024;
  constexpr std::size_t kStepRoom = kWrapColumn + 24;
  OutputSink& out = *run.ctx.listing;
  const std::span<const std::uint8_t> ahead = in.Buffered();
  const std::uint8_t* p = ahead.data();
  const std::uint8_t* const end = p + ahead.size();
  std::int32_t column = run.ctx.textLine.column;
  std::uint8_t lineEnds = run.ctx.textLine.lineEnds;
  const bool countControls = run.ctx.flags & DF_ESC_SUM;
  bool marks = false;
  bool printed = false;
  char* at = out.Reserve(kRoom);
  char* last = at + (kRoom - kStepRoom);
  // Ends the open line, as EndListingLine does.
  const auto endLine = [&] {
    if (column > 0) {
      *at++ = '\n';
      column = 0;
      lineEnds = 0;
    }
  };
  for (std::uint8_t b = first;; b = *p++) {
    if (at > last) {
      out.Commit(at);
      at = out.Reserve(kRoom);
      last = at + (kRoom - kStepRoom);
    }
    if (b >= 32 && b < 128 && lineEnds == 0 && column < kWrapColumn) {
      // The middle of a line: `b` and the printable bytes after it, up to
      // the wrap column.
      *at++ = static_cast<char>(b);
      marks |= b > 32;
      printed = true;
      const auto room = static_cast<std::size_t>(kWrapColumn - 1 - column);
      const auto left = static_cast<std::size_t>(end - p);
      const std::size_t n = CopyPrintable(p, left < room ? left : room, left, at, marks);
      at += n;
      p += n;
      column += static_cast<std::int32_t>(n + 1);
    } else {
      ListingLine line{column, lineEnds};
      const LineBreak lineBreak = BreakBefore(line, b, true);
      lineEnds = line.lineEnds;
      if (lineBreak != LineBreak::None) endLine();
      if (lineBreak == LineBreak::Wrap) {
        at = FormatText(at, "-->  ");
        column = 5;
      }
      if (b >= 32) {
        *at++ = static_cast<char>(b);
        column += 1;
        marks |= b > 32;
        printed = true;
      } else {
        if (countControls) ++run.pcl.controlCounts[b];
        const std::string_view tag = b == 9 ? "<TAB>" : b == 10 ? "<LF>" : "<CR>";
        at = FormatText(at, tag);
        column += static_cast<std::int32_t>(tag.size());
      }
    }
    if (p == end || !IsTextRunByte(*p)) break;
  }
  out.Commit(at);
  run.ctx.textLine = {column, lineEnds};
  in.Skip(static_cast<std::size_t>(p - ahead.data()));
  if (printed) {
    const FontSelection& font = run.fonts.secondaryCurrent ? run.fonts.secondary : run.fonts.primary;
    if (!font.noted) NoteUsedFont(run.fonts);
  }
  if (marks) {
    run.eject.page.pageMarked = true;
    run.eject.page.textSinceColour = true;
  }
}

void ListTextByteSlow(const Pcl5View& run, std::uint8_t b) {
  if (run.pcl.hpglActive) {
    FeedHpgl(run.hpgl, b);
    return;
  }
  Pcl5State& pcl = run.pcl;
  OutputSink& out = *run.ctx.listing;

  std::uint32_t code = b;
  bool twoByte = false;
  if (pcl.textMethod != 0) {
    if (pcl.leadPending) {
      code = pcl.leadByte * 256 + b;
      pcl.leadPending = false;
      twoByte = true;
    } else if (IsLeadByte(pcl.textMethod, b)) {
      pcl.leadByte = b;
      pcl.leadPending = true;
      return;
    }
    if (run.ctx.flags & DF_2BYTE_SUM) CountTwoByteCode(run.twoByte, code);
  }
  const bool transparent = pcl.transparentLeft > 0;
  const bool plain = !twoByte && !transparent;

  const LineBreak lineBreak = BreakBefore(run.ctx.textLine, b, plain);
  if (lineBreak != LineBreak::None) EndListingLine(run.ctx);
  if (lineBreak == LineBreak::Wrap) {
    out.Put("-->  ");
    run.ctx.textLine.column = 5;
  }

  if (code >= 32 && code <= 127) {
    out.Put(static_cast<char>(code));
    run.ctx.textLine.column += 1;
    NoteUsedFont(run.fonts);
  } else if (plain && code >= 8 && code <= 15 && code != 11) {
    switch (code) {
      case 8: out.Put("<BS>"); run.ctx.textLine.column += 4; break;
      case 9: out.Put("<TAB>"); run.ctx.textLine.column += 5; break;
      case 10: out.Put("<LF>"); run.ctx.textLine.column += 4; break;
      case 13: out.Put("<CR>"); run.ctx.textLine.column += 4; break;
      case 12:
        EndListingLine(run.ctx);
        out.Put("<FF>\n");
        run.ctx.textLine.column = 0;
        break;
      case 14:
        EndListingLine(run.ctx);
        out.Put("[ Shift In to alternate font ]\n");
        ShiftFont(run.fonts, true);
        run.ctx.textLine.column = 0;
        break;
      case 15:
        EndListingLine(run.ctx);
        out.Put("[ Shift Out to primary font ]\n");
        ShiftFont(run.fonts, false);
        run.ctx.textLine.column = 0;
        break;
    }
  } else if (code >= 256) {
    PutHex(out, code, 4);
    run.ctx.textLine.column += 8;
    NoteUsedFont(run.fonts);
  } else {
    PutHex(out, code, 2);
    run.ctx.textLine.column += 6;
    NoteUsedFont(run.fonts);
  }
  if (code < 32 && (run.ctx.flags & DF_ESC_SUM)) ++pcl.controlCounts[code];
}

}  // namespace veltrix
