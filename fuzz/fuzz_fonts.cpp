// Feeds arbitrary bytes to the font header and the character descriptor
// decoders. The first byte picks the decoder (bit 0: character descriptor)
// and the list (bit 1) and show (bit 2) flags; the rest is the block. Both
// decoders trust none of the sizes inside the block, so whatever it says,
// nothing may be read past its end, loop or grow beyond it.
#include <cstddef>
#include <cstdint>
#include <span>

#include "decode/core/OutputSink.h"
#include "fonts/CharDescriptor.h"
#include "fonts/DescriptorReader.h"
#include "fonts/FontDescriptor.h"
#include "fonts/FontRegistry.h"
#include "pcl5/NameLookup.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t choice = data[0];
  const bool list = (choice & 2) != 0;
  const bool show = (choice & 4) != 0;
  veltrix::OutputSink listing;       // formats every line, keeps none
  veltrix::FontRegistry registry;    // fresh per input: nothing carries over
  veltrix::DescriptorReader reader{std::span(data + 1, size - 1)};
  if (choice & 1) {
    (void)veltrix::DecodeCharDescriptor(listing, reader, list, show, registry);
  } else {
    veltrix::NameTables names;       // no tables file: the built-in names
    veltrix::FontDescriptor descriptor;
    veltrix::DecodeFontDescriptor(listing, reader, list, registry, names, descriptor);
  }
  return 0;
}
