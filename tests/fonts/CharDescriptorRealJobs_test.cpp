// The character downloads of jobs written by TeX's LaserJet drivers, found by
// the tests' own scan; fields and dots checked against the bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <utility>
#include <string>
#include <string_view>
#include <vector>

#include "FontTestSupport.h"
#include "TestSupport.h"

namespace veltrix::test {
namespace {


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

TEST(CharDescriptorRealJobs, EveryDownloadAgainstItsBytes) {
  // dvilj4 sends class 2 characters among class 1 ones, dvilj only class 1.
  for (const auto& [path, hasCompressed] : {std::pair{"realjobs/data/dvilj4-hello.pcl", true},
                                            {"fonts/data/dvilj-fonts.pcl", false}}) {
    SCOPED_TRACE(path);
    const std::string job = ReadFile(TestDir() / path);
    int compressed = 0, downloads = 0;
    for (const FontCommand& c : ScanFontCommands(job)) {
      if (c.kind != 'C') continue;
      ++downloads;
      const Bytes b = DataOf(job, c);
      SCOPED_TRACE(testing::Message() << "download at offset " << c.offset);
      ASSERT_GE(b.size(), 16u);
      ASSERT_EQ(b[0], 4);  // LaserJet characters, none continued
      ASSERT_EQ(b[1], 0);
      compressed += b[3] == 2;
      const std::uint16_t width = WordAt(b, 10);
      const std::uint16_t height = WordAt(b, 12);
      const std::uint16_t deltaX = WordAt(b, 14);

      const DecodedChar listed = DecodeChar(b, true, false);
      const std::vector<std::string> fields = Lines(listed.listing);
      ASSERT_EQ(fields.size(), 10u);
      EXPECT_EQ(fields[3], b[3] == 1 ? "           Class : Bitmap" : "           Class : Compressed Bitmap");
      EXPECT_EQ(fields[7], " Character Width : " + std::to_string(width));
      EXPECT_EQ(fields[8], "Character Height : " + std::to_string(height));
      EXPECT_EQ(fields[9], "         Delta X : " + std::to_string(deltaX));
      EXPECT_EQ(listed.width, deltaX);

      // Rows that the block does not hold in full are not drawn; a class 1
      // character from a working driver holds every row.
      const std::size_t rowBytes = (width + 7u) / 8u;
      const std::size_t rows = std::min<std::size_t>(height, (b.size() - 16) / rowBytes);
      EXPECT_TRUE(b[3] != 1 || rows == height);
      const std::string drawn = DecodeChar(b, false, true).listing;
      const std::vector<std::string> drawnRows = Lines(drawn);
      ASSERT_EQ(drawnRows.size(), rows);
      for (const std::string& row : drawnRows) {
        ASSERT_EQ(row.size(), width);
        ASSERT_EQ(row.find_first_not_of("1 "), std::string::npos);
      }
      EXPECT_EQ(std::ranges::count(drawn, '1'), DotsInBitmap(b, width, rows));
      EXPECT_EQ(DecodeChar(b, true, true).listing, listed.listing + drawn);
    }
    EXPECT_GE(downloads, 10);
    EXPECT_EQ(compressed > 0, hasCompressed);
  }
}

}  // namespace
}  // namespace veltrix::test
