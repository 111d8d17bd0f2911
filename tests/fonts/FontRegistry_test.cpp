// The downloaded-font registry and the widths file: jobs written as short
// scripts of registry calls, checked through the widths file they leave (or the
// registry's own fields), and the cost of a job of very many fonts.
#include "fonts/FontRegistry.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace veltrix {
namespace {

// One call a decoder makes: D font ID (ESC*c#D), E character code (ESC*c#E),
// F header format, C character format, P a PCL font header (under the current
// font ID, as the ESC)s#W formatter passes it), X a PCL XL font with number
// `value`, W a character width.
struct Step {
  char call;
  std::int32_t value = 0;
  std::string name = {};
};

struct Job {
  FontRegistry registry;
  FontSelectionState selections;
};

void Play(Job& job, const std::vector<Step>& steps) {
  for (const Step& step : steps) {
    switch (step.call) {
      case 'D': NoteFontId(job.registry, step.value); break;
      case 'E': NoteCharCode(job.registry, step.value); break;
      case 'F': NoteFontFormat(job.registry, static_cast<std::uint8_t>(step.value)); break;
      case 'C': NoteCharFormat(job.registry, static_cast<std::uint8_t>(step.value)); break;
      case 'P': AddFontRecord(job.registry, step.name, job.registry.currentFontId, false); break;
      case 'X': AddFontRecord(job.registry, step.name, step.value, true); break;
      case 'W': NoteCharWidth(job.registry, step.value); break;
      default: FAIL() << "unknown step " << step.call;
    }
  }
}

std::string WidthsOf(const Job& job) {
  std::string text;
  OutputSink out(&text);
  WriteWidths(job.registry, out);
  out.Flush();
  return text;
}

// A character download: its code, then its width.
std::vector<Step> Char(std::int32_t code, std::int32_t width) { return {{'E', code}, {'W', width}}; }

std::vector<Step> Join(std::initializer_list<std::vector<Step>> parts) {
  std::vector<Step> steps;
  for (const auto& part : parts) steps.insert(steps.end(), part.begin(), part.end());
  return steps;
}

const std::string kNoCharacters = "    No characters defined for this font\n";

TEST(WidthsFile, Jobs) {
  const struct {
    const char* name;
    std::vector<Step> steps;
    std::string want;
  } cases[] = {
      {"a job without fonts", Join({Char(65, 120)}), ""},
      {"a code downloaded twice keeps its last width",
       Join({{{'D', 1}, {'P', 0, "Alpha"}}, Char(66, 1), Char(65, 120), Char(66, 136)}),
       "Widths for font 'Alpha', id = 1 :\n 65 :  120 (78)\n 66 :  136 (88)\n\n"},
      // %d and %02X of a negative int: the sign, and the 32-bit pattern.
      {"a negative width and a wide code", Join({{{'D', 1}, {'P', 0, "Alpha"}}, Char(-3, -1), Char(1234, 7)}),
       "Widths for font 'Alpha', id = 1 :\n -3 :   -1 (FFFFFFFF)\n1234 :    7 (07)\n\n"},
      {"fonts without characters, unnamed and named up to a NUL",
       {{'D', 3}, {'P', 0, ""}, {'D', 4}, {'P', 0, std::string("Ab\0cd", 5)}},
       "Widths for font '<unnamed>', id = 3 :\n" + kNoCharacters + "\nWidths for font 'Ab', id = 4 :\n" + kNoCharacters + "\n"},
      // Widths are kept for PCL characters only: an XL font gets none, and its
      // id is the complement of its number.
      {"a PCL XL font", Join({{{'X', 7, "Courier"}}, Char(65, 120)}),
       "Widths for font 'Courier', id = -8 :\n" + kNoCharacters + "\n"},
      {"an ID defined twice",
       Join({{{'D', 4}, {'P', 0, "First"}}, Char(65, 10), {{'P', 0, "Second"}}, Char(66, 20)}),
       "Widths for font 'First', id = 4 ( definition 1 of 2 definitions ) :\n 65 :   10 (0A)\n\n"
       "Widths for font 'Second', id = 4 ( definition 2 of 2 definitions ) :\n 66 :   20 (14)\n\n"},
      // Definitions of other ids in between do not count; ESC*c#D back to an
      // earlier ID picks its last definition.
      {"an ID defined three times among others",
       Join({{{'D', 4}, {'P', 0, "A"}, {'D', 5}, {'P', 0, "B"}, {'D', 4}, {'P', 0, "C"}, {'P', 0, "D"}, {'D', 5}},
             Char(1, 11), {{'D', 4}}, Char(2, 22)}),
       "Widths for font 'A', id = 4 ( definition 1 of 3 definitions ) :\n" + kNoCharacters + "\n" +
           "Widths for font 'B', id = 5 :\n  1 :   11 (0B)\n\n" +
           "Widths for font 'C', id = 4 ( definition 2 of 3 definitions ) :\n" + kNoCharacters + "\n" +
           "Widths for font 'D', id = 4 ( definition 3 of 3 definitions ) :\n  2 :   22 (16)\n\n"},
      // PCL ID 5 and XL font 5 are different fonts; the XL header leaves the
      // PCL font current.
      {"PCL and XL fonts of the same number",
       Join({{{'D', 5}, {'P', 0, "Pcl"}, {'X', 5, "Xl"}}, Char(65, 1), {{'D', 6}, {'D', 5}}, Char(66, 2)}),
       "Widths for font 'Pcl', id = 5 :\n 65 :    1 (01)\n 66 :    2 (02)\n\n"
       "Widths for font 'Xl', id = -6 :\n" + kNoCharacters + "\n"},
      // An ID without a record leaves no font current: the character is lost
      // until a header for that ID arrives.
      {"ESC*c#D of an ID without a record",
       Join({{{'D', 1}, {'P', 0, "One"}, {'D', 2}}, Char(65, 9), {{'P', 0, "Two"}}, Char(66, 8)}),
       "Widths for font 'One', id = 1 :\n" + kNoCharacters + "\n" +
           "Widths for font 'Two', id = 2 :\n 66 :    8 (08)\n\n"},
      // The current font ID is 0 at the start; the last ESC*c#E holds for every
      // later width.
      {"a header before any ESC*c#D, one code for two characters", Join({Char(65, 1), {{'P', 0, "Z"}, {'W', 4}, {'W', 5}}}),
       "Widths for font 'Z', id = 0 :\n 65 :    5 (05)\n\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Job job;
    StartFontRegistry(job.registry, job.selections, true, true);
    Play(job, c.steps);
    EXPECT_EQ(WidthsOf(job), c.want);
  }
}

// Which flags keep what: headers are kept with either flag on, widths only
// with the widths flag, and the widths file is written only with it.
TEST(FontRegistry, FlagsDecideWhatIsKept) {
  const struct {
    bool widthsOn, summaryOn;
    std::size_t fonts, widths;
    bool widthsWritten;
  } cases[] = {{false, false, 0, 0, false}, {false, true, 1, 0, false}, {true, false, 1, 1, true}, {true, true, 1, 1, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "widths " << c.widthsOn << " summary " << c.summaryOn);
    Job job;
    StartFontRegistry(job.registry, job.selections, c.widthsOn, c.summaryOn);
    Play(job, Join({{{'D', 1}, {'P', 0, "A"}}, Char(65, 10)}));
    ASSERT_EQ(job.registry.fonts.size(), c.fonts);
    if (c.fonts > 0) {
      EXPECT_EQ(job.registry.fonts[0].widths.size(), c.widths);
    }
    EXPECT_EQ(!WidthsOf(job).empty(), c.widthsWritten);
  }
}

// A record takes the current font format: the header format just decoded, or
// the format of the font that ESC*c#D made current; ESC*c#D of the current ID
// changes nothing.
TEST(FontRegistry, CurrentFontFormat) {
  Job job;
  StartFontRegistry(job.registry, job.selections, true, true);
  Play(job, {{'D', 1}, {'F', 20}, {'P', 0, "a"}, {'F', 15}, {'X', 2, "x"}, {'D', 4}, {'F', 0}, {'D', 1},
            {'P', 0, "b"}, {'D', 5}, {'X', 3, "y"}});
  const std::uint8_t want[] = {20, 15, 20, 20};
  ASSERT_EQ(job.registry.fonts.size(), std::size(want));
  for (std::size_t i = 0; i < std::size(want); ++i) EXPECT_EQ(job.registry.fonts[i].format, want[i]) << i;
  Job again;
  StartFontRegistry(again.registry, again.selections, true, true);
  Play(again, {{'D', 1}, {'F', 20}, {'P', 0, "a"}, {'F', 15}, {'D', 1}});
  EXPECT_EQ(again.registry.currentFontFormat, 15);
  EXPECT_EQ(again.registry.currentFont, 0);
  Play(again, {{'D', 2}, {'D', 1}});
  EXPECT_EQ(again.registry.currentFontFormat, 20);
}

TEST(FontRegistry, FormatsKeepSixteenInOrderOfFirstAppearance) {
  Job job;
  StartFontRegistry(job.registry, job.selections, true, true);
  std::vector<Step> steps;
  std::vector<std::uint8_t> want;
  // 20 distinct formats, each met twice; the first sixteen are kept.
  for (std::int32_t i = 0; i < 20; ++i) {
    const std::int32_t format = (i * 7 + 3) % 256;
    steps.insert(steps.end(), {{'F', format}, {'C', 255 - format}, {'F', format}, {'C', 255 - format}});
    if (i < 16) want.push_back(static_cast<std::uint8_t>(format));
  }
  Play(job, steps);
  EXPECT_EQ(job.registry.fontFormats, want);
  ASSERT_EQ(job.registry.charFormats.size(), kMaxFormatsNoted);
  EXPECT_EQ(job.registry.charFormats.front(), 252);
  // The current font format follows the last descriptor, held or not.
  EXPECT_EQ(job.registry.currentFontFormat, (19 * 7 + 3) % 256);
}

// Each file starts afresh, and the end releases everything.
TEST(FontRegistry, StartAndEndClearEverything) {
  Job job;
  StartFontRegistry(job.registry, job.selections, true, true);
  Play(job, Join({{{'F', 20}, {'C', 4}, {'D', 8}, {'P', 0, "a"}}, Char(70, 3)}));
  NoteFontAttribute(job.selections, FontAttribute::FontId, false, 8);
  ShiftFont(job.selections, true);
  NoteUsedFont(job.selections);
  EndFontRegistry(job.registry, job.selections);
  EXPECT_TRUE(job.selections.usedFonts.empty());

  StartFontRegistry(job.registry, job.selections, true, false);
  EXPECT_EQ(std::tuple(job.registry.currentFontId, job.registry.currentCharCode, job.registry.currentFont),
            std::tuple(0, 0, -1));
  EXPECT_TRUE(job.registry.fontFormats.empty());
  EXPECT_TRUE(job.registry.charFormats.empty());
  EXPECT_FALSE(job.selections.secondaryCurrent);
  EXPECT_EQ(job.selections.secondary.fontId, kFontFieldUnset);
  // The font 8 of the last file is not known any more.
  Play(job, Join({{{'D', 8}}, Char(70, 3)}));
  EXPECT_EQ(WidthsOf(job), "");
}

// A hostile job: every call costs O(log n), so 200,000 definitions of one ID,
// of distinct IDs and XL numbers, characters in descending order and used
// fonts stay far below the bound even under the sanitizers; a quadratic path
// would take minutes.
TEST(FontRegistryScale, ManyDefinitionsFontsCharactersAndUsedFonts) {
  constexpr std::int32_t kMany = 200'000;
  Job job;
  const auto start = std::chrono::steady_clock::now();
  StartFontRegistry(job.registry, job.selections, true, true);
  for (std::int32_t i = 0; i < kMany; ++i) {
    NoteFontId(job.registry, 77);
    AddFontRecord(job.registry, "Same", 77, false);
    NoteCharCode(job.registry, 65);
    NoteCharWidth(job.registry, i);
  }
  for (std::int32_t i = 0; i < kMany; ++i) {
    NoteFontId(job.registry, i);
    AddFontRecord(job.registry, "Pcl", i, false);
    AddFontRecord(job.registry, "Xl", i, true);
    NoteFontAttribute(job.selections, FontAttribute::FontId, true, i);
    NoteUsedFont(job.selections);
  }
  for (std::int32_t i = 0; i < kMany; ++i) {  // back to every ID; then font 0 gets codes descending
    NoteFontId(job.registry, i);
    NoteCharCode(job.registry, kMany - i);
    NoteCharWidth(job.registry, i);
  }
  for (std::int32_t code = kMany; code > 0; --code) {
    NoteFontId(job.registry, 0);
    NoteCharCode(job.registry, code);
    NoteCharWidth(job.registry, code);
  }
  OutputSink discard;
  WriteFontSummary(job.registry, job.selections, discard);
  WriteWidths(job.registry, discard);
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 30.0);
  ASSERT_EQ(job.registry.fonts.size(), 3u * kMany);
  EXPECT_EQ(LaterDefinitions(job.registry, job.registry.fonts.front()), kMany);
  EXPECT_EQ(job.registry.fonts[kMany - 1].widths.at(65), kMany - 1);
  EXPECT_EQ(job.registry.fonts[kMany + 2 * 1234].widths.at(kMany - 1234), 1234);
  EXPECT_EQ(job.registry.fonts[kMany].widths.size(), static_cast<std::size_t>(kMany));
  std::size_t used = 0;
  ForEachUsedFont(job.selections, [&](const FontSelection&) { ++used; });
  EXPECT_EQ(used, static_cast<std::size_t>(kMany));
}

}  // namespace
}  // namespace veltrix
