// Raster compression method 99: one image of width x height one-bit pixels
// coded with the two-dimensional scheme of CCITT T.6 (pass, horizontal and
// vertical modes against the previous row; horizontal runs in the T.4
// run-length codes).
#pragma once

#include <cstdint>
#include <functional>
#include <span>

namespace veltrix {

// Decodes the image and hands each of its `height` rows, (width + 7) / 8
// bytes with black pixels set, to `row`, in order, but only when every row
// decodes: a row that fails means no row at all, and the result is false.
// False too, with no row, when width or height is below 1. Memory stays in
// proportion to the width, whatever the height.
bool DecodeCcittT6(std::span<const std::uint8_t> data, std::int32_t width, std::int32_t height,
                   const std::function<void(std::span<const std::uint8_t>)>& row);

}  // namespace veltrix
