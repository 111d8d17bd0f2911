// Listing of text and control bytes outside escapes.
#pragma once

#include <cstdint>

namespace veltrix {

struct RunState;

// Lists one text byte (or hands it to HP-GL/2 while that is active).
void ListTextByte(RunState& run, std::uint8_t b);

}  // namespace veltrix
