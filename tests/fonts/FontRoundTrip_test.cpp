// Round trips of the stripped job and the extracted fonts on soft-font jobs
// made by real drivers: the stripped job holds everything but the font
// downloads; the extracted fonts hold the downloads, decode on their own to
// the same descriptors and characters, and followed by the stripped job they
// give back the original's fonts, text and pages.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "decode/Korvane.h"
#include "decode/core/DecodeOptions.h"

namespace veltrix::test {
namespace {

namespace fs = std::filesystem;

const char* const kJobs[] = {"fonts/data/dvilj4-fonts.pcl", "fonts/data/dvilj4l-fonts.pcl",
                             "fonts/data/dvilj2p-fonts.pcl", "fonts/data/dvilj-fonts.pcl",
                             "realjobs/data/dvilj4-hello.pcl"};

// Decodes `source` into `listing` with character descriptors listed; writes
// the stripped job and the extracted fonts when named.
void DecodeWith(const fs::path& source, const fs::path& listing, const std::string& stripped = "",
                const std::string& extracted = "") {
  DecodeSettings settings;
  settings.SourceFile = source.string();
  settings.DestFile = listing.string();
  settings.ShowCharDesc = 1;
  settings.StripFonts = !stripped.empty();
  settings.StripFontFile = stripped;
  settings.KeepFonts = !extracted.empty();
  settings.KeepFontsFile = extracted;
  DecodeRequest request;
  ASSERT_TRUE(BuildDecodeRequest(settings, request));
  request.clock.utc = true;
  ASSERT_EQ(DecodeFiles(request), 0) << request.message;
  ASSERT_TRUE(request.message.empty()) << request.message;
}

bool IsFontGroupLine(const std::string& line) {
  for (const char* key : {"<ESC>*c#D", "<ESC>*c#E", "<ESC>*c#F", "<ESC>)s#W", "<ESC>(s#W"}) {
    if (line.starts_with(key)) return true;
  }
  return false;
}

// The escape summary's count lines ("<ESC>&l#A  Set Page Size  :  2 times").
std::vector<std::string> EscapeCounts(const std::string& listing, bool withFontGroups) {
  std::vector<std::string> counts;
  for (const std::string& line : Lines(listing)) {
    if (line.starts_with("<ESC>") && (withFontGroups || !IsFontGroupLine(line))) counts.push_back(line);
  }
  return counts;
}

// The lines of the font downloads: from "Font Descriptor" or "Character
// descriptor" up to the next escape line or text.
std::vector<std::string> DownloadLines(const std::string& listing) {
  std::vector<std::string> lines;
  bool inside = false, header = false;
  for (const std::string& line : Lines(listing)) {
    if (line.starts_with("[ ")) {
      header = line.find("Font Descriptor  (") != std::string::npos;
      inside = header || line.find("Character descriptor (") != std::string::npos;
      if (inside) lines.push_back(line.substr(22));  // the meaning, without the escape's own header
      continue;
    }
    // Field lines hold " : ", and a font descriptor ends with a blank line;
    // any other line is text printed after the download.
    if (inside && (line.find(" : ") != std::string::npos || (header && line.empty()))) {
      lines.push_back(line);
      inside = !line.empty();
    } else {
      inside = false;
    }
  }
  return lines;
}

// Text lines: neither escape lines nor download fields nor summaries.
std::string Section(const std::string& listing, const std::string& from, const std::string& to) {
  const std::size_t start = listing.find(from);
  if (start == std::string::npos) return {};
  const std::size_t end = listing.find(to, start + from.size());
  return listing.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

long PageCount(const std::string& listing) {
  long pages = 0;
  for (const std::string& line : Lines(listing)) pages += line.starts_with("    Page ") ? 1 : 0;
  return pages;
}

class FontRoundTrip : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = MakeTempDir("font-round-trip"); }
  fs::path dir_;
};

TEST_F(FontRoundTrip, StrippedJobLosesOnlyTheDownloads) {
  for (const char* name : kJobs) {
    SCOPED_TRACE(name);
    DecodeWith(TestDir() / name, dir_ / "original.lst", (dir_ / "job.stp").string());
    DecodeWith(dir_ / "job.stp", dir_ / "stripped.lst");
    const std::string original = ReadFile(dir_ / "original.lst");
    const std::string stripped = ReadFile(dir_ / "stripped.lst");
    EXPECT_EQ(stripped.find("Font Descriptor"), std::string::npos);
    EXPECT_EQ(stripped.find("Character descriptor"), std::string::npos);
    EXPECT_EQ(stripped.find("***"), std::string::npos) << "the repaired escapes stay valid";
    EXPECT_EQ(EscapeCounts(stripped, true), EscapeCounts(original, false));
    EXPECT_EQ(PageCount(stripped), PageCount(original));
    EXPECT_GT(PageCount(original), 0);
    EXPECT_LT(fs::file_size(dir_ / "job.stp"), fs::file_size(TestDir() / name) / 2);
  }
}

TEST_F(FontRoundTrip, ExtractedFontsDecodeToTheSameDownloads) {
  for (const char* name : kJobs) {
    SCOPED_TRACE(name);
    DecodeWith(TestDir() / name, dir_ / "original.lst", "", (dir_ / "fonts.fnt").string());
    DecodeWith(dir_ / "fonts.fnt", dir_ / "fonts.lst");
    const std::vector<std::string> want = DownloadLines(ReadFile(dir_ / "original.lst"));
    ASSERT_GT(want.size(), 100u);
    EXPECT_EQ(DownloadLines(ReadFile(dir_ / "fonts.lst")), want);
  }
}

TEST_F(FontRoundTrip, FontsThenStrippedJobGiveBackTheOriginal) {
  for (const char* name : kJobs) {
    SCOPED_TRACE(name);
    DecodeWith(TestDir() / name, dir_ / "original.lst", (dir_ / "job.stp").string(), (dir_ / "fonts.fnt").string());
    WriteFile(dir_ / "both.pcl", ReadFile(dir_ / "fonts.fnt") + ReadFile(dir_ / "job.stp"));
    DecodeWith(dir_ / "both.pcl", dir_ / "both.lst");
    const std::string original = ReadFile(dir_ / "original.lst");
    const std::string both = ReadFile(dir_ / "both.lst");
    const std::string rule = "\n===================================================\n\n";
    EXPECT_EQ(Section(both, "    Font Summary", rule), Section(original, "    Font Summary", rule));
    EXPECT_EQ(Section(both, "    Font Attribute Summary", rule), Section(original, "    Font Attribute Summary", rule));
    EXPECT_EQ(DownloadLines(both), DownloadLines(original));
    EXPECT_EQ(PageCount(both), PageCount(original));
  }
}

}  // namespace
}  // namespace veltrix::test
