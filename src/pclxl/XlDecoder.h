// The PCL XL decoder: one PCL XL stretch of a job.
#pragma once

namespace veltrix {

struct XlView;
struct XlUsageCounters;

// Decodes from the current input position; sets endOfFile, languageExit and
// emulation in the context. Returns 1 when the session ended normally.
int DecodePclXl(const XlView& view);
void ResetXlUsage(XlUsageCounters& usage);
void XlWriteUsageSummary(const XlView& view);

}  // namespace veltrix
