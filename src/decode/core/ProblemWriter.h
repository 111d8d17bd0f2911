// The one writer of problems found in a job, for every decoder. A problem is
// counted once (for --strict), listed where the decoder lists it and, for
// the escape-based languages (PCL 5, HP-GL/2, fonts, raster), repeated after
// its header in the error log.
#pragma once

#include <string>
#include <string_view>

#include "decode/core/DecodeContext.h"
#include "decode/core/SpillLog.h"

namespace veltrix {

// Every escape header and the HP-GL/2 prefix are padded to this width.
inline constexpr std::size_t kHeaderWidth = 22;

// Writes `header` padded to kHeaderWidth; to the listing, after closing an
// open line of text.
void WriteLineHeader(DecodeContext& ctx, OutputSink& out, std::string_view header);

// A problem line of its own: `header` and `listingText` in the listing,
// `header` and `logText` in the error log. The texts end with "\n".
void ReportProblem(DecodeContext& ctx, std::string_view header, std::string_view listingText,
                   std::string_view logText);

// A problem shown inside a line the caller has already listed (an invalid
// value in an escape's meaning): `header` and `line` (no "\n") go to the
// error log, and to `alsoTo` when given (the real listing while the meaning
// went to the null sink of the exceptions-only mode).
void LogProblem(DecodeContext& ctx, std::string_view header, std::string_view line, OutputSink* alsoTo);

// With --facts, every problem of the file: its offset and its line, a
// compact record each in a log that spills to disk.
struct ProblemFacts {
  SpillLog log;
  std::uint64_t count = 0;
};

// Keeps the problem found at the input's offset, as its line reads (`header`
// padded as listed, then `text` without its "\n"); nothing without --facts.
void RecordProblemFact(DecodeContext& ctx, std::string_view header, std::string_view text);
// Reads the records back in order; false at the end.
bool ReadProblemFact(SpillLog::Reader& in, std::uint64_t& offset, std::string& text);

// A problem whose line the decoder writes in its own form and which has no
// error-log entry (PCL XL's "*ERROR*" line): it is only counted.
inline void CountProblem(DecodeContext& ctx) { ++ctx.exceptionCount; }

}  // namespace veltrix
