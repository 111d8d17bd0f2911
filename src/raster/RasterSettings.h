// Raster graphics settings that the PCL 5 escapes set and ESC E resets.
#pragma once

#include <cstdint>

namespace veltrix {

struct RasterSettings {
  std::int32_t resolution = 75;   // dots per inch
  std::int32_t destWidth = 0;     // decipoints
  std::int32_t destHeight = 0;
  std::int32_t width = 0;         // pixels
  std::int32_t height = 0;
};

}  // namespace veltrix
