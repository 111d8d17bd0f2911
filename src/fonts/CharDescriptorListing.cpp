// The field lines of a character descriptor. Labels are right-aligned so
// that every colon stands in column 18.
#include <string_view>

#include "fonts/CharDescriptor.h"
#include "fonts/CharDescriptorNames.h"
#include "fonts/CharRaster.h"

namespace veltrix {

namespace {

// `label`, then the name of `code`, or "Unknown (code)" when it has none.
void PutNamedField(OutputSink& listing, std::string_view label, std::span<const CharFieldName> names,
                   std::uint8_t code) {
  listing.Put(label);
  const std::string_view name = FindCharFieldName(names, code);
  if (name.empty()) {
    listing.Printf("Unknown (%d)", code);
  } else {
    listing.Put(name);
  }
  listing.Put('\n');
}

void ListDeskJetFields(OutputSink& listing, const CharDescriptor& d) {
  PutNamedField(listing, "       Char type : ", kDeskJetCharTypeNames, d.charType);
  listing.Printf("           Width : %d\n", d.characterWidth);
  listing.Printf("Compressed Width : %d\n", d.compressedWidth);
  listing.Printf("     Left PS Pad : %d\n", d.leftPsPad);
  listing.Printf("    Right PS Pad : %d\n", d.rightPsPad);
  if (d.format == kCharFormatDeskJet500) listing.Printf("Compound Align Pt: %d\n", d.compoundAlignPoint);
}

void ListLaserJetFields(OutputSink& listing, const CharDescriptor& d) {
  PutNamedField(listing, "     Orientation : ", kCharOrientationNames, d.orientation);
  listing.Printf("     Left Offset : %d (0x%02X)\n", d.leftOffset, d.leftOffset);
  listing.Printf("      Top Offset : %d\n", d.topOffset);
  listing.Printf(" Character Width : %d\n", d.characterWidth);
  listing.Printf("Character Height : %d\n", d.characterHeight);
  listing.Printf("         Delta X : %d\n", d.deltaX);
}

void ListTrueTypeFields(OutputSink& listing, const CharDescriptor& d) {
  listing.Printf("  Char Data Size : %d\n", d.charDataSize);
  listing.Printf(" Glyph Data Size : %d\n", d.glyphDataSize);
  listing.Printf("        Glyph ID : %d\n", d.glyphId);
}

void ListFields(OutputSink& listing, const CharDescriptor& d) {
  PutNamedField(listing, "          Format : ", kCharFormatNames, d.format);
  listing.Printf("    Continuation : %s\n", d.continuation != 0 ? "Yes" : "No");
  listing.Printf(" Descriptor size : %d bytes\n", d.descriptorSize);
  if (d.format == kCharFormatDeskJet || d.format == kCharFormatDeskJetPlus || d.format == kCharFormatDeskJet500) {
    ListDeskJetFields(listing, d);
    return;
  }
  if (d.format != kCharFormatLaserJet && d.format != kCharFormatTrueType) return;
  PutNamedField(listing, "           Class : ", kCharClassNames, d.charClass);
  if (d.format == kCharFormatLaserJet) {
    ListLaserJetFields(listing, d);
  } else {
    ListTrueTypeFields(listing, d);
  }
}

}  // namespace

void ListCharDescriptor(OutputSink& listing, const CharDescriptor& descriptor, bool list, bool show) {
  if (list) ListFields(listing, descriptor);
  // A compressed (class 2) bitmap is drawn from its bytes as stored.
  if (show && descriptor.format != kCharFormatTrueType) {
    ShowCharRaster(listing, descriptor.data, descriptor.characterWidth, descriptor.characterHeight);
  }
}

}  // namespace veltrix
