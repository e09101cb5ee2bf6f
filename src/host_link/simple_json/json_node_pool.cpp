// Per-thread free lists of JSON nodes.
#include "host_link/simple_json/json_node_pool.h"

#include <new>

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

struct FreeNode {
  FreeNode* next;
};

struct FreeList {
  std::size_t size = 0; // the node size this list serves; 0 while unused
  FreeNode* head = nullptr;
  std::size_t count = 0;
};

// Plain data, so that reaching it costs no thread-local guard; the owner below frees the nodes
// when the thread ends.
struct ThreadNodes {
  FreeList lists[kSizes];
  bool owner_registered = false;
  bool ended = false; // the nodes were freed: what is given now goes to the heap
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
    thread_nodes.ended = true;
  }
};

void register_owner() {
  static thread_local ThreadNodesOwner owner;
  static_cast<void>(owner);
  thread_nodes.owner_registered = true;
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
  FreeList* list = thread_nodes.ended ? nullptr : list_for(size);
  if (list != nullptr && list->count < kMaxFreeNodes && size >= sizeof(FreeNode)) {
    if (!thread_nodes.owner_registered) {
      register_owner();
    }
    auto* free_node = static_cast<FreeNode*>(node);
    free_node->next = list->head;
    list->head = free_node;
    ++list->count;
    return;
  }
  ::operator delete(node);
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

} // namespace json_node_pool

#endif
