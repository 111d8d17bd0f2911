// --facts from the command line: where the document may go (never over an
// input, not to standard output beside the listing, a full disk fails the
// run), standard input, several files, and job bytes that are not UTF-8.
// What each real job's facts say is checked by tools/checks/facts.
#include <sys/wait.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <string>

#include "TestSupport.h"

namespace veltrix {
namespace {

namespace fs = std::filesystem;

struct Result {
  int status = -1;
  std::string out, err;
};

class FactsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = test::MakeTempDir("facts-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    // Two pages (a form feed, then the end of the stretch); one unknown escape.
    test::WriteFile(dir_ / "job.pcl", "@PJL SET QTY=4\n@PJL ENTER LANGUAGE=PCL\n\x1b&l2XA\fB\x1b&zQ");
    test::WriteFile(dir_ / "clean.pcl", "\x1b&l1SC");
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs the program in the directory, `input` on standard input.
  Result Run(const std::string& args, const std::string& input = "") const {
    test::WriteFile(dir_ / "stdin", input);
    const std::string line = "cd '" + dir_.string() + "' && '" + VELTRIX_BINARY + "' " + args +
                             " <stdin >stdout 2>stderr";
    const int status = std::system(line.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, test::ReadFile(dir_ / "stdout"),
            test::ReadFile(dir_ / "stderr")};
  }

  fs::path dir_;
};

TEST_F(FactsTest, AJobsPagesCopiesAndProblems) {
  const Result r = Run("-o /dev/null --facts - job.pcl clean.pcl");
  ASSERT_EQ(r.status, 0) << r.err;
  const nlohmann::json facts = nlohmann::json::parse(r.out);
  ASSERT_EQ(facts["files"].size(), 2u);
  const nlohmann::json& job = facts["files"][0];
  EXPECT_EQ(job["path"], "job.pcl");
  EXPECT_EQ(job["size"], 51);  // 15 + 24 bytes of PJL, 12 of PCL
  EXPECT_EQ(job["pjl"][0]["variable"], "QTY");
  EXPECT_EQ(job["pageCount"], 2);
  EXPECT_EQ(job["pages"][0]["copies"], 2);
  EXPECT_EQ(job["pages"][0]["offset"], 46);  // just after the form feed
  ASSERT_EQ(job["problems"].size(), 1u);
  EXPECT_EQ(job["problems"][0]["text"], "[ ESC & z Q ]         *** Unknown Escape");
  EXPECT_EQ(job["problems"][0]["offset"], 51);  // just after the escape
  const nlohmann::json& clean = facts["files"][1];
  EXPECT_EQ(clean["pages"][0]["duplex"], true);
  EXPECT_EQ(clean["pages"][0]["duplexMode"]["name"], "Duplex - Long Edge Binding");
  EXPECT_EQ(facts["exceptions"], 1);
  EXPECT_EQ(facts["strictExitStatus"], 3);
  EXPECT_EQ(Run("--strict -o /dev/null job.pcl clean.pcl").status, 3);
}

TEST_F(FactsTest, WhereTheDocumentMayGo) {
  const std::string job = test::ReadFile(dir_ / "job.pcl");
  struct Case {
    std::string args;
    int status;
    std::string message;  // in standard error
  };
  const Case cases[] = {
      {"--facts - job.pcl", 2, "--facts - needs the listing elsewhere"},
      {"-o /dev/null --facts job.pcl job.pcl", 1, "Error opening job.pcl for output"},
      {"-o out.txt --facts out.txt job.pcl", 1, "Error opening out.txt for output"},
      {"-o /dev/null --facts /dev/full job.pcl", 1, "error writing /dev/full"},
      {"-o /dev/null --facts no/such/dir/f.json job.pcl", 1, "Error opening no/such/dir/f.json for output"},
  };
  for (const Case& c : cases) {
    const Result r = Run(c.args);
    EXPECT_EQ(r.status, c.status) << c.args;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << ": " << r.err;
    EXPECT_EQ(test::ReadFile(dir_ / "job.pcl"), job) << c.args << " wrote over the input";
  }
}

TEST_F(FactsTest, StandardInputAndBytesThatAreNotText) {
  const std::string input = std::string("@PJL JOB NAME=\"\xff\xfe\"\n@PJL ENTER LANGUAGE=PCL\nA");
  const Result r = Run("-o /dev/null --facts f.json -", input);
  ASSERT_EQ(r.status, 0) << r.err;
  const nlohmann::json facts = nlohmann::json::parse(test::ReadFile(dir_ / "f.json"));
  const nlohmann::json& file = facts["files"][0];
  EXPECT_EQ(file["path"], "<stdin>");
  EXPECT_EQ(file["size"], input.size());
  EXPECT_EQ(file["pjl"][0]["value"], "\xef\xbf\xbd\xef\xbf\xbd");  // two U+FFFD
  EXPECT_EQ(facts["completed"], true);
}

}  // namespace
}  // namespace veltrix
