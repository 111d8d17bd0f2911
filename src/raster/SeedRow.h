// Writes into the seed row. Each write stays below kRowLimit and moves the
// extent past it, so that the bytes from the extent on are known to be zero.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "raster/RasterGraphics.h"

namespace veltrix {

inline void NoteSeedWrite(RasterState& raster, std::size_t end) {
  assert(end <= kRowLimit);
  if (end > raster.seedExtent) raster.seedExtent = end;
}

inline void ClearSeedRow(RasterState& raster) {
  std::memset(raster.seedRow.data(), 0, raster.seedExtent);
  raster.seedExtent = 0;
}

inline void FillSeedRow(RasterState& raster, std::size_t at, std::size_t n, std::uint8_t value) {
  if (n == 0) return;
  std::memset(raster.seedRow.data() + at, value, n);
  NoteSeedWrite(raster, at + n);
}

inline void CopyIntoSeedRow(RasterState& raster, std::size_t at, const std::uint8_t* bytes, std::size_t n) {
  if (n == 0) return;  // an empty row block may have no pointer at all
  std::memcpy(raster.seedRow.data() + at, bytes, n);
  NoteSeedWrite(raster, at + n);
}

}  // namespace veltrix
