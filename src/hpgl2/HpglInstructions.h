// The HP-GL/2 instructions the parser knows, and whether each one draws.
// PE, LB, DT and CO have parsers of their own and are not in the table.
#pragma once

#include <cstdint>
#include <span>

namespace veltrix {

struct HpglInstruction {
  std::uint16_t key = 0;  // first letter << 8 | second letter, both upper case
  bool draws = false;     // puts marks on the page
};

constexpr std::uint16_t HpglKey(char first, char second) {
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(first) << 8 | static_cast<std::uint8_t>(second));
}

// Every known instruction, in ascending key order.
std::span<const HpglInstruction> HpglInstructions();

// The record of an upper-case mnemonic, or nullptr when it is not known.
const HpglInstruction* FindHpglInstruction(std::uint16_t key);

}  // namespace veltrix
