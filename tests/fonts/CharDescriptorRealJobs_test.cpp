// The character downloads of jobs written by TeX's LaserJet drivers (dvilj4
// sends compressed class 2 characters and plain class 1 ones; the original
// LaserJet driver only class 1), found by the tests' own scan of the job's
// escapes; the fields and the dots are checked against the bytes at their
// offsets.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FontTestSupport.h"
#include "TestSupport.h"

namespace veltrix::test {
namespace {

struct CharDownload {
  std::int32_t code = -1;  // the last ESC*c#E before it
  std::size_t offset = 0;  // of the first data byte in the job
  Bytes block;
};

std::vector<CharDownload> FindCharDownloads(std::string_view job) {
  std::vector<CharDownload> downloads;
  std::int32_t code = -1;
  for (const FontCommand& c : ScanFontCommands(job)) {
    if (c.kind == 'E') code = static_cast<std::int32_t>(c.value);
    if (c.kind == 'C') downloads.push_back({code, c.offset, DataOf(job, c)});
  }
  return downloads;
}

std::string DecodeText(const Bytes& block, bool list, bool show, std::optional<std::int32_t>* width = nullptr) {
  DecodedChar d = DecodeChar(block, list, show);
  if (width != nullptr) *width = d.width;
  return d.listing;
}

// The black dots of the rows the block holds in full, counted by bytes:
// every bit of a row's whole bytes, the top (width % 8) bits of its last.
long DotsInBitmap(const Bytes& block, std::size_t width, std::size_t rows) {
  const std::size_t rowBytes = (width + 7) / 8;
  const auto tailMask = static_cast<std::uint8_t>(0xFF00u >> (width % 8));
  long dots = 0;
  for (std::size_t r = 0; r < rows; ++r) {
    const std::uint8_t* row = block.data() + 16 + r * rowBytes;
    for (std::size_t i = 0; i < width / 8; ++i) dots += std::popcount(row[i]);
    if (width % 8 != 0) dots += std::popcount(static_cast<std::uint8_t>(row[width / 8] & tailMask));
  }
  return dots;
}

struct JobCase {
  const char* path;  // under tests/
  bool hasCompressed;  // class 2 characters among them
};

TEST(CharDescriptorRealJobs, EveryDownloadAgainstItsBytes) {
  const JobCase jobs[] = {
      {"realjobs/data/dvilj4-hello.pcl", true},
      {"fonts/data/dvilj-fonts.pcl", false},
  };
  for (const JobCase& job : jobs) {
    SCOPED_TRACE(job.path);
    const std::string bytes = ReadFile(TestDir() / job.path);
    const std::vector<CharDownload> downloads = FindCharDownloads(bytes);
    ASSERT_GE(downloads.size(), 10u);
    int compressed = 0;
    for (const CharDownload& download : downloads) {
      const Bytes& b = download.block;
      SCOPED_TRACE(testing::Message() << "code " << download.code << " at offset " << download.offset);
      ASSERT_GE(b.size(), 16u);
      ASSERT_EQ(b[0], 4);  // LaserJet characters, none continued
      ASSERT_EQ(b[1], 0);
      compressed += b[3] == 2;
      const std::uint16_t width = WordAt(b, 10);
      const std::uint16_t height = WordAt(b, 12);
      const std::uint16_t deltaX = WordAt(b, 14);

      std::optional<std::int32_t> reported;
      const std::vector<std::string> fields = Lines(DecodeText(b, true, false, &reported));
      ASSERT_EQ(fields.size(), 10u);
      EXPECT_EQ(fields[3], b[3] == 1 ? "           Class : Bitmap" : "           Class : Compressed Bitmap");
      EXPECT_EQ(fields[7], " Character Width : " + std::to_string(width));
      EXPECT_EQ(fields[8], "Character Height : " + std::to_string(height));
      EXPECT_EQ(fields[9], "         Delta X : " + std::to_string(deltaX));
      EXPECT_EQ(reported, deltaX);

      // Rows that the block does not hold in full are not drawn; a class 1
      // character from a working driver holds every row.
      const std::size_t rowBytes = (width + 7u) / 8u;
      const std::size_t rows = std::min<std::size_t>(height, (b.size() - 16) / rowBytes);
      if (b[3] == 1) {
        EXPECT_EQ(rows, height);
      }
      const std::string drawn = DecodeText(b, false, true);
      const std::vector<std::string> drawnRows = Lines(drawn);
      ASSERT_EQ(drawnRows.size(), rows);
      for (const std::string& row : drawnRows) {
        ASSERT_EQ(row.size(), width);
        ASSERT_EQ(row.find_first_not_of("1 "), std::string::npos);
      }
      EXPECT_EQ(std::ranges::count(drawn, '1'), DotsInBitmap(b, width, rows));
      EXPECT_EQ(DecodeText(b, true, true), DecodeText(b, true, false) + drawn);
    }
    EXPECT_EQ(compressed > 0, job.hasCompressed);
  }
}

// Through a whole decode: every download lists its fields once and draws
// its glyph after them.
TEST(CharDescriptorRealJobs, WholeJobListsEveryDownload) {
  const std::string bytes = ReadFile(TestDir() / "realjobs/data/dvilj4-hello.pcl");
  const std::vector<CharDownload> downloads = FindCharDownloads(bytes);
  ASSERT_FALSE(downloads.empty());
  const std::string listing = test::Decode(bytes, kNoSummaries | DF_CHAR_DESC | DF_RAS_FONTS).listing;
  std::size_t at = 0;
  for (const CharDownload& download : downloads) {
    SCOPED_TRACE(testing::Message() << "code " << download.code);
    const std::string fields = DecodeText(download.block, true, true);
    const std::size_t found = listing.find(fields, at);
    ASSERT_NE(found, std::string::npos);
    at = found + fields.size();
  }
}

}  // namespace
}  // namespace veltrix::test
