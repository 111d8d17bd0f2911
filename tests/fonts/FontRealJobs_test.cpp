// Soft-font jobs made by real drivers (the dvilj family, from TeX documents),
// held against a second, independent reading of their bytes: the fonts they
// define, the characters they download with their Delta X, the formats met.
#include <gtest/gtest.h>

#include <cstdint>
#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "TestSupport.h"
#include "decode/Korvane.h"
#include "decode/core/DecodeOptions.h"

namespace veltrix::test {
namespace {

// What the scan finds of one font definition.
struct ScannedFont {
  std::int32_t id = 0;
  std::uint8_t headerFormat = 0;
  std::string name;  // bytes 48 to 63 of a LaserJet header, up to a NUL
  std::map<std::int32_t, std::int32_t> widths;  // code -> Delta X of its last full character
};

struct ScannedDownloads {
  std::vector<ScannedFont> fonts;         // in definition order
  std::vector<std::uint8_t> charFormats;  // in order of first appearance
  long characters = 0;                    // ESC(s#W downloads
};

// Reads the escapes of a PCL job that the dvilj drivers write: two-character
// escapes, and parameterized ones whose groups may be combined
// (ESC*cd80E). Only ESC)s#W, ESC(s#W, ESC*c#D and ESC*c#E matter here; the
// data of every ...W escape is stepped over.
ScannedDownloads ScanDownloads(std::string_view job) {
  ScannedDownloads s;
  std::int32_t fontId = 0, code = 0;
  std::size_t i = 0;
  const auto byte = [&](std::size_t at) { return static_cast<std::uint8_t>(job[at]); };
  while (i < job.size()) {
    if (job[i] != '\x1b' || i + 1 >= job.size()) {
      ++i;
      continue;
    }
    const char param = job[i + 1];
    if (param < '!' || param > '/') {  // ESC E and the like
      i += 2;
      continue;
    }
    // A lower-case group letter may follow (ESC*c...); ESC(4X and ESC(X have none.
    const char next = i + 2 < job.size() ? job[i + 2] : 0;
    const char group = next >= 'a' && next <= 'z' ? next : 0;
    i += group ? 3 : 2;
    for (;;) {  // value and terminator, again while the terminator is lower case
      std::int64_t value = 0;
      while (i < job.size() && (job[i] == '+' || job[i] == '-')) ++i;
      while (i < job.size() && job[i] >= '0' && job[i] <= '9') value = value * 10 + (job[i++] - '0');
      if (i < job.size() && job[i] == '.') {
        ++i;
        while (i < job.size() && job[i] >= '0' && job[i] <= '9') ++i;
      }
      if (i >= job.size()) break;
      const char terminator = job[i++];
      const char upper = static_cast<char>(terminator & ~0x20);
      if (param == '*' && group == 'c' && upper == 'D') fontId = static_cast<std::int32_t>(value);
      if (param == '*' && group == 'c' && upper == 'E') code = static_cast<std::int32_t>(value);
      if (terminator == 'W') {
        const std::size_t start = i;
        i += static_cast<std::size_t>(value);
        if (i > job.size()) i = job.size();
        if (param == ')' && group == 's' && value > 2) {
          std::string name(job.substr(std::min(start + 48, job.size()), 16));
          name = name.substr(0, name.find('\0'));
          s.fonts.push_back({fontId, byte(start + 2), name, {}});
        } else if (param == '(' && group == 's' && value >= 2) {
          ++s.characters;
          const std::uint8_t format = byte(start);
          bool known = false;
          for (const std::uint8_t f : s.charFormats) known = known || f == format;
          if (!known) s.charFormats.push_back(format);
          const bool continuation = byte(start + 1) != 0;
          if (format == 4 && !continuation && value >= 16 && !s.fonts.empty()) {
            // The character belongs to the last definition of the current ID.
            for (auto f = s.fonts.rbegin(); f != s.fonts.rend(); ++f) {
              if (f->id != fontId) continue;
              f->widths[code] = byte(start + 14) * 256 + byte(start + 15);
              break;
            }
          }
        }
      }
      if (terminator < 'a' || terminator > 'z') break;
    }
  }
  return s;
}

const char* const kJobs[] = {"fonts/data/dvilj4-fonts.pcl", "fonts/data/dvilj4l-fonts.pcl",
                             "fonts/data/dvilj2p-fonts.pcl", "fonts/data/dvilj-fonts.pcl",
                             "realjobs/data/dvilj4-hello.pcl"};

std::string Listed(const std::vector<std::uint8_t>& formats) {
  std::string text;
  for (const std::uint8_t f : formats) text += (text.empty() ? " " : ", ") + std::to_string(f);
  return text;
}

TEST(FontRealJobs, FontSummaryNamesEveryDownloadedFont) {
  for (const char* name : kJobs) {
    SCOPED_TRACE(name);
    const std::string job = ReadFile(TestDir() / name);
    const ScannedDownloads scan = ScanDownloads(job);
    ASSERT_FALSE(scan.fonts.empty());
    const std::string listing = Decode(job, DF_FONT_SUM).listing;

    std::string fontLines;
    std::vector<std::uint8_t> headerFormats;
    for (const ScannedFont& font : scan.fonts) {
      char line[80];
      std::snprintf(line, sizeof line, "    Font  ID %-5d  (%s) \n", font.id, font.name.c_str());
      fontLines += line;
      bool known = false;
      for (const std::uint8_t f : headerFormats) known = known || f == font.headerFormat;
      if (!known) headerFormats.push_back(font.headerFormat);
    }
    const std::string summary = "\n===================================================\n\n    Font Summary \n\n" +
                                fontLines + "Font formats encountered :" + Listed(headerFormats) + "\n" +
                                "Char formats encountered :" + Listed(scan.charFormats) + "\n" + "\n";  // the summary's closing line
    EXPECT_NE(listing.find(summary), std::string::npos) << summary << "\nin\n" << listing;
    EXPECT_NE(listing.find("\n===================================================\n\n    Font Attribute Summary\n\n"),
              std::string::npos);
  }
}

// The widths file holds every downloaded character of every font, with the
// Delta X of its descriptor, in ascending code.
TEST(FontRealJobs, WidthsFileHoldsEveryDownloadedCharacter) {
  const auto dir = MakeTempDir("font-widths");
  for (const char* name : kJobs) {
    SCOPED_TRACE(name);
    const ScannedDownloads scan = ScanDownloads(ReadFile(TestDir() / name));
    DecodeSettings settings;
    settings.SourceFile = (TestDir() / name).string();
    settings.DestFile = (dir / "job.lst").string();
    settings.ExtractWidths = 1;
    settings.ExtWidFile = (dir / "job.wid").string();
    DecodeRequest request;
    ASSERT_TRUE(BuildDecodeRequest(settings, request));
    request.clock.utc = true;
    ASSERT_EQ(DecodeFiles(request), 0) << request.message;

    std::string want;
    long characters = 0;
    for (const ScannedFont& font : scan.fonts) {
      want += "Widths for font '" + font.name + "', id = " + std::to_string(font.id) + " :\n";
      for (const auto& [code, width] : font.widths) {
        char line[40];
        std::snprintf(line, sizeof line, "%3d : %4d (%02X)\n", code, width, width);
        want += line;
        ++characters;
      }
      if (font.widths.empty()) want += "    No characters defined for this font\n";
      want += "\n";
    }
    EXPECT_GT(characters, 10);
    EXPECT_EQ(ReadFile(dir / "job.wid"), want);
  }
}

}  // namespace
}  // namespace veltrix::test
