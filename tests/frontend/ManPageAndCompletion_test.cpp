// The man page and the bash completion against the program: every long
// option the program accepts is documented and completed (so that a new
// option cannot be forgotten in either), the page formats without warnings,
// and the completion offers options and files as a shell would see them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <regex>
#include <set>
#include <string>

#include "TestSupport.h"
#include "frontend/OptionTable.h"

namespace veltrix {
namespace {

const std::string kManPage = test::TestDir().parent_path() / "docs" / "veltrix.1";
const std::string kCompletion = test::TestDir().parent_path() / "completions" / "veltrix.bash";

// Standard output of a shell command line (standard error joined to it).
std::string Capture(const std::string& command, int* status = nullptr) {
  std::string text;
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return text;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
  const int result = ::pclose(pipe);
  if (status) *status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
  return text;
}

// Every long option: the table's rows, and whatever else --help lists (the
// options only the command line has, the page's options).
std::set<std::string> LongOptions() {
  std::set<std::string> names;
  for (const OptionRecord& record : DecodeOptionRecords()) names.insert("--" + std::string(record.longName));
  const std::string help = Capture(std::string(VELTRIX_BINARY) + " --help");
  const std::regex option(R"((^|[\s,\[])(--[a-z0-9][a-z0-9-]*))");
  for (std::sregex_iterator it(help.begin(), help.end(), option), end; it != end; ++it) names.insert((*it)[2]);
  return names;
}

std::string Escaped(const std::string& name) { return std::regex_replace(name, std::regex("-"), "\\-"); }

// Whether a tag line of the page (the line after ".TP") names `escapedName`
// as a whole word.
bool HasEntry(const std::string& page, const std::string& escapedName) {
  for (std::size_t at = page.find(".TP\n"); at != std::string::npos; at = page.find(".TP\n", at + 1)) {
    const std::size_t start = at + 4;
    const std::string tag = page.substr(start, page.find('\n', start) - start);
    for (std::size_t i = tag.find(escapedName); i != std::string::npos; i = tag.find(escapedName, i + 1)) {
      const std::size_t end = i + escapedName.size();
      if (end == tag.size() || tag[end] == ' ' || tag[end] == '"') return true;
    }
  }
  return false;
}

TEST(ManPageAndCompletion, DocumentEveryOption) {
  const std::set<std::string> names = LongOptions();
  // --help itself, a table row, and one option only the command line has:
  // proof that both sources were read.
  for (const char* expected : {"--help", "--strip", "--quiet"}) EXPECT_TRUE(names.contains(expected)) << expected;
  const std::string page = test::ReadFile(kManPage);
  const std::string completion = test::ReadFile(kCompletion);
  for (const std::string& name : names) {
    EXPECT_TRUE(HasEntry(page, Escaped(name)))
        << name << " has no entry in docs/veltrix.1";
    EXPECT_TRUE(std::regex_search(completion, std::regex("\\s" + name + "(\\s|\")")))
        << name << " is not completed by completions/veltrix.bash";
  }
}

TEST(ManPageAndCompletion, ManPageDocumentsExitStatusesAndEnvironment) {
  const std::string page = test::ReadFile(kManPage);
  const std::size_t exits = page.find(".SH EXIT STATUS");
  ASSERT_NE(exits, std::string::npos);
  const std::string section = page.substr(exits, page.find(".SH", exits + 1) - exits);
  for (const char* status : {"0", "1", "2", "3"}) {
    EXPECT_NE(section.find(".TP\n.B " + std::string(status) + "\n"), std::string::npos) << "exit status " << status;
  }
  for (const char* name : {"VELTRIX_HOME", "XDG_CONFIG_HOME", "SOURCE_DATE_EPOCH", "veltrix.ini"}) {
    EXPECT_NE(page.find(name), std::string::npos) << name;
  }
}

TEST(ManPageAndCompletion, ManPageFormatsWithoutWarnings) {
  if (std::system("command -v groff >/dev/null 2>&1") != 0) GTEST_SKIP() << "groff is not installed";
  int status = -1;
  const std::string warnings = Capture("groff -ww -z -man '" + kManPage + "'", &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(warnings, "");
}

// What the completion offers after the words typed so far (the last one is
// the word being completed), one per line.
std::string Complete(const std::string& words, const std::string& directory) {
  const std::string script = "cd '" + directory + "' && source '" + kCompletion + "' && COMP_WORDS=(veltrix " + words +
                             ") && COMP_CWORD=$((${#COMP_WORDS[@]} - 1)) && _veltrix && " +
                             "printf '%s\\n' \"${COMPREPLY[@]}\" | LC_ALL=C sort";
  return Capture("bash -c '" + std::regex_replace(script, std::regex("'"), "'\\''") + "'");
}

TEST(ManPageAndCompletion, CompletionOffersOptionsAndFiles) {
  const auto dir = test::MakeTempDir("completion");
  test::WriteFile(dir / "job.pcl", "");
  test::WriteFile(dir / "jot.txt", "");
  EXPECT_EQ(Complete("--no-pa", dir), "--no-page-summary\n--no-palette-summary\n");
  EXPECT_EQ(Complete("--stri", dir), "--strict\n--strip\n");
  EXPECT_EQ(Complete("jo", dir), "job.pcl\njot.txt\n");     // a source
  EXPECT_EQ(Complete("--strip job", dir), "job.pcl\n");     // a file after an option that takes one
  EXPECT_EQ(Complete("--level ''", dir), "\n");             // a number: nothing to offer
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace veltrix
