#include "decode/DecodeStream.h"

#include <unistd.h>

#include "decode/RunState.h"
#include "decode/trackers/JobFacts.h"
#include "pcl5/EscapeSummary.h"
#include "pcl5/Pcl5Decoder.h"
#include "pclxl/XlDecoder.h"
#include "personality/PjlReader.h"

namespace veltrix {

namespace {

constexpr int kSyserrLine = 463;

// A personality without a decoder is reported on standard output, not in
// the listing.
void WriteSyserr(RunState& run) {
  const std::string line = StringPrintf("\nSYSERR :: File %s Line %d\n", "Korvane", kSyserrLine);
  if (run.syserrSink) {
    run.syserrSink->Put(line);
    return;
  }
  [[maybe_unused]] const ssize_t written = ::write(STDOUT_FILENO, line.data(), line.size());
}

}  // namespace

bool StartsWithPjl(ByteReader& in) {
  const auto head = in.Peek(256);
  std::size_t i = 0;
  while (i < head.size() && (head[i] == 0 || head[i] == '\t' || head[i] == ' ')) ++i;
  static constexpr char kPjl[] = "@PJL";
  for (int k = 0; k < 4; ++k, ++i) {
    if (i >= head.size() || head[i] != static_cast<std::uint8_t>(kPjl[k])) return false;
  }
  return i < head.size() && (head[i] == ' ' || head[i] == '\t');
}

void StartTrackers(RunState& run) {
  const std::uint32_t flags = run.ctx.flags;
  StartFontRegistry(run.fontRegistry, run.fonts, flags & DF_EXTRACT_WIDTHS, flags & DF_FONT_SUM);
  ResetMacros(run.macros, flags & DF_MACRO_SUM);
  ResetPages(run.pages, flags & DF_PAGE_SUM);
  ResetRaster(run.rasterRows, flags & DF_24BIT_RAST, flags & DF_RAS_GRAPH);
  ResetPalettes(run.palettes, flags & DF_PALETTE_SUM);
  ResetTwoByte(run.twoByte, flags & DF_2BYTE_SUM);
  if (flags & DF_ESC_SUM) ResetEscapeCounts(run.escapeCounts);
  ResetXlUsage(run.xlUsage);
  // The PCL text state belongs to one file.
  run.pcl = Pcl5State{};
  run.page = PageState{};
  run.raster = RasterSettings{};
}

void RunPersonalityLoop(RunState& run, bool startsWithPjl) {
  DecodeContext& ctx = run.ctx;
  ctx.abortFile = ctx.endOfFile = ctx.languageExit = false;
  ctx.errorCount = 0;
  ctx.emulation = startsWithPjl ? EMUL_PJL : EMUL_PCL;
  while (!ctx.endOfFile && !ctx.abortFile) {
    if (ctx.facts) NoteStretch(*ctx.facts, ctx.input->Offset(), ctx.emulation);
    switch (ctx.emulation) {
      case EMUL_UNKNOWN:
        ctx.listing->Put("Switched to unknown emulation...scanning for UEL.\n");
        ScanForUel(ctx);
        break;
      case EMUL_PJL:
        ReadPjl(ctx);
        break;
      case EMUL_PCL:
        DecodePcl5(Pcl5ViewOf(run));
        break;
      case EMUL_PCLXL:
        DecodePclXl(XlViewOf(run));
        break;
      case EMUL_POSTSCRIPT:
        ctx.listing->Put("Switched to Postscript emulation...scanning for UEL.\n");
        ScanForUel(ctx);
        break;
      default:  // a language without a decoder (HP-GL/2 on its own)
        WriteSyserr(run);
        ctx.abortFile = true;
        break;
    }
    if (ctx.languageExit && ctx.emulation == EMUL_UNKNOWN) ctx.emulation = EMUL_PJL;
  }
}

void WriteSummaries(RunState& run) {
  const std::uint32_t flags = run.ctx.flags;
  OutputSink& listing = *run.ctx.listing;
  if (flags & DF_ESC_SUM) {
    WriteEscapeSummary(Pcl5ViewOf(run));
    XlWriteUsageSummary(XlViewOf(run));
  }
  if (flags & DF_FONT_SUM) WriteFontSummary(run.fontRegistry, run.fonts, listing);
  if (flags & DF_MACRO_SUM) WriteMacroSummary(run.macros, listing);
  if (flags & DF_PALETTE_SUM) WritePaletteSummary(run.palettes, listing);
  if (flags & DF_24BIT_RAST) WriteColourSummary(run.rasterRows, listing);
  if (flags & DF_PAGE_SUM) WritePageSummary(run.pages, listing);
  if (flags & DF_2BYTE_SUM) WriteTwoByteSummary(run.twoByte, listing);
  if (run.ctx.widthsFile) WriteWidths(run.fontRegistry, *run.ctx.widthsFile);
}

void EndTrackers(RunState& run) {
  EndFontRegistry(run.fontRegistry, run.fonts);
  ReleaseMacros(run.macros);
  ReleaseRaster(run.rasterRows);
  ReleasePages(run.pages);
  ReleaseTwoByte(run.twoByte);
  ReleasePalettes(run.palettes);
}

}  // namespace veltrix
