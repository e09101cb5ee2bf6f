// Reuse of the memory of freed JSON values and object members.
//
// Every message becomes a tree of small nodes that lives for one request and is then freed:
// thousands of them for an answer with a long array. Taking the nodes of the last tree for the
// next one costs a fraction of a heap allocation each. Each thread keeps its own free nodes, a
// bounded number of them (the largest message holds about 32,000 values), and gives them back
// to the heap when it ends. Under AddressSanitizer nodes go straight to the heap, so that a
// use after free of a JSON value is still reported.
#pragma once

#include <cstddef>

namespace json_node_pool {

// Memory for one node of the given size (the size of JsonValue or of JsonMember).
void* take(std::size_t size);
// Returns memory that take() gave for the same size.
void give(void* node, std::size_t size) noexcept;

} // namespace json_node_pool
