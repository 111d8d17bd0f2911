// The --facts document: one JSON object per run, written as the run goes,
// one source file at a time. The pages and problems of a file are read back
// from the spill logs where they were collected and written one by one, so
// that the document of a job of a million pages never is in memory whole.
#pragma once

#include <cstdint>
#include <string>

#include "decode/RunState.h"
#include "decode/core/OutputSink.h"
#include "decode/trackers/JobFacts.h"

namespace veltrix {

// The version of the document's layout, "schema" in the document.
inline constexpr int kFactsSchemaVersion = 1;

// Writes `{"schema":1,"program":"veltrix","files":[`.
void BeginFactsDocument(OutputSink& out);

// One source file's object, after its decode (before its trackers are
// released): what `run.facts` collected and what the run state counted.
// `first`: no comma before it.
void WriteFileFacts(OutputSink& out, bool first, const std::string& path, std::uint64_t size, RunState& run,
                    const JobFacts& facts, std::uint64_t exceptions);

// Closes the document with the run's totals and the exit status the run
// gives under --strict (0 done, 1 failed, 3 exceptions).
void EndFactsDocument(OutputSink& out, std::uint64_t exceptions, int strictExitStatus, bool completed);

}  // namespace veltrix
