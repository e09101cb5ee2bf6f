// Freeing a parse tree. Every node is held by value or by unique_ptr inside vectors, so
// releasing them is a flat walk however long the lists are; the texts go block by block.
#include "orti/parser/parse_tree.h"

void orti_tree_clear(OrtiParseTree& tree) {
  tree.file_name.reset();
  tree.koil_version = OrtiVersion{};
  tree.orti_version = OrtiVersion{};
  tree.implementation_name.reset();
  tree.declarations.clear();
  tree.declarations.shrink_to_fit();
  tree.definitions.clear();
  tree.definitions.shrink_to_fit();
  tree.dialect_lines = {};
  tree.store.clear();
}
