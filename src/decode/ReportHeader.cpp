#include "decode/ReportHeader.h"

#include <ctime>

namespace veltrix {

void WriteReportHeader(OutputSink& out, const std::string& sourcePath,
                       const std::optional<std::string>& listingName, bool firstFile,
                       bool exceptionsOnly, const HeaderClock& clock) {
  if (firstFile) {
    const std::time_t when = static_cast<std::time_t>(clock.epochSeconds);
    std::tm t {};
    if (clock.utc) {
      gmtime_r(&when, &t);
    } else {
      localtime_r(&when, &t);
    }
    out.Printf("%2d-%2d-%4d %2d:%02d Korvane %s\n", t.tm_mon + 1, t.tm_mday, t.tm_year + 1900, t.tm_hour,
               t.tm_min, kProgramVersionText);
  }
  out.Printf("\nDecoding '%s'", sourcePath.c_str());
  if (firstFile && listingName) out.Printf(" to '%s'", listingName->c_str());
  out.Put("\n-----------------------------------------------------------------------------\n\n");
  if (exceptionsOnly) out.Put("Reporting exceptions only :\n\n");
}

}  // namespace veltrix
