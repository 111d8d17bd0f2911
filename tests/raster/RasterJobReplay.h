// A second, small reading of a PCL 5 job's escapes, enough to drive the
// raster row decoder the way a printer would: compression, raster start and
// end, Y offsets, row blocks, and the vertical cursor that places the rows
// on the page. It shares no code with the decoder's own parser and knows
// nothing of PJL or HP-GL/2 (the jobs replayed here have neither).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "decode/core/OutputSink.h"
#include "raster/RasterGraphics.h"

namespace veltrix::test {

struct ReplayCounts {
  long rowBlocks = 0;
  long rasterStarts = 0;
  long yOffsets = 0;
  std::uint64_t rowBytes = 0;
  bool malformed = false;  // an escape the reading did not understand
};

struct ReplayedRow {
  long pageRow = 0;  // pixel rows from the top of the page, at the raster resolution
  std::int32_t method = 0;
  std::span<const std::uint8_t> data;
  bool seedCleared = false;  // a raster start, end or Y offset came since the previous row block
};

// Calls onRow(const ReplayedRow&) after each row block is decoded.
template <typename OnRow>
ReplayCounts ReplayRasterJob(std::string_view job, RasterState& raster, OutputSink& listing, OnRow onRow) {
  ReplayCounts counts;
  long unitsPerInch = 300;  // ESC&u#D
  long resolution = 75;     // ESC*t#R
  long cursorUnits = 0;     // vertical cursor, in units
  long pageRow = 0;         // the row the next row block prints on
  bool seedCleared = true;
  std::size_t i = 0;
  const std::size_t n = job.size();
  auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  while (i < n) {
    if (job[i] != 27) {
      ++i;
      continue;
    }
    ++i;
    if (i == n) break;
    const char param = job[i++];
    if (param < 33 || param > 47) continue;  // two-character escape: ESC E and the like
    char group = 0;
    if (i < n && job[i] >= 96 && job[i] <= 126) group = job[i++];
    for (;;) {  // each part of a combined escape
      char sign = 0;
      if (i < n && (job[i] == '+' || job[i] == '-')) sign = job[i++];
      long value = 0;
      while (i < n && isDigit(job[i])) value = value * 10 + (job[i++] - '0');
      if (i < n && job[i] == '.') {
        ++i;
        while (i < n && isDigit(job[i])) ++i;
      }
      if (i == n || !((job[i] >= 64 && job[i] <= 94) || (job[i] >= 96 && job[i] <= 126))) {
        counts.malformed = true;
        break;
      }
      const char terminator = job[i++];
      const bool last = terminator <= 94;
      const char key = static_cast<char>(last ? terminator : terminator - 32);
      const long signedValue = sign == '-' ? -value : value;
      if (param == '&' && group == 'u' && key == 'D') unitsPerInch = value;
      if (param == '*' && group == 't' && key == 'R') resolution = value;
      if (param == '*' && group == 'p' && key == 'Y') cursorUnits = sign ? cursorUnits + signedValue : value;
      if (param == '*' && group == 'r' && key == 'A') {
        if (!raster.rasterActive) pageRow = cursorUnits * resolution / unitsPerInch;
        seedCleared |= !raster.rasterActive;
        StartRaster(raster, false);
        ++counts.rasterStarts;
      }
      if (param == '*' && group == 'r' && (key == 'B' || key == 'C')) {
        EndRaster(raster);
        seedCleared = true;
      }
      if (param == '*' && group == 'r' && key == 'S') SetRasterWidth(raster, static_cast<std::int32_t>(value));
      if (param == '*' && group == 'r' && key == 'T') SetRasterHeight(raster, static_cast<std::int32_t>(value));
      if (param == '*' && group == 'b' && key == 'M') SetRasterCompression(raster, static_cast<std::int32_t>(value));
      if (param == '*' && group == 'b' && key == 'Y') {
        NoteRasterYOffset(raster);
        seedCleared = true;
        pageRow += signedValue;
        ++counts.yOffsets;
      }
      if (key == 'W') {  // every ...W escape carries `value` data bytes
        const std::size_t size = std::min<std::size_t>(static_cast<std::size_t>(value), n - i);
        if (param == '*' && group == 'b') {
          const auto* bytes = reinterpret_cast<const std::uint8_t*>(job.data() + i);
          const std::span<const std::uint8_t> data(bytes, size);
          seedCleared |= !raster.rasterActive;  // the row starts raster graphics itself
          DecodeRasterRow(raster, data, listing, false);
          onRow(ReplayedRow{pageRow, raster.compression, data, seedCleared});
          seedCleared = false;
          ++pageRow;
          ++counts.rowBlocks;
          counts.rowBytes += size;
        }
        i += size;
      }
      if (last) break;
    }
  }
  return counts;
}

}  // namespace veltrix::test
