// Lead bytes of two-byte text under the text parsing methods 21, 31 and 38.
#pragma once

#include <cstdint>

namespace veltrix {

constexpr bool IsLeadByte(std::uint32_t textMethod, std::uint32_t b) {
  switch (textMethod) {
    case 21: return b >= 33;
    case 31: return (b >= 129 && b <= 159) || (b >= 224 && b <= 252);
    case 38: return b >= 128;
    default: return false;
  }
}

}  // namespace veltrix
