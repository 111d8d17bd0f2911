// Name and enumeration lookups in the PCL XL attribute table.
#include <cstdint>
#include <span>
#include <string_view>

#include "pclxl/XlAttributeTable.h"
#include "pclxl/XlAttributes.h"

namespace veltrix {

const char* XlAttributeName(std::int32_t id) {
  const XlAttributeRecord* row = XlAttributeRow(id);
  return row != nullptr ? row->name.data() : nullptr;  // names are literals: zero-terminated
}

std::span<const std::string_view> XlEnumerationNames(std::int32_t id) {
  const XlAttributeRecord* row = XlAttributeRow(id);
  return row != nullptr ? row->enumNames : std::span<const std::string_view>{};
}

}  // namespace veltrix
