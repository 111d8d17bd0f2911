#include "pcl5/EscapeFormatters.h"

namespace veltrix {

// No kind has a formatter of its own yet: every description is expanded as
// its template.
EscapeFormatter FindEscapeFormatter(EscapeFormat) { return nullptr; }

}  // namespace veltrix
