// The PCL XL line writer: one listing line of label, name and value.
#pragma once

#include <cstddef>
#include <string_view>

#include "pclxl/XlValue.h"

namespace veltrix {

struct DecodeContext;

// The layout of a line: "[XL " + label + "] " (or as many blanks), the name
// padded to kXlNameWidth when a short value follows.
inline constexpr std::size_t kXlPrefixWidth = 16;
inline constexpr std::size_t kXlNameWidth = 25;
inline constexpr std::size_t kXlShortValueLimit = 40;  // a value this long goes on continuation lines

// Writes "[XL label    ] name value"; a value of 40 characters or more goes
// on continuation lines of at most 64 characters instead. Writes nothing when
// the context has no listing or only exceptions are reported.
void XlWriteLine(const DecodeContext& ctx, const XlListingLine& line);
void XlWriteLine(const DecodeContext& ctx, std::string_view label, std::string_view name, std::string_view value);

}  // namespace veltrix
