// Character downloads (the data of ESC(s#W): the character descriptor of
// every format, its field lines and the bitmap drawn as text.
#pragma once

#include <cstdint>
#include <optional>

#include "decode/core/OutputSink.h"
#include "fonts/DescriptorReader.h"
#include "fonts/FontRegistry.h"

namespace veltrix {

// Decodes the character descriptor in `reader.block`, hands its format to
// the registry (NoteCharFormat), lists its fields when `list` and draws its
// bitmap when `show`. Returns the width the character reports (its Delta X;
// 0 for formats without one), or nothing for a continuation block, whose
// character keeps the width it has.
std::optional<std::int32_t> DecodeCharDescriptor(OutputSink& listing, DescriptorReader& reader, bool list,
                                                 bool show, FontRegistry& registry);

}  // namespace veltrix
