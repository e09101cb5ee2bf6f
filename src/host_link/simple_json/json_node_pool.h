// Reuse of the memory of freed JSON values and object members, and of their texts' buffers.
//
// Every message becomes a tree of small nodes that lives for one request and is then freed:
// thousands of them for an answer with a long array, and a heap buffer for every name and text
// too long to be kept inside its string. Taking the nodes and buffers of the last tree for the
// next one costs a fraction of a heap allocation each. Each thread keeps its own, a bounded
// amount (the largest message holds about 32,000 values), and gives them back to the heap when
// it ends. Under AddressSanitizer everything goes straight to the heap, so that a use after
// free of a JSON value or of its text is still reported.
#pragma once

#include <cstddef>
#include <string>

namespace json_node_pool {

// Memory for one node of the given size (the size of JsonValue or of JsonMember).
void* take(std::size_t size);
// Returns memory that take() gave for the same size.
void give(void* node, std::size_t size) noexcept;

// Texts shorter than this live inside their string and have no buffer to keep.
inline const std::size_t kMinKeptBuffer = std::string().capacity() + 1;

// Takes the heap buffer of a text that is being freed, leaving the text empty (a buffer too
// small or too large to be worth keeping stays with the text).
void keep_buffer(std::string& text) noexcept;
// Gives an empty text a kept buffer, if there is one, before a long text is stored in it.
void reuse_buffer(std::string& text) noexcept;

} // namespace json_node_pool
