// Rows of jobs printed by Ghostscript's ljet4 driver (delta row and PackBits
// rows, blank rows skipped by Y offsets), decoded and held against the page
// that Ghostscript renders from the same PostScript at the same resolution
// (make-jobs.sh). The job's escapes are read by a separate small reader
// (below); its cursor escapes place each row on the page.
//
// Two things stand between the page and the row lines, and the expected
// lines are made from the page with both:
// - The driver leaves a margin of 1/6 inch on every side blank (what it
//   takes as the printer's unprintable border).
// - A PackBits row leaves the seed row's bytes after its end as they were,
//   while the driver, writing the next delta row, counts them as zero: that
//   delta row shows the old bytes wherever it does not replace them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "TestSupport.h"
#include "raster/RasterTestSupport.h"

namespace veltrix {
namespace {

using test::Bitmap;
using test::Bytes;
using test::Trimmed;

// A second, small reading of a PCL 5 job's escapes, enough to drive the
// raster row decoder the way a printer would: compression, raster start and
// end, Y offsets, row blocks, and the vertical cursor that places the rows
// on the page. It shares no code with the decoder's own parser and knows
// nothing of PJL or HP-GL/2 (the jobs replayed here have neither).
struct ReplayCounts {
  long rowBlocks = 0;
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
        }
        i += size;
      }
      if (last) break;
    }
  }
  return counts;
}

// The page's row y as the driver prints it: its margins blank.
Bytes PrintedRow(const Bitmap& page, long y, long margin) {
  Bytes row(page.rows[0].size());
  if (y < margin || y >= page.height - margin) return row;
  for (long x = margin; x < page.width - margin; ++x) {
    if (page.Pixel(x, y)) row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
  }
  return row;
}

// The bytes a PackBits row block decodes to: its control bytes' counts.
std::size_t PackBitsLength(std::span<const std::uint8_t> data) {
  std::size_t length = 0;
  for (std::size_t i = 0; i + 1 < data.size();) {
    const std::uint8_t control = data[i++];
    if (control < 128) {
      length += control + 1u;
      i += control + 1u;
    } else if (control > 128) {
      length += 257u - control;
      ++i;
    }
  }
  return length;
}

struct PrintedPage {
  const char* job;     // under tests/
  const char* bitmap;  // under tests/
  long resolution;     // dots per inch of both
  long minRowBlocks;   // a floor, so that a job misread as nearly empty fails
  long staleRows;      // delta rows that show bytes left by a PackBits row
};

TEST(RasterRealJobs, DecodedRowsAreGhostscriptsPage) {
  const PrintedPage pages[] = {
      {"realjobs/data/ljet4-page1.pcl", "raster/data/page1-75.pbm", 75, 100, 0},
      {"raster/data/raster-page-300.pcl", "raster/data/raster-page-300.pbm", 300, 250, 11},
      {"raster/data/raster-page-600.pcl", "raster/data/raster-page-600.pbm", 600, 500, 18},
  };
  for (const PrintedPage& page : pages) {
    SCOPED_TRACE(page.job);
    const std::string job = test::ReadFile(test::TestDir() / page.job);
    const Bitmap bitmap = test::ReadPbm(test::ReadFile(test::TestDir() / page.bitmap));
    ASSERT_FALSE(job.empty());
    ASSERT_FALSE(bitmap.rows.empty());
    const long margin = (page.resolution + 5) / 6;

    test::RowDecoder decoder;
    std::map<long, std::string> lines;  // page row -> its row line
    std::map<std::int32_t, long> rowsByMethod;
    Bytes seed;      // the seed row as the rules leave it, up to the page width
    Bytes previous;  // the previous row as the driver printed it
    long wrongRows = 0, staleRows = 0, rowsOffPage = 0;
    const ReplayCounts counts =
        ReplayRasterJob(job, decoder.raster, decoder.listing, [&](const ReplayedRow& row) {
          const std::string line = decoder.Take();
          ++rowsByMethod[row.method];
          if (row.pageRow < 0 || row.pageRow >= bitmap.height) {
            ++rowsOffPage;
            return;
          }
          lines[row.pageRow] = line;
          const Bytes printed = PrintedRow(bitmap, row.pageRow, margin);
          if (row.seedCleared || seed.empty()) seed = previous = Bytes(printed.size());
          if (row.method == 2) {
            const std::size_t end = std::min(PackBitsLength(row.data), printed.size());
            EXPECT_EQ(Trimmed(Bytes(printed.begin(), printed.begin() + static_cast<std::ptrdiff_t>(end))),
                      Trimmed(printed));  // the driver ends a PackBits row at its last ink
            std::copy_n(printed.begin(), end, seed.begin());
          } else {
            ASSERT_EQ(row.method, 3);
            for (std::size_t i = 0; i < printed.size(); ++i) {
              if (printed[i] != previous[i]) seed[i] = printed[i];  // the driver replaces what changed
            }
          }
          const Bytes shown = row.method == 2 ? printed : seed;
          staleRows += Trimmed(shown) != Trimmed(printed);
          if (line != test::OneBitLine(Trimmed(shown)) && wrongRows++ < 3) {
            ADD_FAILURE() << "row " << row.pageRow << " (method " << row.method << ") is\n"
                          << line << "not\n"
                          << test::OneBitLine(Trimmed(shown));
          }
          previous = printed;
        });
    EXPECT_FALSE(counts.malformed);
    EXPECT_GE(counts.rowBlocks, page.minRowBlocks);
    EXPECT_EQ(static_cast<long>(lines.size()), counts.rowBlocks);  // no row printed twice
    EXPECT_EQ(rowsOffPage, 0);
    EXPECT_GT(rowsByMethod[2], 0);  // the driver picks both methods
    EXPECT_GT(rowsByMethod[3], 0);
    EXPECT_EQ(wrongRows, 0);
    EXPECT_EQ(staleRows, page.staleRows);

    // Rows that the job skips are blank on the page.
    long inkedRows = 0, skippedInkedRows = 0;
    for (long y = 0; y < bitmap.height; ++y) {
      const bool inked = !Trimmed(PrintedRow(bitmap, y, margin)).empty();
      inkedRows += inked;
      skippedInkedRows += inked && !lines.contains(y);
    }
    EXPECT_GT(inkedRows, page.minRowBlocks / 5);
    EXPECT_EQ(skippedInkedRows, 0);
  }
}

}  // namespace
}  // namespace veltrix
