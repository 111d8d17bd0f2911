// The per-file record that the driver fills and hands to every decoder.
#pragma once

#include <cstdint>

#include "decode/core/ByteReader.h"
#include "decode/core/DecodeOptions.h"
#include "decode/core/OutputSink.h"

namespace veltrix {

struct DecodeContext {
  std::uint32_t flags = 0;
  std::int32_t level = 4;
  bool abortFile = false;
  bool endOfFile = false;
  bool languageExit = false;
  int emulation = EMUL_UNKNOWN;
  std::uint32_t errorCount = 0;  // entries written to the error log for this file
  std::uint64_t exceptionCount = 0;  // problems reported (logged or not), for --strict
  ByteReader* input = nullptr;
  OutputSink* listing = nullptr;
  OutputSink* widthsFile = nullptr;
  OutputSink* strippedFile = nullptr;
  OutputSink* keptFile = nullptr;
  OutputSink* errorFile = nullptr;
};

}  // namespace veltrix
