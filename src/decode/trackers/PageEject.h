// The page eject: the only writer of the page eject line and the only caller
// of the page tracker. Used by the PCL 5 decoder, the orientation formatter
// and (always forced) by the PCL XL EndPage operator.
#pragma once

namespace veltrix {

struct RunState;

// Ejects the page when `force` is set or something was put on it.
void EjectPage(RunState& run, bool force);

// End line: closes a pending listing line of PCL text.
void EndListingLine(RunState& run);

}  // namespace veltrix
