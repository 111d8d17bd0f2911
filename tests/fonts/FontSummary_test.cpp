// The Font Summary and the Font Attribute Summary, compared as whole texts:
// the font lines and format lines from registry calls, the attribute entries
// from font selections and printed text.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "fonts/FontRegistry.h"

namespace veltrix {
namespace {

const std::string kRule = "\n" + std::string(51, '=') + "\n\n";
const std::string kFontsHeading = kRule + "    Font Summary \n\n";
const std::string kNoFontsHeading = kRule + "    Font Summary : No Downloaded Fonts\n\n";
const std::string kAttributesHeading = kRule + "    Font Attribute Summary\n\n";

// Registry calls: D font ID, F header format, C character format, P a PCL
// header under the current font ID, X a PCL XL font numbered `value`.
// Selection calls: A an attribute of the primary font, B of the secondary,
// T a text character, S shift out (secondary current), I shift in, R ESC E.
struct Step {
  char call;
  std::int32_t value = 0;
  std::string name = {};
  FontAttribute attribute = FontAttribute::FontId;
};

std::string SummaryAfter(const std::vector<Step>& steps) {
  FontRegistry registry;
  FontSelectionState selections;
  StartFontRegistry(registry, selections, false, true);
  for (const Step& step : steps) {
    switch (step.call) {
      case 'D': NoteFontId(registry, step.value); break;
      case 'F': NoteFontFormat(registry, static_cast<std::uint8_t>(step.value)); break;
      case 'C': NoteCharFormat(registry, static_cast<std::uint8_t>(step.value)); break;
      case 'P': AddFontRecord(registry, step.name, registry.currentFontId, false); break;
      case 'X': AddFontRecord(registry, step.name, step.value, true); break;
      case 'A': NoteFontAttribute(selections, step.attribute, true, step.value); break;
      case 'B': NoteFontAttribute(selections, step.attribute, false, step.value); break;
      case 'T': NoteUsedFont(selections); break;
      case 'S': ShiftFont(selections, true); break;
      case 'I': ShiftFont(selections, false); break;
      case 'R': ResetFontSelection(selections); break;
      default: ADD_FAILURE() << "unknown step " << step.call;
    }
  }
  std::string text;
  OutputSink out(&text);
  WriteFontSummary(registry, selections, out);
  out.Flush();
  return text;
}

Step Primary(FontAttribute attribute, std::int32_t value) { return {'A', value, {}, attribute}; }
Step Secondary(FontAttribute attribute, std::int32_t value) { return {'B', value, {}, attribute}; }
const Step kText{'T'};

TEST(FontSummary, DownloadedFonts) {
  const struct {
    const char* name;
    std::vector<Step> steps;
    std::string want;  // up to the attribute summary
  } cases[] = {
      {"a job without downloads", {{'D', 5}}, kNoFontsHeading + "\n"},
      {"one PCL font", {{'D', 12}, {'P', 0, "Courier"}}, kFontsHeading + "    Font  ID 12     (Courier) \n\n"},
      {"an ID defined twice lists once",
       {{'D', 12}, {'P', 0, "First"}, {'P', 0, "Second"}},
       kFontsHeading + "    Font  ID 12     (First) (This font defined more than once)\n\n"},
      {"an ID wider than its column", {{'D', 1234567}, {'P', 0, ""}},
       kFontsHeading + "    Font  ID 1234567  (<unnamed>) \n\n"},
      // XL font 5 and PCL font 5 are two fonts, each defined once.
      {"PCL and XL fonts, in definition order",
       {{'X', 3, "Univers"}, {'X', 5, ""}, {'D', 5}, {'P', 0, "Pcl"}, {'X', 3, "Again"}},
       kFontsHeading + "    Font (XL dload) (Univers) (This font defined more than once)\n" +
           "    Font (XL dload) (<unnamed>) \n    Font  ID 5      (Pcl) \n\n"},
      {"header and character formats",
       {{'F', 20}, {'D', 1}, {'P', 0, "A"}, {'C', 4}, {'F', 0}, {'P', 0, "B"}, {'C', 4}, {'C', 10}, {'F', 20}},
       kFontsHeading + "    Font  ID 1      (A) (This font defined more than once)\n" +
           "Font formats encountered : 20, 0\nChar formats encountered : 4, 10\n\n"},
      // Formats are kept without a font being added.
      {"formats without fonts", {{'C', 3}}, kNoFontsHeading + "Char formats encountered : 3\n\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SummaryAfter(c.steps), c.want + kAttributesHeading);
  }
}

// The seven attribute lines of a font selected by attributes: "default" but
// for the lines given by their index.
std::string Attrs(std::initializer_list<std::pair<int, const char*>> set = {}) {
  const char* const labels[] = {"Typeface", "Symbol Set", "Spacing", "Pitch", "Points", "Style", "Weight"};
  std::string text;
  for (int i = 0; i < 7; ++i) {
    std::string value = "default";
    for (const auto& [at, v] : set) value = at == i ? v : value;
    text += std::string(16 - std::string(labels[i]).size(), ' ') + labels[i] + " : " + value + "\n";
  }
  return text + "\n";
}

std::string Dfid(const char* id) { return std::string("            DFID : ") + id + "\n\n"; }

TEST(FontAttributeSummary, UsedFonts) {
  using enum FontAttribute;
  const struct {
    const char* name;
    std::vector<Step> steps;
    std::string want;  // after the heading
  } cases[] = {
      {"no text", {Primary(Height, 1200)}, ""},
      {"text before any selection", {kText}, Attrs()},
      {"every attribute set",
       {Primary(Typeface, 4148), Primary(SymbolSet, 277), Primary(Spacing, 1), Primary(Pitch, 1050),
        Primary(Height, 1200), Primary(Style, 5), Primary(StrokeWeight, -3), kText},
       Attrs({{0, "4148"}, {1, "277"}, {2, "1"}, {3, "1050"}, {4, "1200"}, {5, "5"}, {6, "-3"}})},
      {"text after ESC(12X", {Primary(FontId, 12), kText}, Dfid("12")},
      {"text twice under identical selections", {Primary(Spacing, 0), kText, kText, Primary(Spacing, 0), kText},
       Attrs({{2, "0"}})},
      // An ID is known by itself, whatever attributes went with it.
      {"one ID under different attributes",
       {Primary(FontId, 7), kText, Primary(Typeface, 3), kText, Primary(FontId, 7), kText, Secondary(Pitch, 500),
        Secondary(FontId, 7), {'S'}, kText},
       Dfid("7") + Attrs({{0, "3"}})},
      {"the secondary font prints after SO, the primary after SI",
       {Secondary(Height, 850), {'S'}, kText, {'I'}, kText}, Attrs({{4, "850"}}) + Attrs()},
      // ESC E resets the selections but keeps what was used; the unset
      // selection after it is a new entry.
      {"ESC E keeps the used fonts", {Primary(FontId, 3), kText, {'R'}, kText, Primary(FontId, 3), kText},
       Dfid("3") + Attrs()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SummaryAfter(c.steps), kNoFontsHeading + "\n" + kAttributesHeading + c.want);
  }
}

}  // namespace
}  // namespace veltrix
