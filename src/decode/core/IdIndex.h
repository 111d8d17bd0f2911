// A map from 32-bit IDs to 32-bit indexes, in one flat table with linear
// probing: the per-ID lookups of the trackers (macros, palettes) cost O(1)
// and 8 bytes a slot, whatever a job throws at them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace veltrix {

class IdIndex {
 public:
  std::optional<std::uint32_t> Find(std::uint32_t id) const {
    if (slots_.empty()) return std::nullopt;
    for (std::size_t i = Home(id);; i = Next(i)) {
      const Slot& s = slots_[i];
      if (s.index == kEmpty) return std::nullopt;
      if (s.id == id) return s.index;
    }
  }

  // Sets the index of `id` (an index must be below 0xFFFFFFFF).
  void Set(std::uint32_t id, std::uint32_t index) {
    if ((used_ + 1) * 4 > slots_.size() * 3) Grow();
    for (std::size_t i = Home(id);; i = Next(i)) {
      Slot& s = slots_[i];
      if (s.index == kEmpty) {
        s = {id, index};
        ++used_;
        return;
      }
      if (s.id == id) {
        s.index = index;
        return;
      }
    }
  }

  // Removes `id`; later entries of its probe run move back so that no
  // tombstone is left.
  void Erase(std::uint32_t id) {
    if (slots_.empty()) return;
    std::size_t hole = Home(id);
    while (slots_[hole].index != kEmpty && slots_[hole].id != id) hole = Next(hole);
    if (slots_[hole].index == kEmpty) return;
    --used_;
    for (std::size_t i = Next(hole);; i = Next(i)) {
      Slot& s = slots_[i];
      if (s.index == kEmpty) break;
      // s may fill the hole only if its home is not in (hole, i].
      const std::size_t home = Home(s.id);
      const bool homeBetween = hole <= i ? (home > hole && home <= i) : (home > hole || home <= i);
      if (homeBetween) continue;
      slots_[hole] = s;
      hole = i;
    }
    slots_[hole].index = kEmpty;
  }

  std::size_t Size() const { return used_; }

  void Clear() {
    std::vector<Slot>().swap(slots_);
    used_ = 0;
  }

 private:
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
  struct Slot {
    std::uint32_t id = 0;
    std::uint32_t index = kEmpty;
  };

  std::size_t Home(std::uint32_t id) const {
    // Fibonacci hashing spreads neighbouring IDs over the table.
    return static_cast<std::size_t>((static_cast<std::uint64_t>(id) * 0x9E3779B97F4A7C15ull) >> 32) & (slots_.size() - 1);
  }
  std::size_t Next(std::size_t i) const { return (i + 1) & (slots_.size() - 1); }

  void Grow() {
    std::vector<Slot> old;
    old.swap(slots_);
    slots_.assign(old.empty() ? 16 : old.size() * 2, Slot{});
    used_ = 0;
    for (const Slot& s : old) {
      if (s.index != kEmpty) Set(s.id, s.index);
    }
  }

  std::vector<Slot> slots_;
  std::size_t used_ = 0;
};

}  // namespace veltrix
