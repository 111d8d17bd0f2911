// The moment a front end puts in the report header.
#pragma once

#include "decode/core/DecodeOptions.h"

namespace veltrix {

// SOURCE_DATE_EPOCH fixes the header's moment (in UTC) so that listings can
// be compared byte for byte, whichever front end made them; otherwise it is
// now, in local time.
HeaderClock ReadHeaderClock();

}  // namespace veltrix
