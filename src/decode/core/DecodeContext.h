// The per-file record that the driver fills and hands to every decoder.
#pragma once

#include <cstdint>

#include "decode/core/ByteReader.h"
#include "decode/core/DecodeOptions.h"
#include "decode/core/ListingBudget.h"
#include "decode/core/OutputSink.h"

namespace veltrix {

// The line of PCL text that the listing has open: its width so far and the
// line ends (CR, LF) listed on it.
struct ListingLine {
  std::int32_t column = 0;    // characters on the line
  std::uint8_t lineEnds = 0;  // bit 0: a CR listed on this line; bit 1: an LF
};

struct JobFacts;
struct ProblemFacts;

struct DecodeContext {
  std::uint32_t flags = 0;
  std::int32_t level = 4;
  bool abortFile = false;
  bool endOfFile = false;
  bool languageExit = false;
  int emulation = EMUL_UNKNOWN;
  std::uint32_t errorCount = 0;  // entries written to the error log for this file
  std::uint64_t exceptionCount = 0;  // problems reported (logged or not), for --strict
  ByteReader* input = nullptr;
  OutputSink* listing = nullptr;
  OutputSink* widthsFile = nullptr;
  OutputSink* strippedFile = nullptr;
  OutputSink* keptFile = nullptr;
  OutputSink* errorFile = nullptr;
  ListingLine textLine;  // open while PCL text is being listed
  ListingBudget budget;  // how much listing this file may still write
  JobFacts* facts = nullptr;             // --facts: what the job sets, for the hooks; null otherwise
  ProblemFacts* problemFacts = nullptr;  // --facts: the problem writer's records (in facts); null otherwise
};

// End line: closes the open line of PCL text, so that what follows starts a
// line of its own.
inline void EndListingLine(DecodeContext& ctx) {
  if (ctx.textLine.column > 0) {
    ctx.listing->Put('\n');
    ctx.textLine = {};
  }
}

// Checked after each command that may write much: the budget's test, inline
// as it runs after every escape and operator, then the stop itself.
inline bool StopIfOverBudget(DecodeContext& ctx) {
  const ListingBudget& budget = ctx.budget;
  const bool withinBudget = budget.limit == 0 || ctx.listing == nullptr ||
                            ctx.listing->BytesWritten() - budget.start <= budget.limit;
  if (withinBudget && !budget.reached) return false;
  return StopListingPastBudget(ctx);
}

}  // namespace veltrix
