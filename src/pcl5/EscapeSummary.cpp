#include "pcl5/EscapeSummary.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

#include "pcl5/EscapeTreeWalk.h"

namespace veltrix {
namespace {

// The columns start at positions 1, 14 and 64 of a line.
constexpr std::size_t kKeyColumn = 1;
constexpr std::size_t kDescriptionColumn = 14;
constexpr std::size_t kCountColumn = 64;
constexpr std::size_t kKeyWidth = kDescriptionColumn - kKeyColumn;
constexpr std::size_t kDescriptionWidth = kCountColumn - kDescriptionColumn;

constexpr std::array<std::string_view, 32> kControlNames = [] {
  std::array<std::string_view, 32> names{};
  names[0] = "Null";
  names[8] = "Backspace";
  names[9] = "Tab";
  names[10] = "Line Feed";
  names[12] = "Form Feed";
  names[13] = "Carriage Return";
  names[14] = "Shift In";
  names[15] = "Shift Out";
  return names;
}();

// "<key><description>:  count time" with a trailing "s" unless the count is 1.
void PutCountLine(OutputSink& out, std::string_view key, std::string_view description, std::uint32_t count) {
  out.PutPadded(key, kKeyWidth);
  out.PutPadded(description, kDescriptionWidth);
  out.Printf(": %5u time%c\n", count, count == 1 ? ' ' : 's');
}

// The column titles, or with `underline` the same line with each title
// replaced by as many "-" as it has characters.
void PutTitles(OutputSink& out, bool underline) {
  const auto title = [&](std::string_view text, std::size_t width) {
    if (underline) {
      for (std::size_t i = 0; i < text.size(); ++i) out.Put('-');
      for (std::size_t i = text.size(); i < width; ++i) out.Put(' ');
    } else {
      out.PutPadded(text, width);
    }
  };
  title("Escape", kKeyWidth);
  title("Description", kDescriptionWidth);
  title("Occurances", 0);
  out.Put('\n');
}

// The summary shows a description only up to its value part.
std::string_view CutDescription(const char* description) {
  if (description == nullptr) return {};
  const std::string_view text(description);
  return text.substr(0, text.find_first_of("%(:"));
}

}  // namespace

void ResetEscapeCounts(std::vector<std::uint32_t>& counts) { counts.assign(EscapeSlotCount(), 0); }

void WriteEscapeSummary(const Pcl5View& run) {
  OutputSink& out = *run.ctx.listing;
  out.Put("\n============ PCL Escape Summary =================\n\n");
  PutTitles(out, false);
  PutTitles(out, true);
  out.Put('\n');

  if (!run.pcl.undocumentedEscapes.empty()) {
    for (const UndocumentedEscape& e : run.pcl.undocumentedEscapes)
      PutCountLine(out, e.key, "*** Invalid Escape", e.count);
    out.Put('\n');
    run.pcl.undocumentedEscapes.clear();
    run.pcl.undocumentedIndex.clear();
  }

  std::int64_t total = 0;
  WalkEscapeTree([&](const EscapeWalkItem& item) {
    const std::uint32_t count = item.slot < run.escapeCounts.size() ? run.escapeCounts[item.slot] : 0;
    if (count == 0) return;
    total += count;
    PutCountLine(out, EscapeSummaryKey(item.path), CutDescription(item.entry->description), count);
  });
  out.Printf("\n%lld Escape sequences\n", static_cast<long long>(total));

  const auto& controls = run.pcl.controlCounts;
  if (std::ranges::any_of(controls, [](std::uint32_t n) { return n > 0; })) {
    out.Put("\n============ Control Character Summary ==========\n\n");
    for (std::size_t code = 0; code < controls.size(); ++code) {
      if (controls[code] == 0) continue;
      out.Printf("DEC %2zu       ", code);
      out.PutPadded(kControlNames[code], kDescriptionWidth);
      out.Printf(": %5u times\n", controls[code]);
    }
  }
  out.Put("\n======================================\n");
}

}  // namespace veltrix
