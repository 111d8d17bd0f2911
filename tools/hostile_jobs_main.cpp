// Writes the generated hostile jobs of the growth test, for measuring them
// at any size: veltrix_hostile_jobs DIR SIZE... (sizes in bytes, K or M).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "decode/HostileJobs.h"
#include <fstream>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s DIR SIZE...\n", argv[0]);
    return 2;
  }
  for (int i = 2; i < argc; ++i) {
    char* end = nullptr;
    std::uint64_t size = std::strtoull(argv[i], &end, 10);
    if (*end == 'K') size <<= 10;
    if (*end == 'M') size <<= 20;
    for (const auto& kind : veltrix::test::HostileKinds()) {
      const std::string path = std::string(argv[1]) + "/" + std::string(kind.name) + "-" + argv[i];
      std::ofstream(path, std::ios::binary) << veltrix::test::MakeHostileJob(kind, size);
      std::printf("%s|%s|%s\n", path.c_str(), std::string(kind.options).c_str(), std::string(kind.what).c_str());
    }
  }
  return 0;
}
