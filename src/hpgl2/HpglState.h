// State of the HP-GL/2 parser. It lives as long as the PCL 5 decoder's state:
// the label terminator and whether it is shown outlast single instructions
// (until the next DT or reset); everything else belongs to the instruction in
// progress.
#pragma once

#include <array>
#include <cstdint>

namespace veltrix {

// Position inside the current instruction.
enum class HpglMode : std::uint8_t {
  Idle,             // between instructions
  Letter,           // one letter of a mnemonic seen
  Polyline,         // PE data, up to ";"
  Label,            // LB text, up to the label terminator
  TerminatorChar,   // after DT: the terminator character
  TerminatorComma,  // after DT and its character: "," or the end
  TerminatorMode,   // after DT, the character and ",": 0 shown, 1 hidden
  Params,           // between numeric parameters
  Integer,          // integer digits of a number
  Fraction,         // digits after the point
  Comment,          // after CO, before its opening quote
  CommentText,      // inside the quoted comment
};

// The longest label text kept; the rest of a longer label is dropped.
inline constexpr std::int32_t kHpglLabelCapacity = 4095;

struct HpglState {
  HpglMode state = HpglMode::Idle;
  std::array<char, 2> mnemonic{};  // both letters upper-cased
  std::int32_t paramCount = 0;     // numbers on the current line (stops counting at 9)
  bool lineDone = false;           // PE or LB wrote its whole line: nothing to close

  // The number being read.
  std::int32_t numSign = 0;        // -1, +1, or 0 when no sign was given
  std::uint32_t numInteger = 0;    // value*10 + digit, modulo 2^32, shown as signed
  std::int32_t numFraction = 0;    // fraction digits as an integer (at most nine)
  std::int32_t numScale = 1;       // x10 per stored fraction digit, up to 10^9
  std::int32_t numDigits = 0;      // digits seen (stops counting at its maximum)

  // Labels.
  std::uint8_t labelTerminator = 3;  // ETX until a DT changes it
  bool terminatorShown = false;      // DT mode 0: the terminator ends the label text
  std::array<char, kHpglLabelCapacity + 1> label{};
  std::int32_t labelLength = 0;
  std::uint32_t labelTextMethod = 0;  // PCL text parsing method when the label began
  std::uint8_t labelLead = 0;         // lead byte of a two-byte character
  bool labelLeadPending = false;
};

}  // namespace veltrix
