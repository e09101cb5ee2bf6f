// Reuse of the memory of freed JSON values and object members, and of their texts' buffers.
//
// Every message becomes a tree of small nodes that lives for one request and is then freed:
// thousands of them for an answer with a long array, and a heap buffer for every name and text
// too long to be kept inside its string. Taking the nodes and buffers of the last trees for the
// next one costs a fraction of a heap allocation each. Each thread keeps its own, a bounded
// amount (about what the largest message frees), and gives them back to the heap when it ends.
//
// What was freed last is handed out first: it is still in the cache, whereas the oldest of
// the thousands of nodes a large answer left would be far from it. Under AddressSanitizer the
// order is the other way round, so that what is freed stays unused as long as possible, and
// what is kept is poisoned until it is handed out again, so that a use after free of a JSON
// value or of its text is still reported (as a use after poison), and a value freed twice
// stops the process.
#pragma once

#include <cstddef>
#include <string>

namespace json_node_pool {

enum class Node { Value, Member };

// Memory for one node of the kind (size is the size of its type).
void* take(Node kind, std::size_t size);
// Returns memory that take() gave for the same kind.
void give(Node kind, void* node, std::size_t size) noexcept;

// The element and member tables of containers: most messages hold only containers of a few
// entries, whose tables would otherwise cost a heap allocation and a free each. Tables whose
// size is a power of two from kSmallestKeptTable to kLargestKeptTable bytes are kept like
// nodes; other sizes come from the heap.
inline constexpr std::size_t kSmallestKeptTable = 32;
inline constexpr std::size_t kLargestKeptTable = 256;
// Memory for a table of size bytes.
void* take_table(std::size_t size);
// Returns memory that take_table() gave for the same size.
void give_table(void* table, std::size_t size) noexcept;

// The allocator of the tables, for the standard containers.
template <typename T> struct TableAllocator {
  using value_type = T;
  TableAllocator() = default;
  template <typename U> TableAllocator(const TableAllocator<U>&) noexcept {}
  T* allocate(std::size_t n) { return static_cast<T*>(take_table(n * sizeof(T))); }
  void deallocate(T* table, std::size_t n) noexcept { give_table(table, n * sizeof(T)); }
  template <typename U> bool operator==(const TableAllocator<U>&) const noexcept { return true; }
};

// Texts shorter than this live inside their string and have no buffer to keep.
inline const std::size_t kMinKeptBuffer = std::string().capacity() + 1;

// Takes the heap buffer of a text that is being freed, leaving the text empty (a buffer too
// small or too large to be worth keeping stays with the text).
void keep_buffer(std::string& text) noexcept;
// Gives a text that still lives inside its string a kept buffer, if there is one, before it
// grows out of it; what the text holds is kept.
void reuse_buffer(std::string& text) noexcept;

} // namespace json_node_pool
