// A map from 32-bit IDs to positions in a caller's table, in flat arrays of
// positions with linear probing: the per-ID lookups of the trackers (macros,
// palettes) cost O(1) and about 6 bytes an ID, whatever a job throws at them. The IDs themselves live in the caller's table; every call is given
// `idAt`, which returns the ID stored at a position.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace veltrix {

class IdIndex {
 public:
  template <typename IdAt>
  std::optional<std::uint32_t> Find(std::uint32_t id, const IdAt& idAt) const {
    const Shard& shard = shards_[ShardOf(id)];
    if (shard.slots.empty()) return std::nullopt;
    for (std::size_t i = Home(shard, id);; i = Next(shard, i)) {
      const std::uint32_t at = shard.slots[i];
      if (at == kEmpty) return std::nullopt;
      if (idAt(at) == id) return at;
    }
  }

  // Adds `id` at `position` (below 0xFFFFFFFF); the ID must not be there yet.
  template <typename IdAt>
  void Insert(std::uint32_t id, std::uint32_t position, const IdAt& idAt) {
    Shard& shard = shards_[ShardOf(id)];
    if ((shard.used + 1) * 4 > shard.slots.size() * 3) Grow(shard, idAt);
    std::size_t i = Home(shard, id);
    while (shard.slots[i] != kEmpty) i = Next(shard, i);
    shard.slots[i] = position;
    ++shard.used;
  }

  // Removes `id`; later entries of its probe run move back so that no
  // tombstone is left.
  template <typename IdAt>
  void Erase(std::uint32_t id, const IdAt& idAt) {
    Shard& shard = shards_[ShardOf(id)];
    if (shard.slots.empty()) return;
    std::size_t hole = Home(shard, id);
    while (shard.slots[hole] != kEmpty && idAt(shard.slots[hole]) != id) hole = Next(shard, hole);
    if (shard.slots[hole] == kEmpty) return;
    --shard.used;
    for (std::size_t i = Next(shard, hole);; i = Next(shard, i)) {
      const std::uint32_t at = shard.slots[i];
      if (at == kEmpty) break;
      // The entry may fill the hole only if its home is not in (hole, i].
      const std::size_t home = Home(shard, idAt(at));
      const bool homeBetween = hole <= i ? (home > hole && home <= i) : (home > hole || home <= i);
      if (homeBetween) continue;
      shard.slots[hole] = at;
      hole = i;
    }
    shard.slots[hole] = kEmpty;
  }

  void Clear() {
    for (Shard& shard : shards_) {
      std::vector<std::uint32_t>().swap(shard.slots);
      shard.used = 0;
    }
  }

 private:
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
  // The table is cut into shards that grow one at a time, so that a growth
  // never holds two copies of the whole table.
  static constexpr int kShardBits = 6;
  struct Shard {
    std::vector<std::uint32_t> slots;
    std::size_t used = 0;
  };

  static std::uint64_t Hash(std::uint32_t id) { return static_cast<std::uint64_t>(id) * 0x9E3779B97F4A7C15ull; }
  static std::size_t ShardOf(std::uint32_t id) { return static_cast<std::size_t>(Hash(id) >> (64 - kShardBits)); }
  static std::size_t Home(const Shard& shard, std::uint32_t id) {
    return static_cast<std::size_t>(Hash(id) >> 16) & (shard.slots.size() - 1);
  }
  static std::size_t Next(const Shard& shard, std::size_t i) { return (i + 1) & (shard.slots.size() - 1); }

  template <typename IdAt>
  static void Grow(Shard& shard, const IdAt& idAt) {
    std::vector<std::uint32_t> old;
    old.swap(shard.slots);
    shard.slots.assign(old.empty() ? 16 : old.size() * 2, kEmpty);
    for (const std::uint32_t at : old) {
      if (at == kEmpty) continue;
      std::size_t i = Home(shard, idAt(at));
      while (shard.slots[i] != kEmpty) i = Next(shard, i);
      shard.slots[i] = at;
    }
  }

  std::array<Shard, std::size_t{1} << kShardBits> shards_;
};

}  // namespace veltrix
