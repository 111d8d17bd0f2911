#include "fonts/FontRegistry.h"

#include <algorithm>

namespace veltrix {

namespace {

void NoteFormat(std::vector<std::uint8_t>& formats, std::uint8_t format) {
  if (formats.size() >= kMaxFormatsNoted || std::ranges::find(formats, format) != formats.end()) return;
  formats.push_back(format);
}

void ClearRegistry(FontRegistry& registry) {
  registry.currentFontId = 0;
  registry.currentCharCode = 0;
  std::vector<FontRecord>().swap(registry.fonts);
  registry.currentFont = -1;
  registry.currentFontFormat = 0;
  registry.fontFormats.clear();
  registry.charFormats.clear();
  std::unordered_map<std::int32_t, FontRegistry::IdDefinitions>().swap(registry.byId);
}

}  // namespace

void StartFontRegistry(FontRegistry& registry, FontSelectionState& selections, bool widthsOn, bool summaryOn) {
  ClearRegistry(registry);
  registry.widthsOn = widthsOn;
  registry.summaryOn = summaryOn;
  ResetFontSelection(selections);
  ClearUsedFonts(selections);
}

void NoteFontId(FontRegistry& registry, std::int32_t id) {
  if (id == registry.currentFontId) return;
  registry.currentFontId = id;
  registry.currentFont = -1;
  const auto found = registry.byId.find(id);
  if (found == registry.byId.end() || found->second.lastPcl < 0) return;
  registry.currentFont = found->second.lastPcl;
  registry.currentFontFormat = registry.fonts[static_cast<std::size_t>(registry.currentFont)].format;
}

void NoteCharCode(FontRegistry& registry, std::int32_t code) { registry.currentCharCode = code; }

void NoteFontFormat(FontRegistry& registry, std::uint8_t format) {
  registry.currentFontFormat = format;
  NoteFormat(registry.fontFormats, format);
}

void NoteCharFormat(FontRegistry& registry, std::uint8_t format) { NoteFormat(registry.charFormats, format); }

void AddFontRecord(FontRegistry& registry, std::string_view name, std::int32_t id, bool xl) {
  if (!registry.widthsOn && !registry.summaryOn) return;
  // The complement keeps PCL XL font numbers (0 and up) apart from PCL IDs.
  const std::int32_t storedId = xl ? ~id : id;
  FontRegistry::IdDefinitions& definitions = registry.byId[storedId];
  const auto position = static_cast<std::int32_t>(registry.fonts.size());
  FontRecord& record = registry.fonts.emplace_back();
  record.name = name.substr(0, name.find('\0'));  // the name ends at a NUL, as a C string would
  record.id = storedId;
  record.index = definitions.count++;
  record.format = registry.currentFontFormat;
  record.xl = xl;
  if (!xl) {
    definitions.lastPcl = position;
    registry.currentFont = position;
  }
}

void NoteCharWidth(FontRegistry& registry, std::int32_t width) {
  if (!registry.widthsOn || registry.currentFont < 0) return;
  registry.fonts[static_cast<std::size_t>(registry.currentFont)].widths.insert_or_assign(registry.currentCharCode,
                                                                                        width);
}

std::int32_t LaterDefinitions(const FontRegistry& registry, const FontRecord& record) {
  const auto found = registry.byId.find(record.id);
  return found == registry.byId.end() ? 0 : found->second.count - record.index - 1;
}

void EndFontRegistry(FontRegistry& registry, FontSelectionState& selections) {
  ClearRegistry(registry);
  ClearUsedFonts(selections);
}

}  // namespace veltrix
