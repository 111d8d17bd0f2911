// The stripped job: short jobs through the whole decoder, the hooks called by
// hand where the prefix must stop early, when disabled, and over a pipe. Real
// jobs are covered by the round trips.
#include "fonts/FontStripper.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "TestSupport.h"
#include "decode/Korvane.h"
#include "decode/core/DecodeOptions.h"

namespace veltrix::test {
namespace {

std::string Esc(std::string_view rest) { return "\x1b" + std::string(rest); }

// The whole decoder, reading `job` from a file, writes the stripped job.
std::string StripByDecoder(const std::string& job) {
  const auto dir = MakeTempDir("strip");
  WriteFile(dir / "job.pcl", job);
  DecodeSettings settings;
  settings.SourceFile = (dir / "job.pcl").string();
  settings.DestFile = (dir / "job.lst").string();
  settings.StripFonts = 1;
  settings.StripFontFile = (dir / "job.stp").string();
  DecodeRequest request;
  EXPECT_TRUE(BuildDecodeRequest(settings, request));
  request.clock.utc = true;
  EXPECT_EQ(DecodeFiles(request), 0) << request.message;
  const std::string stripped = ReadFile(dir / "job.stp");
  std::filesystem::remove_all(dir);
  return stripped;
}

// The hooks as the byte loop calls them for a job whose one escape, at
// `escape`, is a single font group ending at `groupEnd`.
void PlayOneGroup(ByteReader& in, StripState& strip, std::uint64_t escape, std::uint64_t groupEnd) {
  for (int b = in.Next(); b >= 0; b = in.Next()) {
    const std::uint64_t at = in.Offset() - 1;
    if (at == escape) StripByteHook(strip, at, StripByteKind::Escape);
    if (at < escape || at >= groupEnd) StripByteHook(strip, at, StripByteKind::Other);
    if (at + 1 == groupEnd) StripEscapeHook(strip, groupEnd);
  }
}

struct StripCase {
  const char* name;
  std::string job;
  std::string stripped;
};

std::string Bytes(std::size_t n, char first) {
  std::string s;
  for (std::size_t i = 0; i < n; ++i) s += static_cast<char>(first + i % 26);
  return s;
}

const std::string kHeaderData = "\x1b*c9D" + Bytes(59, 'a');  // 64 bytes that look like commands
const std::string kRaster = "\x1b*c5Dab";
const std::string kKept = Esc("(3X") + Esc("(s1p12v0s0b4099T") + Esc(")s1P") + "A\r\n\f\t\x80\xff" + Esc("E") +
                          Esc("&l1o2A") + Esc("*p+10x-5Y") + Esc("*b4W") + "a\x1bzq" + Esc("*b3W") + "abc" +
                          Esc("*rB") + Esc("&l1o") + "\rX";

std::vector<StripCase> StripCases() {
  return {
      {"first group removed, the next gets the prefix", Esc("*c5d100A"), Esc("*c100A")},
      {"last group removed, the kept one ends in upper case", Esc("*c100a5D"), Esc("*c100A")},
      {"middle group removed", Esc("*c100a5d200B"), Esc("*c100A") + Esc("*c200B")},
      {"every group removed", "x" + Esc("*c1d65e4F") + "y", "xy"},
      {"font header and its data", "ab" + Esc(")s64W") + kHeaderData + "cd", "abcd"},
      {"character and its data", Esc("*c65E") + Esc("(s7W") + kRaster + "z", "z"},
      {"font selection, text, controls, raster data and broken escapes are kept", kKept, kKept},
      {"removed group, then a kept one the input breaks",
       Esc("*c5d100a") + "\r",
       Esc("*c100a") + "\r"},
      {"font download between text and raster",
       "Hi" + Esc("*c2D") + Esc(")s64W") + kHeaderData + Esc("*c2d65E") + Esc("(s7W") + kRaster + Esc("(2X") +
           "A" + Esc("*b2W") + "\x1b\x1b",
       "Hi" + Esc("(2X") + "A" + Esc("*b2W") + "\x1b\x1b"},
      {"character data past the end", "xy" + Esc("(s100W") + "0123456789", "xy"},
      {"end of the job inside a removed escape's next group", "x" + Esc("*c5d10"), "x" + Esc("*c10")},
  };
}

TEST(FontStripper, RemovesFontGroupsAndRepairsTheirEscapes) {
  for (const StripCase& c : StripCases()) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(StripByDecoder(c.job), c.stripped);
  }
}

// Hook calls spelled out, where the prefix must stop early: at the first
// value byte, and after two bytes.
TEST(FontStripper, PrefixStopsBeforeTheValueAndAfterTwoBytes) {
  struct Case {
    const char* name;
    std::string job;
    std::uint64_t groupEnd;     // the removed first group ends here
    std::uint64_t nextGroup;    // where the kept group starts
    std::string stripped;
  };
  for (const Case& c : {Case{"no group character", Esc("*5d7A"), 4, 4, Esc("*7A")},
                        {"two bytes at most", Esc("*cc5d7A"), 6, 6, Esc("*c7A")},
                        {"sign", Esc("*c5d-7A"), 5, 5, Esc("*c-7A")}}) {
    SCOPED_TRACE(c.name);
    ByteReader in(std::span(reinterpret_cast<const std::uint8_t*>(c.job.data()), c.job.size()));
    std::string bytes;
    OutputSink out(&bytes);
    StripState strip;
    StartStrip(strip, in, out, true);
    StripByteHook(strip, 0, StripByteKind::Escape);
    StripEscapeHook(strip, c.groupEnd);
    StripByteHook(strip, c.nextGroup, StripByteKind::FurtherGroup);
    FinishStrip(strip, c.job.size());
    out.Flush();
    EXPECT_EQ(bytes, c.stripped);
  }
}

TEST(FontStripper, DisabledHooksWriteNothing) {
  const std::string job = "ab" + Esc("*c5D") + "cd";
  ByteReader in(std::span(reinterpret_cast<const std::uint8_t*>(job.data()), job.size()));
  std::string bytes;
  OutputSink out(&bytes);
  StripState strip;
  StartStrip(strip, in, out, false);
  PlayOneGroup(in, strip, 2, 7);
  FinishStrip(strip, job.size());
  // A later file of the same run, decoded without starting again.
  StartStrip(strip, in, out, true);
  FinishStrip(strip, 0);
  ByteReader again(std::span(reinterpret_cast<const std::uint8_t*>(job.data()), job.size()));
  strip.input = &again;
  PlayOneGroup(again, strip, 2, 7);
  FinishStrip(strip, job.size());
  out.Flush();
  EXPECT_EQ(bytes, "");
}

// A pipe cannot be read again: the output lacks the bytes and says so.
TEST(FontStripper, InputThatCannotBeReadAgain) {
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  // Too long to come from the reader's buffer.
  const std::string job = "ab" + Esc("*c5D") + std::string(10000, 'c');
  ASSERT_EQ(::write(fds[1], job.data(), job.size()), static_cast<ssize_t>(job.size()));
  ::close(fds[1]);
  std::string bytes;
  OutputSink out(&bytes);
  StripState strip;
  {
    ByteReader in(fds[0]);
    StartStrip(strip, in, out, true);
    PlayOneGroup(in, strip, 2, 7);
    FinishStrip(strip, job.size());
    out.Flush();
  }
  ::close(fds[0]);
  EXPECT_TRUE(strip.copyFailed);
  EXPECT_FALSE(strip.enabled);
  EXPECT_LT(bytes.size(), job.size() - 5);
}

}  // namespace
}  // namespace veltrix::test
