// Opening and closing the run's output files.
#pragma once

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

#include "decode/core/OutputSink.h"

namespace veltrix {

// A file that must never be written: an input of the run.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
};

struct OutputFile {
  std::unique_ptr<OutputSink> sink;
  std::string path;
  bool regularFile = false;    // false for a device or a FIFO: never deleted, names nothing beside it
  bool deleteIfEmpty = false;  // the error log: removed when nothing was written to it
};

// Creates (or truncates, or with `append` extends) `path` for writing.
// Fails, without touching the file, when it is one of `inputs`. `why`
// receives the reason of a failure.
bool OpenOutputFile(const std::string& path, const std::vector<FileIdentity>& inputs, OutputFile& file,
                    std::string& why, bool append = false);

// Flushes and closes; deletes an empty error log (a regular file only: a
// log named /dev/null stays). Returns 0, or the errno of the first write or
// close that failed. A file that is not open gives 0.
int CloseOutputFile(OutputFile& file);

bool IdentifyFile(const std::string& path, FileIdentity& identity);

}  // namespace veltrix
