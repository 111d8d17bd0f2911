#include "pcl5/EscapeGrammar.h"

namespace veltrix {

namespace {

constexpr int kEsc = 27;
constexpr int kDc1 = 17;

enum class State { First, Param, Value, Sign, Digits, Terminator };

bool IsParamChar(int b) {
  return b == '&' || b == '(' || b == ')' || b == '*' || b == '%' || b == '+';
}
bool IsDigit(int b) { return b >= '0' && b <= '9'; }
bool IsUpper(int b) { return b >= 'A' && b <= 'Z'; }
bool IsLower(int b) { return b >= 'a' && b <= 'z'; }
bool StartsValue(int b) { return IsDigit(b) || b == '+' || b == '-' || b == '.'; }

void ClearValue(EscapeState& esc) {
  esc.value = 0;
  esc.sign = 0;
  esc.fraction = 0;
  esc.fractionScale = 0;
  esc.digitCount = 0;
  esc.terminator = 0;
}

// Looks the terminator up in the table reached so far. The walk survives only
// while a lower-case terminator keeps the escape going.
[[gnu::always_inline]] inline EscapeParse Finish(EscapeState& esc, EscapeHit& hit) {
  hit = esc.failed || esc.walk == EscapeTableId::None ? EscapeHit{} : FindEscape(esc.walk, esc.terminator);
  if (!esc.continuing) esc.walk = EscapeTableId::None;
  if (esc.failed) return EscapeParse::Failed;
  return hit.entry ? EscapeParse::Found : EscapeParse::NoEntry;
}

// Runs the machine from `state`; `b` is the byte in hand (-1: read one).
EscapeParse Run(ByteReader& in, EscapeState& esc, EscapeHit& hit, State state, int b) {
  for (;;) {
    if (b < 0) {
      b = in.Next();
      if (b < 0) {  // the job ends inside the escape
        esc.continuing = false;
        esc.walk = EscapeTableId::None;
        return EscapeParse::Failed;
      }
    }
    if (b == ' ') {  // blanks are allowed anywhere inside an escape
      b = -1;
      continue;
    }
    if (b == kEsc) {  // an ESC starts the escape again
      esc = EscapeState{};
      state = State::First;
      b = -1;
      continue;
    }
    switch (state) {
      case State::First:
        esc.walk = EscapeTableId::Root;
        if (IsUpper(b) || b == '=' || b == '9') {
          esc.terminator = static_cast<std::uint8_t>(b);
          return Finish(esc, hit);
        }
        if (IsParamChar(b)) {
          esc.paramChar = static_cast<std::uint8_t>(b);
          esc.walk = DescendEscapeTree(EscapeTableId::Root, b);
          state = State::Param;
          b = -1;
          continue;
        }
        if (b == '?') {
          // A status query: the byte after it is taken only when it is DC1.
          const int next = in.Next();
          if (next >= 0 && next != kDc1) in.Unread(1);
        }
        esc.walk = EscapeTableId::None;
        return EscapeParse::Failed;

      case State::Param:
        if (StartsValue(b)) {
          state = State::Sign;
          continue;
        }
        if (IsLower(b)) {
          esc.groupChar = static_cast<std::uint8_t>(b);
          esc.walk = DescendEscapeTree(esc.walk, b);
          state = State::Value;
        } else if (IsUpper(b)) {
          esc.terminator = static_cast<std::uint8_t>(b);
          return Finish(esc, hit);
        } else if (IsParamChar(b)) {
          esc.failed = true;
        } else {
          esc.failed = true;
          esc.walk = EscapeTableId::None;
          state = State::Value;
        }
        b = -1;
        continue;

      case State::Value:
        state = StartsValue(b) ? State::Sign : State::Terminator;
        continue;

      case State::Sign:
        if (b == '-' || b == '+') {
          if (esc.sign != -1) esc.sign = b == '-' ? -1 : 1;  // a minus, once given, stays
        } else if (IsParamChar(b)) {
          esc.failed = true;
        } else {
          state = State::Digits;
          continue;
        }
        b = -1;
        continue;

      case State::Digits:
        if (b == '.' && esc.fractionScale == 0) {
          esc.fractionScale = 1;
        } else if (IsDigit(b)) {
          ++esc.digitCount;
          const std::uint32_t digit = static_cast<std::uint32_t>(b - '0');
          if (esc.fractionScale > 0) {
            esc.fraction = esc.fraction * 10 + digit;
            esc.fractionScale *= 10;
          } else {
            esc.value = esc.value * 10 + digit;
          }
        } else {
          state = State::Terminator;
          continue;
        }
        b = -1;
        continue;

      case State::Terminator:
        esc.terminator = static_cast<std::uint8_t>(b);
        esc.continuing = IsLower(b);
        if (!IsLower(b) && !IsUpper(b) && b != '@') esc.failed = true;
        return Finish(esc, hit);
    }
  }
}

bool EndsEscape(int b) { return IsLower(b) || IsUpper(b) || b == '@'; }

// The quick path of the common escapes: the same fields as the machine sets,
// read in one pass over bytes the reader holds already, for escapes without
// blanks, ESCs, repeated signs or points, and with a letter or "@" as the
// terminator. Anything else (or the end of the bytes at hand) gives up: the
// caller clears what the quick path set and runs the machine instead.

// The value field and the terminator: `b` is the first byte, `p`..`end` the
// bytes after it. Returns where the bytes after the terminator begin. (Like
// Finish, written out in its callers: a call per escape costs measurably.)
[[gnu::always_inline]] inline const std::uint8_t* QuickValue(int b, const std::uint8_t* p,
                                                              const std::uint8_t* end, EscapeState& esc) {
  const auto next = [&p, end]() -> int { return p != end ? *p++ : -1; };
  if (b == '-' || b == '+') {
    esc.sign = b == '-' ? -1 : 1;
    b = next();
  }
  std::uint32_t value = 0;
  std::int32_t digits = 0;
  for (; IsDigit(b); b = next(), ++digits) value = value * 10 + static_cast<std::uint32_t>(b - '0');
  esc.value = value;
  if (b == '.') {
    std::uint32_t fraction = 0;
    std::uint32_t scale = 1;
    for (b = next(); IsDigit(b); b = next(), ++digits) {
      fraction = fraction * 10 + static_cast<std::uint32_t>(b - '0');
      scale *= 10;
    }
    esc.fraction = fraction;
    esc.fractionScale = scale;
  }
  esc.digitCount = digits;
  if (!EndsEscape(b)) return nullptr;
  esc.terminator = static_cast<std::uint8_t>(b);
  esc.continuing = IsLower(b);
  return p;
}

// A fresh escape from the byte after its ESC: ESC X, or the parameterized
// character, an optional group letter, the value field and the terminator.
// Returns the number of bytes taken from `ahead`, or 0.
std::size_t QuickEscape(std::span<const std::uint8_t> ahead, EscapeState& esc) {
  const std::uint8_t* p = ahead.data();
  const std::uint8_t* const end = p + ahead.size();
  if (p == end) return 0;
  const int first = *p++;
  esc.walk = EscapeTableId::Root;
  if (IsUpper(first) || first == '=' || first == '9') {
    esc.terminator = static_cast<std::uint8_t>(first);
    return 1;
  }
  if (!IsParamChar(first) || p == end) return 0;
  esc.paramChar = static_cast<std::uint8_t>(first);
  esc.walk = DescendEscapeTree(EscapeTableId::Root, first);
  int b = *p++;
  if (IsLower(b)) {
    esc.groupChar = static_cast<std::uint8_t>(b);
    esc.walk = DescendEscapeTree(esc.walk, b);
    if (p == end) return 0;
    b = *p++;
  } else if (IsUpper(b)) {
    esc.terminator = static_cast<std::uint8_t>(b);
    return 2;
  } else if (!StartsValue(b)) {
    return 0;
  }
  const std::uint8_t* after = QuickValue(b, p, end, esc);
  return after ? static_cast<std::size_t>(after - ahead.data()) : 0;
}

}  // namespace

EscapeParse ParseEscape(ByteReader& in, EscapeState& esc, EscapeHit& hit) {
  esc = EscapeState{};
  if (const std::size_t taken = QuickEscape(in.Buffered(), esc)) {
    in.Skip(taken);
    return Finish(esc, hit);
  }
  esc = EscapeState{};  // what the quick path had set

  return Run(in, esc, hit, State::First, -1);
}

EscapeParse ContinueEscape(ByteReader& in, EscapeState& esc, EscapeHit& hit, int b) {
  ClearValue(esc);
  esc.failed = false;
  esc.continuing = false;
  while (b == ' ') b = in.Next();
  if (b < 0) {
    esc.walk = EscapeTableId::None;
    return EscapeParse::Failed;
  }
  if (b == kEsc) return ParseEscape(in, esc, hit);
  if (StartsValue(b) || EndsEscape(b)) {
    const std::span<const std::uint8_t> ahead = in.Buffered();
    if (const std::uint8_t* after = QuickValue(b, ahead.data(), ahead.data() + ahead.size(), esc)) {
      in.Skip(static_cast<std::size_t>(after - ahead.data()));
      return Finish(esc, hit);
    }
    ClearValue(esc);
    esc.continuing = false;
  }
  if (StartsValue(b)) return Run(in, esc, hit, State::Sign, b);
  if (IsParamChar(b)) {
    // A new parameterized character starts again from the root.
    esc.paramChar = static_cast<std::uint8_t>(b);
    esc.groupChar = 0;
    esc.walk = DescendEscapeTree(EscapeTableId::Root, b);
    return Run(in, esc, hit, State::Param, -1);
  }
  if (IsLower(b) || IsUpper(b) || b == '@') return Run(in, esc, hit, State::Terminator, b);
  // Any other byte cannot continue the escape: it is read again as text.
  in.Unread(1);
  esc.walk = EscapeTableId::None;
  return EscapeParse::Failed;
}

}  // namespace veltrix
