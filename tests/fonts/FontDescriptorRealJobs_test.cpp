// Font headers written by real drivers (dvilj4 at 600 dpi: format 20;
// dvilj for the first LaserJet: format 0), cut out of the jobs by a scanner
// of its own and decoded; the fields are held against the bytes at their
// offsets. These drivers leave the first and last code 0 and the name
// blank, and the listing shows them so.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FontDescriptorTestSupport.h"
#include "TestSupport.h"

namespace veltrix::test {
namespace {

// The data of every ESC)s#W in the job, as these drivers write it: the
// escape on its own, a plain decimal count.
std::vector<Bytes> FontHeaders(std::string_view job) {
  std::vector<Bytes> headers;
  for (std::size_t i = 0; i + 3 < job.size(); ++i) {
    if (job.substr(i, 3) != "\x1b)s") continue;
    std::size_t at = i + 3;
    std::size_t count = 0;
    while (at < job.size() && job[at] >= '0' && job[at] <= '9') count = count * 10 + (job[at++] - '0');
    if (at >= job.size() || job[at] != 'W' || at + 1 + count > job.size()) continue;
    const auto* data = reinterpret_cast<const std::uint8_t*>(job.data() + at + 1);
    headers.emplace_back(data, data + count);
    i = at + count;
  }
  return headers;
}

std::uint32_t WordAt(const Bytes& b, std::size_t offset) { return b[offset] << 8 | b[offset + 1]; }

// The fields the drivers fill, straight from the bytes.
void CheckAgainstBytes(const Bytes& header, const DecodedHeader& got) {
  const FontDescriptor& d = got.descriptor;
  ASSERT_GE(header.size(), 64u);
  EXPECT_EQ(d.descriptorSize, WordAt(header, 0));
  EXPECT_EQ(d.headerFormat, header[2]);
  EXPECT_EQ(d.fontType, header[3]);
  EXPECT_EQ(d.baselinePosition, WordAt(header, 6));
  EXPECT_EQ(d.cellWidth, WordAt(header, 8));
  EXPECT_EQ(d.cellHeight, WordAt(header, 10));
  EXPECT_EQ(d.spacing, header[13]);
  EXPECT_EQ(d.symbolSet, WordAt(header, 14));
  EXPECT_EQ(d.pitch, WordAt(header, 16));
  EXPECT_EQ(d.height, WordAt(header, 18));
  EXPECT_EQ(d.firstCode, WordAt(header, 36));
  EXPECT_EQ(d.lastCode, WordAt(header, 38));
  EXPECT_EQ(d.fontName, std::string(header.begin() + 48, header.begin() + 64));  // 16 blanks, no NUL
  if (header[2] == 20) {
    ASSERT_GE(header.size(), 68u);
    EXPECT_EQ(d.xResolution, WordAt(header, 64));
    EXPECT_EQ(d.yResolution, WordAt(header, 66));
  }
  EXPECT_EQ(d.noticeLength, 0);  // each block is exactly its descriptor size
  EXPECT_EQ(LineOf(got.listing, "        Cell Width : "), "        Cell Width : " + std::to_string(WordAt(header, 8)));
  EXPECT_EQ(LineOf(got.listing, "        Symbol set : "), "        Symbol set : Roman-8");
}

TEST(FontDescriptorRealJobs, DriverHeadersAgainstTheirBytes) {
  const struct {
    const char* job;
    std::size_t headers;
    std::uint8_t format;
  } cases[] = {
      {"realjobs/data/dvilj4-hello.pcl", 2, 20},
      {"fonts/data/dvilj4-fonts.pcl", 8, 20},
      {"fonts/data/dvilj-fonts.pcl", 8, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.job);
    const std::string job = ReadFile(TestDir() / c.job);
    const std::vector<Bytes> headers = FontHeaders(job);
    ASSERT_EQ(headers.size(), c.headers);
    for (const Bytes& header : headers) {
      ASSERT_EQ(header[2], c.format);
      const DecodedHeader got = DecodeHeader(header);
      CheckAgainstBytes(header, got);
      EXPECT_EQ(got.registry.fontFormats, std::vector<std::uint8_t>{c.format});
    }
  }
}

// The first header of dvilj4-hello.pcl, listed in full.
TEST(FontDescriptorRealJobs, Dvilj4HeaderListing) {
  const std::vector<Bytes> headers = FontHeaders(ReadFile(TestDir() / "realjobs/data/dvilj4-hello.pcl"));
  ASSERT_FALSE(headers.empty());
  EXPECT_EQ(DecodeHeader(headers[0]).listing,
            "              Size : 68 (0x44)\n"
            "            Format : Resolution Specified Bitmap\n"
            "         Font type : Bound 8-bit (256 characters : 0-255)\n"
            "           Posture : Upright\n"
            "             Width : Normal\n"
            "         Structure : Solid\n"
            " Baseline Distance : 61\n"
            "        Cell Width : 82\n"
            "       Cell Height : 83\n"
            "       Orientation : 0 - Portrait\n"
            "           Spacing : Proportional\n"
            "        Symbol set : Roman-8\n"
            "             Pitch : 1.17 cpi\n"
            "            Height : 61.44 points\n"
            "           xHeight : 0 dots\n"
            "        Width Type : Normal\n"
            "     Stroke Weight : Medium, Book or Text\n"
            "   Typeface Family : Line Printer\n"
            "       Serif Style : Sans Serif Square\n"
            "           Quality : Data processing\n"
            "         Placement : Normal\n"
            "Underline distance : 0\n"
            "  Underline height : 0\n"
            "       Text height : 0 (0x00)\n"
            "        Text width : 0 (0x00)\n"
            "        First code : 0 (0x00)\n"
            "         Last code : 0 (0x00)\n"
            "        Cap height : %0.00\n"
            "         Font name : " + std::string(16, ' ') + "\n"  // the driver's blank name
            "      X Resolution : 600\n"
            "      Y Resolution : 600\n"
            "\n");
}

}  // namespace
}  // namespace veltrix::test
