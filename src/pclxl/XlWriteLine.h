// The PCL XL line writer: one listing line of label, name and value.
#pragma once

#include "pclxl/XlValue.h"

namespace veltrix {

struct DecodeContext;

// Writes "[XL label    ] name value"; a value of 40 characters or more goes
// on continuation lines of at most 64 characters instead. Writes nothing when
// the context has no listing or only exceptions are reported.
void XlWriteLine(const DecodeContext& ctx, const XlListingLine& line);

}  // namespace veltrix
