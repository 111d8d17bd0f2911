// Decode runs over files: wildcard sources, listing names, side files, the
// report header, the error log, and the run's failures. Outputs that cannot
// be written are tested through the program (CommandLine_test.cpp).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <tuple>

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
  const HeaderClock clock{86400 * 40 + 3600 * 13 + 60 * 5, true};  // 2-10-1970 13:05 UTC
  return {.flags = flags, .source = source, .dest = dest, .clock = clock};
}

class DecodeFilesTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = test::MakeTempDir(::testing::UnitTest::GetInstance()->current_test_info()->name()); }
  void TearDown() override { fs::remove_all(dir_); }
  std::string P(const std::string& name) const { return (dir_ / name).string(); }
  // The header of the run's first file, and of a later one.
  std::string First(const std::string& source, const std::string& dest) const {
    return " 2-10-1970 13:05 Korvane 8.70\n\nDecoding '" + P(source) + "' to '" + P(dest) + "'" + kRule;
  }
  std::string Later(const std::string& source) const { return "\nDecoding '" + P(source) + "'" + kRule; }
  fs::path dir_;
};

// Only the first header has the date and the listing name (several files in
// one listing: CommandLine_test.cpp); the error log beside a listing survives
// only with entries.
TEST_F(DecodeFilesTest, WildcardGivesOneListingAndLogPerFileNamedByBaseName) {
  WriteFile(P("a.prn"), "A");
  WriteFile(P("b.c.prn"), "\x1b)5Z\x1b(0@");
  WriteFile(P("skip.txt"), "C");
  DecodeRequest request = RequestFor(P("*.prn"), P("*.lst"));
  ASSERT_EQ(DecodeFiles(request), 0) << request.message;
  EXPECT_TRUE(request.completed);
  EXPECT_EQ(ReadFile(P("a.lst")), First("a.prn", "*.lst") + "A\n");
  EXPECT_EQ(ReadFile(P("b.lst")), Later("b.c.prn") +
                                      "[ ESC ) 5 Z ]         *** Unknown Escape\n"
                                      "[ ESC ( 0 @ ]         Select Primary Font : *** Invalid value (0)\n");
  EXPECT_FALSE(fs::exists(P("skip.lst")));
  EXPECT_FALSE(fs::exists(P("a.LOG")));
  EXPECT_EQ(ReadFile(P("b.LOG")), "[ ESC ) 5 Z ]         Unknown escape\n"
                                  "[ ESC ( 0 @ ]         Select Primary Font : *** Invalid value (0)\n");
  EXPECT_EQ(request.exceptionCount, 2u);
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
  const std::tuple<std::string, std::optional<std::string>, std::string> cases[] = {
      {P("missing*.pcl"), P("x.txt"), "Error opening " + P("missing*.pcl") + " for reading\n"},
      {P("folder"), P("x.txt"), "Error opening " + P("folder") + " for reading\n"},
      {P("job.pcl"), P("*-*.txt"), "Invalid wildcard expression in output filename : " + P("*-*.txt") + "\n"},
      {P("job.pcl"), "", "Error opening  for output\n"},
      {P("job.pcl"), P("nodir/x.txt"), "Error opening " + P("nodir/x.txt") + " for output\n"},
  };
  for (const auto& [source, dest, message] : cases) {
    SCOPED_TRACE(source + " -> " + dest.value_or("(none)"));
    DecodeRequest request = RequestFor(source, dest);
    EXPECT_EQ(DecodeFiles(request), 1);
    EXPECT_EQ(request.message, message);
    EXPECT_FALSE(request.completed);
  }
  EXPECT_EQ(ReadFile(P("job.pcl")), "A");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);  // nothing written
}

// Without a name the listing is beside the source; a side file that cannot be
// made is reported and the run goes on.
TEST_F(DecodeFilesTest, DefaultListingAndASideFileThatCannotBeMade) {
  WriteFile(P("job.pcl"), "A");
  DecodeRequest request = RequestFor(P("job.pcl"), std::nullopt, DF_FONT_DETAIL | DF_EXTRACT_WIDTHS);
  request.widths = P("job.pcl");  // the source itself
  EXPECT_EQ(DecodeFiles(request), 0);
  EXPECT_EQ(request.message, "Error opening widths output file " + P("job.pcl") + "\n");
  EXPECT_EQ(ReadFile(P("job.pcl")), "A");
  EXPECT_TRUE(fs::exists(P("job.TXT")));
}

