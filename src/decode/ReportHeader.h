// The report header that opens every file's part of a listing.
#pragma once

#include <optional>
#include <string>

#include "decode/core/DecodeOptions.h"
#include "decode/core/OutputSink.h"

namespace veltrix {

inline constexpr const char* kProgramVersionText = "8.70";

// The date line (first file only), the file decoded, the listing name as the
// user typed it (first file only), the separator, and the exceptions-only
// note.
void WriteReportHeader(OutputSink& out, const std::string& sourcePath,
                       const std::optional<std::string>& listingName, bool firstFile,
                       bool exceptionsOnly, const HeaderClock& clock);

}  // namespace veltrix
