#include "decode/trackers/PageTracker.h"

#include <string>

namespace veltrix {

void ResetPages(PageTracker& pages, bool tracking) {
  ReleasePages(pages);
  pages.tracking = tracking;
}

void RecordPageEject(PageTracker& pages, std::int64_t offset) {
  if (!pages.tracking) return;
  pages.offsetSteps.AppendVarint(ZigZag(offset - pages.lastOffset));
  pages.lastOffset = offset;
  ++pages.count;
}

void WritePageSummary(const PageTracker& pages, OutputSink& out) {
  if (!pages.tracking) return;
  const bool none = pages.count == 0;
  out.Printf("\n===================================================\n\n    Page Summary %s\n\n",
             none ? ": No Pages Defined" : "");
  if (none) return;
  // The page number field is as wide as the page count has digits.
  const int width = static_cast<int>(std::to_string(pages.count).size());
  SpillLog::Reader steps(pages.offsetSteps);
  std::int64_t offset = 0;
  for (std::uint64_t page = 1; page <= pages.count; ++page) {
    offset += UnZigZag(steps.Varint());
    out.Printf("    Page %*llu : offset %7lld\n", width, static_cast<unsigned long long>(page),
               static_cast<long long>(offset));
  }
  out.Put('\n');
}

void ReleasePages(PageTracker& pages) {
  pages.offsetSteps.Clear();
  pages.count = 0;
  pages.lastOffset = 0;
}

}  // namespace veltrix
