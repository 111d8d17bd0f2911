// The row decompressors: each decodes one row block into the seed row and
// emits the rows it yields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "decode/core/OutputSink.h"
#include "raster/RasterGraphics.h"

namespace veltrix {

// The bytes of a row block still to be decoded. Every read is checked
// against `left` by its caller.
struct RowBlock {
  const std::uint8_t* next = nullptr;
  std::size_t left = 0;

  std::uint8_t Take() {
    --left;
    return *next++;
  }
  void Skip(std::size_t n) {
    next += n;
    left -= n;
  }
};

using RowMethodFn = void (*)(RasterState& raster, OutputSink& listing, RowBlock& block);

struct RowMethod {
  std::int32_t method = 0;
  RowMethodFn decode = nullptr;
};

// The decoder of a compression method; nullptr for a method whose data is
// skipped.
const RowMethod* FindRowMethod(std::int32_t method);

// The seed row must hold kSeedRowSize bytes. False when the method has no
// decoder: the data is skipped and nothing is emitted.
bool DecodeRowBlock(RasterState& raster, OutputSink& listing, std::int32_t method,
                    std::span<const std::uint8_t> data);

// Methods 5 and 1008, in their own file.
void DecodeAdaptive(RasterState& raster, OutputSink& listing, RowBlock& block);
void DecodeAdaptiveWithUnits(RasterState& raster, OutputSink& listing, RowBlock& block);

}  // namespace veltrix
