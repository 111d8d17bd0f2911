// The settings file: the keys and sections, the low-16-bit rule, the names
// that ForceMatch derives, and that a save never loses what else the file
// holds. Expectations follow the documented settings rules, not the code.
#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "frontend/Settings.h"

namespace veltrix {
namespace {

std::string Merged(const std::string& old, const DecodeSettings& s) { return MergeSettingsText(old, s); }

TEST(Settings, MatchingNames) {
  struct Case {
    std::string source, extension, want;
  };
  const Case cases[] = {
      {"C:\\Jobs\\Report.PRN", ".txt", "c:\\jobs\\report.txt"},  // no '/': the whole text is the file name
      {"/tmp/Jobs.D/REPORT", ".txt", "/tmp/Jobs.D/report.txt"},   // folder keeps its case and its dot
      {"/tmp/Jobs/a.b.PCL", ".txt", "/tmp/Jobs/a.b.txt"},
      {"/tmp/jobs/report.txt", ".wid", "/tmp/jobs/report.wid"},
      {"", ".txt", ".txt"},
  };
  for (const Case& c : cases) EXPECT_EQ(MatchingName(c.source, c.extension), c.want) << c.source;

  DecodeSettings s;
  s.SourceFile = "/J/Report.PRN";
  DeriveMatchingNames(s);
  EXPECT_EQ(s.DestFile, "/J/report.txt");
  EXPECT_EQ(s.ExtWidFile, "/J/report.wid");
  EXPECT_EQ(s.StripFontFile, "/J/report.stp");
  EXPECT_EQ(s.KeepFontsFile, "/J/report.fnt");
}

TEST(Settings, ReadsKeysAsTheProfileFunctionsDo) {
  DecodeSettings s;
  std::string why;
  ASSERT_TRUE(ReadSettingsText("[flags]\r\n  suppalloutput = 3 \r\nShowFontSum=0junk\r\nShowEscSum=none\r\n"
                               "ShowPageSum=0\r\nShowPageSum=1\r\n[Values]\r\nFirstDFID=70000\r\n"
                               "[Files]\r\nSourceFile=\"/a b/job.pcl\"\r\nDestFile=x\r\n[Other]\r\nDestFile=y\r\n"
                               "; ShowMacroSum=0\r\n[Flags]\r\nShowMacroSum=0\r\n",
                               s, why));
  EXPECT_EQ(s.SuppAllOutput, 3u);   // sections and keys in any case
  EXPECT_EQ(s.ShowFontSum, 0u);     // digits up to the first other character
  EXPECT_EQ(s.ShowEscSum, 0u);      // no digits: 0
  EXPECT_EQ(s.ShowPageSum, 0u);     // the first of two keys counts
  EXPECT_EQ(s.FirstDFID, 70000);
  EXPECT_EQ(s.SourceFile, "/a b/job.pcl");
  EXPECT_EQ(s.DestFile, "x");       // not the other section's key
  EXPECT_EQ(s.ShowMacroSum, 0u);    // a second [Flags] section still counts
  EXPECT_EQ(s.ShowPaletteSum, 1u);  // missing: the default
  EXPECT_EQ(s.ForceMatch, 1u);

  for (const std::string& bad : {std::string("[Flags\nShowFontSum=0\n"), std::string("[Flags]\nA=\0\n", 12)}) {
    DecodeSettings t;
    t.ShowFontSum = 7;
    EXPECT_FALSE(ReadSettingsText(bad, t, why));
    EXPECT_FALSE(why.empty());
    EXPECT_EQ(t.ShowFontSum, 7u) << "nothing is taken from a file that cannot be read";
  }
}

TEST(Settings, SavesLow16BitsAndKeepsEverythingElse) {
  DecodeSettings s;
  s.FirstDFID = 70000;
  s.SuppAllOutput = 0x10000;  // on, but its low 16 bits are 0
  s.ShowCharDesc = 0x12345;
  s.ForceMatch = 0;
  s.DestFile = "/out/a.txt\nShowFontSum=0";  // a line end cannot make a key of its own
  const std::string old =
      "; mine\r\n[PaperSizes]\r\n2=Letter mine\r\n\r\n[flags]\r\nsuppalloutput=1\r\nPrivate=x\r\n\r\n"
      "[Typefaces]\r\n4099=Mine\r\n";
  const std::string text = Merged(old, s);
  EXPECT_NE(text.find("; mine\r\n[PaperSizes]\r\n2=Letter mine\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[Typefaces]\r\n4099=Mine\r\n"), std::string::npos) << text;
  // The key is replaced where it stood; the missing ones follow the section's last line.
  EXPECT_NE(text.find("[flags]\r\nSuppAllOutput=0\r\nPrivate=x\r\nShowCharDesc=9029\r\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("suppalloutput=1"), std::string::npos);
  EXPECT_NE(text.find("ForceMatch=0\r\n\r\n[Typefaces]"), std::string::npos) << text;
  EXPECT_NE(text.find("[Values]\r\nFirstDFID=4464\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("DestFile=/out/a.txt\r\n"), std::string::npos) << text;

  DecodeSettings back;
  std::string why;
  ASSERT_TRUE(ReadSettingsText(text, back, why));
  EXPECT_EQ(back.FirstDFID, 4464);
  EXPECT_EQ(back.SuppAllOutput, 0u);
  EXPECT_EQ(back.ShowFontSum, 1u);
  EXPECT_EQ(Merged(text, s), text) << "a second save changes nothing";

  DecodeSettings negative;
  negative.FirstDFID = -1;
  EXPECT_NE(Merged("", negative).find("FirstDFID=65535\n"), std::string::npos);
  // A fresh file: every key once, in the save order, flags first.
  const std::string fresh = Merged("", DecodeSettings{});
  EXPECT_EQ(fresh.rfind("[Flags]\nSuppAllOutput=0\nShowCharDesc=0\nShowRasFonts=0\nShowRasGraph=0\n"
                        "ShowRasContiguous=0\nShow24BitRast=0\nShowFontSum=1\n", 0), 0u) << fresh;
  EXPECT_NE(fresh.find("AssignFontIds=0\nForceMatch=1\n\n[Values]\nFirstDFID=0\n\n[Files]\nSourceFile=\n"
                       "DestFile=\nExtWidFile=\nStripFontFile=\nKeepFontsFile=\n"), std::string::npos) << fresh;
}

TEST(Settings, LoadAndSaveFiles) {
  const auto dir = test::MakeTempDir("settings");
  const std::string path = (dir / "sub" / "veltrix.ini").string();
  DecodeSettings s;
  SettingsOutcome outcome = LoadSettings(path, s);
  EXPECT_TRUE(outcome.ok) << "a missing file gives the defaults";
  EXPECT_EQ(s.settingsPath, path);
  EXPECT_EQ(s.ShowFontSum, 1u);

  s.ForceMatch = 0;
  s.DestFile = "/x/hand.txt";
  s.SourceFile = "/x/Job.PCL";
  ASSERT_TRUE(SaveSettings(s).ok) << "the folder is made";
  test::WriteFile(path, test::ReadFile(path) + "[Symsets]\n277=Mine\n");
  ASSERT_TRUE(LoadSettings(path, s).ok);
  EXPECT_EQ(s.DestFile, "/x/hand.txt") << "without ForceMatch the stored name stays";
  s.ForceMatch = 1;
  ASSERT_TRUE(SaveSettings(s).ok);
  ASSERT_TRUE(LoadSettings(path, s).ok);
  EXPECT_EQ(s.DestFile, "/x/job.txt") << "with ForceMatch the stored name is replaced at load";
  EXPECT_NE(test::ReadFile(path).find("[Symsets]\n277=Mine\n"), std::string::npos);

  const std::string broken = "[Flags\nShowFontSum=0\n[PaperSizes]\n2=Mine\n";
  test::WriteFile(path, broken);
  outcome = LoadSettings(path, s);
  EXPECT_FALSE(outcome.ok);
  EXPECT_NE(outcome.message.find(path), std::string::npos) << outcome.message;
  EXPECT_EQ(s.ShowFontSum, 1u) << "the defaults";
  EXPECT_FALSE(SaveSettings(s).ok);
  EXPECT_EQ(test::ReadFile(path), broken) << "a file that cannot be read is never overwritten";

  test::WriteFile(dir / "file", "");
  s.settingsPath = (dir / "file" / "veltrix.ini").string();  // its folder is a file
  outcome = SaveSettings(s);
  EXPECT_FALSE(outcome.ok);
  EXPECT_NE(outcome.message.find("not saved"), std::string::npos) << outcome.message;
  s.settingsPath.clear();
  EXPECT_TRUE(SaveSettings(s).ok) << "no settings path: nothing to do";
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace veltrix
