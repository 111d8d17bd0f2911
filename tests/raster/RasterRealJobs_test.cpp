// Rows of jobs printed by Ghostscript's ljet4 driver (delta row and PackBits
// rows, blank rows skipped by Y offsets), decoded and held against the page
// that Ghostscript renders from the same PostScript at the same resolution
// (make-jobs.sh). The job's escapes are read by a separate small reader
// (RasterJobReplay.h); its cursor escapes place each row on the page.
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
#include <cctype>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "raster/RasterJobReplay.h"
#include "raster/RasterTestSupport.h"

namespace veltrix {
namespace {

using test::Bytes;

// A raw PBM ("P4"): rows of (width + 7) / 8 bytes, most significant bit
// first, 1 = black.
struct Bitmap {
  long width = 0;
  long height = 0;
  std::string bits;

  long RowBytes() const { return (width + 7) / 8; }
  bool Pixel(long x, long y) const {
    return (static_cast<unsigned char>(bits[static_cast<std::size_t>(y * RowBytes() + x / 8)]) >> (7 - x % 8)) & 1;
  }
};

std::optional<Bitmap> ReadPbm(const std::string& file) {
  std::size_t at = 2;
  auto number = [&] {
    while (at < file.size() && (std::isspace(static_cast<unsigned char>(file[at])) || file[at] == '#')) {
      if (file[at] == '#') at = file.find('\n', at);
      if (at != std::string::npos) ++at;
    }
    long v = 0;
    while (at < file.size() && std::isdigit(static_cast<unsigned char>(file[at]))) v = v * 10 + (file[at++] - '0');
    return v;
  };
  if (!file.starts_with("P4")) return std::nullopt;
  Bitmap bitmap;
  bitmap.width = number();
  bitmap.height = number();
  ++at;  // the one blank before the pixels
  if (bitmap.width < 1 || bitmap.height < 1 || at > file.size() ||
      file.size() - at != static_cast<std::size_t>(bitmap.RowBytes() * bitmap.height)) {
    return std::nullopt;
  }
  bitmap.bits = file.substr(at);
  return bitmap;
}

// The page's row y as the driver prints it: its margins blank.
Bytes PrintedRow(const Bitmap& page, long y, long margin) {
  Bytes row(static_cast<std::size_t>(page.RowBytes()));
  if (y < margin || y >= page.height - margin) return row;
  for (long x = margin; x < page.width - margin; ++x) {
    if (page.Pixel(x, y)) row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
  }
  return row;
}

Bytes Trimmed(Bytes row) {
  while (!row.empty() && row.back() == 0) row.pop_back();
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
    const std::optional<Bitmap> bitmap = ReadPbm(test::ReadFile(test::TestDir() / page.bitmap));
    ASSERT_FALSE(job.empty());
    ASSERT_TRUE(bitmap.has_value());
    const long margin = (page.resolution + 5) / 6;

    test::RowDecoder decoder;
    std::map<long, std::string> lines;  // page row -> its row line
    std::map<std::int32_t, long> rowsByMethod;
    Bytes seed;      // the seed row as the rules leave it, up to the page width
    Bytes previous;  // the previous row as the driver printed it
    long wrongRows = 0, staleRows = 0, rowsOffPage = 0;
    const test::ReplayCounts counts =
        test::ReplayRasterJob(job, decoder.raster, decoder.listing, [&](const test::ReplayedRow& row) {
          const std::string line = decoder.Take();
          ++rowsByMethod[row.method];
          if (row.pageRow < 0 || row.pageRow >= bitmap->height) {
            ++rowsOffPage;
            return;
          }
          lines[row.pageRow] = line;
          const Bytes printed = PrintedRow(*bitmap, row.pageRow, margin);
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

    // Rows that the job skips are blank on the page; the page has ink in the
    // margins that the job leaves out.
    long inkedRows = 0, skippedInkedRows = 0, marginInk = 0;
    for (long y = 0; y < bitmap->height; ++y) {
      const bool inked = !Trimmed(PrintedRow(*bitmap, y, margin)).empty();
      inkedRows += inked;
      skippedInkedRows += inked && !lines.contains(y);
      for (long x = 0; x < bitmap->width; ++x) {
        const bool inMargin = x < margin || x >= bitmap->width - margin || y < margin || y >= bitmap->height - margin;
        marginInk += inMargin && bitmap->Pixel(x, y);
      }
    }
    EXPECT_GT(inkedRows, page.minRowBlocks / 5);
    EXPECT_EQ(skippedInkedRows, 0);
    EXPECT_GT(marginInk, 0);
  }
}

}  // namespace
}  // namespace veltrix
