#include "pclxl/XlOperatorsHooks.h"

#include "fonts/FontRegistry.h"
#include "pclxl/XlView.h"

namespace veltrix {

void XlPassFontHeader(const XlView&, std::int32_t, std::span<const std::uint8_t>) {}

// A complete downloaded font goes to the font registry under the
// complement of its number, apart from the PCL font IDs.
void XlPassFontRecord(const XlView& view, std::string_view name, std::int32_t fontNumber) {
  AddFontRecord(view.fontRegistry, name, fontNumber, true);
}

void XlPassCharacter(const XlView&, std::int32_t, std::int32_t, std::span<const std::uint8_t>) {}

void XlStartVendorRaster(const XlView&) {}

void XlEndVendorRaster(const XlView&) {}

bool XlDecodeVendorImageData(XlReader&, std::span<const std::uint8_t>) { return true; }

}  // namespace veltrix
