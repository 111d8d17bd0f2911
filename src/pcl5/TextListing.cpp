#include "pcl5/TextListing.h"

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

}  // namespace

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

  // Line ends: a CR or LF ends the line only when a second one of its kind
  // arrives; any other byte ends a line that has a CR or LF, or wraps it.
  if (plain && (b == 13 || b == 10)) {
    const std::uint8_t bit = b == 13 ? 1 : 2;
    if (run.ctx.textLine.lineEnds & bit) {
      EndListingLine(run.ctx);
    } else {
      run.ctx.textLine.lineEnds |= bit;
    }
  } else if (run.ctx.textLine.lineEnds != 0) {
    EndListingLine(run.ctx);
  } else if (run.ctx.textLine.column >= kWrapColumn) {
    EndListingLine(run.ctx);
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
