// The 52 known HP-GL/2 instructions. Unknown mnemonics are listed the same
// way; the table only decides which instructions mark the page.
#include "hpgl2/HpglInstructions.h"

#include <algorithm>
#include <array>
#include <functional>

namespace veltrix {

namespace {

constexpr bool kDraws = true;

constexpr auto kHpglInstructions = std::to_array<HpglInstruction>({  // strictly ascending keys
    {HpglKey('A', 'A'), kDraws},  // arc absolute
    {HpglKey('A', 'D')},          // alternate font definition
    {HpglKey('A', 'R'), kDraws},  // arc relative
    {HpglKey('A', 'T'), kDraws},  // absolute arc three point
    {HpglKey('B', 'R'), kDraws},  // Bezier relative
    {HpglKey('B', 'Z'), kDraws},  // Bezier absolute
    {HpglKey('C', 'F')},          // character fill mode
    {HpglKey('C', 'I'), kDraws},  // circle
    {HpglKey('D', 'F')},          // default values
    {HpglKey('D', 'I')},          // absolute direction
    {HpglKey('D', 'R')},          // relative direction
    {HpglKey('D', 'V')},          // define variable text path
    {HpglKey('E', 'A'), kDraws},  // edge rectangle absolute
    {HpglKey('E', 'P'), kDraws},  // edge polygon
    {HpglKey('E', 'R'), kDraws},  // edge rectangle relative
    {HpglKey('E', 'S')},          // extra space
    {HpglKey('E', 'W'), kDraws},  // edge wedge
    {HpglKey('F', 'I')},          // select primary font
    {HpglKey('F', 'P'), kDraws},  // fill polygon
    {HpglKey('F', 'T')},          // fill type
    {HpglKey('I', 'N')},          // initialize
    {HpglKey('I', 'P')},          // input P1 and P2
    {HpglKey('I', 'R')},          // input relative P1 and P2
    {HpglKey('I', 'W')},          // input window
    {HpglKey('L', 'O')},          // label origin
    {HpglKey('L', 'T')},          // line type
    {HpglKey('M', 'C')},          // merge control
    {HpglKey('N', 'P')},          // number of pens
    {HpglKey('P', 'A'), kDraws},  // plot absolute
    {HpglKey('P', 'C')},          // pen colour assignment
    {HpglKey('P', 'D'), kDraws},  // pen down
    {HpglKey('P', 'M')},          // polygon mode
    {HpglKey('P', 'R'), kDraws},  // plot relative
    {HpglKey('P', 'U')},          // pen up
    {HpglKey('P', 'W')},          // pen width
    {HpglKey('R', 'A'), kDraws},  // fill rectangle absolute
    {HpglKey('R', 'F'), kDraws},  // raster fill definition
    {HpglKey('R', 'O')},          // rotate coordinate system
    {HpglKey('R', 'Q'), kDraws},
    {HpglKey('R', 'R'), kDraws},  // fill rectangle relative
    {HpglKey('R', 'T'), kDraws},  // relative arc three point
    {HpglKey('S', 'A')},          // select alternate font
    {HpglKey('S', 'C')},          // scale
    {HpglKey('S', 'D')},          // standard font definition
    {HpglKey('S', 'I')},          // absolute character size
    {HpglKey('S', 'P')},          // select pen
    {HpglKey('S', 'R')},          // relative character size
    {HpglKey('S', 'S')},          // select standard font
    {HpglKey('S', 'V')},          // screened vectors
    {HpglKey('T', 'R')},          // transparency mode
    {HpglKey('W', 'G'), kDraws},  // fill wedge
    {HpglKey('W', 'U')},          // pen width unit
});
static_assert(kHpglInstructions.size() == 52);
static_assert(std::ranges::adjacent_find(kHpglInstructions, std::ranges::greater_equal{}, &HpglInstruction::key) ==
              kHpglInstructions.end());
static_assert(std::ranges::count(kHpglInstructions, true, &HpglInstruction::draws) == 20);

}  // namespace

std::span<const HpglInstruction> HpglInstructions() { return kHpglInstructions; }

namespace {

// Every pair of upper-case letters: the position of its record plus one, or
// 0; a lookup is then one load.
constexpr auto kLetterPairIndex = [] {
  std::array<std::uint8_t, 26 * 26> index{};
  for (std::size_t i = 0; i < kHpglInstructions.size(); ++i) {
    const std::uint16_t key = kHpglInstructions[i].key;
    index[static_cast<std::size_t>(((key >> 8) - 'A') * 26 + ((key & 0xFF) - 'A'))] = static_cast<std::uint8_t>(i + 1);
  }
  return index;
}();

constexpr bool AllKeysAreLetterPairs() {
  for (const HpglInstruction& instruction : kHpglInstructions) {
    const int first = instruction.key >> 8, second = instruction.key & 0xFF;
    if (first < 'A' || first > 'Z' || second < 'A' || second > 'Z') return false;
  }
  return true;
}
static_assert(AllKeysAreLetterPairs());

}  // namespace

const HpglInstruction* FindHpglInstruction(std::uint16_t key) {
  const int first = (key >> 8) - 'A', second = (key & 0xFF) - 'A';
  if (first < 0 || first >= 26 || second < 0 || second >= 26) return nullptr;
  const std::uint8_t found = kLetterPairIndex[static_cast<std::size_t>(first * 26 + second)];
  return found != 0 ? &kHpglInstructions[found - 1u] : nullptr;
}

}  // namespace veltrix
