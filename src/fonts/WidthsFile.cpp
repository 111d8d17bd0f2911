// The widths file: for every font definition of the job, in definition
// order, the Delta X of each character downloaded for it.
#include "fonts/FontRegistry.h"

namespace veltrix {

void WriteWidths(const FontRegistry& registry, OutputSink& widths) {
  if (!registry.widthsOn) return;
  for (const FontRecord& record : registry.fonts) {
    widths.Put("Widths for font '");
    widths.Put(ShownFontName(record));
    widths.Printf("', id = %d ", record.id);
    const std::int32_t later = LaterDefinitions(registry, record);
    if (record.index > 0 || later > 0) {
      widths.Printf("( definition %d of %d definitions ) ", record.index + 1, record.index + later + 1);
    }
    widths.Put(":\n");
    for (const auto& [code, width] : record.widths) {
      // The hexadecimal form is the 32-bit pattern, as for any int.
      widths.Printf("%3d : %4d (%02X)\n", code, width, static_cast<unsigned>(width));
    }
    if (record.widths.empty()) widths.Put("    No characters defined for this font\n");
    widths.Put('\n');
  }
}

}  // namespace veltrix
