// Page tracker: the file offset of every page eject of the file, kept as
// varint differences in a log that spills to disk, so that a job of
// millions of form feeds costs about a byte of disk per page and a fixed
// amount of memory.
#pragma once

#include <cstdint>

#include "decode/core/OutputSink.h"
#include "decode/core/SpillLog.h"

namespace veltrix {

struct PageTracker {
  bool tracking = false;
  std::uint64_t count = 0;
  std::int64_t lastOffset = 0;
  SpillLog offsetSteps;  // each eject's offset minus the one before, zigzag varints
};

void ResetPages(PageTracker& pages, bool tracking);
void RecordPageEject(PageTracker& pages, std::int64_t offset);
void WritePageSummary(const PageTracker& pages, OutputSink& out);
void ReleasePages(PageTracker& pages);

}  // namespace veltrix
