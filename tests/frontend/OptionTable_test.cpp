// The option table: what each option sets in the request that the front ends
// hand to the driver. The expectations follow the documented option mapping
// and the request builder's rules; every row of the table has a case, those
// of options that are not available yet included, so that making one
// available gives back the mapping it always had.
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "frontend/OptionTable.h"

namespace veltrix {
namespace {

// The bits of a run without options: every summary and font detail on.
constexpr std::uint32_t kDefaultFlags =
    DF_FONT_DETAIL | DF_FONT_SUM | DF_MACRO_SUM | DF_PAGE_SUM | DF_ESC_SUM | DF_PALETTE_SUM;

struct Given {
  std::string_view name;  // long name
  std::string_view text = {};
  std::int32_t number = 0;
};

struct Wanted {
  std::uint32_t flags = kDefaultFlags;
  std::optional<std::string> dest = std::nullopt;  // none: standard output
  bool listingToStdout = true;
  std::optional<std::string> widths = std::nullopt;
  std::optional<std::string> stripped = std::nullopt;
  std::optional<std::string> kept = std::nullopt;
  std::int32_t firstFontId = -1;
  std::int32_t level = 4;
  std::optional<std::string> logPath = std::nullopt;
  std::optional<std::string> tablesPath = std::nullopt;
  bool strict = false;
  std::optional<std::uint64_t> maxOutput = std::nullopt;
  bool refused = false;  // the value is said to be unusable
};

struct MappingCase {
  std::vector<Given> given;
  Wanted want;
};

TEST(OptionTable, EachOptionSetsItsRequestFields) {
  const std::vector<MappingCase> cases = {
      {{}, {}},
      {{{"output", "out.txt"}}, {.dest = "out.txt", .listingToStdout = false}},
      {{{"output", "-"}}, {}},
      {{{"output", ""}}, {.dest = "", .listingToStdout = false}},  // the driver names it after the source
      // Contiguous rows only mean something when rows are listed at all.
      {{{"contiguous"}}, {}},
      {{{"raster"}, {"contiguous"}}, {.flags = kDefaultFlags | DF_RAS_GRAPH | DF_RAS_CONTIGUOUS}},
      // Each summary switch's own bit is checked by the program's listing
      // (CommandLine_test.cpp).
      {{{"exceptions-only"}}, {.flags = kDefaultFlags | DF_SUPPRESS}},
      {{{"char-descriptors"}}, {.flags = kDefaultFlags | DF_CHAR_DESC}},
      {{{"font-raster"}}, {.flags = kDefaultFlags | DF_RAS_FONTS}},
      {{{"24bit-colors"}}, {.flags = kDefaultFlags | DF_24BIT_RAST}},
      {{{"no-font-summary"}, {"no-macro-summary"}, {"no-page-summary"}, {"no-command-summary"},
        {"no-palette-summary"}},
       {.flags = DF_FONT_DETAIL}},
      {{{"two-byte-summary"}}, {.flags = kDefaultFlags | DF_2BYTE_SUM}},
      {{{"widths", "w.wid"}}, {.flags = kDefaultFlags | DF_EXTRACT_WIDTHS, .widths = "w.wid"}},
      {{{"widths", ""}}, {}},  // a side file without a name is not written
      {{{"strip", "s.stp"}}, {.flags = kDefaultFlags | DF_STRIP_FONTS, .stripped = "s.stp"}},
      {{{"extract", "f.fnt"}}, {.flags = kDefaultFlags | DF_KEEP_FONTS, .kept = "f.fnt"}},
      // The request carries the bit; the driver drops it when nothing is extracted.
      {{{"separate-fonts"}}, {.flags = kDefaultFlags | DF_KEEP_SEPARATE}},
      {{{"extract", "f.fnt"}, {"separate-fonts"}},
       {.flags = kDefaultFlags | DF_KEEP_FONTS | DF_KEEP_SEPARATE, .kept = "f.fnt"}},
      // The font ID text: as the dialog's field, invalid or negative gives 0.
      {{{"first-font-id", "12"}}, {.firstFontId = 12}},
      {{{"first-font-id", " --12 "}}, {.firstFontId = 12}},
      {{{"first-font-id", "-5"}}, {.firstFontId = 0}},
      {{{"first-font-id", "12a"}}, {.firstFontId = 0}},
      {{{"first-font-id", ""}}, {}},
      {{{"level", {}, 0}}, {.level = 0}},  // the driver turns level 0 into exceptions only
      {{{"log", "x.log"}}, {.logPath = "x.log"}},
      {{{"tables", "t.ini"}}, {.tablesPath = "t.ini"}},
      {{{"strict"}}, {.strict = true}},
      // SIZE: bytes or a binary multiple; 0 lifts the limit; nothing else passes.
      {{{"max-output", "0"}}, {.maxOutput = 0}},
      {{{"max-output", "64k"}}, {.maxOutput = 64 * 1024}},
      {{{"max-output", "3G"}}, {.maxOutput = std::uint64_t{3} << 30}},
      {{{"max-output", "16777215T"}}, {.maxOutput = std::uint64_t{16777215} << 40}},
      {{{"max-output", "16777216T"}}, {.refused = true}},  // past 2^64
      {{{"max-output", "18446744073709551616"}}, {.refused = true}},
      {{{"max-output", "-1"}}, {.refused = true}},
      {{{"max-output", "1GB"}}, {.refused = true}},
      {{{"max-output", ""}}, {.refused = true}},
  };
  std::set<std::string_view> covered;
  for (const MappingCase& c : cases) {
    std::string trace;
    for (const Given& g : c.given) trace += " --" + std::string(g.name) + " '" + std::string(g.text) + "'";
    SCOPED_TRACE(trace);
    OptionChoices choices;  // set by the rows, in the order given, as a front end does
    for (const Given& g : c.given) {
      const OptionRecord* record = FindDecodeOption(g.name);
      ASSERT_NE(record, nullptr) << g.name;
      record->set(choices, {g.text, g.number});
      covered.insert(g.name);
    }
    choices.settings.settingsPath = "/home/u/.config/veltrix/veltrix.ini";
    DecodeRequest request;
    ASSERT_TRUE(BuildRequestFromChoices(choices, std::vector<std::string>{"job.pcl"}, request));
    const Wanted& w = c.want;
    EXPECT_EQ(request.settingsPath, "/home/u/.config/veltrix/veltrix.ini");
    EXPECT_EQ(request.source, "job.pcl");  // the order of several sources: CommandLine_test.cpp
    EXPECT_EQ(request.flags, w.flags) << std::hex << (request.flags ^ w.flags);
    EXPECT_EQ(std::tie(request.dest, request.listingToStdout, request.widths, request.stripped, request.kept,
                       request.firstFontId, request.level, request.logPath, request.tablesPath),
              std::tie(w.dest, w.listingToStdout, w.widths, w.stripped, w.kept, w.firstFontId, w.level, w.logPath,
                       w.tablesPath));
    EXPECT_EQ(choices.strict, w.strict);
    EXPECT_EQ(request.maxOutput, w.maxOutput);
    EXPECT_EQ(!choices.problem.empty(), w.refused) << choices.problem;
  }
  for (const OptionRecord& record : DecodeOptionRecords()) {
    EXPECT_TRUE(covered.contains(record.longName)) << "no case for --" << record.longName;
  }
}

TEST(OptionTable, RefusalNamesTheOptionAndItsFeature) {
  const OptionRecord row{.longName = "strip", .kind = ValueKind::Text, .available = false, .feature = "font stripping"};
  EXPECT_EQ(NotAvailableText(row), "--strip is not available yet (font stripping is coming in a later version)");
  EXPECT_EQ(FindDecodeOption("no-such-option"), nullptr);
}

}  // namespace
}  // namespace veltrix
