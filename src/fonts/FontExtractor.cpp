#include "fonts/FontExtractor.h"

namespace veltrix {

namespace {

// The class of a PCL header is read from this many of its first bytes.
constexpr std::size_t kClassifiedHeaderBytes = 64;
constexpr std::size_t kHeaderFormatByte = 2;
constexpr std::size_t kOrientationByte = 12;
// Font IDs are 16-bit in the commands, so new IDs wrap.
constexpr std::int64_t kFontIdModulus = 65536;

std::string_view ClassExtension(FontClass fontClass) {
  switch (fontClass) {
    case FontClass::PortraitBitmap: return ".sfp";
    case FontClass::LandscapeBitmap: return ".sfl";
    case FontClass::Scalable: return ".sfs";
    case FontClass::TrueType: return ".sft";
    case FontClass::Other: break;
  }
  return ".fnt";
}

bool IsActive(const KeepState& keep) { return keep.output != nullptr || keep.separate; }

// The ID under which the map entry at `position`, for job font `id`, is written.
std::int64_t OutputId(const KeepState& keep, std::int64_t id, std::size_t position) {
  if (keep.firstId < 0) return id;
  return (keep.firstId + static_cast<std::int64_t>(position)) % kFontIdModulus;
}

std::int64_t LookUpFont(const KeepState& keep, std::int64_t id) {
  const auto found = keep.map.position.find(id);
  return found == keep.map.position.end() ? -1 : OutputId(keep, id, found->second);
}

// Adds the current font to the map; returns its output ID.
std::int64_t AddCurrentFont(KeepState& keep, FontClass fontClass) {
  FontIdMap& map = keep.map;
  if (map.entries.size() >= kMaxFontMapEntries) map = FontIdMap{};
  const auto position = static_cast<std::uint32_t>(map.entries.size());
  const auto [at, added] = map.position.emplace(keep.currentFont, position);
  if (!added) return OutputId(keep, keep.currentFont, at->second);
  map.entries.push_back({keep.currentFont, fontClass});
  return OutputId(keep, keep.currentFont, position);
}

FontClass CurrentFontClass(const KeepState& keep) {
  const auto found = keep.map.position.find(keep.currentFont);
  return found == keep.map.position.end() ? FontClass::Other : keep.map.entries[found->second].fontClass;
}

void SetFont(KeepState& keep, std::int64_t id) {
  if (id == keep.currentFont) return;
  keep.currentFont = id;
  keep.newId = LookUpFont(keep, id);
  keep.writtenChar = -1;
}

void WriteCommand(OutputSink& out, std::string_view lead, std::int64_t value, char terminator) {
  out.Put('\x1b');
  out.Put(lead);
  out.PutDecimal(value);
  out.Put(terminator);
}

void CloseFontFile(KeepState& keep) {
  if (!keep.fontFile) return;
  const int error = keep.fontFile->Close();
  if (error != 0 && keep.writeFailureError == 0) {
    keep.writeFailurePath = keep.fontFilePath;
    keep.writeFailureError = error;
  }
  keep.fontFile.reset();
  keep.fontFilePath.clear();
  keep.output = nullptr;
}

// Opens the file of the written font. One that cannot be opened becomes a
// sink that discards, so the font's downloads go nowhere.
void OpenFontFile(KeepState& keep, bool append) {
  CloseFontFile(keep);
  keep.fontFilePath = SeparateFontFileName(keep.baseName, keep.writtenId, CurrentFontClass(keep));
  std::string why;
  if (keep.openFontFile) keep.fontFile = keep.openFontFile(keep.fontFilePath, append, why);
  if (!keep.fontFile) {
    if (keep.openFailureReason.empty()) {
      keep.openFailurePath = keep.fontFilePath;
      keep.openFailureReason = why.empty() ? "font files cannot be opened" : why;
    }
    keep.fontFile = std::make_unique<OutputSink>();
  }
  keep.output = keep.fontFile.get();
}

// The commands before a header's data.
void BeginFontHeader(KeepState& keep, std::uint64_t length) {
  if (keep.newId != keep.writtenId) {
    keep.writtenId = keep.newId;
    if (keep.separate) {
      OpenFontFile(keep, false);
      keep.writtenChar = -1;
    }
    WriteCommand(*keep.output, "*c", keep.newId, 'D');
  }
  WriteCommand(*keep.output, ")s", static_cast<std::int64_t>(length), 'W');
}

// The commands before a character's data; false when the character is not
// written. A character of a font other than the one written last gets that
// font's ID again (in one file) or goes to that font's file: jobs send
// characters of earlier fonts after later headers. A font that never had a
// header has no ID to give: in one file its characters follow whatever font
// was written last, and with separate files they have no file.
bool BeginChar(KeepState& keep, std::uint64_t length) {
  if (keep.newId != keep.writtenId) {
    if (keep.newId >= 0) {
      keep.writtenId = keep.newId;
      keep.writtenChar = -1;
      if (keep.separate) {
        OpenFontFile(keep, true);
      } else {
        WriteCommand(*keep.output, "*c", keep.newId, 'D');
      }
    } else if (keep.separate) {
      return false;
    }
  }
  if (keep.output == nullptr) return false;
  if (keep.writtenChar != keep.currentChar) {
    keep.writtenChar = keep.currentChar;
    WriteCommand(*keep.output, "*c", keep.currentChar, 'E');
  }
  WriteCommand(*keep.output, "(s", static_cast<std::int64_t>(length), 'W');
  return true;
}

// The data of a download, from the input; a count that runs past the end of
// the input copies what is there.
void CopyData(KeepState& keep, std::uint64_t offset, std::uint64_t length) {
  if (!keep.input->CopyRange(offset, length, *keep.output)) keep.copyFailed = true;
}

FontClass ClassifyHeaderAt(KeepState& keep, std::uint64_t offset, std::uint64_t length) {
  if (length < kClassifiedHeaderBytes) return FontClass::Other;
  std::string bytes;
  OutputSink sink(&bytes);
  if (!keep.input->CopyRange(offset, kClassifiedHeaderBytes, sink)) keep.copyFailed = true;
  sink.Flush();
  return ClassifyFontHeader(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

}  // namespace

void StartKeep(KeepState& keep, const ByteReader& input, OutputSink* output, std::int32_t firstId, bool separate,
               std::string baseName, FontFileOpener openFontFile) {
  CloseFontFile(keep);
  keep = KeepState{};
  keep.input = &input;
  keep.output = separate ? nullptr : output;
  keep.openFontFile = std::move(openFontFile);
  keep.firstId = firstId;
  keep.separate = separate;
  keep.baseName = std::move(baseName);
}

void KeepFontHook(KeepState& keep, std::uint64_t dataOffset, std::uint32_t value, KeepGroup group) {
  if (!IsActive(keep)) return;
  switch (group) {
    case KeepGroup::FontId:
      SetFont(keep, value);
      break;
    case KeepGroup::CharCode:
      keep.currentChar = value;
      break;
    case KeepGroup::FontHeader:
      if (keep.newId < 0) keep.newId = AddCurrentFont(keep, ClassifyHeaderAt(keep, dataOffset, value));
      BeginFontHeader(keep, value);
      CopyData(keep, dataOffset, value);
      break;
    case KeepGroup::CharData:
      if (BeginChar(keep, value)) CopyData(keep, dataOffset, value);
      break;
  }
}

void KeepXlFontHeader(KeepState& keep, std::int32_t fontNumber, std::span<const std::uint8_t> header) {
  if (!IsActive(keep)) return;
  SetFont(keep, fontNumber);
  if (keep.newId < 0) keep.newId = AddCurrentFont(keep, FontClass::TrueType);
  BeginFontHeader(keep, header.size());
  keep.output->Put(header.data(), header.size());
}

void KeepXlChar(KeepState& keep, std::int32_t fontNumber, std::int32_t charCode, std::span<const std::uint8_t> data) {
  if (!IsActive(keep)) return;
  SetFont(keep, fontNumber);
  keep.currentChar = charCode;
  if (BeginChar(keep, data.size())) keep.output->Put(data.data(), data.size());
}

void FinishKeep(KeepState& keep) {
  CloseFontFile(keep);
  keep.map = FontIdMap{};
  keep.output = nullptr;
  keep.separate = false;
}

FontClass ClassifyFontHeader(std::span<const std::uint8_t> header) {
  if (header.size() < kClassifiedHeaderBytes) return FontClass::Other;
  switch (header[kHeaderFormatByte]) {
    case 0:
    case 20:
      return header[kOrientationByte] == 0 ? FontClass::PortraitBitmap : FontClass::LandscapeBitmap;
    case 10:
    case 11:
      return FontClass::Scalable;
    case 15:
    case 16:
      return FontClass::TrueType;
    default:
      return FontClass::Other;
  }
}

std::string SeparateFontFileName(std::string_view baseName, std::int64_t id, FontClass fontClass) {
  std::string name(baseName);
  const std::size_t dot = baseName.rfind('.');
  if (dot != std::string_view::npos && baseName.find_first_of(":\\/", dot + 1) == std::string_view::npos) {
    name.resize(dot);
  }
  name += std::to_string(id);
  name += ClassExtension(fontClass);
  return name;
}

}  // namespace veltrix
