// Formatters of the font selection and font download escapes.
#include <vector>

#include "fonts/CharDescriptor.h"
#include "fonts/DescriptorReader.h"
#include "fonts/FontDescriptor.h"
#include "fonts/FontRegistry.h"
#include "pcl5/FormatterKinds.h"
#include "pcl5/FormatterSupport.h"

namespace veltrix {

namespace {

constexpr std::string_view kWeights[] = {
    "Ultra Thin", "Extra Thin", "Thin",      "Extra Light", "Light",       "Demi Light",  "Semi Light",
    "Medium, Book or Text",     "Semi Bold", "Demi Bold",   "Bold",        "Extra Bold",  "Black",
    "Extra Black", "Ultra Black",
};

constexpr std::string_view kSpacings[] = {"Fixed Pitch", "Proportional"};

// ESC( selects the primary font, ESC) the secondary.
bool IsPrimary(const Pcl5View& run) { return run.pcl.esc.paramChar == '('; }

// "description : text\n", the line of most font formatters.
void PutLine(const Pcl5View& run, const EscapeEntry& entry, std::string_view text) {
  OutputSink& out = Listing(run);
  out.Put(DescriptionOf(entry));
  out.Put(" : ");
  out.Put(text);
  out.Put('\n');
}

// The data of a download escape, read whole: as many of the claimed bytes as
// the job holds, so that a forged count costs no more than the file.
std::vector<std::uint8_t> ReadDownload(const Pcl5View& run) {
  std::vector<std::uint8_t> block;
  run.ctx.input->Take(Value(run), block);
  run.pcl.dataConsumed = true;
  return block;
}

void Note(const Pcl5View& run, FontAttribute attribute, std::int32_t value) {
  NoteFontAttribute(run.fonts, attribute, IsPrimary(run), value);
}

// The letter's number in a symbol set ID: A (or a) is 1 up to Z, "@" is 0.
std::int32_t SymbolSetLetter(std::uint8_t terminator) {
  if (terminator >= 'a' && terminator <= 'z') return terminator - 'a' + 1;
  if (terminator >= 'A' && terminator <= 'Z') return terminator - 'A' + 1;
  return 0;
}

}  // namespace

void FormatSymbolSet(const Pcl5View& run, const EscapeEntry& entry) {
  const std::uint32_t id = Value(run) * 32 + static_cast<std::uint32_t>(SymbolSetLetter(run.pcl.esc.terminator));
  PutLine(run, entry, SymbolSetName(run.names, static_cast<std::int32_t>(id)));
  Note(run, FontAttribute::SymbolSet, static_cast<std::int32_t>(id));
}

void FormatFontById(const Pcl5View& run, const EscapeEntry& entry) {
  Listing(run).Put(DescriptionOf(entry));
  Listing(run).Put(" : ");
  Listing(run).PutUnsigned(Value(run));
  Listing(run).Put('\n');
  Note(run, FontAttribute::FontId, static_cast<std::int32_t>(Value(run)));
}

void FormatTypeface(const Pcl5View& run, const EscapeEntry& entry) {
  const auto value = static_cast<std::int32_t>(Value(run));
  PutLine(run, entry, TypefaceName(run.names, value));
  Note(run, FontAttribute::Typeface, value);
}

void FormatStyle(const Pcl5View& run, const EscapeEntry& entry) {
  const std::uint32_t style = Value(run);
  OutputSink& out = Listing(run);
  out.Put(DescriptionOf(entry));
  out.Put(" ( ");
  out.PutDecimal(style);
  out.Put(" ) :");
  if (style == 0) {
    out.Put(" Upright\n");
  } else {
    if (style & 0x01) out.Put(" Italic");
    if (style & 0x04) out.Put(" Condensed");
    if (style & 0x20) out.Put(" Outline");
    if (style & 0x40) out.Put(" Inline");
    if (style & 0x80) out.Put(" Shadowed");
    const std::uint32_t width = (style >> 3) & 3;
    if (width == 1) out.Put(" Compressed");
    if (width == 3) out.Put(" Expanded");
    out.Put('\n');
  }
  Note(run, FontAttribute::Style, static_cast<std::int32_t>(style));
}

void FormatStrokeWeight(const Pcl5View& run, const EscapeEntry& entry) {
  const std::uint32_t value = Value(run);
  std::int32_t weight = value > 7 ? 7 : static_cast<std::int32_t>(value);
  if (run.pcl.esc.sign == -1) weight = -weight;
  OutputSink& out = Listing(run);
  out.Put(DescriptionOf(entry));
  out.Put(" ( ");
  out.PutDecimal(value);
  out.Put(" ) : ");
  out.Put(kWeights[weight + 7]);
  out.Put('\n');
  Note(run, FontAttribute::StrokeWeight, weight);
}

void FormatPitch(const Pcl5View& run, const EscapeEntry& entry) {
  PutLine(run, entry, PlainValueText(run.pcl.esc) + " chars per inch");
  Note(run, FontAttribute::Pitch, Hundredths(run.pcl.esc));
}

void FormatPointSize(const Pcl5View& run, const EscapeEntry& entry) {
  PutLine(run, entry, PlainValueText(run.pcl.esc));
  Note(run, FontAttribute::Height, Hundredths(run.pcl.esc));
}

void FormatSpacing(const Pcl5View& run, const EscapeEntry& entry) {
  PutLine(run, entry, NameAtIndex(kSpacings, Value(run)));
  Note(run, FontAttribute::Spacing, static_cast<std::int32_t>(Value(run)));
}

// The data is decoded only when something will use it; otherwise the
// decoder skips it after this line.
void FormatFontDescriptor(const Pcl5View& run, const EscapeEntry&) {
  Listing(run).Printf("Font Descriptor  (%u bytes) :\n", Value(run));
  const std::uint32_t flags = run.ctx.flags;
  if (!(flags & (DF_FONT_DETAIL | DF_FONT_SUM | DF_EXTRACT_WIDTHS))) return;
  const std::vector<std::uint8_t> block = ReadDownload(run);
  DescriptorReader reader{block};
  FontDescriptor descriptor;
  DecodeFontDescriptor(Listing(run), reader, flags & DF_FONT_DETAIL, run.fontRegistry, run.names, descriptor);
  AddFontRecord(run.fontRegistry, descriptor.fontName, run.fontRegistry.currentFontId, false);
}

void FormatCharacterData(const Pcl5View& run, const EscapeEntry&) {
  Listing(run).Printf("Character descriptor (%u bytes) :\n", Value(run));
  const std::uint32_t flags = run.ctx.flags;
  if (!(flags & (DF_CHAR_DESC | DF_RAS_FONTS | DF_EXTRACT_WIDTHS | DF_FONT_SUM))) return;
  const std::vector<std::uint8_t> block = ReadDownload(run);
  DescriptorReader reader{block};
  const std::optional<std::int32_t> width =
      DecodeCharDescriptor(Listing(run), reader, flags & DF_CHAR_DESC, flags & DF_RAS_FONTS, run.fontRegistry);
  // A continuation block reports no width: the character keeps the one it has.
  if (width && (flags & (DF_CHAR_DESC | DF_RAS_FONTS | DF_EXTRACT_WIDTHS))) NoteCharWidth(run.fontRegistry, *width);
}

void FormatCharacterCode(const Pcl5View& run, const EscapeEntry&) {
  const std::uint32_t code = Value(run);
  std::string shown;
  if (code >= 32 && code < 128) shown = StringPrintf("'%c'", static_cast<char>(code));
  Listing(run).Printf("Character Code for next download char (%s %u 0x%02x)\n", shown.c_str(), code, code);
  NoteCharCode(run.fontRegistry, static_cast<std::int32_t>(code));
}

void FormatFontId(const Pcl5View& run, const EscapeEntry&) {
  Listing(run).Put("Font id #");
  Listing(run).PutUnsigned(Value(run));
  Listing(run).Put('\n');
  NoteFontId(run.fontRegistry, static_cast<std::int32_t>(Value(run)));
}

}  // namespace veltrix
