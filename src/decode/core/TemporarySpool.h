// A copy of a pipe in a temporary file, so that the job can be read again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace veltrix {

// Reads `fd` to its end into a new temporary file that has no name (it is
// gone once its last descriptor is closed) and returns that file's
// descriptor, positioned at its start; the caller closes it. `fd` itself is
// not closed. The file is made in $TMPDIR, or /tmp when that is not set.
// Returns -1 with the reason in `why` when the file cannot be made or
// written (a full disk) or `fd` cannot be read.
int SpoolToTemporaryFile(int fd, std::string& why);

// $TMPDIR, or /tmp when that is not set.
std::string TemporaryDirectory();

// A new file without a name in `dir`, open for reading and writing; -1 with
// errno set when none can be made.
int OpenUnnamedFile(const std::string& dir);

// Writes all n bytes, going on after interruptions; false (errno set) when
// the file cannot take them.
bool WriteAll(int fd, const std::uint8_t* bytes, std::size_t n);

}  // namespace veltrix
