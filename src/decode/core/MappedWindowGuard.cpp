#include "decode/core/MappedWindowGuard.h"

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <mutex>

namespace veltrix {

namespace {

constexpr int kSlots = 64;

// Written by the readers, read by the handler: plain atomics, no locks, so
// the handler may run at any point of a reader's own update. A slot is
// claimed through `owner`, then its range is published; a range of zero
// length matches nothing.
struct WindowSlot {
  std::atomic<bool> owner{false};
  std::atomic<std::uintptr_t> begin{0};
  std::atomic<std::uintptr_t> end{0};
  std::atomic<bool> faulted{false};
};

struct GuardTable {
  WindowSlot slots[kSlots];
  struct sigaction previous {};
  std::once_flag installed;
};

GuardTable& Table() {
  static GuardTable table;
  return table;
}

void PassOn(int signal, siginfo_t* info, void* context) {
  const struct sigaction& previous = Table().previous;
  if ((previous.sa_flags & SA_SIGINFO) != 0 && previous.sa_sigaction != nullptr) {
    previous.sa_sigaction(signal, info, context);
    return;
  }
  if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN && previous.sa_handler != nullptr) {
    previous.sa_handler(signal);
    return;
  }
  // Back to the default action: the faulting instruction runs again and the
  // process ends as it would have without the guard.
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  sigemptyset(&fallback.sa_mask);
  sigaction(SIGBUS, &fallback, nullptr);
}

void OnBusError(int signal, siginfo_t* info, void* context) {
  const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
  for (WindowSlot& slot : Table().slots) {
    const std::uintptr_t begin = slot.begin.load(std::memory_order_acquire);
    const std::uintptr_t end = slot.end.load(std::memory_order_acquire);
    if (address < begin || address >= end) continue;
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    void* at = reinterpret_cast<void*>(address / page * page);
    // Zeros stand in for the bytes that are gone; the read then returns.
    if (mmap(at, page, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) == MAP_FAILED) break;
    slot.faulted.store(true, std::memory_order_release);
    return;
  }
  PassOn(signal, info, context);
}

void Install() {
  struct sigaction action {};
  action.sa_sigaction = OnBusError;
  action.sa_flags = SA_SIGINFO | SA_NODEFER;
  sigemptyset(&action.sa_mask);
  sigaction(SIGBUS, &action, &Table().previous);
}

}  // namespace

int GuardMappedWindow(const void* start, std::size_t length) {
  GuardTable& table = Table();
  std::call_once(table.installed, Install);
  for (int i = 0; i < kSlots; ++i) {
    WindowSlot& slot = table.slots[i];
    bool expected = false;
    if (!slot.owner.compare_exchange_strong(expected, true, std::memory_order_acq_rel)) continue;
    slot.faulted.store(false, std::memory_order_relaxed);
    const auto begin = reinterpret_cast<std::uintptr_t>(start);
    slot.begin.store(begin, std::memory_order_release);
    slot.end.store(begin + length, std::memory_order_release);
    return i;
  }
  return kNoGuardSlot;
}

bool MappedWindowFaulted(int slot) {
  return slot >= 0 && slot < kSlots && Table().slots[slot].faulted.load(std::memory_order_acquire);
}

bool ReleaseMappedWindow(int slot) {
  if (slot < 0 || slot >= kSlots) return false;
  WindowSlot& entry = Table().slots[slot];
  entry.end.store(0, std::memory_order_release);
  entry.begin.store(0, std::memory_order_release);
  const bool faulted = entry.faulted.exchange(false, std::memory_order_acq_rel);
  entry.owner.store(false, std::memory_order_release);
  return faulted;
}

}  // namespace veltrix
