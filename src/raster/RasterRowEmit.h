// A decoded row leaves the decoder here: its "<rast>:" line when rows are
// listed, its colours when direct 24-bit colours are counted.
#pragma once

#include <cstddef>
#include <cstdint>

#include "decode/core/OutputSink.h"
#include "raster/RasterGraphics.h"

namespace veltrix {

// Lists the first `size` bytes of `row` `repeats` times and counts their
// colours once (a repeated row adds no colour). The bytes from `nonZeroEnd`
// to `size` are known to be zero and are not read.
void EmitRow(RasterState& raster, OutputSink& listing, const std::uint8_t* row, std::size_t size,
             std::size_t nonZeroEnd, std::uint32_t repeats = 1);

// The first `size` bytes of the seed row.
void EmitSeedRow(RasterState& raster, OutputSink& listing, std::size_t size, std::uint32_t repeats = 1);

// The "<rast>:" line of a row whose last non-zero byte is row[used - 1]
// (used 0: a row of zeros, "<rast>:" alone). One-bit rows show eight
// characters a byte; direct colour rows one "RRGGBB " group for each group
// of 3 bytes that ends at or before the last non-zero byte.
void WriteRowLine(OutputSink& listing, const std::uint8_t* row, std::size_t used, bool directColour);

}  // namespace veltrix
