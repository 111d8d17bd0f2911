// A device on which every write fails, for the tests of full disks.
#pragma once

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <string>

namespace veltrix::test {

// /dev/full, or a node of the same device made in `dir` where a machine has
// none. Empty when neither is possible (no /dev/full and no right to make
// device nodes): the caller skips.
inline std::string FullDevice(const std::filesystem::path& dir) {
  const dev_t full = makedev(1, 7);
  struct stat st {};
  if (stat("/dev/full", &st) == 0 && S_ISCHR(st.st_mode) && st.st_rdev == full) return "/dev/full";
  const std::filesystem::path made = dir / "full";
  if (mknod(made.c_str(), S_IFCHR | 0666, full) == 0) return made.string();
  return "";
}

}  // namespace veltrix::test
