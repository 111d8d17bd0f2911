#include "pclxl/XlOperatorsHooks.h"

namespace veltrix {

void XlPassFontHeader(const XlView&, std::int32_t, std::span<const std::uint8_t>) {}

void XlPassFontRecord(const XlView&, std::string_view, std::int32_t) {}

void XlPassCharacter(const XlView&, std::int32_t, std::int32_t, std::span<const std::uint8_t>) {}

void XlStartVendorRaster(const XlView&) {}

void XlEndVendorRaster(const XlView&) {}

bool XlDecodeVendorImageData(XlReader&, std::span<const std::uint8_t>) { return true; }

}  // namespace veltrix
