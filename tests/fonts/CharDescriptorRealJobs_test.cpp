// The character downloads of jobs written by TeX's LaserJet drivers (dvilj4
// sends compressed class 2 characters and plain class 1 ones; the original
// LaserJet driver only class 1). A small scanner of its own finds every
// ESC*c#E / ESC(s#W pair; the fields and the dots are checked against the
// bytes at their offsets.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "TestSupport.h"
#include "fonts/CharDescriptor.h"

namespace veltrix {
namespace {

struct CharDownload {
  std::int32_t code = -1;  // the last ESC*c#E before it
  std::size_t offset = 0;  // of the first data byte in the job
  std::vector<std::uint8_t> block;
};

bool IsLower(char c) { return c >= 'a' && c <= 'z'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Walks the escapes of a PCL job: ESC, a parameter character, an optional
// group letter, then value-terminator pairs, a lower-case terminator chaining
// the next. Data of ESC(s#W is collected; data of ESC)s#W is stepped over.
std::vector<CharDownload> FindCharDownloads(std::string_view job) {
  std::vector<CharDownload> downloads;
  std::int32_t code = -1;
  std::size_t i = 0;
  while (i < job.size()) {
    if (job[i++] != '\x1b' || i == job.size()) continue;
    const char param = job[i];
    if (std::string_view("&()*%").find(param) == std::string_view::npos) continue;
    ++i;
    const char group = i < job.size() && IsLower(job[i]) ? job[i++] : 0;
    while (i < job.size()) {
      while (i < job.size() && (job[i] == '-' || job[i] == '+')) ++i;
      std::size_t value = 0;
      while (i < job.size() && IsDigit(job[i])) value = value * 10 + static_cast<std::size_t>(job[i++] - '0');
      if (i == job.size() || job[i] == '\x1b') break;
      const char terminator = job[i++];
      const char upper = IsLower(terminator) ? static_cast<char>(terminator - 'a' + 'A') : terminator;
      if (param == '*' && group == 'c' && upper == 'E') code = static_cast<std::int32_t>(value);
      if (upper == 'W' && group == 's' && (param == '(' || param == ')')) {
        const std::size_t end = std::min(job.size(), i + value);
        if (param == '(') {
          downloads.push_back({code, i, std::vector<std::uint8_t>(job.begin() + static_cast<std::ptrdiff_t>(i),
                                                                  job.begin() + static_cast<std::ptrdiff_t>(end))});
        }
        i = end;
        break;
      }
      if (!IsLower(terminator)) break;
    }
  }
  return downloads;
}

// A cruder count to hold the walker against: "ESC(s", digits, "W" anywhere.
std::size_t CountCharDownloadEscapes(std::string_view job) {
  std::size_t count = 0;
  for (std::size_t at = job.find("\x1b(s"); at != std::string_view::npos; at = job.find("\x1b(s", at + 1)) {
    std::size_t i = at + 3;
    while (i < job.size() && IsDigit(job[i])) ++i;
    count += i > at + 3 && i < job.size() && job[i] == 'W';
  }
  return count;
}

std::uint16_t WordAt(const std::vector<std::uint8_t>& block, std::size_t at) {
  return static_cast<std::uint16_t>(block[at] << 8 | block[at + 1]);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Decode(const std::vector<std::uint8_t>& block, bool list, bool show,
                   std::optional<std::int32_t>* width = nullptr) {
  std::string listing;
  {
    OutputSink sink(&listing);
    FontRegistry registry;
    DescriptorReader reader{block};
    const auto reported = DecodeCharDescriptor(sink, reader, list, show, registry);
    if (width != nullptr) *width = reported;
  }
  return listing;
}

// The black dots of the rows the block holds in full, counted by bytes:
// every bit of a row's whole bytes, the top (width % 8) bits of its last.
long DotsInBitmap(const std::vector<std::uint8_t>& block, std::size_t width, std::size_t rows) {
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
    const std::string bytes = test::ReadFile(test::TestDir() / job.path);
    const std::vector<CharDownload> downloads = FindCharDownloads(bytes);
    ASSERT_GE(downloads.size(), 10u);
    EXPECT_EQ(downloads.size(), CountCharDownloadEscapes(bytes));
    int compressed = 0;
    for (const CharDownload& download : downloads) {
      const std::vector<std::uint8_t>& b = download.block;
      SCOPED_TRACE(testing::Message() << "code " << download.code << " at offset " << download.offset);
      ASSERT_GE(b.size(), 16u);
      ASSERT_EQ(b[0], 4);  // LaserJet characters, none continued
      ASSERT_EQ(b[1], 0);
      compressed += b[3] == 2;
      const std::uint16_t width = WordAt(b, 10);
      const std::uint16_t height = WordAt(b, 12);
      const std::uint16_t deltaX = WordAt(b, 14);

      std::optional<std::int32_t> reported;
      const std::vector<std::string> fields = Lines(Decode(b, true, false, &reported));
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
      const std::string drawn = Decode(b, false, true);
      const std::vector<std::string> drawnRows = Lines(drawn);
      ASSERT_EQ(drawnRows.size(), rows);
      for (const std::string& row : drawnRows) {
        ASSERT_EQ(row.size(), width);
        ASSERT_EQ(row.find_first_not_of("1 "), std::string::npos);
      }
      EXPECT_EQ(std::ranges::count(drawn, '1'), DotsInBitmap(b, width, rows));
      EXPECT_EQ(Decode(b, true, true), Decode(b, true, false) + drawn);
    }
    EXPECT_EQ(compressed > 0, job.hasCompressed);
  }
}

// Through a whole decode: every download lists its fields once and draws
// its glyph after them.
TEST(CharDescriptorRealJobs, WholeJobListsEveryDownload) {
  const std::string bytes = test::ReadFile(test::TestDir() / "realjobs/data/dvilj4-hello.pcl");
  const std::vector<CharDownload> downloads = FindCharDownloads(bytes);
  ASSERT_FALSE(downloads.empty());
  const std::string listing = test::Decode(bytes, test::kNoSummaries | DF_CHAR_DESC | DF_RAS_FONTS).listing;
  std::size_t at = 0;
  for (const CharDownload& download : downloads) {
    SCOPED_TRACE(testing::Message() << "code " << download.code);
    const std::string fields = Decode(download.block, true, true);
    const std::size_t found = listing.find(fields, at);
    ASSERT_NE(found, std::string::npos);
    at = found + fields.size();
  }
}

// dvilj4's comma (code 44) is a plain bitmap of 10 x 25 dots: each row below
// was read off its two bytes a row (1C 00, 7F 00, FF 80, ...).
TEST(CharDescriptorRealJobs, Dvilj4CommaAsDrawn) {
  const std::vector<CharDownload> downloads =
      FindCharDownloads(test::ReadFile(test::TestDir() / "realjobs/data/dvilj4-hello.pcl"));
  const auto comma = std::ranges::find(downloads, 44, &CharDownload::code);
  ASSERT_NE(comma, downloads.end());
  const std::string expected =
      "   111    \n"
      " 1111111  \n"
      "111111111 \n"
      "111111111 \n"
      "1111111111\n"
      "1111111111\n"
      "1111111111\n"
      " 111111111\n"
      "   111  11\n"
      "        11\n"
      "        11\n"
      "        11\n"
      "        11\n"
      "       111\n"
      "       11 \n"
      "       11 \n"
      "      111 \n"
      "      11  \n"
      "     111  \n"
      "     11   \n"
      "    111   \n"
      "   111    \n"
      "  111     \n"
      " 111      \n"
      " 11       \n";
  EXPECT_EQ(Decode(comma->block, false, true), expected);
}

}  // namespace
}  // namespace veltrix
