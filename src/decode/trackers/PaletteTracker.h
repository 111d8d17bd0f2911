// Palettes that a job uses for raster graphics and for colour selection,
// and the palette summaries.
#pragma once

#include <cstdint>
#include <deque>
#include <span>

#include "decode/core/IdIndex.h"
#include "decode/core/OutputSink.h"

namespace veltrix {

inline constexpr std::uint8_t kCidUndefined = 255;

struct PaletteRecord {
  std::uint32_t paletteId = 0;
  std::uint32_t rasterRefs = 0;   // raster starts while this palette was active
  std::uint32_t colourRefs = 0;   // colour entry uses while this palette was active
  std::uint8_t cidSpace = kCidUndefined;
  std::uint8_t cidEncoding = 0;
  std::uint8_t cidBits = 0;
  bool removed = false;  // deleted; dropped when the list is next compacted
};

// Palette IDs are read as the escapes' value fields print them, unsigned.
struct PaletteTracker {
  bool tracking = false;
  bool activeSelected = false;  // no palette is active until ESC&p#S
  std::uint32_t activePaletteId = 0;
  std::uint32_t controlPaletteId = 0;
  bool rasterIsDirect = false;
  std::deque<PaletteRecord> palettes;  // newest last, removed ones among them
  std::size_t removedCount = 0;
  IdIndex indexById;  // the live record of each ID
};

void ResetPalettes(PaletteTracker& palettes, bool tracking);
void SetPaletteControlId(PaletteTracker& palettes, std::uint32_t id);
void RecordPaletteControl(PaletteTracker& palettes, std::int32_t operation);
void SelectActivePalette(PaletteTracker& palettes, std::uint32_t id);
void ConfigurePaletteImageData(PaletteTracker& palettes, std::span<const std::uint8_t> bytes);
// ESC*r#A: counts the raster start; returns whether the raster is direct colour.
bool StartPaletteRaster(PaletteTracker& palettes);
// A colour entry was used (set foreground colour, or text printed in it).
void NoteColourEntryUse(PaletteTracker& palettes);
// "RGB, direct by pixel, 8 bits\n" and the like.
void DescribeImageData(OutputSink& out, std::span<const std::uint8_t> bytes);
void WritePaletteSummary(const PaletteTracker& palettes, OutputSink& out);
void ReleasePalettes(PaletteTracker& palettes);

}  // namespace veltrix
