// The HP-GL/2 parser: splits the bytes between ESC%#B and ESC%#A into
// two-letter instructions and lists each one, with its numbers, on a line of
// its own.
//
// A line is opened when the mnemonic is complete and closed with ";" when the
// instruction ends, whether the job wrote a ";" or not: by a ";", the next
// mnemonic, a byte that cannot belong to the parameters, or the ESC that starts
// a PCL escape. So the bytes PA100,200.50PD; list as "PA 100, 200.5;" and
// "PD;". PE data and comments are not shown; a label is shown in double quotes
// on a line of its own.
//
// Labels under a two-byte text parsing method: the lead byte and the byte
// after it form one character, and only a byte that stands alone or second in
// a pair can end the label. Both bytes of a pair go into the label text as
// received, so the listing shows the label's bytes unchanged. A lead byte whose
// pair is cut short by the terminator or an ESC is kept as the last byte.
#include "hpgl2/HpglParser.h"

#include <span>
#include <string_view>

#include "decode/core/DecodeContext.h"
#include "decode/core/TwoByteText.h"
#include "decode/trackers/JobFacts.h"
#include "decode/trackers/PageEject.h"
#include "hpgl2/HpglInstructions.h"
#include "hpgl2/HpglState.h"

namespace veltrix {

namespace {

constexpr std::string_view kPrefix = "[ HPGL ]              ";
static_assert(kPrefix.size() == 22, "the prefix has the width of the escape header");

constexpr std::uint8_t kEtx = 3;
constexpr std::uint8_t kEsc = 27;
// Fraction digits beyond the ninth are counted but not kept: 10^9 is the
// largest power of ten that a signed 32-bit scale holds.
constexpr std::int32_t kScaleLimit = 1000000000;
// Only the first eight numbers of an instruction are shown, then "...".
constexpr std::int32_t kShownNumbers = 8;

constexpr bool IsLetter(std::uint8_t b) { return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'); }
constexpr bool IsDigit(std::uint8_t b) { return b >= '0' && b <= '9'; }
constexpr char UpperCase(std::uint8_t b) { return static_cast<char>(b >= 'a' && b <= 'z' ? b - 32 : b); }

void ClearNumber(HpglState& s) {
  s.numSign = 0;
  s.numInteger = 0;
  s.numFraction = 0;
  s.numScale = 1;
  s.numDigits = 0;
}

void CountDigit(HpglState& s) {
  if (s.numDigits < INT32_MAX) ++s.numDigits;
}

void AddIntegerDigit(HpglState& s, std::uint8_t b) {
  s.numInteger = s.numInteger * 10u + static_cast<std::uint32_t>(b - '0');  // wraps like the job's 32 bits
  CountDigit(s);
}

void AddFractionDigit(HpglState& s, std::uint8_t b) {
  if (s.numScale < kScaleLimit) {
    s.numFraction = s.numFraction * 10 + (b - '0');
    s.numScale *= 10;
  }
  CountDigit(s);
}

// Writes the number: " " before the first, ", " before the others, the sign
// as given, the integer part and the fraction less its trailing zeros.
void ListNumber(const HpglView& run) {
  HpglState& s = run.state;
  OutputSink& out = *run.ctx.listing;
  if (s.paramCount < kShownNumbers) {
    // ", ", a sign, the integer part, "." and the fraction: one write.
    char* at = out.Reserve(2 * kNumberRoom + 4);
    if (s.paramCount != 0) *at++ = ',';
    *at++ = ' ';
    if (s.numSign != 0) *at++ = s.numSign < 0 ? '-' : '+';
    int digits = 0;
    for (std::int32_t scale = s.numScale; scale >= 10; scale /= 10) ++digits;
    std::int32_t fraction = s.numFraction;
    while (digits > 0 && fraction % 10 == 0) {
      fraction /= 10;
      --digits;
    }
    const auto integer = static_cast<std::int32_t>(s.numInteger);
    if (integer < 0) *at++ = '-';
    at = FormatUnsigned32(at, integer < 0 ? 0u - s.numInteger : s.numInteger);
    if (digits > 0) {  // the fraction is below 10^9, never negative
      *at++ = '.';
      at = FormatZeroPadded(at, static_cast<std::uint32_t>(fraction), digits);
    }
    out.Commit(at);
  } else if (s.paramCount == kShownNumbers) {
    out.Put("...");
  }
  if (s.paramCount <= kShownNumbers) ++s.paramCount;  // past the ninth nothing more is written
}

void EndNumber(const HpglView& run) {
  if (run.state.numDigits > 0) ListNumber(run);
  ClearNumber(run.state);
}

void CloseLine(const HpglView& run) {
  if (!run.state.lineDone) run.ctx.listing->Put(";\n");
}

void StartSigned(HpglState& s, std::uint8_t b) {
  s.numSign = b == '-' ? -1 : 1;
  s.state = HpglMode::Integer;
}

// A letter starts an instruction; every other byte between instructions is
// ignored.
void FeedIdle(HpglState& s, std::uint8_t b) {
  if (!IsLetter(b)) return;
  s.mnemonic[0] = UpperCase(b);
  s.state = HpglMode::Letter;
}

void FeedLetter(const HpglView& run, std::uint8_t b) {
  HpglState& s = run.state;
  OutputSink& out = *run.ctx.listing;
  if (!IsLetter(b)) {  // a lone letter names nothing: drop it
    s.state = HpglMode::Idle;
    return;
  }
  s.mnemonic[1] = UpperCase(b);
  const std::uint16_t key = HpglKey(s.mnemonic[0], s.mnemonic[1]);
  if (run.ctx.facts) NoteHpglInstruction(*run.ctx.facts);
  if (key == HpglKey('P', 'E')) {
    out.Put(kPrefix);
    out.Put("PE (Polygon encoded)\n");
    s.lineDone = true;
    run.page.pageMarked = true;
    s.state = HpglMode::Polyline;
  } else if (key == HpglKey('L', 'B')) {
    s.labelLength = 0;
    s.labelTextMethod = run.textMethod;
    s.labelLeadPending = false;
    s.state = HpglMode::Label;
  } else if (key == HpglKey('D', 'T')) {
    s.state = HpglMode::TerminatorChar;
  } else if (key == HpglKey('C', 'O')) {
    s.state = HpglMode::Comment;
  } else {
    out.Put(kPrefix);
    out.Put(std::string_view(s.mnemonic.data(), s.mnemonic.size()));
    s.paramCount = 0;
    s.lineDone = false;
    const HpglInstruction* known = FindHpglInstruction(key);
    if (known != nullptr && known->draws) run.page.pageMarked = true;
    ClearNumber(s);
    s.state = HpglMode::Params;
  }
}

void AppendLabel(HpglState& s, std::uint8_t b) {
  if (s.labelLength < kHpglLabelCapacity) s.label[static_cast<std::size_t>(s.labelLength++)] = static_cast<char>(b);
}

void FeedLabel(const HpglView& run, std::uint8_t b) {
  HpglState& s = run.state;
  bool secondOfPair = false;
  if (s.labelLeadPending) {
    s.labelLeadPending = false;
    secondOfPair = true;
  } else if (s.labelTextMethod != 0 && IsLeadByte(s.labelTextMethod, b)) {
    s.labelLead = b;
    s.labelLeadPending = true;
    return;
  }
  const bool ends = b == s.labelTerminator || b == kEsc;
  const bool kept = b != kEsc && (b != s.labelTerminator || s.terminatorShown);
  if (secondOfPair) {
    // A pair goes in whole or not at all, so a full label never ends in half
    // a character; a lead byte without its second byte goes in alone.
    if (!kept) {
      AppendLabel(s, s.labelLead);
    } else if (s.labelLength + 2 <= kHpglLabelCapacity) {
      AppendLabel(s, s.labelLead);
      AppendLabel(s, b);
    }
  } else if (kept) {
    AppendLabel(s, b);
  }
  if (!ends) return;
  // The text is shown as a C string: a NUL in the label ends what is shown.
  std::string_view text(s.label.data(), static_cast<std::size_t>(s.labelLength));
  text = text.substr(0, text.find('\0'));
  OutputSink& out = *run.ctx.listing;
  out.Put(kPrefix);
  out.Put("LB \"");
  out.Put(text);
  out.Put("\"\n");
  s.lineDone = true;
  run.page.pageMarked = true;
  s.state = HpglMode::Idle;
}

// DT t,m: t ends later labels; mode 0 keeps it in the label text, mode 1 (the
// default) drops it. DT; alone brings back ETX.
void FeedTerminator(HpglState& s, std::uint8_t b) {
  switch (s.state) {
    case HpglMode::TerminatorChar:
      if (b == ';' || b == kEsc) {
        s.labelTerminator = kEtx;
        s.terminatorShown = false;
        s.state = HpglMode::Idle;
      } else if (b == 0 || b == '\n') {
        s.state = HpglMode::Idle;
      } else {
        s.labelTerminator = b;
        s.state = HpglMode::TerminatorComma;
      }
      return;
    case HpglMode::TerminatorComma:
      if (b == ',') {
        s.state = HpglMode::TerminatorMode;
        return;
      }
      break;
    default:  // TerminatorMode
      if (b == ' ') return;
      if (b == '0' || b == '1') {
        s.terminatorShown = b == '0';
        s.state = HpglMode::Idle;
        return;
      }
      break;
  }
  // Neither "," nor a mode: the DT is over and the byte starts what follows.
  s.terminatorShown = false;
  s.state = HpglMode::Idle;
  if (b != ';') FeedIdle(s, b);
}

// Params, Integer and Fraction: the numbers of an ordinary instruction.
void FeedParams(const HpglView& run, std::uint8_t b) {
  HpglState& s = run.state;
  const HpglMode mode = s.state;
  const bool inNumber = mode != HpglMode::Params;
  if (IsDigit(b)) {
    if (mode == HpglMode::Fraction) {
      AddFractionDigit(s, b);
    } else {
      AddIntegerDigit(s, b);
      s.state = HpglMode::Integer;
    }
  } else if (b == '.') {
    // A second point ends the number; the digits after it are a new number
    // with integer part 0.
    if (mode == HpglMode::Fraction) EndNumber(run);
    s.state = HpglMode::Fraction;
  } else if (b == '+' || b == '-') {
    if (inNumber) EndNumber(run);
    StartSigned(s, b);
  } else if (b == ' ' || b == ',') {
    if (inNumber) EndNumber(run);
    s.state = HpglMode::Params;
  } else if (b == ';' || b == kEsc || IsLetter(b)) {
    if (inNumber) EndNumber(run);
    CloseLine(run);
    s.state = HpglMode::Idle;
    FeedIdle(s, b);  // a letter starts the next instruction
  } else if (!inNumber) {
    // Inside the parameters any other byte ends the instruction; inside a
    // number it is ignored.
    CloseLine(run);
    s.state = HpglMode::Idle;
  }
}

void FeedComment(HpglState& s, std::uint8_t b) {
  if (s.state == HpglMode::CommentText) {
    if (b == '"' || b == kEsc) s.state = HpglMode::Idle;
    return;
  }
  if (b == ' ') return;
  if (b == '"') {
    s.state = HpglMode::CommentText;
    return;
  }
  s.state = HpglMode::Idle;  // CO without its text
  if (b != ';') FeedIdle(s, b);
}

}  // namespace

void ResetHpgl(HpglState& state) {
  state.labelTerminator = kEtx;
  state.terminatorShown = false;
  state.state = HpglMode::Idle;
}

void EnterHpgl(const HpglView& run) { run.state.state = HpglMode::Idle; }

// The ESC of ESC%#A has normally been fed already and left the parser idle;
// otherwise an ESC is fed here, which writes what the instruction still owes.
void LeaveHpgl(const HpglView& run) {
  if (run.state.state != HpglMode::Idle) FeedHpgl(run, kEsc);
}

void FeedHpgl(const HpglView& run, std::uint8_t b) {
  HpglState& s = run.state;
  // Line ends between instructions are layout; inside a label they are text,
  // and after DT an LF ends the instruction.
  if ((b == '\r' || b == '\n') && s.state != HpglMode::Label && s.state != HpglMode::TerminatorChar) return;
  switch (s.state) {
    case HpglMode::Idle:
      FeedIdle(s, b);
      break;
    case HpglMode::Letter:
      FeedLetter(run, b);
      break;
    case HpglMode::Polyline:
      if (b == ';' || b == kEsc) s.state = HpglMode::Idle;  // the encoded data is not shown
      break;
    case HpglMode::Label:
      FeedLabel(run, b);
      break;
    case HpglMode::TerminatorChar:
    case HpglMode::TerminatorComma:
    case HpglMode::TerminatorMode:
      FeedTerminator(s, b);
      break;
    case HpglMode::Params:
    case HpglMode::Integer:
    case HpglMode::Fraction:
      FeedParams(run, b);
      break;
    case HpglMode::Comment:
    case HpglMode::CommentText:
      FeedComment(s, b);
      break;
  }
}

void FeedHpglRun(const HpglView& run, std::uint8_t first, ByteReader& in) {
  FeedHpgl(run, first);
  HpglState& s = run.state;
  const std::span<const std::uint8_t> ahead = in.Buffered();
  const std::size_t size = ahead.size();
  std::size_t n = 0;
  while (n < size && ahead[n] != kEsc) {
    if (IsDigit(ahead[n]) && (s.state == HpglMode::Params || s.state == HpglMode::Integer)) {
      // The integer digits of a number at once, as FeedParams takes them.
      do {
        AddIntegerDigit(s, ahead[n++]);
      } while (n < size && IsDigit(ahead[n]));
      s.state = HpglMode::Integer;
      continue;
    }
    FeedHpgl(run, ahead[n++]);
  }
  in.Skip(n);
}

}  // namespace veltrix
