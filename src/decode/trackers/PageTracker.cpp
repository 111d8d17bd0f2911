#include "decode/trackers/PageTracker.h"

#include <string>

namespace veltrix {

void ResetPages(PageTracker& pages, bool tracking) {
  pages.tracking = tracking;
  pages.ejectOffsets.clear();
}

void RecordPageEject(PageTracker& pages, std::int64_t offset) {
  if (pages.tracking) pages.ejectOffsets.push_back(offset);
}

void WritePageSummary(const PageTracker& pages, OutputSink& out) {
  if (!pages.tracking) return;
  const bool none = pages.ejectOffsets.empty();
  out.Printf("\n===================================================\n\n    Page Summary %s\n\n",
             none ? ": No Pages Defined" : "");
  if (none) return;
  // The page number field is as wide as the page count has digits.
  const int width = static_cast<int>(std::to_string(pages.ejectOffsets.size()).size());
  for (std::size_t i = 0; i < pages.ejectOffsets.size(); ++i) {
    out.Printf("    Page %*zu : offset %7lld\n", width, i + 1,
               static_cast<long long>(pages.ejectOffsets[i]));
  }
  out.Put('\n');
}

void ReleasePages(PageTracker& pages) {
  pages.ejectOffsets.clear();
  pages.ejectOffsets.shrink_to_fit();
}

}  // namespace veltrix
