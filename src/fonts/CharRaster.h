// A downloaded character's bitmap drawn as text: '1' for a black dot, a
// blank for a white one, one listing line per row.
#pragma once

#include <cstdint>
#include <span>

#include "decode/core/OutputSink.h"

namespace veltrix {

// Draws `height` rows of `width` dots. Each row takes (width + 7) / 8 bytes of
// `bitmap`, most significant bit first; the bits past `width` in a row's last
// byte are padding. Only the rows that `bitmap` holds in full are drawn, so a
// height or width that claims more than the block has costs nothing.
void ShowCharRaster(OutputSink& listing, std::span<const std::uint8_t> bitmap, std::uint32_t width,
                    std::uint32_t height);

}  // namespace veltrix
