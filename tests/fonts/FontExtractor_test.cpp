// The extracted fonts: jobs written as scripts of font commands with the hook
// calls the decoder makes for them, played over a memory reader; separate files
// caught in memory. Real jobs are covered by the round trips.
#include "fonts/FontExtractor.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FontTestSupport.h"
#include "TestSupport.h"

namespace veltrix::test {
namespace {

std::string Cmd(std::string_view lead, std::int64_t value, char terminator) {
  return "\x1b" + std::string(lead) + std::to_string(value) + terminator;
}
// The extracted commands.
std::string WantD(std::int64_t id) { return Cmd("*c", id, 'D'); }
std::string WantE(std::int64_t code) { return Cmd("*c", code, 'E'); }
std::string WantH(const std::string& data) { return Cmd(")s", static_cast<std::int64_t>(data.size()), 'W') + data; }
std::string WantC(const std::string& data) { return Cmd("(s", static_cast<std::int64_t>(data.size()), 'W') + data; }

struct HookCall {
  KeepGroup group;
  std::uint32_t value;
  std::uint64_t dataOffset;
};

// A PCL job and the KeepFontHook calls its decoding makes.
struct Job {
  std::string bytes;
  std::vector<HookCall> calls;
};

// One command of a job: ESC*c#D, ESC*c#E, a header (ESC)s#W) or a character
// (ESC(s#W). The count of a download is the size of its data unless given.
struct Step {
  KeepGroup group;
  std::uint32_t value = 0;
  std::string data = {};
};
Step D(std::uint32_t id) { return {KeepGroup::FontId, id}; }
Step E(std::uint32_t code) { return {KeepGroup::CharCode, code}; }
Step H(std::string data, std::uint32_t count = 0) { return {KeepGroup::FontHeader, count, std::move(data)}; }
Step C(std::string data, std::uint32_t count = 0) { return {KeepGroup::CharData, count, std::move(data)}; }

Job Script(const std::vector<Step>& steps) {
  Job job;
  for (const Step& step : steps) {
    const bool download = step.group == KeepGroup::FontHeader || step.group == KeepGroup::CharData;
    const std::uint32_t value = download && step.value == 0 ? static_cast<std::uint32_t>(step.data.size()) : step.value;
    const char* lead = step.group == KeepGroup::FontHeader ? ")s" : step.group == KeepGroup::CharData ? "(s" : "*c";
    job.bytes += Cmd(lead, value, download ? 'W' : step.group == KeepGroup::FontId ? 'D' : 'E');
    job.calls.push_back({step.group, value, job.bytes.size()});
    job.bytes += step.data;
  }
  return job;
}

// A 64-byte header of the given format and orientation; `fill` tells
// headers apart.
std::string Header64(std::uint8_t format, std::uint8_t orientation, char fill) {
  std::string h(64, fill);
  h[2] = static_cast<char>(format);
  h[12] = static_cast<char>(orientation);
  return h;
}

ByteReader ReaderOf(const std::string& bytes) {
  return ByteReader(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

void Play(KeepState& keep, const std::vector<HookCall>& calls) {
  for (const HookCall& call : calls) KeepFontHook(keep, call.dataOffset, call.value, call.group);
}

std::string ExtractToOneFile(const Job& job, std::int32_t firstId) {
  ByteReader in = ReaderOf(job.bytes);
  std::string out;
  OutputSink sink(&out);
  KeepState keep;
  StartKeep(keep, in, &sink, firstId, false, "", nullptr);
  Play(keep, job.calls);
  FinishKeep(keep);
  sink.Flush();
  return out;
}

// Separate files kept in memory: truncated or appended to as asked.
struct MemoryFiles {
  std::map<std::string, std::string> contents;
  std::set<std::string> refused;                    // paths that fail to open
  std::map<std::string, int> failingWrites;         // path -> a descriptor whose writes fail
};

FontFileOpener OpenerFor(MemoryFiles& files) {
  return [&files](const std::string& path, bool append, std::string& why) -> std::unique_ptr<OutputSink> {
    if (files.refused.contains(path)) {
      why = "refused for the test";
      return nullptr;
    }
    if (const auto failing = files.failingWrites.find(path); failing != files.failingWrites.end()) {
      return std::make_unique<OutputSink>(failing->second, true);
    }
    std::string& text = files.contents[path];
    if (!append) text.clear();
    return std::make_unique<OutputSink>(&text);
  };
}

KeepState ExtractToSeparateFiles(const Job& job, std::int32_t firstId, MemoryFiles& files) {
  const ByteReader in = ReaderOf(job.bytes);
  KeepState keep;
  StartKeep(keep, in, nullptr, firstId, true, "out/fonts.fnt", OpenerFor(files));
  Play(keep, job.calls);
  FinishKeep(keep);
  keep.input = nullptr;
  return keep;
}

TEST(FontExtractor, FontIdsKeptOrCountedFromTheFirstId) {
  // IDs 7, 3 and 7 again; a character after ESC*c3D.
  const Job job = Script({D(7), H(Header64(0, 0, 'a')), D(3), H(Header64(0, 0, 'b')), E(65), C("xyz"), D(7),
                          H(Header64(0, 0, 'c'))});
  struct Case {
    std::int32_t firstId;
    std::int64_t seven, three;
  };
  for (const Case c : {Case{-1, 7, 3}, Case{100, 100, 101}, Case{65535, 65535, 0}, Case{0, 0, 1}}) {
    SCOPED_TRACE(c.firstId);
    EXPECT_EQ(ExtractToOneFile(job, c.firstId), WantD(c.seven) + WantH(Header64(0, 0, 'a')) + WantD(c.three) +
                                                    WantH(Header64(0, 0, 'b')) + WantE(65) + WantC("xyz") +
                                                    WantD(c.seven) + WantH(Header64(0, 0, 'c')));
  }
}

TEST(FontExtractor, CommandsInOneFile) {
  const std::string a = Header64(0, 0, 'a'), b = Header64(0, 0, 'b');
  struct Case {
    const char* name;
    std::vector<Step> job;
    std::string want;
  };
  const Case cases[] = {
      {"a character of a font never defined gets no font ID",
       {D(1), H(a), D(9), E(66), C("q")}, WantD(1) + WantH(a) + WantE(66) + WantC("q")},
      {"the same code twice: one ESC*c#E",
       {D(1), H(a), E(65), C("x"), E(65), C("yy")},
       WantD(1) + WantH(a) + WantE(65) + WantC("x") + WantC("yy")},
      {"a new font asks for the code again; an earlier font's character gets its ID again",
       {D(1), H(a), E(65), C("x"), D(2), H(b), C("y"), D(1), C("z")},
       WantD(1) + WantH(a) + WantE(65) + WantC("x") + WantD(2) + WantH(b) + WantE(65) + WantC("y") + WantD(1) +
           WantE(65) + WantC("z")},
      {"a redefinition of the font written last writes no font ID",
       {D(4), H(a), D(4), H(b)},
       WantD(4) + WantH(a) + WantH(b)},
      {"a header before any ESC*c#D is font 0", {H(a)}, WantD(0) + WantH(a)},
      {"IDs and codes beyond 16 bits are written as the job gave them",
       {D(4294967295u), H(a), E(70000), C("x")},
       WantD(4294967295) + WantH(a) + WantE(70000) + WantC("x")},
      // Counts that run past the end of the input: the bytes that are there.
      {"header past the end", {D(1), H("0123456789", 100)}, WantD(1) + Cmd(")s", 100, 'W') + "0123456789"},
      {"character past the end", {D(1), H(a), C("0123", 100)}, WantD(1) + WantH(a) + WantE(0) + Cmd("(s", 100, 'W') + "0123"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ExtractToOneFile(Script(c.job), -1), c.want);
  }
}

TEST(FontExtractor, SeparateFileNames) {
  struct Case {
    const char* base;
    std::int64_t id;
    FontClass fontClass;
    const char* want;
  };
  for (const Case& c : {Case{"C:\\out\\fonts.fnt", 12, FontClass::PortraitBitmap, "C:\\out\\fonts12.sfp"},
                        {"/tmp/fonts.fnt", 12, FontClass::LandscapeBitmap, "/tmp/fonts12.sfl"},
                        {"a.b.c", 7, FontClass::Other, "a.b7.fnt"},
                        {"c:\\a.dir\\fonts", 3, FontClass::PortraitBitmap, "c:\\a.dir\\fonts3.sfp"},
                        {"", 3, FontClass::PortraitBitmap, "3.sfp"}}) {
    SCOPED_TRACE(c.base);
    EXPECT_EQ(SeparateFontFileName(c.base, c.id, c.fontClass), c.want);
  }
}

// One font of each class, a character of a font never defined, then more
// characters for the first font.
Job FontOfEveryClass() {
  return Script({D(1), H(Header64(0, 0, '1')), E(65), C("x"), D(2), H(Header64(20, 1, '2')), D(3),
                 H(Header64(10, 0, '3')), D(4), H(Header64(15, 0, '4')), D(5), H(Header64(99, 0, '5')), D(6),
                 H(std::string(30, '6')), D(9), C("lost"), D(1), E(66), C("y")});
}

// Named by the assigned ID (from 100 here) and the class of the header.
TEST(FontExtractor, SeparateFilesPerFontNamedByIdAndClass) {
  MemoryFiles files;
  const KeepState keep = ExtractToSeparateFiles(FontOfEveryClass(), 100, files);
  EXPECT_EQ(keep.openFailureReason, "");
  EXPECT_EQ(keep.writeFailureError, 0);
  const std::map<std::string, std::string> want = {
      {"out/fonts100.sfp", WantD(100) + WantH(Header64(0, 0, '1')) + WantE(65) + WantC("x") + WantE(66) + WantC("y")},
      {"out/fonts101.sfl", WantD(101) + WantH(Header64(20, 1, '2'))},
      {"out/fonts102.sfs", WantD(102) + WantH(Header64(10, 0, '3'))},
      {"out/fonts103.sft", WantD(103) + WantH(Header64(15, 0, '4'))},
      {"out/fonts104.fnt", WantD(104) + WantH(Header64(99, 0, '5'))},
      {"out/fonts105.fnt", WantD(105) + WantH(std::string(30, '6'))},
  };
  EXPECT_EQ(files.contents, want);  // the first font's file appended to, not started again
}

TEST(FontExtractor, SeparateFilesOfRedefinedAndCutShortFonts) {
  MemoryFiles files;
  // Font 1 again after font 2: its file starts again, under its first class.
  ExtractToSeparateFiles(Script({D(1), H(Header64(0, 0, 'a')), E(65), C("x"), D(2), H(Header64(0, 0, 'b')), D(1),
                                 H(Header64(0, 1, 'c')), D(8), H(Header64(0, 0, 'd').substr(0, 40), 100)}),
                         -1, files);
  EXPECT_EQ(files.contents["out/fonts1.sfp"], WantD(1) + WantH(Header64(0, 1, 'c')));
  // A portrait header of 100 bytes whose input ends after 40: no class.
  EXPECT_EQ(files.contents["out/fonts8.fnt"], WantD(8) + Cmd(")s", 100, 'W') + Header64(0, 0, 'd').substr(0, 40));
  EXPECT_EQ(files.contents.size(), 3u);
}

TEST(FontExtractor, FilesThatCannotBeOpenedOrWritten) {
  MemoryFiles files;
  files.refused = {"out/fonts2.sfl", "out/fonts3.sfs"};
  const int full = ::open("/dev/full", O_WRONLY);
  ASSERT_GE(full, 0);
  files.failingWrites["out/fonts4.sft"] = full;  // owned by its sink from then on
  const KeepState keep = ExtractToSeparateFiles(FontOfEveryClass(), -1, files);
  EXPECT_EQ(keep.openFailurePath, "out/fonts2.sfl");  // the first of the two
  EXPECT_EQ(keep.openFailureReason, "refused for the test");
  EXPECT_EQ(keep.writeFailurePath, "out/fonts4.sft");
  EXPECT_EQ(keep.writeFailureError, ENOSPC);
  // The others are written in full, the first font's file also after them.
  EXPECT_EQ(files.contents.count("out/fonts2.sfl"), 0u);
  EXPECT_EQ(files.contents["out/fonts5.fnt"], WantD(5) + WantH(Header64(99, 0, '5')));
  EXPECT_EQ(files.contents["out/fonts1.sfp"],
            WantD(1) + WantH(Header64(0, 0, '1')) + WantE(65) + WantC("x") + WantE(66) + WantC("y"));
}

TEST(FontExtractor, XlFontsInPclCommands) {
  const std::vector<std::uint8_t> header = {0, 0, 0, 1, 2, 3, 4}, a = {'A', 'a'}, b = {'B'};
  const std::string headerText(header.begin(), header.end());
  const Job pcl = Script({D(7), H(Header64(0, 0, 'p'))});  // a PCL font first: the count goes on
  std::string out;
  OutputSink sink(&out);
  ByteReader in = ReaderOf(pcl.bytes);
  KeepState keep;
  StartKeep(keep, in, &sink, 100, false, "", nullptr);
  Play(keep, pcl.calls);
  KeepXlFontHeader(keep, 0, header);
  KeepXlChar(keep, 0, 65, a);
  KeepXlChar(keep, 0, 66, b);
  KeepXlChar(keep, 0, 66, a);
  FinishKeep(keep);
  sink.Flush();
  EXPECT_EQ(out, WantD(100) + WantH(Header64(0, 0, 'p')) + WantD(101) + WantH(headerText) + WantE(65) + WantC("Aa") +
                     WantE(66) + WantC("B") + WantC("Aa"));
}

// A million fonts, and a return to every seventh: each is found without a
// scan of the map.
TEST(FontExtractorScale, AMillionFontIds) {
  const std::vector<std::uint8_t> header = {1};
  const std::string noInput;
  ByteReader in = ReaderOf(noInput);
  std::string out;
  OutputSink sink(&out);
  KeepState keep;
  const auto start = std::chrono::steady_clock::now();
  StartKeep(keep, in, &sink, 0, false, "", nullptr);
  for (std::int32_t i = 0; i < 1'000'000; ++i) KeepXlFontHeader(keep, i, header);
  for (std::int32_t i = 0; i < 1'000'000; i += 7) KeepXlChar(keep, i, 0, header);
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 60.0);  // generous: sanitizer builds on a busy machine
  // Font 123456 went in at position 123456: 123456 - 65536 after the wrap.
  KeepXlFontHeader(keep, 123456, header);
  sink.Flush();
  const std::string redefined = WantD(57920) + WantH("\x01");
  EXPECT_EQ(out.substr(out.size() - redefined.size()), redefined);
  FinishKeep(keep);
}

}  // namespace
}  // namespace veltrix::test
