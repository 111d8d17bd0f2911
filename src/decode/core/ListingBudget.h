// The listing budget: how much listing one file may write. A job that
// replays what it stored (PCL XL streams executed over and over, raster
// rows that repeat their seed row) could otherwise turn a few kilobytes into
// gigabytes of listing. Past the budget the rest of the file is not read;
// the summaries are still written.
#pragma once

#include <cstdint>

namespace veltrix {

struct DecodeContext;
class OutputSink;

struct ListingBudget {
  std::uint64_t limit = 0;    // listing bytes the file may write; 0: no limit
  std::uint64_t start = 0;    // the listing's size when the file began
  bool reached = false;
  OutputSink* discard = nullptr;        // takes the listing once the budget is spent
  OutputSink* putAsideListing = nullptr;
  OutputSink* putAsideLog = nullptr;
};

// The default budget of a job of `jobSize` bytes: the larger of 1 GiB and
// 64 times its size.
std::uint64_t DefaultListingBudget(std::uint64_t jobSize);

// Once the listing has grown past the budget: writes the stop line, ends
// the input, and sends everything the decoders still write to the discard
// sink. Returns whether the budget is spent. The decoders call it through
// StopIfOverBudget (DecodeContext.h), which tests the budget inline first.
bool StopListingPastBudget(DecodeContext& ctx);

// After the decoders: gives the listing and the log back for the summaries.
void EndListingBudget(DecodeContext& ctx);

}  // namespace veltrix
