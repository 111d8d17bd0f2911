// The extracted fonts: jobs written as scripts of font commands, with the
// hook calls the PCL 5 decoder makes for them (the data offset right after
// each group), played over a memory reader; separate files caught by an
// opener that keeps them in memory; the real dvilj jobs held against an
// independent reading of the extracted commands.
#include "fonts/FontExtractor.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <functional>
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
  std::vector<std::pair<std::string, bool>> opens;  // path, append
  std::set<std::string> refused;                    // paths that fail to open
  std::map<std::string, int> failingWrites;         // path -> a descriptor whose writes fail
};

FontFileOpener OpenerFor(MemoryFiles& files) {
  return [&files](const std::string& path, bool append, std::string& why) -> std::unique_ptr<OutputSink> {
    files.opens.emplace_back(path, append);
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
      {"a character of a font never defined gets no font ID", {D(9), E(66), C("q")}, WantE(66) + WantC("q")},
      {"a character of a font never defined follows the font written last",
       {D(1), H(a), D(9), E(66), C("q")},
       WantD(1) + WantH(a) + WantE(66) + WantC("q")},
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
      {"header of 2^32 - 1 bytes", {H("01", 4294967295u)}, WantD(0) + Cmd(")s", 4294967295, 'W') + "01"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ExtractToOneFile(Script(c.job), -1), c.want);
  }
}

TEST(FontExtractor, ClassOfAHeader) {
  struct Case {
    std::uint8_t format, orientation;
    std::size_t size;
    FontClass want;
  };
  const Case cases[] = {
      {20, 0, 68, FontClass::PortraitBitmap}, {0, 1, 64, FontClass::LandscapeBitmap},
      {11, 1, 64, FontClass::Scalable},       {16, 0, 64, FontClass::TrueType},
      {12, 0, 64, FontClass::Other},          {0, 0, 63, FontClass::Other},
      {15, 0, 2, FontClass::Other},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << int{c.format} << "/" << int{c.orientation} << "/" << c.size);
    std::vector<std::uint8_t> header(c.size, 0);
    if (c.size > 2) header[2] = c.format;
    if (c.size > 12) header[12] = c.orientation;
    EXPECT_EQ(ClassifyFontHeader(header), c.want);
  }
}

