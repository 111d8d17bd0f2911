// The PCL XL usage summary: how often each attribute identifier and each tag
// byte occurred in one file, across all its PCL XL stretches.
#include <cstdint>
#include <string_view>

#include "decode/core/OutputSink.h"
#include "decode/trackers/XlUsage.h"
#include "pclxl/XlAttributes.h"
#include "pclxl/XlDecoder.h"
#include "pclxl/XlTagTable.h"
#include "pclxl/XlView.h"

namespace veltrix {
namespace {

struct TagSection {
  XlTagClass tagClass = XL_TAG_UNUSED;
  const char* title = "";
};

// Whitespace and attribute identifier tags get no section. The operator
// section comes last and is the only one written when empty.
constexpr TagSection kTagSections[] = {
    {XL_TAG_UNUSED, "XL use of unused tags"},
    {XL_TAG_RESERVED, "XL use of reserved tags"},
    {XL_TAG_STREAM_BINDING, "XL use of stream binding tags"},
    {XL_TAG_DATA_TYPE, "XL use of data type tags"},
    {XL_TAG_EMBEDDED_DATA, "XL use of embedded data tags"},
    {XL_TAG_OPERATOR, "XL use of operator tags"},
};

void WriteHeading(OutputSink& out, const char* title) {
  out.Printf("%s\n", title);
  out.Put("=================================================================\n\n");
}

void WriteAttributes(OutputSink& out, const XlUsageCounters& usage) {
  for (std::uint32_t id = 0; id < usage.attributeCounts.size(); ++id) {
    const std::uint32_t count = usage.attributeCounts[id];
    if (count == 0) continue;
    const char* name = XlAttributeName(static_cast<std::int32_t>(id));
    out.Printf("    0x%02X   %-40s    %4u times\n", id, name ? name : "Unknown Attribute", count);
  }
  out.Put("\n");
}

void WriteTagSection(OutputSink& out, const XlUsageCounters& usage, const TagSection& section) {
  bool any = false;
  for (std::uint32_t tag = 0; tag < usage.tagCounts.size(); ++tag) {
    const std::uint32_t count = usage.tagCounts[tag];
    const XlTagEntry& entry = XlFindTag(static_cast<std::uint8_t>(tag));
    if (count == 0 || entry.tagClass != section.tagClass) continue;
    if (!any) WriteHeading(out, section.title);
    any = true;
    const std::string name = entry.name.empty() ? StringPrintf("Unknown 0x%02X", tag)
                                                : std::string(entry.name);
    out.Printf("    Tag    %-40s    %4u times\n", name.c_str(), count);
  }
  if (any) {
    out.Put("\n");
  } else if (section.tagClass == XL_TAG_OPERATOR) {
    WriteHeading(out, section.title);
    out.Put("    No occurances\n\n");
  }
}

}  // namespace

void ResetXlUsage(XlUsageCounters& usage) { usage = XlUsageCounters{}; }

void XlWriteUsageSummary(const XlView& view) {
  const XlUsageCounters& usage = view.usage;
  if (view.ctx.listing == nullptr || (usage.tagTotal == 0 && usage.attributeTotal == 0)) return;
  OutputSink& out = *view.ctx.listing;
  out.Put("\n");
  WriteHeading(out, "XL Attribute Summary");
  WriteAttributes(out, usage);
  for (const TagSection& section : kTagSections) WriteTagSection(out, usage, section);
}

}  // namespace veltrix
