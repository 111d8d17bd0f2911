// The quick paths of the PCL 5 decoder against the general ones they stand
// in for, over generated input: the escape grammar's one-pass reading of
// common escapes against its state machine, the header written in place
// against the plain one, the value writer against the library's, and the
// text run against the byte-by-byte text listing.
#include <gtest/gtest.h>

#include <charconv>
#include <cstdint>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "TestSupport.h"
#include "decode/RunState.h"
#include "decode/core/TextFormat.h"
#include "pcl5/EscapeGrammar.h"
#include "pcl5/EscapeText.h"
#include "pcl5/TextListing.h"

namespace veltrix {
namespace {

constexpr char kEsc = 27;

std::span<const std::uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Everything one parse step leaves behind, the reader's offset included.
using ParseStep = std::tuple<EscapeParse, std::uint8_t, std::uint8_t, std::uint8_t, std::int16_t, std::uint32_t,
                             std::uint32_t, std::uint32_t, std::int32_t, bool, bool, EscapeTableId, EscapeTableId,
                             std::size_t, const EscapeEntry*, std::size_t, std::uint64_t>;

// Parses the escape after the leading ESC of `job` and its combined
// continuations, as the decoder does: a fresh escape, then while it goes on,
// the next byte (an ESC starts a fresh one).
std::vector<ParseStep> ParseSteps(const std::string& job) {
  ByteReader in(Bytes(job));
  in.Next();  // the ESC
  std::vector<ParseStep> steps;
  EscapeState esc;
  EscapeHit hit;
  EscapeParse parse = ParseEscape(in, esc, hit);
  for (;;) {
    // The header as it opens the escape's line, written in place, is the
    // plain header padded to its column.
    char padded[kEscapeTextRoom], plain[kEscapeTextRoom];
    const std::string_view quickHeader(padded, FormatPaddedEscapeHeader(esc, padded));
    std::string header(plain, FormatEscapeHeader(esc, plain));
    if (header.size() < kHeaderWidth) header.resize(kHeaderWidth, ' ');
    EXPECT_EQ(quickHeader, header);
    steps.emplace_back(parse, esc.paramChar, esc.groupChar, esc.terminator, esc.sign, esc.value, esc.fraction,
                       esc.fractionScale, esc.digitCount, esc.continuing, esc.failed, esc.walk, hit.table, hit.index,
                       hit.entry, hit.slot, in.Offset());
    if (!esc.continuing) break;
    const int b = in.Next();
    if (b < 0) break;
    parse = b == kEsc ? ParseEscape(in, esc, hit) : ContinueEscape(in, esc, hit, b);
  }
  return steps;
}

bool StartsValue(char c) { return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'; }

// The same escapes with blanks the grammar skips, placed where the quick
// path gives up so that the state machine reads them: after the ESC, and
// after a value byte that follows a lower-case letter (a combined escape
// going on). `shift` receives, per offset of the result, the blanks before it.
std::string WithBlanks(const std::string& job, std::vector<std::uint64_t>& shift) {
  std::string out;
  std::uint64_t added = 0;
  for (std::size_t i = 0; i < job.size(); ++i) {
    shift.push_back(added);
    out += job[i];
    const bool afterLetter = i > 0 && job[i - 1] >= 'a' && job[i - 1] <= 'z';
    if (job[i] == kEsc || (afterLetter && StartsValue(job[i]))) {
      shift.push_back(added);
      out += ' ';
      ++added;
    }
  }
  shift.push_back(added);
  return out;
}

void ExpectSameParse(const std::string& job) {
  std::vector<std::uint64_t> shift;
  const std::string slow = WithBlanks(job, shift);
  std::vector<ParseStep> quick = ParseSteps(job);
  std::vector<ParseStep> machine = ParseSteps(slow);
  // Offsets into the job with blanks, mapped back to the job without them.
  for (ParseStep& step : machine) {
    std::uint64_t& offset = std::get<16>(step);
    offset -= shift[offset];
  }
  EXPECT_EQ(quick, machine) << "job after ESC: \"" << job.substr(1) << "\"";
}

TEST(QuickEscape, AgreesWithTheStateMachineOnTrickyEscapes) {
  const std::string e(1, kEsc);
  for (const std::string& job : {
           e + "E", e + "9", e + "=", e + "*p300x400Y", e + "(s1p9.5v0s3b4101T", e + "&l2a0o6D",
           e + "*p-50X", e + "*p+50X", e + "&a.5H", e + "&a5.H", e + "&a1.2.3H", e + "&l-+2A", e + "&l+-2A",
           e + "&l--2A", e + "(19U", e + "(10@", e + "%-12345X", e + "%1B", e + "*rB", e + "*c4294967296a",
           e + "*c99999999999999b", e + "(s1.1234567890123v", e + "*c-4294967295.123456789a", e + "&l1a" + e + "&l2A", e + "&l1a?", e + "&l1a&",
           e + "&l1a*p5Y", e + "&z5Q", e + "&l5", e + "&", e + "&l", e + "&5", e + "&5a6b", e + "&lQ", e + "&L",
           e + "&&", e + "(s&1T", e + "?x", e + "a", e + "&l1a\n", e + "&l1.a2.5b3c", e + "&f1s0S",
           e + "*b4W\x03\xFF\x00\x0F",
       }) {
    ExpectSameParse(job);
  }
}

TEST(QuickEscape, AgreesWithTheStateMachineOnGeneratedEscapes) {
  // Mostly the bytes of real escapes, with some that break them.
  const std::string alphabet =
      "&&&(((***%)+" "aaclpsvbdfrt" "ADHPSTUVWXY" "00123456789" "++--.." "@=9?" "\x1b\n\x80";
  std::mt19937 random(20261206);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> length(1, 14);
  for (int i = 0; i < 20000; ++i) {
    std::string job(1, kEsc);
    for (int n = length(random); n > 0; --n) job += alphabet[pick(random)];
    ExpectSameParse(job);
    if (HasFailure()) return;
  }
}

// The number writer of escape values against the library's, at every change
// of length and around it.
TEST(QuickNumber, WritesWhatToCharsWrites) {
  std::vector<std::uint32_t> values = {0, 4294967295u};
  for (std::uint64_t power = 1; power <= 4294967295u; power *= 10)
    for (const std::int64_t delta : {-2, -1, 0, 1})
      if (static_cast<std::int64_t>(power) + delta >= 0) values.push_back(static_cast<std::uint32_t>(power + delta));
  std::mt19937 random(1206);
  for (int i = 0; i < 1000; ++i) values.push_back(static_cast<std::uint32_t>(random()) >> (random() % 32));
  for (const std::uint32_t v : values) {
    char quick[16], library[16];
    const char* quickEnd = FormatUnsigned32(quick, v);
    const char* libraryEnd = std::to_chars(library, library + 16, v).ptr;
    EXPECT_EQ(std::string_view(quick, quickEnd), std::string_view(library, libraryEnd));
  }
}

// Lists `text` through the decoder's text paths into a listing: with runs
// (as the decoder does outside stripping) or byte by byte.
struct TextListingRun {
  RunState run;
  std::string listing;
  OutputSink sink{&listing};
  bool marked = false;
  ListingLine line;  // the open line at the end

  TextListingRun(const std::string& text, bool withRuns) {
    run.ctx.listing = &sink;
    run.ctx.flags = DF_ESC_SUM;
    const Pcl5View view = Pcl5ViewOf(run);
    ByteReader in(Bytes(text));
    for (int b = in.Next(); b >= 0; b = in.Next()) {
      if (withRuns && StartsTextRun(view, b)) {
        ListTextRun(view, static_cast<std::uint8_t>(b), in);
      } else {
        ListTextByte(view, static_cast<std::uint8_t>(b));
        marked |= b > 32;  // the decoder's page rule for text bytes
      }
    }
    marked |= run.page.pageMarked;
    line = run.ctx.textLine;
    EndListingLine(run.ctx);
    sink.Flush();
  }
};

TEST(TextRun, ListsAsByteByByte) {
  // Words and blanks, the line ends and TAB, and bytes a run leaves to the
  // byte path (a control and a high byte).
  const std::string alphabet = std::string("abcdefgh      ") + "\t\r\r\n\n\n" + "\x01\xC8";
  std::mt19937 random(6122026);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> length(1, 400);
  for (int i = 0; i < 3000; ++i) {
    std::string text;
    for (int n = length(random); n > 0; --n) text += alphabet[pick(random)];
    const TextListingRun runs(text, true), bytes(text, false);
    ASSERT_EQ(runs.listing, bytes.listing) << test::FirstDifference(runs.listing, bytes.listing);
    EXPECT_EQ(std::tuple(runs.line.column, runs.line.lineEnds), std::tuple(bytes.line.column, bytes.line.lineEnds));
    EXPECT_EQ(runs.run.pcl.controlCounts, bytes.run.pcl.controlCounts);
    EXPECT_EQ(runs.marked, bytes.marked);
    EXPECT_EQ(runs.run.fonts.usedFonts.size(), bytes.run.fonts.usedFonts.size());
  }
}

}  // namespace
}  // namespace veltrix
