#include "decode/core/ListingBudget.h"

#include <algorithm>

#include "decode/core/DecodeContext.h"

namespace veltrix {

std::uint64_t DefaultListingBudget(std::uint64_t jobSize) {
  constexpr std::uint64_t kFloor = std::uint64_t{1} << 30;
  constexpr std::uint64_t kFactor = 64;
  return std::max(kFloor, jobSize > UINT64_MAX / kFactor ? UINT64_MAX : jobSize * kFactor);
}

bool StopListingPastBudget(DecodeContext& ctx) {
  ListingBudget& budget = ctx.budget;
  if (budget.reached) return true;
  if (budget.limit == 0 || ctx.listing == nullptr) return false;
  if (ctx.listing->BytesWritten() - budget.start <= budget.limit) return false;
  budget.reached = true;
  EndListingLine(ctx);
  ctx.listing->Printf("*** Listing stopped: output budget of %llu bytes reached\n",
                      static_cast<unsigned long long>(budget.limit));
  ++ctx.exceptionCount;
  if (ctx.input) ctx.input->Stop();
  if (budget.discard) {
    budget.putAsideListing = ctx.listing;
    budget.putAsideLog = ctx.errorFile;
    ctx.listing = budget.discard;
    ctx.errorFile = nullptr;
  }
  return true;
}

void EndListingBudget(DecodeContext& ctx) {
  ListingBudget& budget = ctx.budget;
  if (budget.putAsideListing) {
    ctx.listing = budget.putAsideListing;
    ctx.errorFile = budget.putAsideLog;
    ctx.textLine = {};
  }
  budget.putAsideListing = budget.putAsideLog = nullptr;
}

}  // namespace veltrix
