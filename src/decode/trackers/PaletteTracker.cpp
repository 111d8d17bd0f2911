#include "decode/trackers/PaletteTracker.h"

#include <algorithm>

namespace veltrix {

namespace {

PaletteRecord* FindPalette(PaletteTracker& palettes, std::int32_t id) {
  for (PaletteRecord& record : palettes.palettes) {
    if (record.paletteId == id) return &record;
  }
  return nullptr;
}

void RemovePalette(PaletteTracker& palettes, std::int32_t id) {
  std::erase_if(palettes.palettes, [id](const PaletteRecord& record) { return record.paletteId == id; });
}

// One part of the summary: the palettes whose count is above 0, newest first.
void WriteReferencedPalettes(const PaletteTracker& palettes, OutputSink& out, const char* title,
                             std::uint32_t PaletteRecord::*count) {
  bool any = false;
  for (auto it = palettes.palettes.rbegin(); it != palettes.palettes.rend(); ++it) {
    if ((*it).*count == 0) continue;
    if (!any) out.Printf("    Palettes referenced by %s :\n", title);
    any = true;
    out.Printf("    id %4d : ", it->paletteId);
    const std::uint8_t cid[3] = {it->cidSpace, it->cidEncoding, it->cidBits};
    DescribeImageData(out, cid);
  }
  if (any) {
    out.Put('\n');
  } else {
    out.Printf("    Palettes referenced by %s : none\n\n", title);
  }
}

}  // namespace

void ResetPalettes(PaletteTracker& palettes, bool tracking) {
  palettes = PaletteTracker{};
  palettes.tracking = tracking;
}

void SetPaletteControlId(PaletteTracker& palettes, std::int32_t id) { palettes.controlPaletteId = id; }

void RecordPaletteControl(PaletteTracker& palettes, std::int32_t operation) {
  if (!palettes.tracking) return;
  if (operation == 2) {
    RemovePalette(palettes, palettes.controlPaletteId);
  } else if (operation == 6) {  // the active palette copied to the control ID: a fresh record
    RemovePalette(palettes, palettes.controlPaletteId);
    palettes.palettes.push_back({palettes.controlPaletteId});
  }
}

void SelectActivePalette(PaletteTracker& palettes, std::int32_t id) { palettes.activePaletteId = id; }

void ConfigurePaletteImageData(PaletteTracker& palettes, std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 3) return;
  if (PaletteRecord* record = FindPalette(palettes, palettes.controlPaletteId)) {
    record->cidSpace = bytes[0];
    record->cidEncoding = bytes[1];
    record->cidBits = bytes[2];
  }
}

bool StartPaletteRaster(PaletteTracker& palettes) {
  PaletteRecord* record = FindPalette(palettes, palettes.activePaletteId);
  if (record) ++record->rasterRefs;
  palettes.rasterIsDirect = record && record->cidEncoding == 3;
  return palettes.rasterIsDirect;
}

void NoteColourEntryUse(PaletteTracker& palettes) {
  if (PaletteRecord* record = FindPalette(palettes, palettes.activePaletteId)) ++record->colourRefs;
}

void DescribeImageData(OutputSink& out, std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 3) {
    out.Put("*** Invalid # bytes\n");
    return;
  }
  static constexpr const char* kSpaces[] = {"RGB, ", "CMY, ", "sRGB, "};
  static constexpr const char* kEncodings[] = {"index by plane, ", "index by pixel, ", "direct by plane, ",
                                               "direct by pixel, "};
  if (bytes[0] == kCidUndefined) {
    out.Put("CID undefined\n");
    return;
  }
  if (bytes[0] > 2) {
    out.Put("*** Invalid byte 0\n");
    return;
  }
  out.Put(kSpaces[bytes[0]]);
  if (bytes[1] > 3) {
    out.Put("*** Invalid byte 0\n");  // the same text as for byte 0
    return;
  }
  out.Put(kEncodings[bytes[1]]);
  out.Printf("%d bits\n", bytes[2]);
}

void WritePaletteSummary(const PaletteTracker& palettes, OutputSink& out) {
  if (!palettes.tracking) return;
  out.Put("\n===================================================\n\n");
  WriteReferencedPalettes(palettes, out, "raster", &PaletteRecord::rasterRefs);
  WriteReferencedPalettes(palettes, out, "color entry", &PaletteRecord::colourRefs);
}

void ReleasePalettes(PaletteTracker& palettes) {
  palettes.palettes.clear();
  palettes.palettes.shrink_to_fit();
}

}  // namespace veltrix
