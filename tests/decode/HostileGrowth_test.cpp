// Hostile jobs at two sizes, ten times apart: the decode's time and peak
// memory must grow about as the job does. A quadratic path shows as a ratio
// near 100; the bound of 20 leaves room for a noisy machine.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <sstream>
#include <string>
#include <vector>

#include "HostileJobs.h"
#include "TestSupport.h"

extern char** environ;

namespace veltrix::test {
namespace {

struct RunCost {
  double seconds = 0;
  double peakMiB = 0;
  int status = -1;
};

// Runs the program on `job` with the listing to /dev/null; the best of three
// runs, so that one slow moment of the machine does not count.
RunCost Measure(const std::string& job, std::string_view options) {
  // A budget well above what the small jobs write keeps the replaying kinds short.
  std::vector<std::string> args = {VELTRIX_BINARY, "-o", "/dev/null", "--max-output", "64M"};
  std::istringstream extra{std::string(options)};
  for (std::string word; extra >> word;) args.push_back(word);
  args.push_back(job);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  RunCost best{1e9, 1e9, -1};
  for (int attempt = 0; attempt < 3; ++attempt) {
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return best;
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    best.seconds = std::min(best.seconds, seconds);
    best.peakMiB = std::min(best.peakMiB, static_cast<double>(usage.ru_maxrss) / 1024.0);
    best.status = status;
  }
  return best;
}

TEST(HostileGrowth, TimeAndMemoryGrowWithTheJob) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "times and memory under AddressSanitizer say nothing of the program's";
#endif
  const auto dir = MakeTempDir("hostile");
  constexpr std::uint64_t kSmall = 200 * 1024;
  constexpr std::uint64_t kLarge = 10 * kSmall;
  for (const HostileKind& kind : HostileKinds()) {
    SCOPED_TRACE(std::string(kind.name));
    const auto small = dir / (std::string(kind.name) + "-small");
    const auto large = dir / (std::string(kind.name) + "-large");
    WriteFile(small, MakeHostileJob(kind, kSmall));
    WriteFile(large, MakeHostileJob(kind, kLarge));
    const RunCost a = Measure(small, kind.options);
    const RunCost b = Measure(large, kind.options);
    ASSERT_TRUE(WIFEXITED(a.status) && WIFEXITED(b.status)) << "the program did not exit normally";
    // Startup costs a few milliseconds whatever the job; below that the
    // ratio says nothing.
    const double timeRatio = std::max(b.seconds, 0.02) / std::max(a.seconds, 0.02);
    const double memoryRatio = b.peakMiB / a.peakMiB;
    EXPECT_LT(timeRatio, 20) << a.seconds << " s -> " << b.seconds << " s";
    EXPECT_LT(memoryRatio, 20) << a.peakMiB << " MiB -> " << b.peakMiB << " MiB";
    // Memory: a fixed share plus at most the job's size.
    EXPECT_LT(b.peakMiB, 64 + static_cast<double>(kLarge) / (1 << 20)) << b.peakMiB << " MiB";
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace veltrix::test
