// Freeing a parse tree. Every node is held by value or by unique_ptr inside vectors, so
// releasing them is a flat walk however long the lists are; the texts go block by block.
#include "orti/parser/parse_tree.h"

#include <ostream>

std::ostream& operator<<(std::ostream& out, const KoilOptionalText& text) {
  return text.has_value() ? out << *text : out << "(absent)";
}

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

std::unique_ptr<ObjectDefinition> ObjectDefinition::make_in(KoilTreeStore& store) {
  std::pmr::memory_resource* arrays = store.arrays();
  auto* definition = new (arrays->allocate(sizeof(ObjectDefinition), alignof(ObjectDefinition)))
      ObjectDefinition(arrays);
  definition->in_store_.set = true;
  return std::unique_ptr<ObjectDefinition>(definition);
}

void* ObjectDefinition::operator new(std::size_t size) {
  return ::operator new(size);
}

void* ObjectDefinition::operator new(std::size_t, void* place) {
  return place;
}

void ObjectDefinition::operator delete(ObjectDefinition* definition, std::destroying_delete_t) {
  const bool in_store = definition->in_store_.set;
  definition->~ObjectDefinition();
  if (!in_store) {
    ::operator delete(definition);
  }
}
