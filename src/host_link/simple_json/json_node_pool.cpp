// Per-thread rings of free JSON nodes and of the heap buffers of their texts.
//
// The rings keep pointers (and strings) apart from the memory they stand for: a poisoned node
// is not read by the leak checker, so a chain through the nodes themselves would look like a
// leak of all but the first. Their sizes are powers of two; the fast paths test one count.
#include "host_link/simple_json/json_node_pool.h"

#include <bit>
#include <new>
#include <utility>

#if defined(__SANITIZE_ADDRESS__)
#define OSA_JSON_POOL_POISONS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define OSA_JSON_POOL_POISONS 1
#endif
#endif

#if defined(OSA_JSON_POOL_POISONS)
#include <sanitizer/asan_interface.h>
#else
#define ASAN_POISON_MEMORY_REGION(address, size)                                                   \
  (static_cast<void>(address), static_cast<void>(size))
#define ASAN_UNPOISON_MEMORY_REGION(address, size)                                                 \
  (static_cast<void>(address), static_cast<void>(size))
#endif

namespace {

// A 64 KiB message holds at most about 32,000 values ("[0,0,...]"); keeping more free nodes
// than one such message needs would only hold memory.
constexpr std::size_t kMaxFreeNodes = 32768;
// Text buffers kept: the small ones that names and values of messages need, as many as the
// largest message frees (a 64 KiB message holds a few thousand texts of 16 bytes or more), so
// that the limits are almost never reached: a buffer refused while another one was taken
// would count, to a fuzzer, as an allocation that was never freed.
constexpr std::size_t kMaxKeptBuffer = 4096;
constexpr std::size_t kMaxKeptBytes = 1024 * 1024;
constexpr std::size_t kMaxKeptTexts = 8192;
constexpr std::size_t kFirstRing = 64;

struct NodeRing {
  std::size_t node_size = 0;
  void** slots = nullptr;
  std::size_t capacity = 0; // a power of two, or 0 until the first node is kept
  std::size_t first = 0;    // the node freed longest ago
  std::size_t count = 0;
};

struct TextRing {
  std::string* texts = nullptr;
  std::size_t capacity = 0;
  std::size_t first = 0;
  std::size_t count = 0;
  std::size_t bytes = 0;
};

// Plain data, so that reaching it costs no thread-local guard; the owner below frees
// everything when the thread ends, and the rings then stay without room.
// The rings of nodes by json_node_pool::Node, then those of tables by size, smallest first.
constexpr std::size_t kNodeKinds = 2;
constexpr std::size_t kTableKinds = 4; // 32, 64, 128 and 256 bytes
static_assert(json_node_pool::kLargestKeptTable == json_node_pool::kSmallestKeptTable
                                                       << (kTableKinds - 1));

struct ThreadPool {
  NodeRing nodes[kNodeKinds + kTableKinds];
  TextRing texts;
  bool owner_registered = false;
  bool ended = false;
};

thread_local constinit ThreadPool thread_pool{};

void poison_buffer(std::string& text) {
  ASAN_POISON_MEMORY_REGION(text.data(), text.capacity() + 1);
}

void unpoison_buffer(std::string& text) {
  ASAN_UNPOISON_MEMORY_REGION(text.data(), text.capacity() + 1);
}

struct ThreadPoolOwner {
  ThreadPoolOwner() = default;
  ThreadPoolOwner(const ThreadPoolOwner&) = delete;
  ThreadPoolOwner& operator=(const ThreadPoolOwner&) = delete;
  ~ThreadPoolOwner() {
    for (NodeRing& ring : thread_pool.nodes) {
      for (std::size_t i = 0; i < ring.count; ++i) {
        void* node = ring.slots[(ring.first + i) & (ring.capacity - 1)];
        ASAN_UNPOISON_MEMORY_REGION(node, ring.node_size);
        ::operator delete(node);
      }
      delete[] ring.slots;
      ring = NodeRing{};
    }
    TextRing& texts = thread_pool.texts;
    for (std::size_t i = 0; i < texts.count; ++i) {
      unpoison_buffer(texts.texts[(texts.first + i) & (texts.capacity - 1)]);
    }
    delete[] texts.texts;
    texts = TextRing{};
    thread_pool.ended = true;
  }
};

// False once the thread's pool has been freed.
bool pool_open() {
  if (thread_pool.ended) {
    return false;
  }
  if (!thread_pool.owner_registered) {
    static thread_local ThreadPoolOwner owner;
    static_cast<void>(owner);
    thread_pool.owner_registered = true;
  }
  return true;
}

// Doubles a ring whose items sit from first on, moving them to the front; false when the
// ring may not grow or memory runs out.
template <typename Item>
bool grow(Item*& items, std::size_t& capacity, std::size_t& first, std::size_t count,
          std::size_t limit) {
  const std::size_t larger = capacity == 0 ? kFirstRing : 2 * capacity;
  if (larger > limit || !pool_open()) {
    return false;
  }
  auto* moved = new (std::nothrow) Item[larger];
  if (moved == nullptr) {
    return false;
  }
  // Moving a string moves only its pointer: a poisoned buffer stays untouched.
  for (std::size_t i = 0; i < count; ++i) {
    moved[i] = std::move(items[(first + i) & (capacity - 1)]);
  }
  delete[] items;
  items = moved;
  capacity = larger;
  first = 0;
  return true;
}

bool is_poisoned([[maybe_unused]] const void* node) {
#if defined(OSA_JSON_POOL_POISONS)
  return __asan_address_is_poisoned(node) != 0;
#else
  return false;
#endif
}

void* take_from(NodeRing& ring, std::size_t size) {
  if (ring.count == 0) {
    return ::operator new(size);
  }
#if defined(OSA_JSON_POOL_POISONS)
  void* node = ring.slots[ring.first];
  ring.first = (ring.first + 1) & (ring.capacity - 1);
  --ring.count;
#else
  --ring.count;
  void* node = ring.slots[(ring.first + ring.count) & (ring.capacity - 1)];
#endif
  ASAN_UNPOISON_MEMORY_REGION(node, size);
  return node;
}

void give_to(NodeRing& ring, void* node, std::size_t size) noexcept {
  if (is_poisoned(node)) {
    // Freed twice: this write into the poisoned node makes the sanitizer stop the process
    // with the stacks of both frees' call sites.
    static_cast<volatile unsigned char*>(node)[0] = 0;
  }
  if (ring.count == ring.capacity &&
      !grow(ring.slots, ring.capacity, ring.first, ring.count, kMaxFreeNodes)) {
    ::operator delete(node);
    return;
  }
  ring.node_size = size;
  ring.slots[(ring.first + ring.count) & (ring.capacity - 1)] = node;
  ++ring.count;
  ASAN_POISON_MEMORY_REGION(node, size);
}

// The ring of tables of size bytes, or null for a size that is not kept.
NodeRing* table_ring(std::size_t size) {
  if (size < json_node_pool::kSmallestKeptTable || size > json_node_pool::kLargestKeptTable ||
      (size & (size - 1)) != 0) {
    return nullptr;
  }
  const auto index = static_cast<std::size_t>(std::countr_zero(size) -
                                              std::countr_zero(json_node_pool::kSmallestKeptTable));
  return &thread_pool.nodes[kNodeKinds + index];
}

} // namespace

