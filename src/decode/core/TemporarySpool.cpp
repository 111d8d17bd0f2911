#include "decode/core/TemporarySpool.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace veltrix {

namespace {

constexpr std::size_t kChunk = 256 * 1024;

// `what` and `where` name the failed step; errno still holds its reason.
int FailWith(int spool, const char* what, const std::string& where, std::string& why) {
  const int error = errno;
  why = std::string(what) + where + ": " + std::strerror(error);
  if (spool >= 0) ::close(spool);
  return -1;
}

}  // namespace

std::string TemporaryDirectory() {
  const char* dir = std::getenv("TMPDIR");
  return dir && *dir ? dir : "/tmp";
}

// An unnamed file in `dir`. O_TMPFILE never gives the file a name; where the
// file system lacks it, a named file is made and unlinked at once.
int OpenUnnamedFile(const std::string& dir) {
  const int fd = ::open(dir.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) return fd;
  std::string name = dir + "/veltrix-spool-XXXXXX";
  const int named = ::mkostemp(name.data(), O_CLOEXEC);
  if (named >= 0) ::unlink(name.c_str());
  return named;
}

bool WriteAll(int fd, const std::uint8_t* bytes, std::size_t n) {
  while (n > 0) {
    const ssize_t done = ::write(fd, bytes, n);
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) {
      if (done == 0) errno = EIO;
      return false;
    }
    bytes += done;
    n -= static_cast<std::size_t>(done);
  }
  return true;
}

int SpoolToTemporaryFile(int fd, std::string& why) {
  const std::string dir = TemporaryDirectory();
  const int spool = OpenUnnamedFile(dir);
  if (spool < 0) return FailWith(spool, "cannot make a temporary file in ", dir, why);
  std::vector<std::uint8_t> chunk(kChunk);
  for (;;) {
    const ssize_t got = ::read(fd, chunk.data(), chunk.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return FailWith(spool, "cannot read the input", "", why);
    if (got == 0) break;
    if (!WriteAll(spool, chunk.data(), static_cast<std::size_t>(got))) {
      return FailWith(spool, "cannot write a temporary file in ", dir, why);
    }
  }
  if (::lseek(spool, 0, SEEK_SET) != 0) return FailWith(spool, "cannot rewind the temporary file", "", why);
  return spool;
}

}  // namespace veltrix
