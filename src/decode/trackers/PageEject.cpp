#include "decode/trackers/PageEject.h"

#include "decode/RunState.h"

namespace veltrix {

void EndListingLine(RunState& run) {
  if (run.pcl.column > 0) {
    run.ctx.listing->Put('\n');
    run.pcl.column = 0;
    run.pcl.lineEnds = 0;
  }
}

void EjectPage(RunState& run, bool force) {
  Pcl5State& pcl = run.pcl;
  if (!force && !pcl.pageMarked) return;
  pcl.pageMarked = false;
  // Text printed since the colour was last noted was printed in the current
  // foreground colour; the colour tracker hears of it at the page end.
  if (pcl.textSinceColour) {
    NoteColourEntryUse(run.palettes);
    pcl.textSinceColour = false;
  }
  if (!(run.ctx.flags & DF_PAGE_SUM)) return;
  const std::uint64_t offset = run.ctx.input->Offset();
  if (!(run.ctx.flags & DF_SUPPRESS)) {
    EndListingLine(run);
    run.ctx.listing->Printf("[Page Eject offset %ld ]\n", static_cast<long>(offset));
  }
  RecordPageEject(run.pages, static_cast<std::int64_t>(offset));
}

}  // namespace veltrix
