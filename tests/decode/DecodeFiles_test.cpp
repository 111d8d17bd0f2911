// Decode runs over files: wildcard sources, listing names, side files, the
// report header, the error log, and the run's failures.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "decode/Korvane.h"
#include "decode/OutputNames.h"

namespace veltrix {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

const std::string kRule = "\n-----------------------------------------------------------------------------\n\n";

DecodeRequest RequestFor(const std::string& source, const std::optional<std::string>& dest,
                         std::uint32_t flags = DF_FONT_DETAIL) {
  DecodeRequest request;
  request.source = source;
  request.dest = dest;
  request.flags = flags;
  request.clock = {86400 * 40 + 3600 * 13 + 60 * 5, true};  // 2-10-1970 13:05 UTC
  return request;
}

class DecodeFilesTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = test::MakeTempDir(::testing::UnitTest::GetInstance()->current_test_info()->name()); }
  void TearDown() override { fs::remove_all(dir_); }
  std::string P(const std::string& name) const { return (dir_ / name).string(); }
  fs::path dir_;
};

TEST_F(DecodeFilesTest, WildcardGivesOneListingPerFileNamedByBaseName) {
  WriteFile(P("a.prn"), "A");
  WriteFile(P("b.c.prn"), "B");
  WriteFile(P("skip.txt"), "C");
  DecodeRequest request = RequestFor(P("*.prn"), P("*.lst"));
  ASSERT_EQ(DecodeFiles(request), 0) << request.message;
  EXPECT_TRUE(request.completed);
  EXPECT_EQ(ReadFile(P("a.lst")), " 2-10-1970 13:05 Korvane 8.70\n\nDecoding '" + P("a.prn") + "' to '" + P("*.lst") +
                                      "'" + kRule + "A\n");
  EXPECT_EQ(ReadFile(P("b.lst")), "\nDecoding '" + P("b.c.prn") + "'" + kRule + "B\n");
  EXPECT_FALSE(fs::exists(P("skip.lst")));
}

TEST_F(DecodeFilesTest, ListingWithoutWildcardHoldsEveryFile) {
  WriteFile(P("a.prn"), "A");
  WriteFile(P("b.prn"), "B");
  DecodeRequest request = RequestFor(P("?.prn"), P("all.txt"));
  ASSERT_EQ(DecodeFiles(request), 0) << request.message;
  EXPECT_EQ(ReadFile(P("all.txt")), " 2-10-1970 13:05 Korvane 8.70\n\nDecoding '" + P("a.prn") + "' to '" +
                                        P("all.txt") + "'" + kRule + "A\n\nDecoding '" + P("b.prn") + "'" + kRule +
                                        "B\n");
}

TEST_F(DecodeFilesTest, DefaultListingIsBesideTheSource) {
  WriteFile(P("job.pcl"), "A");
  DecodeRequest request = RequestFor(P("job.pcl"), std::nullopt);
  ASSERT_EQ(DecodeFiles(request), 0) << request.message;
  EXPECT_TRUE(fs::exists(P("job.TXT")));
}

TEST_F(DecodeFilesTest, ErrorLogSurvivesOnlyWithEntries) {
  WriteFile(P("good.pcl"), "\x1b" "E");
  WriteFile(P("bad.pcl"), "\x1b)5Z\x1b(0@");
  DecodeRequest request = RequestFor(P("*.pcl"), P("*.txt"));
  ASSERT_EQ(DecodeFiles(request), 0) << request.message;
  EXPECT_FALSE(fs::exists(P("good.LOG")));
  EXPECT_EQ(ReadFile(P("bad.LOG")), "[ ESC ) 5 Z ]         Unknown escape\n"
                                    "[ ESC ( 0 @ ]         Select Primary Font : *** Invalid value (0)\n");
  EXPECT_EQ(request.exceptionCount, 2u);
}

