// Records by the handle given to the client, for the kinds that clients create
// and free in quick succession. A released record's memory and its map node
// are kept for the next one, so that a warm create/free pair allocates nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace zeb {

uint64_t makeHandle(const void* address);

// Blocks of one size, kept when given back and handed out again.
class BlockPool {
 public:
  // Room for every kept block is made at once, so that giving one back never allocates.
  BlockPool() { kept_.reserve(kKeptBlocks); }
  BlockPool(const BlockPool&) = delete;
  BlockPool& operator=(const BlockPool&) = delete;
  ~BlockPool() {
    for (void* block : kept_) ::operator delete(block);
  }

  void* take(std::size_t bytes) {
    if (bytes != blockBytes_ || kept_.empty()) return ::operator new(bytes);
    void* block = kept_.back();
    kept_.pop_back();
    return block;
  }
  void give(void* block, std::size_t bytes) noexcept {
    if (blockBytes_ == 0) blockBytes_ = bytes;
    if (bytes == blockBytes_ && kept_.size() < kKeptBlocks) {
      kept_.push_back(block);
      return;
    }
    ::operator delete(block);
  }

 private:
  // Enough for the objects a client keeps alive at once to come and go
  // without allocating; more would only hold memory.
  static constexpr std::size_t kKeptBlocks = 16;
  std::size_t blockBytes_ = 0;
  std::vector<void*> kept_;
};

// Allocates from a pool: the one block that holds a shared record.
template <class T>
struct PoolAllocator {
  using value_type = T;
  explicit PoolAllocator(BlockPool* pool) : pool(pool) {}
  template <class U>
  PoolAllocator(const PoolAllocator<U>& other) : pool(other.pool) {}

  T* allocate(std::size_t count) { return static_cast<T*>(pool->take(count * sizeof(T))); }
  void deallocate(T* block, std::size_t count) noexcept { pool->give(block, count * sizeof(T)); }
  template <class U>
  bool operator==(const PoolAllocator<U>& other) const { return pool == other.pool; }
  template <class U>
  bool operator!=(const PoolAllocator<U>& other) const { return pool != other.pool; }

  BlockPool* pool;
};

// A hash map whose erased nodes are kept for the next insertion, so that keys
// that come and go allocate nothing once warm.
template <class Key, class Value>
class NodeReusingMap {
 public:
  // The key must not be in the map yet.
  void insert(Key key, Value&& value) {
    if (spare_.empty()) {
      map_.emplace(key, std::move(value));
      return;
    }
    spare_.key() = key;
    spare_.mapped() = std::move(value);
    map_.insert(std::move(spare_));
  }

  Value* find(Key key) {
    const auto found = map_.find(key);
    return found == map_.end() ? nullptr : &found->second;
  }

  // Takes the key's value out of the map; empty when the key names none.
  std::optional<Value> remove(Key key) {
    auto node = map_.extract(key);
    if (node.empty()) return std::nullopt;
    std::optional<Value> value(std::move(node.mapped()));
    spare_ = std::move(node);
    return value;
  }
  // Drops the key's value, which stays in the spare node until it is reused;
  // false when the key names none.
  bool erase(Key key) {
    auto node = map_.extract(key);
    if (node.empty()) return false;
    spare_ = std::move(node);
    return true;
  }

 private:
  using Map = std::unordered_map<Key, Value>;
  Map map_;
  typename Map::node_type spare_;
};

// A record just registered, with its handle; none (0 and null) on failure.
template <class Record>
struct Registered {
  uint64_t handle = 0;
  std::shared_ptr<Record> record;
};

template <class Record>
class Registry {
 public:
  // Registers a new record. Throws std::bad_alloc.
  Registered<Record> add(std::string name) {
    auto record = std::allocate_shared<Record>(PoolAllocator<Record>(&pool_), std::move(name));
    const uint64_t handle = makeHandle(record.get());
    records_.insert(handle, std::shared_ptr<Record>(record));
    return {handle, std::move(record)};
  }

  std::shared_ptr<Record> find(uint64_t handle) {
    const std::shared_ptr<Record>* record = records_.find(handle);
    return record ? *record : nullptr;
  }

  // Takes the record out of the registry: its handle names nothing from now on.
  // Null when the handle names no record.
  std::shared_ptr<Record> remove(uint64_t handle) {
    std::optional<std::shared_ptr<Record>> record = records_.remove(handle);
    return record ? std::move(*record) : nullptr;
  }

 private:
  // Declared first: the records' memory goes back to it as they go.
  BlockPool pool_;
  NodeReusingMap<uint64_t, std::shared_ptr<Record>> records_;
};

}  // namespace zeb
