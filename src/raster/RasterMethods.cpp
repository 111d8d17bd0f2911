// Compression methods 0 to 3, 99 and the unit run-lengths 1006 and 1007.
// Each stops where its data runs out, emitting what it decoded; no write
// reaches kRowLimit, whatever counts, offsets or widths the data claims.
#include "raster/RasterMethods.h"

#include <algorithm>
#include <array>

#include "raster/CcittT6.h"
#include "raster/RasterRowEmit.h"
#include "raster/SeedRow.h"

namespace veltrix {

namespace {

void DecodeUnencoded(RasterState& raster, OutputSink& listing, RowBlock& block) {
  const std::size_t n = std::min(block.left, kRowLimit);
  if (block.left < kRowLimit) ClearSeedRow(raster);
  CopyIntoSeedRow(raster, 0, block.next, n);
  block.Skip(n);
  EmitSeedRow(raster, listing, n);
}

// Pairs of repeat count and value byte.
void DecodeRunLength(RasterState& raster, OutputSink& listing, RowBlock& block) {
  std::size_t pos = 0;
  while (block.left >= 2 && pos < kRowLimit) {
    const std::size_t repeats = block.Take() + std::size_t{1};
    const std::uint8_t value = block.Take();
    const std::size_t n = std::min(repeats, kRowLimit - pos);
    FillSeedRow(raster, pos, n, value);
    pos += n;
  }
  EmitSeedRow(raster, listing, pos);
}

// PackBits: a control byte below 128 copies that many plus one bytes, above
// 128 repeats the next byte 257 minus it times; 128 does nothing. A control
// byte that is the block's last byte is not read.
void DecodePackBits(RasterState& raster, OutputSink& listing, RowBlock& block) {
  std::size_t pos = 0;
  while (block.left > 1 && pos < kRowLimit) {
    const std::uint8_t control = block.Take();
    if (control < 128) {
      const std::size_t n = std::min({control + std::size_t{1}, kRowLimit - pos, block.left});
      CopyIntoSeedRow(raster, pos, block.next, n);
      block.Skip(n);
      pos += n;
    } else if (control > 128) {
      const std::size_t n = std::min(257 - std::size_t{control}, kRowLimit - pos);
      FillSeedRow(raster, pos, n, block.Take());
      pos += n;
    }
  }
  EmitSeedRow(raster, listing, pos);
}

// Delta row: each command replaces 1 to 8 bytes of the seed row at an offset
// from where the previous command ended; the rest of the row stays. The
// offset field's value 31 continues in further bytes, added up until one is
// not 255.
void DecodeDeltaRow(RasterState& raster, OutputSink& listing, RowBlock& block) {
  std::size_t pos = 0;
  while (block.left >= 2 && pos < kRowLimit) {
    const std::uint8_t command = block.Take();
    const std::size_t count = (command >> 5) + std::size_t{1};
    std::size_t offset = command & 31;
    bool offsetEnded = offset < 31;
    // Each byte adds at most 255, so the sum cannot wrap.
    while (!offsetEnded && block.left > 0) {
      const std::uint8_t more = block.Take();
      offset += more;
      offsetEnded = more != 255;
    }
    if (!offsetEnded) break;  // the data ends inside the offset: nothing replaced
    const std::size_t place = pos + offset;
    if (block.left > 0 && place < kRowLimit) {
      const std::size_t n = std::min(count, block.left);
      CopyIntoSeedRow(raster, place, block.next, std::min(n, kRowLimit - place));
      block.Skip(n);
    }
    pos = place + count;
  }
  EmitSeedRow(raster, listing, kRowLimit);
}

// PackBits over units of `unitSize` bytes. Writes stop at the last whole
// unit below kRowLimit.
void DecodeUnits(RasterState& raster, OutputSink& listing, RowBlock& block, std::size_t unitSize) {
  std::size_t pos = 0;
  while (block.left > 1 && pos < kRowLimit) {
    const std::uint8_t control = block.Take();
    const std::size_t roomUnits = (kRowLimit - pos) / unitSize;
    if (control < 128) {
      const std::size_t units = std::min(control + std::size_t{1}, roomUnits);
      const std::size_t n = std::min(units * unitSize, block.left);
      CopyIntoSeedRow(raster, pos, block.next, n);
      block.Skip(n);
      pos += n;
    } else if (control > 128) {
      if (block.left < unitSize) break;  // the data ends inside the unit
      const std::uint8_t* unit = block.next;
      block.Skip(unitSize);
      const std::size_t units = std::min(257 - std::size_t{control}, roomUnits);
      for (std::size_t i = 0; i < units; ++i) CopyIntoSeedRow(raster, pos + i * unitSize, unit, unitSize);
      pos += units * unitSize;
    }
  }
  EmitSeedRow(raster, listing, pos);
}

void DecodeUnits2(RasterState& raster, OutputSink& listing, RowBlock& block) {
  DecodeUnits(raster, listing, block, 2);
}

void DecodeUnits4(RasterState& raster, OutputSink& listing, RowBlock& block) {
  DecodeUnits(raster, listing, block, 4);
}

// One two-dimensionally coded image of rasterWidth x rasterHeight one-bit
// pixels. Its rows do not pass through the seed row; a row that fails to
// decode means that no row is emitted.
void DecodeTwoDimensional(RasterState& raster, OutputSink& listing, RowBlock& block) {
  const std::span<const std::uint8_t> image(block.next, block.left);
  block.Skip(block.left);
  if (raster.rasterWidth < 1 || raster.rasterHeight < 1) return;
  (void)DecodeCcittT6(image, raster.rasterWidth, raster.rasterHeight, [&](std::span<const std::uint8_t> row) {
    EmitRow(raster, listing, row.data(), row.size(), row.size());
  });
}

constexpr auto kRowMethods = std::to_array<RowMethod>({
    {0, DecodeUnencoded},
    {1, DecodeRunLength},
    {2, DecodePackBits},
    {3, DecodeDeltaRow},
    {5, DecodeAdaptive},
    {99, DecodeTwoDimensional},
    {1006, DecodeUnits2},
    {1007, DecodeUnits4},
    {1008, DecodeAdaptiveWithUnits},
});
static_assert(std::ranges::adjacent_find(kRowMethods, std::ranges::greater_equal{}, &RowMethod::method) ==
              kRowMethods.end());

}  // namespace

const RowMethod* FindRowMethod(std::int32_t method) {
  const auto it = std::ranges::lower_bound(kRowMethods, method, {}, &RowMethod::method);
  return it != kRowMethods.end() && it->method == method ? &*it : nullptr;
}

bool DecodeRowBlock(RasterState& raster, OutputSink& listing, std::int32_t method,
                    std::span<const std::uint8_t> data) {
  const RowMethod* decoder = FindRowMethod(method);
  if (decoder == nullptr) return false;
  RowBlock block{data.data(), data.size()};
  decoder->decode(raster, listing, block);
  return true;
}

}  // namespace veltrix