TEST_F(DecodeFilesTest, ExceptionsOnlyHasItsNoteAndNoLog) {
  WriteFile(P("bad.pcl"), "AB\x1b)5Z");
  DecodeRequest request = RequestFor(P("bad.pcl"), P("bad.txt"), DF_SUPPRESS);
  ASSERT_EQ(DecodeFiles(request), 0);
  EXPECT_EQ(ReadFile(P("bad.txt")), " 2-10-1970 13:05 Korvane 8.70\n\nDecoding '" + P("bad.pcl") + "' to '" +
                                        P("bad.txt") + "'" + kRule +
                                        "Reporting exceptions only :\n\n[ ESC ) 5 Z ]         *** Unknown Escape\n");
  EXPECT_FALSE(fs::exists(P("bad.LOG")));
}

TEST_F(DecodeFilesTest, HpglLanguageAbortsWithSummariesWritten) {
  WriteFile(P("job.pcl"), "@PJL ENTER LANGUAGE=HPGL\r\nIN;");
  DecodeRequest request = RequestFor(P("job.pcl"), P("job.txt"), DF_PAGE_SUM);
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(DecodeFiles(request), 1);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "\nSYSERR :: File Korvane Line 463\n");
  EXPECT_EQ(request.message, "Aborted");
  EXPECT_FALSE(request.completed);
  const std::string listing = ReadFile(P("job.txt"));
  EXPECT_NE(listing.find("@PJL ENTER LANGUAGE=HPGL\n\n=====") , std::string::npos) << listing;
  EXPECT_NE(listing.find("Page Summary : No Pages Defined"), std::string::npos);
}

TEST_F(DecodeFilesTest, RunFailuresLeaveTheirMessage) {
  WriteFile(P("job.pcl"), "A");
  fs::create_directory(P("folder"));
  struct Case {
    std::string source;
    std::optional<std::string> dest;
    std::string message;
  } cases[] = {
      {P("missing*.pcl"), P("x.txt"), "Error opening " + P("missing*.pcl") + " for reading\n"},
      {P("folder"), P("x.txt"), "Error opening " + P("folder") + " for reading\n"},
      {P("job.pcl"), P("*-*.txt"), "Invalid wildcard expression in output filename : " + P("*-*.txt") + "\n"},
      {P("job.pcl"), "", "Error opening  for output\n"},
      {P("job.pcl"), P("nodir/x.txt"), "Error opening " + P("nodir/x.txt") + " for output\n"},
      // A listing that would be the source itself is refused: inputs are never overwritten.
      {P("job.pcl"), P("job.pcl"), "Error opening " + P("job.pcl") + " for output\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source + " -> " + c.dest.value_or("(none)"));
    DecodeRequest request = RequestFor(c.source, c.dest);
    EXPECT_EQ(DecodeFiles(request), 1);
    EXPECT_EQ(request.message, c.message);
    EXPECT_FALSE(request.completed);
  }
  EXPECT_EQ(ReadFile(P("job.pcl")), "A");
  EXPECT_FALSE(fs::exists(P("x.txt")));
}

TEST_F(DecodeFilesTest, SideFileThatCannotBeMadeIsReportedAndTheRunGoesOn) {
  WriteFile(P("job.pcl"), "A");
  DecodeRequest request = RequestFor(P("job.pcl"), P("job.txt"), DF_FONT_DETAIL | DF_EXTRACT_WIDTHS);
  request.widths = P("job.pcl");  // the source itself
  EXPECT_EQ(DecodeFiles(request), 0);
  EXPECT_EQ(request.message, "Error opening widths output file " + P("job.pcl") + "\n");
  EXPECT_EQ(ReadFile(P("job.pcl")), "A");
  EXPECT_TRUE(fs::exists(P("job.txt")));
}

TEST(OutputNames, DerivedNames) {
  const std::pair<std::string, std::string> cases[] = {
      {"job.txt", "job.LOG"},           {"job.log", "job.log.LOG"}, {"job", "job.LOG"},
      {"/a.dir/job", "/a.dir/job.LOG"}, {"/a.b/j", "/a.b/j.LOG"},   {"job.text", "job.text.LOG"},
  };
  for (const auto& [listing, log] : cases) EXPECT_EQ(DeriveOutputName(listing, "LOG"), log) << listing;
}

}  // namespace
}  // namespace veltrix
