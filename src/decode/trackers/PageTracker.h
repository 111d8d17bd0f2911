// Page tracker: the file offset of every page eject of the file.
#pragma once

#include <cstdint>
#include <vector>

#include "decode/core/OutputSink.h"

namespace veltrix {

struct PageTracker {
  bool tracking = false;
  std::vector<std::int64_t> ejectOffsets;
};

void ResetPages(PageTracker& pages, bool tracking);
void RecordPageEject(PageTracker& pages, std::int64_t offset);
void WritePageSummary(const PageTracker& pages, OutputSink& out);
void ReleasePages(PageTracker& pages);

}  // namespace veltrix
