// Palettes that a job uses for raster graphics and for colour selection,
// and the palette summaries.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "decode/core/OutputSink.h"

namespace veltrix {

inline constexpr std::uint8_t kCidUndefined = 255;

struct PaletteRecord {
  std::int32_t paletteId = 0;
  std::uint32_t rasterRefs = 0;   // raster starts while this palette was active
  std::uint32_t colourRefs = 0;   // colour entry uses while this palette was active
  std::uint8_t cidSpace = kCidUndefined;
  std::uint8_t cidEncoding = 0;
  std::uint8_t cidBits = 0;
};

struct PaletteTracker {
  bool tracking = false;
  std::int32_t activePaletteId = -1;
  std::int32_t controlPaletteId = 0;
  bool rasterIsDirect = false;
  std::vector<PaletteRecord> palettes;  // newest last
};

void ResetPalettes(PaletteTracker& palettes, bool tracking);
void SetPaletteControlId(PaletteTracker& palettes, std::int32_t id);
void RecordPaletteControl(PaletteTracker& palettes, std::int32_t operation);
void SelectActivePalette(PaletteTracker& palettes, std::int32_t id);
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
