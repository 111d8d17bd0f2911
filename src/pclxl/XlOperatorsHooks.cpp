#include "pclxl/XlOperatorsHooks.h"

#include "fonts/FontExtractor.h"
#include "fonts/FontRegistry.h"
#include "pclxl/XlView.h"
#include "raster/RasterGraphics.h"

namespace veltrix {

// Downloaded fonts and characters go to the extracted fonts as PCL downloads.
void XlPassFontHeader(const XlView& view, std::int32_t fontNumber, std::span<const std::uint8_t> header) {
  KeepXlFontHeader(view.keep, fontNumber, header);
}

// A complete downloaded font goes to the font registry under the
// complement of its number, apart from the PCL font IDs.
void XlPassFontRecord(const XlView& view, std::string_view name, std::int32_t fontNumber) {
  AddFontRecord(view.fontRegistry, name, fontNumber, true);
}

void XlPassCharacter(const XlView& view, std::int32_t fontNumber, std::int32_t charCode,
                     std::span<const std::uint8_t> data) {
  KeepXlChar(view.keep, fontNumber, charCode, data);
}

// A vendor image starts and ends raster graphics as ESC*r#A and ESC*rB do;
// the palette's last answer says whether its rows are direct colour.
void XlStartVendorRaster(const XlView& view) { StartRaster(view.raster, view.eject.palettes.rasterIsDirect); }

void XlEndVendorRaster(const XlView& view) { EndRaster(view.raster); }

}  // namespace veltrix
