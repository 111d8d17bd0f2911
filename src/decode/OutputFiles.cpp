#include "decode/OutputFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace veltrix {

bool IdentifyFile(const std::string& path, FileIdentity& identity) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return false;
  identity = {st.st_dev, st.st_ino};
  return true;
}

bool OpenOutputFile(const std::string& path, const std::vector<FileIdentity>& inputs, OutputFile& file,
                    std::string& why, bool append) {
  FileIdentity existing;
  if (!path.empty() && IdentifyFile(path, existing)) {
    for (const FileIdentity& input : inputs) {
      if (input.device == existing.device && input.inode == existing.inode) {
        why = "it is an input of this run and is never overwritten";
        return false;
      }
    }
  }
  const int fd = path.empty() ? -1 : ::open(path.c_str(), O_WRONLY | O_CREAT | (append ? O_APPEND : O_TRUNC) | O_CLOEXEC, 0666);
  if (fd < 0) {
    why = path.empty() ? "the name is empty" : std::strerror(errno);
    return false;
  }
  struct stat st {};
  file.regularFile = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  file.sink = std::make_unique<OutputSink>(fd, true);
  file.path = path;
  return true;
}

int CloseOutputFile(OutputFile& file) {
  if (!file.sink) return 0;
  const bool empty = file.sink->BytesWritten() == 0;
  const int error = file.sink->Close();
  file.sink.reset();
  if (file.deleteIfEmpty && empty && file.regularFile) ::unlink(file.path.c_str());
  file.path.clear();
  file.regularFile = false;
  file.deleteIfEmpty = false;
  return error;
}

}  // namespace veltrix