namespace json_node_pool {

void* take(Node kind, std::size_t size) {
  return take_from(thread_pool.nodes[static_cast<int>(kind)], size);
}

void give(Node kind, void* node, std::size_t size) noexcept {
  if (node != nullptr) {
    give_to(thread_pool.nodes[static_cast<int>(kind)], node, size);
  }
}

void* take_table(std::size_t size) {
  NodeRing* ring = table_ring(size);
  return ring != nullptr ? take_from(*ring, size) : ::operator new(size);
}

void give_table(void* table, std::size_t size) noexcept {
  if (table == nullptr) {
    return;
  }
  if (NodeRing* ring = table_ring(size)) {
    give_to(*ring, table, size);
  } else {
    ::operator delete(table);
  }
}

void keep_buffer(std::string& text) noexcept {
  TextRing& ring = thread_pool.texts;
  const std::size_t capacity = text.capacity();
  if (capacity > kMaxKeptBuffer || ring.bytes + capacity > kMaxKeptBytes) {
    return;
  }
  if (ring.count == ring.capacity &&
      !grow(ring.texts, ring.capacity, ring.first, ring.count, kMaxKeptTexts)) {
    return;
  }
  std::string& kept = ring.texts[(ring.first + ring.count) & (ring.capacity - 1)];
  kept = std::move(text);
  poison_buffer(kept);
  ++ring.count;
  ring.bytes += capacity;
}

void reuse_buffer(std::string& text) noexcept {
  TextRing& ring = thread_pool.texts;
  if (ring.count == 0 || text.capacity() >= kMinKeptBuffer) {
    return;
  }
#if defined(OSA_JSON_POOL_POISONS)
  std::string& kept = ring.texts[ring.first];
  ring.first = (ring.first + 1) & (ring.capacity - 1);
  --ring.count;
#else
  --ring.count;
  std::string& kept = ring.texts[(ring.first + ring.count) & (ring.capacity - 1)];
#endif
  ring.bytes -= kept.capacity();
  unpoison_buffer(kept);
  // What the text holds so far fits in any kept buffer; the buffer's old bytes are overwritten.
  kept.assign(text);
  text = std::move(kept);
}

} // namespace json_node_pool
