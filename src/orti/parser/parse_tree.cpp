// Freeing a parse tree. Every node is held by value or by unique_ptr inside vectors, so
// releasing them is a flat walk however long the lists are; the texts go block by block.
#include "orti/parser/parse_tree.h"

#include <memory>
#include <ostream>
#include <type_traits>
#include <utility>

std::ostream& operator<<(std::ostream& out, const KoilOptionalText& text) {
  return text.has_value() ? out << *text : out << "(absent)";
}

OrtiParseTree& OrtiParseTree::operator=(OrtiParseTree&& other) noexcept {
  if (this != &other) {
    orti_tree_clear(*this);
    store = std::move(other.store);
    file_name = std::move(other.file_name);
    koil_version = other.koil_version;
    orti_version = other.orti_version;
    implementation_name = std::move(other.implementation_name);
    declarations = std::move(other.declarations);
    definitions = std::move(other.definitions);
    dialect_lines = other.dialect_lines;
  }
  return *this;
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
      ObjectDefinition();
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

// Copied and dropped without running constructors or destructors of their own.
static_assert(std::is_trivially_copyable_v<AttributeDef>);
static_assert(std::is_trivially_destructible_v<AttributeDef>);

AttributeDefList::AttributeDefList(const AttributeDefList& other) {
  assign(other.begin(), other.end());
}

AttributeDefList::AttributeDefList(AttributeDefList&& other) noexcept
    : items_(other.items_), size_(other.size_), heap_capacity_(other.heap_capacity_) {
  other.items_ = nullptr;
  other.size_ = 0;
  other.heap_capacity_ = 0;
}

AttributeDefList& AttributeDefList::operator=(const AttributeDefList& other) {
  if (this != &other) {
    assign(other.begin(), other.end());
  }
  return *this;
}

AttributeDefList& AttributeDefList::operator=(AttributeDefList&& other) noexcept {
  if (this != &other) {
    release();
    items_ = std::exchange(other.items_, nullptr);
    size_ = std::exchange(other.size_, 0);
    heap_capacity_ = std::exchange(other.heap_capacity_, 0);
  }
  return *this;
}

AttributeDefList::~AttributeDefList() {
  release();
}

void AttributeDefList::release() {
  if (heap_capacity_ != 0) {
    ::operator delete(items_);
  }
  items_ = nullptr;
  size_ = 0;
  heap_capacity_ = 0;
}

void AttributeDefList::push_back(const AttributeDef& definition) {
  if (heap_capacity_ == 0 || size_ == heap_capacity_) {
    const uint32_t capacity = size_ < 4 ? 4 : 2 * size_;
    auto* items = static_cast<AttributeDef*>(::operator new(capacity * sizeof(AttributeDef)));
    std::uninitialized_copy(begin(), end(), items);
    const uint32_t size = size_;
    release();
    items_ = items;
    size_ = size;
    heap_capacity_ = capacity;
  }
  new (items_ + size_) AttributeDef(definition);
  ++size_;
}

void AttributeDefList::assign(const AttributeDef* first, const AttributeDef* last,
                              std::pmr::memory_resource* arrays) {
  const auto count = static_cast<uint32_t>(last - first);
  AttributeDef* items = nullptr;
  if (count != 0) {
    items = static_cast<AttributeDef*>(
        arrays != nullptr ? arrays->allocate(count * sizeof(AttributeDef), alignof(AttributeDef))
                          : ::operator new(count * sizeof(AttributeDef)));
    std::uninitialized_copy(first, last, items);
  }
  release();
  items_ = items;
  size_ = count;
  heap_capacity_ = arrays == nullptr ? count : 0;
}
