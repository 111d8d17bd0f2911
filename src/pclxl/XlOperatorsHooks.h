// Where the PCL XL operators hand data to the font, raster and vendor image
// parts of the decoder.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "pclxl/XlVendorImage.h"  // the vendor image data that VendorFxn announces

namespace veltrix {

struct XlView;
struct XlReader;

void XlPassFontHeader(const XlView& run, std::int32_t fontNumber, std::span<const std::uint8_t> header);
void XlPassFontRecord(const XlView& run, std::string_view name, std::int32_t fontNumber);
void XlPassCharacter(const XlView& run, std::int32_t fontNumber, std::int32_t charCode,
                     std::span<const std::uint8_t> data);
void XlStartVendorRaster(const XlView& run);
void XlEndVendorRaster(const XlView& run);

}  // namespace veltrix
