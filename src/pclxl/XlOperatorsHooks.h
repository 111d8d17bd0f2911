// Where the PCL XL operators hand data to the font, raster and vendor image
// parts of the decoder.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace veltrix {

struct RunState;
struct XlReader;

void XlPassFontHeader(RunState& run, std::int32_t fontNumber, std::span<const std::uint8_t> header);
void XlPassFontRecord(RunState& run, std::string_view name, std::int32_t fontNumber);
void XlPassCharacter(RunState& run, std::int32_t fontNumber, std::int32_t charCode,
                     std::span<const std::uint8_t> data);
void XlStartVendorRaster(RunState& run);
void XlEndVendorRaster(RunState& run);
bool XlDecodeVendorImageData(XlReader& reader, std::span<const std::uint8_t> block);

}  // namespace veltrix
