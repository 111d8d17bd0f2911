// The stripped job: jobs played through a model of the PCL 5 byte loop (the
// bytes it reports, the escapes it parses, the data it skips), over memory
// and over a file, and the real dvilj jobs held against a plain removal of
// their font download escapes.
#include "fonts/FontStripper.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "TestSupport.h"

namespace veltrix::test {
namespace {

constexpr int kEsc = 0x1b;

std::string Esc(std::string_view rest) { return "\x1b" + std::string(rest); }

bool IsValueByte(int c) { return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'; }
bool IsParamByte(int c) { return c == '&' || c == '(' || c == ')' || c == '*' || c == '%' || c == '+'; }
bool IsLower(int c) { return c >= 'a' && c <= 'z'; }
bool IsTerminator(int c) { return IsLower(c) || (c >= 'A' && c <= 'Z') || c == '@'; }

bool IsFontGroup(int param, int group, int terminator) {
  const int upper = IsLower(terminator) ? terminator - 'a' + 'A' : terminator;
  if (param == '*' && group == 'c') return upper == 'D' || upper == 'E' || upper == 'F';
  return (param == '(' || param == ')') && group == 's' && upper == 'W';
}

// What the byte loop knows between two bytes.
struct LoopModel {
  ByteReader& in;
  StripState& strip;
  bool continuing = false;
  int param = 0;
  int group = 0;
};

// The value and terminator of one group; skips the data of a ...W group and
// reports the end of a font group, as the escape handler does.
void ReadGroupRest(LoopModel& loop) {
  std::uint32_t value = 0;
  bool point = false;
  int c = loop.in.Next();
  for (; IsValueByte(c); c = loop.in.Next()) {
    if (c == '.') point = true;
    if (c >= '0' && c <= '9' && !point) value = value * 10 + static_cast<std::uint32_t>(c - '0');
  }
  loop.continuing = false;
  if (!IsTerminator(c)) return;  // an invalid escape (the byte is consumed), or the end
  loop.continuing = IsLower(c);
  if (c == 'W' || c == 'w') loop.in.Skip(value);
  if (IsFontGroup(loop.param, loop.group, c)) StripEscapeHook(loop.strip, loop.in.Offset());
}

void ReadParamGroup(LoopModel& loop, int param) {
  loop.param = param;
  loop.group = 0;
  const int c = loop.in.Next();
  if (IsLower(c)) {
    loop.group = c;
  } else if (c >= 0) {
    loop.in.Unread(1);
  }
  ReadGroupRest(loop);
}

void ReadEscape(LoopModel& loop) {
  loop.continuing = false;
  const int c = loop.in.Next();
  if (c == kEsc) {
    loop.in.Unread(1);  // ESC ESC: the second one starts the escape
  } else if (IsParamByte(c)) {
    ReadParamGroup(loop, c);
  }  // else a two-character escape, or an invalid one
}

void ContinueEscape(LoopModel& loop, int b) {
  if (IsParamByte(b)) {
    ReadParamGroup(loop, b);
  } else if (IsValueByte(b) || IsTerminator(b)) {
    loop.in.Unread(1);
    ReadGroupRest(loop);
  } else {
    loop.continuing = false;
    loop.in.Unread(1);  // cannot continue the escape: read again as text
  }
}

// Reads the whole input as the PCL 5 byte loop does, reporting its bytes.
void PlayByteLoop(ByteReader& in, StripState& strip) {
  LoopModel loop{in, strip};
  for (int b = in.Next(); b >= 0; b = in.Next()) {
    const StripByteKind kind = b == kEsc           ? StripByteKind::Escape
                               : loop.continuing ? StripByteKind::FurtherGroup
                                                 : StripByteKind::Other;
    StripByteHook(strip, in.Offset() - 1, kind);
    if (b == kEsc) {
      ReadEscape(loop);
    } else if (loop.continuing) {
      ContinueEscape(loop, b);
    }
  }
}

struct Stripped {
  std::string bytes;
  bool copyFailed = false;
};

Stripped StripFromReader(ByteReader& in, std::uint64_t size) {
  Stripped result;
  OutputSink out(&result.bytes);
  StripState strip;
  StartStrip(strip, in, out, true);
  PlayByteLoop(in, strip);
  FinishStrip(strip, size);
  out.Flush();
  result.copyFailed = strip.copyFailed;
  EXPECT_FALSE(strip.enabled);
  return result;
}

std::string StripInMemory(const std::string& job) {
  ByteReader in(std::span(reinterpret_cast<const std::uint8_t*>(job.data()), job.size()));
  return StripFromReader(in, job.size()).bytes;
}

std::string StripThroughFile(const std::string& job) {
  const auto dir = MakeTempDir("strip");
  WriteFile(dir / "job.pcl", job);
  const int fd = ::open((dir / "job.pcl").c_str(), O_RDONLY);
  EXPECT_GE(fd, 0);
  Stripped result;
  {
    ByteReader in(fd);
    result = StripFromReader(in, job.size());
  }
  ::close(fd);
  std::filesystem::remove_all(dir);
  EXPECT_FALSE(result.copyFailed);
  return result.bytes;
}

struct StripCase {
  const char* name;
  std::string job;
  std::string stripped;
  bool closed = true;  // ends with the end of its last command: can be followed by more
};

std::string Bytes(std::size_t n, char first) {
  std::string s;
  for (std::size_t i = 0; i < n; ++i) s += static_cast<char>(first + i % 26);
  return s;
}

const std::string kHeaderData = "\x1b*c9D" + Bytes(59, 'a');  // 64 bytes that look like commands
const std::string kRaster = "\x1b*c5Dab";

std::vector<StripCase> StripCases() {
  return {
      {"first group removed, the next gets the prefix", Esc("*c5d100A"), Esc("*c100A")},
      {"last group removed, the kept one ends in upper case", Esc("*c100a5D"), Esc("*c100A")},
      {"middle group removed", Esc("*c100a5d200B"), Esc("*c100A") + Esc("*c200B")},
      {"kept, removed, kept, removed", Esc("*c1a5d2b6E"), Esc("*c1A") + Esc("*c2B")},
      {"every group removed", "x" + Esc("*c1d65e4F") + "y", "xy"},
      {"font made permanent", Esc("*c4F"), ""},
      {"font header and its data", "ab" + Esc(")s64W") + kHeaderData + "cd", "abcd"},
      {"character and its data", Esc("*c65E") + Esc("(s7W") + kRaster + "z", "z"},
      {"removed group then another escape",
       Esc("*c100a5D") + Esc("&l2A") + "x",
       Esc("*c100A") + Esc("&l2A") + "x"},
      {"font selection is kept",
       Esc("(3X") + Esc("(s1p12v0s0b4099T") + Esc(")s1P") + "text",
       Esc("(3X") + Esc("(s1p12v0s0b4099T") + Esc(")s1P") + "text"},
      {"text, controls and other commands are kept",
       "A\r\n\f\t\x80\xff" + Esc("E") + Esc("&l1o2A") + Esc("*p+10x-5Y") + "B",
       "A\r\n\f\t\x80\xff" + Esc("E") + Esc("&l1o2A") + Esc("*p+10x-5Y") + "B"},
      {"raster data is kept, also when it ends in a lower-case letter",
       Esc("*b4W") + "a\x1bzq" + "x" + Esc("*b3W") + "abc" + Esc("*rB"),
       Esc("*b4W") + "a\x1bzq" + "x" + Esc("*b3W") + "abc" + Esc("*rB")},
      {"an escape broken in the input stays as it was", Esc("&l1o") + "\rX", Esc("&l1o") + "\rX"},
      {"removed group, then a kept one the input breaks",
       Esc("*c5d100a") + "\r",
       Esc("*c100a") + "\r"},
      {"font download between text and raster",
       "Hi" + Esc("*c2D") + Esc(")s64W") + kHeaderData + Esc("*c2d65E") + Esc("(s7W") + kRaster + Esc("(2X") +
           "A" + Esc("*b2W") + "\x1b\x1b",
       "Hi" + Esc("(2X") + "A" + Esc("*b2W") + "\x1b\x1b"},
      {"character data past the end", "xy" + Esc("(s100W") + "0123456789", "xy", false},
      {"header count of 2^32 - 1", "xy" + Esc(")s4294967295W") + "0123456789", "xy", false},
      {"end of the job inside a removed escape's next group", "x" + Esc("*c5d10"), "x" + Esc("*c10"), false},
  };
}

TEST(FontStripper, RemovesFontGroupsAndRepairsTheirEscapes) {
  for (const StripCase& c : StripCases()) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(StripInMemory(c.job), c.stripped);
    EXPECT_EQ(StripThroughFile(c.job), c.stripped);
  }
}

// Many escapes across the reader's buffer refills: the copies are made
// partly from the reader's buffer and partly by reading the file again.
TEST(FontStripper, LongJobThroughAFile) {
  std::string job, stripped;
  while (job.size() < 3 * ByteReader::kBufferSize) {
    for (const StripCase& c : StripCases()) {
      if (!c.closed) continue;
      job += c.job + "|";
      stripped += c.stripped + "|";
    }
  }
  EXPECT_EQ(StripThroughFile(job), stripped);
  EXPECT_EQ(StripInMemory(job), stripped);
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
  const std::vector<Case> cases = {
      {"no group character", Esc("*5d7A"), 4, 4, Esc("*7A")},
      {"two bytes at most", Esc("*cc5d7A"), 6, 6, Esc("*c7A")},
      {"sign", Esc("*c5d-7A"), 5, 5, Esc("*c-7A")},
  };
  for (const Case& c : cases) {
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
  const std::string job = "ab" + Esc("*c5d100A") + "cd";
  ByteReader in(std::span(reinterpret_cast<const std::uint8_t*>(job.data()), job.size()));
  std::string bytes;
  OutputSink out(&bytes);
  StripState strip;
  StartStrip(strip, in, out, false);
  PlayByteLoop(in, strip);
  FinishStrip(strip, job.size());
  out.Flush();
  EXPECT_EQ(bytes, "");

  // A later file of the same run, decoded without starting again.
  StartStrip(strip, in, out, true);
  FinishStrip(strip, 0);
  ByteReader again(std::span(reinterpret_cast<const std::uint8_t*>(job.data()), job.size()));
  strip.input = &again;
  PlayByteLoop(again, strip);
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
  Stripped result;
  {
    ByteReader in(fds[0]);
    result = StripFromReader(in, job.size());
  }
  ::close(fds[0]);
  EXPECT_TRUE(result.copyFailed);
  EXPECT_LT(result.bytes.size(), job.size() - 5);
}

// The dvilj jobs, against the job with every escape made only of font groups
// cut out whole (and a check that no escape mixes font and other groups,
// which would make that the wrong expectation).
std::string CutFontEscapes(std::string_view job) {
  std::string kept;
  std::size_t i = 0;
  while (i < job.size()) {
    if (job[i] != kEsc || i + 1 >= job.size() || !IsParamByte(static_cast<unsigned char>(job[i + 1]))) {
      kept += job[i++];
      continue;
    }
    const std::size_t start = i;
    const int param = job[i + 1];
    i += 2;
    const int group = i < job.size() && IsLower(static_cast<unsigned char>(job[i])) ? job[i++] : 0;
    int fontGroups = 0, otherGroups = 0;
    for (;;) {
      std::uint64_t value = 0;
      while (i < job.size() && IsValueByte(static_cast<unsigned char>(job[i]))) {
        if (job[i] >= '0' && job[i] <= '9') value = value * 10 + static_cast<std::uint64_t>(job[i] - '0');
        ++i;
      }
      if (i >= job.size()) break;
      const int terminator = static_cast<unsigned char>(job[i++]);
      ++(IsFontGroup(param, group, terminator) ? fontGroups : otherGroups);
      if (terminator == 'W') i = std::min<std::size_t>(job.size(), i + value);
      if (!IsLower(terminator)) break;
    }
    EXPECT_FALSE(fontGroups > 0 && otherGroups > 0) << "mixed escape at " << start;
    if (fontGroups == 0) kept.append(job.substr(start, i - start));
  }
  return kept;
}

TEST(FontStripperRealJobs, DviljJobsLoseExactlyTheirFontDownloads) {
  for (const char* name : {"dvilj4-fonts.pcl", "dvilj4l-fonts.pcl", "dvilj2p-fonts.pcl", "dvilj-fonts.pcl"}) {
    SCOPED_TRACE(name);
    const std::string job = ReadFile(TestDir() / "fonts/data" / name);
    ASSERT_GT(job.size(), 1000u);
    const std::string want = CutFontEscapes(job);
    ASSERT_LT(want.size(), job.size() / 2);  // most of these jobs is font data
    const std::string got = StripInMemory(job);
    EXPECT_EQ(got, want) << FirstDifference(got, want);
    EXPECT_EQ(StripThroughFile(job), want);
    EXPECT_EQ(got.find("\x1b)s"), std::string::npos);
    EXPECT_EQ(got.find("\x1b(s"), std::string::npos);
  }
}

}  // namespace
}  // namespace veltrix::test
