#include "decode/trackers/PaletteTracker.h"

#include <algorithm>

namespace veltrix {

namespace {

// The ID at a position of the list, for the index.
auto IdAt(const PaletteTracker& palettes) {
  return [&palettes](std::uint32_t at) { return palettes.palettes[at].paletteId; };
}

PaletteRecord* FindPalette(PaletteTracker& palettes, std::uint32_t id) {
  const std::optional<std::uint32_t> at = palettes.indexById.Find(id, IdAt(palettes));
  return at ? &palettes.palettes[*at] : nullptr;
}

PaletteRecord* FindActivePalette(PaletteTracker& palettes) {
  return palettes.activeSelected ? FindPalette(palettes, palettes.activePaletteId) : nullptr;
}

// Drops the removed records once they are half the list, so that creating
// and deleting palettes over and over costs O(1) each.
void CompactPalettes(PaletteTracker& palettes) {
  if (palettes.removedCount < 64 || palettes.removedCount * 2 < palettes.palettes.size()) return;
  std::erase_if(palettes.palettes, [](const PaletteRecord& record) { return record.removed; });
  palettes.removedCount = 0;
  palettes.indexById.Clear();
  for (std::size_t i = 0; i < palettes.palettes.size(); ++i) {
    palettes.indexById.Insert(palettes.palettes[i].paletteId, static_cast<std::uint32_t>(i), IdAt(palettes));
  }
}

void RemovePalette(PaletteTracker& palettes, std::uint32_t id) {
  PaletteRecord* record = FindPalette(palettes, id);
  if (record == nullptr) return;
  palettes.indexById.Erase(id, IdAt(palettes));
  record->removed = true;
  ++palettes.removedCount;
  CompactPalettes(palettes);
}

// One part of the summary: the palettes whose count is above 0, newest first.
void WriteReferencedPalettes(const PaletteTracker& palettes, OutputSink& out, const char* title,
                             std::uint32_t PaletteRecord::*count) {
  bool any = false;
  for (auto it = palettes.palettes.rbegin(); it != palettes.palettes.rend(); ++it) {
    if (it->removed || (*it).*count == 0) continue;
    if (!any) out.Printf("    Palettes referenced by %s :\n", title);
    any = true;
    out.Printf("    id %4u : ", it->paletteId);
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
  ReleasePalettes(palettes);
  palettes.tracking = tracking;
  palettes.activeSelected = false;
  palettes.activePaletteId = 0;
  palettes.controlPaletteId = 0;
  palettes.rasterIsDirect = false;
}

void SetPaletteControlId(PaletteTracker& palettes, std::uint32_t id) { palettes.controlPaletteId = id; }

void RecordPaletteControl(PaletteTracker& palettes, std::int32_t operation) {
  if (!palettes.tracking) return;
  if (operation == 2) {
    RemovePalette(palettes, palettes.controlPaletteId);
  } else if (operation == 6) {  // the active palette copied to the control ID: a fresh record
    RemovePalette(palettes, palettes.controlPaletteId);
    if (palettes.palettes.size() >= 0xFFFFFFF0u) return;  // the index's limit: never reached by a real job
    palettes.palettes.push_back(PaletteRecord{palettes.controlPaletteId});
    palettes.indexById.Insert(palettes.controlPaletteId, static_cast<std::uint32_t>(palettes.palettes.size() - 1),
                              IdAt(palettes));
  }
}

void SelectActivePalette(PaletteTracker& palettes, std::uint32_t id) {
  palettes.activeSelected = true;
  palettes.activePaletteId = id;
}

void ConfigurePaletteImageData(PaletteTracker& palettes, std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 3) return;
  if (PaletteRecord* record = FindPalette(palettes, palettes.controlPaletteId)) {
    record->cidSpace = bytes[0];
    record->cidEncoding = bytes[1];
    record->cidBits = bytes[2];
  }
}

bool StartPaletteRaster(PaletteTracker& palettes) {
  PaletteRecord* record = FindActivePalette(palettes);
  if (record) ++record->rasterRefs;
  palettes.rasterIsDirect = record && record->cidEncoding == 3;
  return palettes.rasterIsDirect;
}

void NoteColourEntryUse(PaletteTracker& palettes) {
  if (PaletteRecord* record = FindActivePalette(palettes)) ++record->colourRefs;
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
  std::deque<PaletteRecord>().swap(palettes.palettes);
  palettes.removedCount = 0;
  palettes.indexById.Clear();
}

}  // namespace veltrix
