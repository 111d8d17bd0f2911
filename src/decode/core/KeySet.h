// A set of 32- or 64-bit keys in one flat table with linear probing: a key's
// own size a slot, O(1) per insert, for the trackers that must tell a new key
// from one already seen among millions.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace veltrix {

template <typename Key>
class KeySet {
 public:
  // Returns true when `key` was not in the set.
  bool Insert(Key key) {
    if (key == kEmpty) {  // the empty slot's own value is kept aside
      const bool added = !hasEmptyKey_;
      hasEmptyKey_ = true;
      return added;
    }
    const std::uint64_t hash = Hash(key);
    Shard& shard = shards_[static_cast<std::size_t>(hash >> (64 - kShardBits))];
    if ((shard.used + 1) * 4 > shard.slots.size() * 3) Grow(shard);
    for (std::size_t i = Home(shard, hash);; i = (i + 1) & (shard.slots.size() - 1)) {
      if (shard.slots[i] == key) return false;
      if (shard.slots[i] == kEmpty) {
        shard.slots[i] = key;
        ++shard.used;
        return true;
      }
    }
  }

  void Clear() {
    for (Shard& shard : shards_) {
      std::vector<Key>().swap(shard.slots);
      shard.used = 0;
    }
    hasEmptyKey_ = false;
  }

 private:
  static constexpr Key kEmpty = 0;
  // Shards grow one at a time, so that a growth never holds two copies of
  // the whole set.
  static constexpr int kShardBits = 6;
  struct Shard {
    std::vector<Key> slots;
    std::size_t used = 0;
  };

  static std::uint64_t Hash(Key key) {
    std::uint64_t h = key;
    h ^= h >> 31;
    h *= 0x7FB5D329728EA185ull;
    h ^= h >> 27;
    h *= 0x9E3779B97F4A7C15ull;
    return h;
  }
  static std::size_t Home(const Shard& shard, std::uint64_t hash) {
    return static_cast<std::size_t>(hash) & (shard.slots.size() - 1);
  }
  static void Grow(Shard& shard) {
    std::vector<Key> old;
    old.swap(shard.slots);
    shard.slots.assign(old.empty() ? 16 : old.size() * 2, kEmpty);
    for (const Key key : old) {
      if (key == kEmpty) continue;
      std::size_t i = Home(shard, Hash(key));
      while (shard.slots[i] != kEmpty) i = (i + 1) & (shard.slots.size() - 1);
      shard.slots[i] = key;
    }
  }

  std::array<Shard, std::size_t{1} << kShardBits> shards_;
  bool hasEmptyKey_ = false;
};

// Mixes a value into a running 64-bit hash (for keys made of several fields).
inline std::uint64_t MixHash(std::uint64_t hash, std::uint64_t value) {
  hash ^= value + 0x9E3779B97F4A7C15ull + (hash << 6) + (hash >> 2);
  hash ^= hash >> 33;
  hash *= 0xFF51AFD7ED558CCDull;
  hash ^= hash >> 33;
  return hash;
}

}  // namespace veltrix
