// Formatters of the raster graphics escapes: each writes its line, then
// hands its value to the raster rows.
#include <vector>

#include "pcl5/FormatterKinds.h"
#include "pcl5/FormatterSupport.h"
#include "raster/RasterGraphics.h"

namespace veltrix {

namespace {

constexpr KeyedName kCompressionModes[] = {
    {0, "None"},
    {1, "Run-length"},
    {2, "TIFF"},
    {3, "Delta Row"},
    {5, "Adaptive"},
    {6, "CCITT Group 3-1 Modified Huffman - unsupported"},
    {7, "CCITT Group 3-2 Modified READ - unsupported"},
    {8, "CCITT Group 4 Modified Modified READ - unsupported"},
    {9, "Replacement delta row"},
    {10, "Compression mode 10"},
    {99, "Kentek 99 - tiff 2d"},
    {999, "Zlib"},
    {1002, "GP4"},
    {1003, "GP3-1D"},
    {1004, "GP3-2D, K -2"},
    {1005, "GP3-2D, K -4"},
};

constexpr std::string_view kRasterStarts[] = {"Start at Default (X=0)", "Start at Current X position",
                                              "Scaled at X=0", "Scaled at current X position"};

// "%lld.%03lld" of v / 1000 and v % 1000.
void PutThousandths(OutputSink& out, std::int64_t v) {
  out.PutDecimal(v / 1000);
  out.Put('.');
  const std::int64_t rest = v % 1000;
  char* at = out.Reserve(kNumberRoom);
  if (rest < 0) *at++ = '-';  // "%03lld" counts the sign in its width
  out.Commit(FormatZeroPadded(at, static_cast<std::uint64_t>(rest < 0 ? -rest : rest), rest < 0 ? 2 : 3));
}

// "label : value\n" of an unsigned value.
void PutValueLine(OutputSink& out, std::string_view label, std::uint32_t value, std::string_view after = "\n") {
  out.Put(label);
  out.PutUnsigned(value);
  out.Put(after);
}

// A destination size: decipoints and pixels at the raster resolution, each
// with three decimals.
std::int64_t WriteDestinationSize(const Pcl5View& run, std::string_view label) {
  const std::int64_t d = Thousandths(run.pcl.esc);
  const std::int64_t p = d * run.rasterSettings.resolution / 720;
  OutputSink& out = Listing(run);
  out.Put(label);
  out.Put(" : ");
  PutThousandths(out, d);
  out.Put(" ( pixels = ");
  PutThousandths(out, p);
  out.Put(" )\n");
  return (d + 500) / 1000;
}

// The description as it stands, and the end of the line.
void PutLineText(OutputSink& out, const char* text) {
  out.Put(std::string_view(text));
  out.Put('\n');
}

std::string_view CompressionName(std::int32_t mode) {
  for (const KeyedName& entry : kCompressionModes) {
    if (entry.key == mode) return entry.name;
  }
  return {};
}

}  // namespace

void FormatRasterResolution(const Pcl5View& run, const EscapeEntry&) {
  PutValueLine(Listing(run), "Raster Graphics Resolution : ", Value(run));
  if (Value(run) >= 75 && Value(run) <= 0x7FFFFFFF) run.rasterSettings.resolution = static_cast<std::int32_t>(Value(run));
}

void FormatDestinationWidth(const Pcl5View& run, const EscapeEntry&) {
  run.rasterSettings.destWidth = static_cast<std::int32_t>(WriteDestinationSize(run, "Raster Graphics Width  (Dest)"));
}

void FormatDestinationHeight(const Pcl5View& run, const EscapeEntry&) {
  run.rasterSettings.destHeight = static_cast<std::int32_t>(WriteDestinationSize(run, "Raster Graphics Height (Dest)"));
}

void FormatRasterWidth(const Pcl5View& run, const EscapeEntry&) {
  PutValueLine(Listing(run), "Raster Graphics Width  : ", Value(run));
  run.rasterSettings.width = static_cast<std::int32_t>(Value(run));
  SetRasterWidth(run.raster, static_cast<std::int32_t>(Value(run)));
}

void FormatRasterHeight(const Pcl5View& run, const EscapeEntry&) {
  PutValueLine(Listing(run), "Raster Graphics Height : ", Value(run));
  run.rasterSettings.height = static_cast<std::int32_t>(Value(run));
  SetRasterHeight(run.raster, static_cast<std::int32_t>(Value(run)));
}

void FormatRasterMsb(const Pcl5View& run, const EscapeEntry&) {
  PutValueLine(Listing(run), "Raster Graphics MSB : ", Value(run));
}

void FormatCompression(const Pcl5View& run, const EscapeEntry&) {
  const auto mode = static_cast<std::int32_t>(Value(run));
  OutputSink& out = Listing(run);
  out.Put("Set Raster Compression : ");
  const std::string_view name = CompressionName(mode);
  if (mode >= 1006 && mode <= 1008) {
    out.PutDecimal(mode);
  } else if (!name.empty()) {
    out.Put(name);
  } else {
    out.Put("*** Invalid value : ");
    out.PutDecimal(mode);
  }
  out.Put('\n');
  SetRasterCompression(run.raster, mode);
}

void FormatStartRaster(const Pcl5View& run, const EscapeEntry&) {
  const RasterSettings& raster = run.rasterSettings;
  std::string scale;
  if (Value(run) > 1 && raster.destWidth != 0 && raster.destHeight != 0 && raster.width != 0 && raster.height != 0) {
    const std::int64_t sx = static_cast<std::int64_t>(raster.destWidth) * 1000 / raster.width;
    const std::int64_t sy = static_cast<std::int64_t>(raster.destHeight) * 1000 / raster.height;
    scale = StringPrintf(" X %d:%d (%lld.%03lld), Y %d:%d (%lld.%03lld)", raster.destWidth, raster.width,
                         static_cast<long long>(sx / 1000), static_cast<long long>(sx % 1000), raster.destHeight,
                         raster.height, static_cast<long long>(sy / 1000), static_cast<long long>(sy % 1000));
  }
  OutputSink& out = Listing(run);
  out.Put("Start Raster Graphics : ");
  out.Put(NameAtIndex(kRasterStarts, Value(run)));
  out.Put(scale);
  out.Put('\n');
  // The palette in use says whether the rows are direct 24-bit colour.
  StartRaster(run.raster, StartPaletteRaster(run.palettes));
}

void FormatEndRaster(const Pcl5View& run, const EscapeEntry& entry) {
  PutLineText(Listing(run), entry.description);
  EndRaster(run.raster);
}

// The rows are read only when they are listed or their colours counted;
// otherwise the decoder skips them by seeking after this line.
void FormatRasterData(const Pcl5View& run, const EscapeEntry& entry) {
  const std::uint32_t flags = run.ctx.flags;
  if (!(flags & DF_RAS_CONTIGUOUS)) PutLineText(Listing(run), entry.description);
  if (!(flags & (DF_RAS_GRAPH | DF_24BIT_RAST))) {
    DecodeRasterRow(run.raster, std::nullopt, Listing(run), run.palettes.rasterIsDirect);
    return;
  }
  std::vector<std::uint8_t>& row = run.pcl.dataBuffer;
  row.clear();
  run.ctx.input->Take(Value(run), row);
  run.pcl.dataConsumed = true;
  DecodeRasterRow(run.raster, std::span<const std::uint8_t>(row), Listing(run), run.palettes.rasterIsDirect);
}

void FormatRasterYOffset(const Pcl5View& run, const EscapeEntry&) {
  PutValueLine(Listing(run), "Raster Y Offset : ", Value(run), " rows\n");
  NoteRasterYOffset(run.raster);
}

}  // namespace veltrix
