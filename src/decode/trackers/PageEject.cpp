#include "decode/trackers/PageEject.h"

#include "decode/trackers/JobFacts.h"

namespace veltrix {

void EjectPage(const PageEjectView& view, bool force) {
  PageState& page = view.page;
  if (!force && !page.pageMarked) return;
  page.pageMarked = false;
  // Text printed since the colour was last noted was printed in the current
  // foreground colour; the colour tracker hears of it at the page end.
  if (page.textSinceColour) {
    NoteColourEntryUse(view.palettes);
    page.textSinceColour = false;
  }
  DecodeContext& ctx = view.ctx;
  if (ctx.facts) NotePageEject(*ctx.facts, ctx.input->Offset());
  if (!(ctx.flags & DF_PAGE_SUM)) return;
  const std::uint64_t offset = ctx.input->Offset();
  if (!(ctx.flags & DF_SUPPRESS)) {
    EndListingLine(ctx);
    ctx.listing->Printf("[Page Eject offset %ld ]\n", static_cast<long>(offset));
  }
  RecordPageEject(view.pages, static_cast<std::int64_t>(offset));
}

}  // namespace veltrix
