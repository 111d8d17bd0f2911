#include "fonts/FontStripper.h"

#include <algorithm>
#include <span>
#include <string>

namespace veltrix {

namespace {

// Ranges up to this size are taken from the reader's buffer when it still
// holds them; larger ones are copied by CopyRange.
constexpr std::size_t kReadBackLimit = 4096;

bool IsValueByte(std::uint8_t c) { return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'; }

// Bytes [from, from + n) when the reader has read them and still holds them
// in its buffer; empty otherwise. Steps back and forward again, so the
// reader's offset and the bytes it returns next are as before, and no
// read(2) is made.
std::span<const std::uint8_t> HeldByReader(ByteReader& in, std::uint64_t from, std::size_t n) {
  const std::uint64_t at = in.Offset();
  if (n == 0 || n > kReadBackLimit || from > at || at - from < n || at - from > ByteReader::kBufferSize) return {};
  const auto back = static_cast<std::size_t>(at - from);
  if (!in.Unread(back)) return {};
  const std::span<const std::uint8_t> bytes = in.Peek(n);  // all there: `back` >= n bytes follow
  in.Skip(back);
  return bytes.size() == n ? bytes : std::span<const std::uint8_t>();
}

// A few bytes of the input (a prefix, a terminator); returns how many were
// read, fewer at the end of the input.
std::size_t ReadInput(StripState& strip, std::uint64_t from, std::span<std::uint8_t> into) {
  const std::span<const std::uint8_t> held = HeldByReader(*strip.input, from, into.size());
  if (!held.empty()) {
    std::ranges::copy(held, into.begin());
    return into.size();
  }
  std::string bytes;
  OutputSink sink(&bytes);
  if (!strip.input->CopyRange(from, into.size(), sink)) {
    strip.copyFailed = true;
    return 0;
  }
  sink.Flush();
  const std::size_t got = std::min(bytes.size(), into.size());
  std::copy_n(bytes.begin(), got, into.begin());
  return got;
}

// Writes the owed bytes [owedFrom, copiedTo).
void PayOwed(StripState& strip) {
  if (strip.copiedTo <= strip.owedFrom) return;
  const std::uint64_t n = strip.copiedTo - strip.owedFrom;
  const std::span<const std::uint8_t> held =
      n <= kReadBackLimit ? HeldByReader(*strip.input, strip.owedFrom, static_cast<std::size_t>(n))
                          : std::span<const std::uint8_t>();
  if (!held.empty()) {
    strip.output->Put(held.data(), held.size());
  } else if (!strip.input->CopyRange(strip.owedFrom, n, *strip.output)) {
    strip.copyFailed = true;
  }
  strip.owedFrom = strip.copiedTo;
}

// ESC and the parameterized and group characters of the pending escape, for
// a kept group whose escape lost its first group.
void WriteEscapePrefix(StripState& strip) {
  std::uint8_t after[2] = {};
  const std::size_t got = ReadInput(strip, strip.escapeStart + 1, after);
  strip.output->Put('\x1b');
  for (std::size_t i = 0; i < got && !IsValueByte(after[i]); ++i) strip.output->Put(static_cast<char>(after[i]));
}

// Brings the output up to the last byte reported (excluded). Before a removed
// group that byte ends the last group kept, whose terminator chained the
// removed one: a lower-case one is written in upper case so that the escape
// ends there. Elsewhere the bytes go out as they are: the last one may be
// data (a raster row ending in 'a' followed by text) or an escape that was
// already broken in the input.
void Flush(StripState& strip, bool beforeRemovedGroup) {
  // Not beyond: nothing new, or the data of a removed group claimed to run
  // past the end of the input.
  if (strip.mark <= strip.copiedTo) return;
  const bool pending = strip.escapeStart != kNoPendingEscape;
  if (pending && strip.copiedTo > strip.escapeStart) {
    PayOwed(strip);
    WriteEscapePrefix(strip);
  }
  if (beforeRemovedGroup && pending && strip.mark > strip.escapeStart) {
    std::uint8_t last = 0;
    if (ReadInput(strip, strip.mark - 1, std::span(&last, 1)) == 1 && last >= 'a' && last <= 'z') {
      strip.copiedTo = strip.mark - 1;
      PayOwed(strip);
      strip.output->Put(static_cast<char>(last - 'a' + 'A'));
      strip.copiedTo = strip.owedFrom = strip.mark;
      return;
    }
  }
  strip.copiedTo = strip.mark;
}

}  // namespace

void StartStrip(StripState& strip, ByteReader& input, OutputSink& output, bool enabled) {
  strip = StripState{};
  strip.input = &input;
  strip.output = &output;
  strip.enabled = enabled;
}

void EndStripEscape(StripState& strip) {
  Flush(strip, false);
  strip.escapeStart = kNoPendingEscape;
}

void StripEscapeHook(StripState& strip, std::uint64_t offsetAfterGroup) {
  if (!strip.enabled) return;
  Flush(strip, true);
  PayOwed(strip);  // the owed bytes end where the removed group starts
  strip.copiedTo = strip.owedFrom = strip.mark = offsetAfterGroup;
}

void FinishStrip(StripState& strip, std::uint64_t inputEnd) {
  if (!strip.enabled) return;
  StripByteHook(strip, inputEnd, StripByteKind::Other);
  Flush(strip, false);
  PayOwed(strip);
  strip.enabled = false;
}

}  // namespace veltrix
