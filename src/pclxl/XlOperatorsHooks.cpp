#include "pclxl/XlOperatorsHooks.h"

namespace veltrix {

void XlPassFontHeader(RunState&, std::int32_t, std::span<const std::uint8_t>) {}

void XlPassFontRecord(RunState&, std::string_view, std::int32_t) {}

void XlPassCharacter(RunState&, std::int32_t, std::int32_t, std::span<const std::uint8_t>) {}

void XlStartVendorRaster(RunState&) {}

void XlEndVendorRaster(RunState&) {}

bool XlDecodeVendorImageData(XlReader&, std::span<const std::uint8_t>) { return true; }

}  // namespace veltrix
