// Keeps a mapped input window from killing the process when its file is cut
// short while it is read.
//
// A page of a mapping that lies past the file's new end raises SIGBUS when it
// is touched. The guard owns the one process-wide SIGBUS handler: a fault
// inside a registered window has its page replaced by a page of zeros and the
// window marked, so the reader sees zeros up to the end of that window and
// then ends its input as a read error. A fault anywhere else goes to the
// handler that was there before (or kills the process, as it would have).
//
// Signals are process-wide, so this is the one table shared by every reader
// of the process; each reader has its own slot, and several decodes may run
// at once. A reader that gets no slot (all taken) maps unguarded.
#pragma once

#include <cstddef>

namespace veltrix {

inline constexpr int kNoGuardSlot = -1;

// Registers [start, start + length); returns the slot, or kNoGuardSlot.
int GuardMappedWindow(const void* start, std::size_t length);

// Drops the slot's window; returns true when a page of it had faulted.
bool ReleaseMappedWindow(int slot);

// True when a page of the slot's window has faulted since it was registered.
bool MappedWindowFaulted(int slot);

}  // namespace veltrix
