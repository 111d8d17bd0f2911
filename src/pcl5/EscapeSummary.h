// The PCL escape and control character summary at the end of a file.
#pragma once

#include "pcl5/Pcl5View.h"

namespace veltrix {

// Sizes the escape counts to one per tree record and sets them to 0; called
// once per file, so the counts cover the whole file.
void ResetEscapeCounts(std::vector<std::uint32_t>& counts);

// Writes the summary to the listing: the undocumented escapes (the list is
// then emptied), every escape that occurred with its count, the total and
// the control characters met in text.
void WriteEscapeSummary(const Pcl5View& run);

}  // namespace veltrix
