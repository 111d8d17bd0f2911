// The distinct colours of direct 24-bit rows, one bit per colour key.
#pragma once

#include <cstddef>
#include <cstdint>

#include "raster/RasterGraphics.h"

namespace veltrix {

// Adds each complete group of 3 bytes (red, green, blue) among the first
// `size` bytes of `row`, zeros included. The bytes from `nonZeroEnd` on are
// known to be zero: the groups made only of them add black once.
void AddRowColours(ColourSet& set, const std::uint8_t* row, std::size_t size, std::size_t nonZeroEnd);

// Frees the bits and forgets every colour.
void ReleaseColourSet(ColourSet& set);

}  // namespace veltrix
