#include "decode/RunState.h"

namespace veltrix {

RunState::RunState() : escapeCounts(EscapeSlotCount(), 0) {}

}  // namespace veltrix
