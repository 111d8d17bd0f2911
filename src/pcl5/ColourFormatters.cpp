// Formatters of the palette and colour escapes.
#include <vector>

#include "pcl5/FormatterKinds.h"
#include "pcl5/FormatterSupport.h"

namespace veltrix {

namespace {

constexpr std::string_view kPaletteControls[] = {
    "Delete all not in stack including active", "Delete all in stack (not active)", "Delete palette current ctl id", "",
    "", "", "Copy active palette to current ctl id",
};

// Bytes of Configure Image Data that carry its meaning.
constexpr std::uint32_t kImageDataShown = 3;

}  // namespace

void FormatPaletteControl(const Pcl5View& run, const EscapeEntry&) {
  PutNamedValue(Listing(run), StringPrintf("Palette Control (%u) : ", Value(run)), kPaletteControls, Value(run));
  RecordPaletteControl(run.palettes, static_cast<std::int32_t>(Value(run)));
}

void FormatPaletteControlId(const Pcl5View& run, const EscapeEntry&) {
  Listing(run).Put("Set Palette Control ID #");
  Listing(run).PutUnsigned(Value(run));
  Listing(run).Put('\n');
  SetPaletteControlId(run.palettes, Value(run));
}

// Text printed since the colour was last noted used the old palette.
void FormatSelectPalette(const Pcl5View& run, const EscapeEntry&) {
  if (run.eject.page.textSinceColour) {
    NoteColourEntryUse(run.palettes);
    run.eject.page.textSinceColour = false;
  }
  Listing(run).Put("Select Active Palette by ID #");
  Listing(run).PutUnsigned(Value(run));
  Listing(run).Put('\n');
  SelectActivePalette(run.palettes, Value(run));
}

// Only the first three bytes mean anything; the rest is skipped unread, so a
// forged count costs nothing.
void FormatConfigureImageData(const Pcl5View& run, const EscapeEntry&) {
  const std::uint32_t count = Value(run);
  OutputSink& out = Listing(run);
  out.Put("Configure Image Data (");
  out.PutUnsigned(count);
  out.Put(" bytes) : ");
  std::vector<std::uint8_t> bytes;
  const std::uint32_t head = count < kImageDataShown ? count : kImageDataShown;
  run.ctx.input->Take(head, bytes);
  if (count > head) run.ctx.input->Skip(count - head);
  run.pcl.dataConsumed = true;
  DescribeImageData(out, bytes);
  ConfigurePaletteImageData(run.palettes, bytes);
}

void FormatForegroundColour(const Pcl5View& run, const EscapeEntry&) {
  Listing(run).Put("Set Foreground Color (index into current palette) ");
  Listing(run).PutUnsigned(Value(run));
  Listing(run).Put('\n');
  NoteColourEntryUse(run.palettes);
}

}  // namespace veltrix