TEST(FontExtractor, SeparateFileNames) {
  struct Case {
    const char* base;
    std::int64_t id;
    FontClass fontClass;
    const char* want;
  };
  const Case cases[] = {
      {"C:\\out\\fonts.fnt", 12, FontClass::PortraitBitmap, "C:\\out\\fonts12.sfp"},
      {"/tmp/fonts.fnt", 12, FontClass::LandscapeBitmap, "/tmp/fonts12.sfl"},
      {"fonts", 65535, FontClass::TrueType, "fonts65535.sft"},
      {"a.b.c", 7, FontClass::Other, "a.b7.fnt"},
      {"c:\\a.dir\\fonts", 3, FontClass::PortraitBitmap, "c:\\a.dir\\fonts3.sfp"},
      {"", 3, FontClass::PortraitBitmap, "3.sfp"},
  };
  for (const Case& c : cases) {
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

TEST(FontExtractor, SeparateFilesPerFontNamedByIdAndClass) {
  for (const std::int32_t firstId : {-1, 100}) {
    SCOPED_TRACE(firstId);
    const auto id = [&](std::int64_t jobId) { return firstId < 0 ? jobId : firstId + jobId - 1; };
    const auto name = [&](std::int64_t jobId, const char* extension) {
      return "out/fonts" + std::to_string(id(jobId)) + extension;
    };
    MemoryFiles files;
    const KeepState keep = ExtractToSeparateFiles(FontOfEveryClass(), firstId, files);
    EXPECT_EQ(keep.openFailureReason, "");
    EXPECT_EQ(keep.writeFailureError, 0);
    const std::map<std::string, std::string> want = {
        {name(1, ".sfp"), WantD(id(1)) + WantH(Header64(0, 0, '1')) + WantE(65) + WantC("x") + WantE(66) + WantC("y")},
        {name(2, ".sfl"), WantD(id(2)) + WantH(Header64(20, 1, '2'))},
        {name(3, ".sfs"), WantD(id(3)) + WantH(Header64(10, 0, '3'))},
        {name(4, ".sft"), WantD(id(4)) + WantH(Header64(15, 0, '4'))},
        {name(5, ".fnt"), WantD(id(5)) + WantH(Header64(99, 0, '5'))},
        {name(6, ".fnt"), WantD(id(6)) + WantH(std::string(30, '6'))},
    };
    EXPECT_EQ(files.contents, want);
    const std::vector<std::pair<std::string, bool>> opens = {
        {name(1, ".sfp"), false}, {name(2, ".sfl"), false}, {name(3, ".sfs"), false}, {name(4, ".sft"), false},
        {name(5, ".fnt"), false}, {name(6, ".fnt"), false}, {name(1, ".sfp"), true}};
    EXPECT_EQ(files.opens, opens);
  }
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

  MemoryFiles files;
  StartKeep(keep, in, nullptr, -1, true, "xl.fnt", OpenerFor(files));
  KeepXlFontHeader(keep, 3, header);
  KeepXlChar(keep, 3, 65, a);
  FinishKeep(keep);
  const std::map<std::string, std::string> want = {{"xl3.sft", WantD(3) + WantH(headerText) + WantE(65) + WantC("Aa")}};
  EXPECT_EQ(files.contents, want);
}

// Without an output, and after FinishKeep, the hooks write nothing.
TEST(FontExtractor, HooksIdleWithoutOutput) {
  const Job job = Script({D(7), H(Header64(0, 0, 'a')), E(65), C("xyz")});
  ByteReader in = ReaderOf(job.bytes);
  std::string out;
  OutputSink sink(&out);
  KeepState keep;
  StartKeep(keep, in, nullptr, -1, false, "", nullptr);
  Play(keep, job.calls);
  KeepXlFontHeader(keep, 1, std::vector<std::uint8_t>{1, 2});
  StartKeep(keep, in, &sink, -1, false, "", nullptr);
  FinishKeep(keep);
  Play(keep, job.calls);
  KeepXlChar(keep, 1, 65, std::vector<std::uint8_t>{1, 2});
  sink.Flush();
  EXPECT_EQ(out, "");
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

// A full map is emptied, and the font that did not fit starts it again at
// position 0.
TEST(FontExtractorScale, FullMapStartsAgain) {
  const std::vector<std::uint8_t> header = {1};
  const std::string noInput;
  ByteReader in = ReaderOf(noInput);
  OutputSink discard;
  std::string out;
  OutputSink sink(&out);
  KeepState keep;
  StartKeep(keep, in, &discard, 500, false, "", nullptr);
  for (std::size_t i = 0; i < kMaxFontMapEntries; ++i) KeepXlFontHeader(keep, static_cast<std::int32_t>(i), header);
  keep.output = &sink;                 // only what follows is looked at
  KeepXlFontHeader(keep, -5, header);  // one too many: written under position 0
  KeepXlFontHeader(keep, 2, header);   // emptied: a new font again, at position 1
  sink.Flush();
  EXPECT_EQ(out, WantD(500) + WantH("\x01") + WantD(501) + WantH("\x01"));
  FinishKeep(keep);
}

// The dvilj jobs: their downloads, found by a scan of the job's escapes (the
// hook calls the decoder makes), held against the extracted output read back
// command by command.
std::vector<HookCall> ScanDownloads(std::string_view job) {
  std::vector<HookCall> found;
  for (const FontCommand& c : ScanFontCommands(job)) {
    const KeepGroup group = c.kind == 'D'   ? KeepGroup::FontId
                            : c.kind == 'E' ? KeepGroup::CharCode
                            : c.kind == 'H' ? KeepGroup::FontHeader
                                            : KeepGroup::CharData;
    found.push_back({group, c.value, c.offset});
  }
  return found;
}

// Checks that `out` holds exactly the headers and characters of the job's
// fonts that `wanted` accepts, in order, byte for byte, each under the right
// font ID and character code, and returns how many it found.
std::size_t ExpectDownloadsIn(std::string_view job, const std::vector<HookCall>& downloads, std::string_view out,
                              std::int32_t firstId, const std::function<bool(std::int64_t)>& wanted) {
  std::map<std::int64_t, std::int64_t> order;  // job font ID -> definition order
  std::int64_t jobFont = 0, jobChar = 0, outFont = -1, outChar = -1;
  std::size_t at = 0, blocks = 0;
  for (const HookCall& d : downloads) {
    if (d.group == KeepGroup::FontId) jobFont = d.value;
    if (d.group == KeepGroup::CharCode) jobChar = d.value;
    if (d.group == KeepGroup::FontId || d.group == KeepGroup::CharCode) continue;
    if (d.group == KeepGroup::FontHeader) order.emplace(jobFont, static_cast<std::int64_t>(order.size()));
    if (!wanted(jobFont)) continue;
    ++blocks;
    // ESC*c#D and ESC*c#E commands, then the download itself.
    while (out.substr(at, 3) == "\x1b*c") {
      std::size_t end = out.find_first_of("DE", at);
      if (end == std::string_view::npos) break;
      (out[end] == 'D' ? outFont : outChar) = std::stoll(std::string(out.substr(at + 3, end - at - 3)));
      at = end + 1;
    }
    const std::string lead = Cmd(d.group == KeepGroup::FontHeader ? ")s" : "(s", d.value, 'W');
    EXPECT_EQ(out.substr(at, lead.size()), lead) << "download " << blocks;
    EXPECT_EQ(out.substr(at + lead.size(), d.value), job.substr(d.dataOffset, d.value)) << "download " << blocks;
    at += lead.size() + d.value;
    EXPECT_EQ(outFont, firstId < 0 ? jobFont : firstId + order.at(jobFont)) << "download " << blocks;
    if (d.group == KeepGroup::CharData) {
      EXPECT_EQ(outChar, jobChar) << "download " << blocks;
    }
  }
  EXPECT_EQ(at, out.size()) << "bytes after the last download";
  return blocks;
}

const char* const kDviljJobs[] = {"dvilj4-fonts.pcl", "dvilj4l-fonts.pcl", "dvilj2p-fonts.pcl", "dvilj-fonts.pcl"};

TEST(FontExtractorRealJobs, DviljDownloadsInOneFile) {
  for (const char* name : kDviljJobs) {
    const std::string job = ReadFile(TestDir() / "fonts/data" / name);
    const Job scanned{job, ScanDownloads(job)};
    for (const std::int32_t firstId : {-1, 100}) {
      SCOPED_TRACE(testing::Message() << name << " first ID " << firstId);
      const std::string out = ExtractToOneFile(scanned, firstId);
      EXPECT_EQ(ExpectDownloadsIn(job, scanned.calls, out, firstId, [](std::int64_t) { return true; }), 66u);
    }
  }
}

}  // namespace
}  // namespace veltrix::test
