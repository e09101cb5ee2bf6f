// Per-thread free lists of JSON nodes and of the heap buffers of their texts.
#include "host_link/simple_json/json_node_pool.h"

#include <new>
#include <utility>

#if defined(__SANITIZE_ADDRESS__)
#define OSA_JSON_NODES_POOLED 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define OSA_JSON_NODES_POOLED 0
#endif
#endif
#ifndef OSA_JSON_NODES_POOLED
#define OSA_JSON_NODES_POOLED 1
#endif

#if OSA_JSON_NODES_POOLED
namespace {

// A 64 KiB message holds at most about 32,000 values ("[0,0,...]"); keeping more free nodes
// than one such message needs would only hold memory.
constexpr std::size_t kMaxFreeNodes = 32768;
// Two node sizes use the pool: values and object members.
constexpr int kSizes = 2;
// Text buffers kept: the small ones that names and values of messages need, up to a total
// that no single message exceeds.
constexpr std::size_t kMaxKeptBuffer = 4096;
constexpr std::size_t kMaxKeptBytes = 256 * 1024;

struct FreeNode {
  FreeNode* next;
};

struct FreeList {
  std::size_t size = 0; // the node size this list serves; 0 while unused
  FreeNode* head = nullptr;
  std::size_t count = 0;
};

// Kept buffers stay inside strings of their own, in one array allocated when the first buffer
// is kept.
constexpr std::size_t kMaxKeptTexts = 2048;

// Plain data, so that reaching it costs no thread-local guard; the owner below frees the nodes
// and buffers when the thread ends.
struct ThreadNodes {
  FreeList lists[kSizes];
  std::string* texts = nullptr; // kMaxKeptTexts strings, the first kept_texts holding buffers
  std::size_t kept_texts = 0;
  std::size_t kept_bytes = 0;
  bool owner_registered = false;
  bool ended = false; // everything was freed: what is given now goes to the heap
};

thread_local constinit ThreadNodes thread_nodes{};

struct ThreadNodesOwner {
  ThreadNodesOwner() = default;
  ThreadNodesOwner(const ThreadNodesOwner&) = delete;
  ThreadNodesOwner& operator=(const ThreadNodesOwner&) = delete;
  ~ThreadNodesOwner() {
    for (FreeList& list : thread_nodes.lists) {
      while (list.head != nullptr) {
        FreeNode* node = list.head;
        list.head = node->next;
        ::operator delete(node);
      }
      list.count = 0;
    }
    delete[] thread_nodes.texts;
    thread_nodes.texts = nullptr;
    thread_nodes.kept_texts = 0;
    thread_nodes.kept_bytes = 0;
    thread_nodes.ended = true;
  }
};

// False once the thread's pool has been freed.
bool pool_open() {
  if (thread_nodes.ended) {
    return false;
  }
  if (!thread_nodes.owner_registered) {
    static thread_local ThreadNodesOwner owner;
    static_cast<void>(owner);
    thread_nodes.owner_registered = true;
  }
  return true;
}

FreeList* list_for(std::size_t size) {
  for (FreeList& list : thread_nodes.lists) {
    if (list.size == size) {
      return &list;
    }
    if (list.size == 0) {
      list.size = size;
      return &list;
    }
  }
  return nullptr;
}

} // namespace

namespace json_node_pool {

void* take(std::size_t size) {
  FreeList* list = list_for(size);
  if (list != nullptr && list->head != nullptr) {
    FreeNode* node = list->head;
    list->head = node->next;
    --list->count;
    return node;
  }
  return ::operator new(size);
}

void give(void* node, std::size_t size) noexcept {
  if (node == nullptr) {
    return;
  }
  FreeList* list = list_for(size);
  if (list != nullptr && list->count < kMaxFreeNodes && size >= sizeof(FreeNode) && pool_open()) {
    auto* free_node = static_cast<FreeNode*>(node);
    free_node->next = list->head;
    list->head = free_node;
    ++list->count;
    return;
  }
  ::operator delete(node);
}

void keep_buffer(std::string& text) noexcept {
  const std::size_t capacity = text.capacity();
  if (capacity < kMinKeptBuffer || capacity > kMaxKeptBuffer ||
      thread_nodes.kept_texts == kMaxKeptTexts ||
      thread_nodes.kept_bytes + capacity > kMaxKeptBytes || !pool_open()) {
    return;
  }
  if (thread_nodes.texts == nullptr) {
    thread_nodes.texts = new (std::nothrow) std::string[kMaxKeptTexts];
    if (thread_nodes.texts == nullptr) {
      return;
    }
  }
  thread_nodes.texts[thread_nodes.kept_texts++] = std::move(text);
  thread_nodes.kept_bytes += capacity;
}

void reuse_buffer(std::string& text) noexcept {
  if (thread_nodes.kept_texts == 0 || !text.empty()) {
    return;
  }
  std::string& kept = thread_nodes.texts[--thread_nodes.kept_texts];
  thread_nodes.kept_bytes -= kept.capacity();
  text = std::move(kept);
  text.clear(); // the buffer still holds the text it was kept from
}

} // namespace json_node_pool

#else

namespace json_node_pool {

void* take(std::size_t size) {
  return ::operator new(size);
}

void give(void* node, std::size_t) noexcept {
  ::operator delete(node);
}

void keep_buffer(std::string&) noexcept {}

void reuse_buffer(std::string&) noexcept {}

} // namespace json_node_pool

#endif