// Offsets pass 4 GB: a data count of 3,000,000,000 is skipped by seeking in
// a sparse file, and the page ejected after it has its true offset.
TEST_F(DecodeFilesTest, OffsetsBeyondFourGigabytes) {
  const std::string head = "A\x1b*b4000000000W";
  WriteFile(P("big.pcl"), head);
  fs::resize_file(P("big.pcl"), head.size() + 4000000000ull);
  { std::ofstream(P("big.pcl"), std::ios::binary | std::ios::app) << "B\f"; }
  DecodeRequest request = RequestFor(P("big.pcl"), P("big.txt"), DF_FONT_DETAIL | DF_PAGE_SUM);
  ASSERT_EQ(DecodeFiles(request), 0) << request.message;
  const std::string listing = ReadFile(P("big.txt"));
  EXPECT_NE(listing.find("[Page Eject offset 4000000017 ]\n"), std::string::npos) << listing;
  EXPECT_NE(listing.find("    Page 1 : offset 4000000017\n"), std::string::npos) << listing;
}

// A FIFO whose read end is open without blocking, so that the driver's open
// for writing does not wait; what is written waits in the pipe until Drain.
struct Fifo {
  explicit Fifo(const std::string& path)
      : readEnd(mkfifo(path.c_str(), 0644) == 0 ? ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC) : -1) {}
  ~Fifo() { ::close(readEnd); }
  std::string Drain() const {
    std::string text;
    char chunk[4096];
    for (ssize_t n; (n = ::read(readEnd, chunk, sizeof chunk)) > 0;) text.append(chunk, static_cast<std::size_t>(n));
    return text;
  }
  const int readEnd;
};

std::set<std::string> Entries(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename());
  return names;
}

const std::string kBadJob = "A\x1b)5ZB";
const std::string kBadBody = "A\n[ ESC ) 5 Z ]         *** Unknown Escape\nB\n";
const std::string kBadLogEntry = "[ ESC ) 5 Z ]         Unknown escape\n";

// Names are derived only from a listing that is a regular file: a FIFO (as
// a device such as /dev/null) gets the listing and nothing beside it but the
// side files the user named, the error log of --log among them.
TEST_F(DecodeFilesTest, SideFilesBesideAFifoListing) {
  WriteFile(P("bad.pcl"), kBadJob);
  Fifo listing(P("pipe")), logFifo(P("log-pipe"));
  ASSERT_TRUE(listing.readEnd >= 0 && logFifo.readEnd >= 0);
  const std::uint32_t sideFiles = DF_FONT_DETAIL | DF_EXTRACT_WIDTHS | DF_STRIP_FONTS | DF_KEEP_FONTS;
  DecodeRequest request = RequestFor(P("bad.pcl"), P("pipe"), sideFiles);
  ASSERT_EQ(DecodeFiles(request), 0) << request.message;
  EXPECT_EQ(listing.Drain(), First("bad.pcl", "pipe") + kBadBody);
  EXPECT_EQ(Entries(dir_), (std::set<std::string>{"bad.pcl", "pipe", "log-pipe"}));
  // The widths and error log the user named: FIFOs too. (An empty log that
  // is not a regular file stays: CommandLine_test.cpp.)
  request = RequestFor(P("bad.pcl"), P("pipe"), DF_FONT_DETAIL | DF_EXTRACT_WIDTHS);
  request.widths = P("w.wid");
  request.logPath = P("log-pipe");
  ASSERT_EQ(DecodeFiles(request), 0) << request.message;
  EXPECT_NE(listing.Drain(), "");
  EXPECT_TRUE(fs::exists(P("w.wid")));
  EXPECT_EQ(logFifo.Drain(), kBadLogEntry);
  EXPECT_FALSE(fs::exists(P("pipe.LOG")));
  fs::remove(P("w.wid"));
  // Beside a regular listing every side file is named after it.
  request = RequestFor(P("bad.pcl"), P("out.txt"), sideFiles);
  ASSERT_EQ(DecodeFiles(request), 0) << request.message;
  EXPECT_EQ(Entries(dir_), (std::set<std::string>{"bad.pcl", "pipe", "log-pipe", "out.txt", "out.WID", "out.LOG",
                                                  "out.STP", "out.FNT"}));
  EXPECT_EQ(ReadFile(P("out.LOG")), kBadLogEntry);
}

TEST(OutputNames, DerivedNames) {
  const std::pair<std::string, std::string> cases[] = {
      {"job.txt", "job.LOG"}, {"job.log", "job.log.LOG"}, {"/a.dir/job", "/a.dir/job.LOG"},
      {"job.text", "job.text.LOG"},
  };
  for (const auto& [listing, log] : cases) EXPECT_EQ(DeriveOutputName(listing, "LOG"), log) << listing;
}

}  // namespace
}  // namespace veltrix
