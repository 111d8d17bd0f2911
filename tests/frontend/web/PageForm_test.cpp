// The page's form: the dialog's table of controls, the edit-field copying
// rules, and that the page's Decode builds the request the command line
// builds for the same choices.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "frontend/OptionTable.h"
#include "frontend/web/DialogControls.h"
#include "frontend/web/FileChooser.h"
#include "frontend/web/Json.h"

namespace veltrix {
namespace {

TEST(PageForm, TableCoversEverySettingOnce) {
  std::set<std::string_view> keys;
  std::set<char> mnemonics;
  for (const DialogControl& c : DialogControls()) {
    if (!c.key.empty()) {
      EXPECT_TRUE(keys.insert(c.key).second) << c.key;
    }
    if (const char m = Mnemonic(c.label)) {
      EXPECT_TRUE(mnemonics.insert(m).second) << c.label;
    }
    if (c.option.starts_with("--")) {
      EXPECT_NE(FindDecodeOption(c.option.substr(2)), nullptr) << c.option;
    }
    EXPECT_FALSE(c.help.empty()) << c.id;
  }
  EXPECT_EQ(keys.size(), 23u);  // 17 flags, FirstDFID, 5 names
  EXPECT_EQ(PlainLabel("Suppress &All Output (ERROR CHECK)"), "Suppress All Output (ERROR CHECK)");
  EXPECT_EQ(Mnemonic("S&ource"), 'o');
  EXPECT_EQ(Mnemonic("About..."), 0);
}

TEST(PageForm, CopiesEditFieldsAsTheDialogDoes) {
  struct Case {
    std::string text;
    std::int32_t want;
  };
  const Case cases[] = {{" --12 ", 12}, {"12a", 0}, {"", 0}, {"-", 0}, {"-5", 0}, {"+7\t", 7}, {"4294967295", 0}};
  for (const Case& c : cases) {
    DecodeSettings s;
    s.FirstDFID = 99;
    ApplyDialogForm({{"c1006", c.text}}, s, true);
    EXPECT_EQ(s.FirstDFID, c.want) << '"' << c.text << '"';
  }
  DecodeSettings s;
  ApplyDialogForm({{"c1006", "5"}, {"c1100", "a.pcl"}, {"c1110", "1"}, {"c1111", "0"}}, s, false);
  EXPECT_EQ(s.FirstDFID, 0) << "only Decode and Close copy the edit fields";
  EXPECT_EQ(s.SourceFile, "");
  EXPECT_EQ(s.SuppAllOutput, 1u) << "check boxes change at once";
  EXPECT_EQ(s.ShowFontSum, 0u);
  ApplyDialogForm({{"c1100", std::string(300, 'a')}, {"c1002", "f.fnt"}, {"c1004", "70000"}}, s, true);
  EXPECT_EQ(s.SourceFile.size(), 259u);
  EXPECT_EQ(s.KeepFontsFile, "f.fnt");
  EXPECT_EQ(s.KeepFonts, 70000u) << "a setting keeps the value it was given";
}

// Each check box asks for what its command-line option asks for.
TEST(PageForm, BuildsTheCommandLinesRequest) {
  for (const DialogControl& c : DialogControls()) {
    const OptionRecord* option = c.option.starts_with("--") ? FindDecodeOption(c.option.substr(2)) : nullptr;
    if (!c.flag || !option || option->kind != ValueKind::Flag) continue;
    DecodeSettings page;
    page.ForceMatch = 0;
    page.SourceFile = "job.pcl";
    page.DestFile = "job.txt";
    page.*c.flag = page.*c.flag ? 0 : 1;
    if (c.id == 1008) page.ShowRasGraph = 1;  // Contiguous counts only with the raster rows
    DecodeRequest fromPage;
    std::string why;
    ASSERT_TRUE(BuildPageRequest(page, fromPage, why)) << why;

    OptionChoices choices;
    choices.settings.ForceMatch = 0;
    choices.output = "job.txt";
    option->set(choices, {});
    if (c.id == 1008) FindDecodeOption("raster")->set(choices, {});
    DecodeRequest fromCommandLine;
    const std::string sources[] = {"job.pcl"};
    ASSERT_TRUE(BuildRequestFromChoices(choices, sources, fromCommandLine));
    EXPECT_EQ(fromPage.flags, fromCommandLine.flags) << c.option;
    EXPECT_EQ(fromPage.dest, fromCommandLine.dest);
    EXPECT_FALSE(fromPage.listingToStdout);
  }
}

TEST(PageForm, RequestRules) {
  DecodeSettings s;
  s.SourceFile = "j.pcl";
  s.DestFile = "j.txt";
  s.ExtractWidths = 1;  // no name: switched off, in the settings too
  s.StripFonts = 1;
  s.StripFontFile = "j.stp";
  s.ShowRasContiguous = 1;  // without the raster rows: nothing
  s.FirstDFID = 30;         // without AssignFontIds: the job's IDs
  DecodeRequest r;
  std::string why;
  ASSERT_TRUE(BuildPageRequest(s, r, why));
  EXPECT_EQ(s.ExtractWidths, 0u);
  EXPECT_FALSE(r.widths.has_value());
  EXPECT_EQ(r.stripped, "j.stp");
  EXPECT_EQ(r.flags & (DF_EXTRACT_WIDTHS | DF_RAS_CONTIGUOUS), 0u);
  EXPECT_NE(r.flags & DF_STRIP_FONTS, 0u);
  EXPECT_EQ(r.firstFontId, -1);
  EXPECT_EQ(r.dest, "j.txt");

  s.DestFile = "-";
  EXPECT_FALSE(BuildPageRequest(s, r, why)) << "the page cannot show standard output";
  s.DestFile = "";
  s.SourceFile = "";
  EXPECT_FALSE(BuildPageRequest(s, r, why));
  EXPECT_FALSE(why.empty());
}

TEST(PageForm, ChooserFilter) {
  const auto filters = ParseChooserFilter(kSourceFilter);
  ASSERT_EQ(filters.size(), 2u);
  EXPECT_EQ(filters[0].description, "PCL Files");
  EXPECT_EQ(filters[0].patterns, "*.pcl;*.sfp;*.sfs");
  EXPECT_EQ(filters[1].patterns, "*.*");
  for (const char* name : {"a.pcl", "B.PCL", "font.Sfp", "x.sfs"}) EXPECT_TRUE(MatchesPatterns(name, filters[0].patterns));
  for (const char* name : {"a.pxl", "pcl", "a.pcl.txt"}) EXPECT_FALSE(MatchesPatterns(name, filters[0].patterns));
  EXPECT_TRUE(MatchesPatterns("README", filters[1].patterns)) << "*.* matches names without a dot";
}

// Any byte of a job or a file name reaches the page: valid UTF-8 as it is,
// every other byte as the Latin-1 character of its value.
TEST(PageForm, RepliesShowEveryByte) {
  const struct {
    std::string bytes, text;
  } cases[] = {
      {"plain \"<x>\"", "plain \"<x>\""},
      {"\xC3\xA9", "\xC3\xA9"},                                // UTF-8 as it is
      {"\xE9x", "\xC3\xA9x"},                                   // a stray byte as Latin-1
      {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xC2\x80"},             // a surrogate's bytes, each alone
      {"\xF0\x9F\x98", "\xC3\xB0\xC2\x9F\xC2\x98"},             // a sequence cut short
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PageText(c.bytes), c.text) << c.bytes;
    EXPECT_EQ(PageJson::parse(PageJsonText({{"t", PageText(c.bytes)}}))["t"], c.text);
  }
}

}  // namespace
}  // namespace veltrix
