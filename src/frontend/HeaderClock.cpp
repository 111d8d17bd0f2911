#include "frontend/HeaderClock.h"

#include <cstdlib>
#include <ctime>

namespace veltrix {

HeaderClock ReadHeaderClock() {
  HeaderClock clock;
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch && *epoch) {
    char* end = nullptr;
    const long long seconds = std::strtoll(epoch, &end, 10);
    if (end && *end == '\0') {
      clock.epochSeconds = seconds;
      clock.utc = true;
      return clock;
    }
  }
  clock.epochSeconds = static_cast<std::int64_t>(std::time(nullptr));
  return clock;
}

}  // namespace veltrix
