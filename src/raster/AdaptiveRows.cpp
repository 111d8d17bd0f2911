// Adaptive compression (methods 5 and 1008): a block of 3-byte records, a
// command and a 16-bit big-endian value, that code several rows with
// different methods. A record whose count runs past the block, or a command
// with no meaning, ends the block; what is left is skipped.
#include <cstdint>

#include "raster/RasterMethods.h"
#include "raster/RasterRowEmit.h"
#include "raster/SeedRow.h"

namespace veltrix {

namespace {

constexpr std::size_t kRecordSize = 3;
constexpr std::uint8_t kEmptyRows = 4;
constexpr std::uint8_t kDuplicateRows = 5;
constexpr std::uint8_t kTwoByteUnits = 254;   // 1008 only: a row of method 1006
constexpr std::uint8_t kFourByteUnits = 255;  // 1008 only: a row of method 1007

// The method that codes the row of a record's data, or -1 when the command
// carries no row.
std::int32_t RowMethodOfCommand(std::uint8_t command, bool withUnits) {
  if (command <= 3) return command;
  if (withUnits && command == kTwoByteUnits) return 1006;
  if (withUnits && command == kFourByteUnits) return 1007;
  return -1;
}

void DecodeAdaptiveBlock(RasterState& raster, OutputSink& listing, RowBlock& block, bool withUnits) {
  while (block.left >= kRecordSize) {
    const std::uint8_t command = block.Take();
    const std::uint16_t high = block.Take();
    const std::uint16_t value = static_cast<std::uint16_t>(high << 8 | block.Take());
    if (command == kEmptyRows) {
      ClearSeedRow(raster);  // the rows themselves are not emitted
      continue;
    }
    if (command == kDuplicateRows) {
      EmitSeedRow(raster, listing, kRowLimit, value);
      continue;
    }
    const std::int32_t method = RowMethodOfCommand(command, withUnits);
    if (method < 0 || value > block.left) return;
    RowBlock row{block.next, value};
    block.Skip(value);
    FindRowMethod(method)->decode(raster, listing, row);
  }
}

}  // namespace

void DecodeAdaptive(RasterState& raster, OutputSink& listing, RowBlock& block) {
  DecodeAdaptiveBlock(raster, listing, block, false);
}

void DecodeAdaptiveWithUnits(RasterState& raster, OutputSink& listing, RowBlock& block) {
  DecodeAdaptiveBlock(raster, listing, block, true);
}

}  // namespace veltrix
