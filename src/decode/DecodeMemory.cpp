#include "decode/DecodeMemory.h"

#include <algorithm>
#include <memory>

#include "decode/DecodeStream.h"
#include "decode/RunState.h"

namespace veltrix {

MemoryDecodeResult DecodeMemory(std::span<const std::uint8_t> job, std::uint32_t flags, std::int32_t level) {
  MemoryDecodeResult result;
  auto run = std::make_unique<RunState>();
  ByteReader input(job);
  OutputSink listing(&result.listing);
  OutputSink errorLog(&result.errorLog);
  OutputSink syserr;  // nothing reaches standard output from here
  DecodeContext& ctx = run->ctx;
  ctx.level = level;
  ctx.flags = AdjustRunFlags(flags, level, false) & ~DF_ERROR_LOG;
  ctx.input = &input;
  ctx.listing = &listing;
  if (!(ctx.flags & DF_SUPPRESS)) ctx.errorFile = &errorLog;
  run->syserrSink = &syserr;
  // The listing is held in memory, so its budget is smaller than a file's.
  ctx.budget.limit = std::max<std::uint64_t>(std::uint64_t{16} << 20, job.size() * 64);
  ctx.budget.discard = &run->nullSink;

  StartTrackers(*run);
  RunPersonalityLoop(*run, StartsWithPjl(input));
  EndListingBudget(ctx);
  WriteSummaries(*run);
  EndTrackers(*run);
  result.aborted = ctx.abortFile;
  result.exceptionCount = run->ctx.exceptionCount;
  listing.Flush();
  errorLog.Flush();
  return result;
}

}  // namespace veltrix
