// Lookups in the parse tree (definitions of an object kind, its declaration, one attribute of
// a declaration), the typing of one attribute of one object into an AttributeDecl, and the
// linking of ENUM elements to the model objects they name.
//
// The lookups behave as walks over the tree's lists, newest definition first, with the
// duplicate checks such a walk makes, but they are answered from indexes built once per tree
// so that loading a file grows linearly with its size.
#pragma once

#include "orti/model/orti_model.h"
#include "orti/parser/parse_tree.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// ASCII-only case-insensitive equality of two views.
bool orti_name_view_equal(std::string_view a, std::string_view b);
// A hash under which names equal without regard to ASCII letter case hash equally.
uint32_t orti_name_hash(std::string_view name);

// A small map from names (letter case aside) to values, for the lookups that run once per
// attribute of every object: open addressing over a power-of-two array, so that a lookup is a
// hash of the name and a probe or two, with no copy of the name (the keys are views of the
// tree's texts) and no division.
template <class Value> class OrtiNameMap {
public:
  Value* find(std::string_view name) {
    Slot* slot = slot_of(name, orti_name_hash(name));
    return slot != nullptr && slot->used ? &slot->value : nullptr;
  }
  const Value* find(std::string_view name) const {
    return const_cast<OrtiNameMap*>(this)->find(name);
  }
  // The value of the name, which is made from `value` when the name is new. The pointer holds
  // until the next insertion.
  Value& emplace(std::string_view name, Value value) {
    if (2 * (count_ + 1) > slots_.size()) {
      grow();
    }
    const uint32_t hash = orti_name_hash(name);
    Slot* slot = slot_of(name, hash);
    if (!slot->used) {
      *slot = Slot{name, hash, true, std::move(value)};
      ++count_;
    }
    return slot->value;
  }

private:
  struct Slot {
    std::string_view name;
    uint32_t hash = 0;
    bool used = false;
    Value value{};
  };
  // The slot of the name, or the free slot where it belongs; null while the map is empty.
  Slot* slot_of(std::string_view name, uint32_t hash) {
    if (slots_.empty()) {
      return nullptr;
    }
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
      Slot& slot = slots_[i];
      if (!slot.used || (slot.hash == hash && orti_name_view_equal(slot.name, name))) {
        return &slot;
      }
    }
  }
  void grow() {
    std::vector<Slot> old = std::move(slots_);
    slots_ = std::vector<Slot>(old.empty() ? 16 : 2 * old.size());
    for (Slot& entry : old) {
      if (entry.used) {
        *slot_of(entry.name, entry.hash) = std::move(entry);
      }
    }
  }

  std::vector<Slot> slots_;
  std::size_t count_ = 0;
};

// A parse tree with the indexes its lookups use and the extended-syntax setting of its parse.
// Build it after the parse has finished; the tree must not change while it exists. The keys
// of its maps are views of the tree's texts, so a lookup copies no name.
struct OrtiLookup {
  explicit OrtiLookup(OrtiParseTree& tree, int extended_syntax = 0);
  OrtiLookup(const OrtiLookup&) = delete; // its answers point into its own maps
  OrtiLookup& operator=(const OrtiLookup&) = delete;

  OrtiParseTree& tree;
  int extended_syntax = 0;
  // Where make_type makes its records: the model's record memory while a model is built, the
  // heap when null.
  std::pmr::memory_resource* record_memory = nullptr;

  // While a model is built (record_memory set), the room of the tree's definition `room` for
  // the one record that make_type makes next from `read`, the copy of it that the builder
  // reads from then on; a record in record memory otherwise. True when offered: the definition
  // is then the record's room and must not be read again. The offer ends with the next one.
  bool offer_record_room(const AttributeDef& read, AttributeDef& room);
  // The offered room when it is for a record made from `definition`; each offer is taken once.
  void* take_record_room(const AttributeDef* definition) const;
  // Ends an offer that no record took.
  void withdraw_record_room() const;

  // Definitions: each type name (letter case aside) gets a number; per type number, the
  // positions of its definitions in file order, ascending.
  OrtiNameMap<uint32_t> type_numbers;
  std::vector<std::vector<uint32_t>> definitions_of_type;
  // Per definition: its type number, its position among the definitions of that type, and the
  // newest older definition of the same type and object name, or -1 (the one a newest-first
  // walk meets next when it looks for that name).
  std::vector<uint32_t> type_of_definition;
  std::vector<uint32_t> rank_in_type;
  std::vector<int32_t> older_same_name;
  // (type number, exact object name) -> the newest definition with both, as an open-addressing
  // table of definition positions + 1 (0: free), each with the hash of its key: one probe of
  // a compact array per lookup, which matters once a file has more objects than a cache holds.
  struct NameSlot {
    uint32_t definition_plus_one = 0;
    uint32_t hash = 0;
  };
  std::vector<NameSlot> newest_by_type_and_name;
  // Declarations: positions in file order, by type name.
  OrtiNameMap<std::vector<uint32_t>> declarations_by_type;
  // Per declaration: attribute name -> the first two positions in file order.
  struct AttributeHits {
    int32_t first = -1;
    int32_t second = -1;
  };
  using AttributeIndex = OrtiNameMap<AttributeHits>;
  std::unordered_map<const ObjectDeclaration*, AttributeIndex> attributes_by_declaration;
  // Declarations with at least one array attribute: only their objects need each definition
  // checked against the shape of its declaration.
  std::unordered_set<const ObjectDeclaration*> declarations_with_arrays;
  // ENUM element lists already linked, each with the elements whose linking wrote a message;
  // only those need linking again when another attribute shares the list and no trace is read.
  std::unordered_map<const std::vector<EnumElement>*, std::vector<uint32_t>> linked_lists;

  const char* file_name() const { return tree.file_name ? tree.file_name->c_str() : nullptr; }
  // The number of a type name, or -1 when no definition has that type.
  int64_t type_number(const char* type_name) const;
  // The newest definition of the type and exact object name, or -1.
  int64_t newest_definition(uint32_t type, std::string_view object_name) const;
  // Fetches what a later newest_definition() of the same key reads first.
  void prefetch_definition(uint32_t type, std::string_view object_name) const;
  // The newest definition of the type older than the definition at position `before` (the
  // number of definitions: the newest of all), or -1.
  int64_t newest_of_type_before(uint32_t type, std::size_t before) const;
  // The attribute index of a declaration, or null for one from outside the tree.
  const AttributeIndex* attributes_of(const ObjectDeclaration* declaration) const;
  // The facts that the records made from one key share, in record_memory: the key is the
  // AttributeSpec of a declared attribute or the text of a list attribute's name, from which
  // alone the facts follow. *made tells that they are new, for the caller to fill. Null when
  // there is no record memory: records on the heap keep facts of their own.
  AttributeFacts* shared_facts(const void* key, bool* made) const;

private:
  uint32_t name_hash(uint32_t type, std::string_view object_name) const;
  // The attributes_of answer for the declaration asked about last: a kind's objects ask about
  // the same declaration for every attribute.
  mutable const ObjectDeclaration* last_declaration_ = nullptr;
  mutable const AttributeIndex* last_attributes_ = nullptr;
  // shared_facts: open addressing by key over a power-of-two array (or none).
  struct FactsSlot {
    const void* key = nullptr;
    AttributeFacts* facts = nullptr;
  };
  mutable std::vector<FactsSlot> facts_slots_;
  mutable std::size_t facts_count_ = 0;
  mutable const AttributeDef* room_for_ = nullptr;
  mutable void* room_ = nullptr;
};

// A message function of the runtime's message output (error_message or warning_message).
using MessageReport = void (*)(const char* format, ...);

// ASCII-only case-insensitive equality; an absent text equals only another absent text.
bool orti_name_equal(const char* a, const char* b);

// The definition of the type (and object name, when given) that a newest-first walk meets
// first, starting after start or at the newest definition. A second definition of the same
// type and object name reports the duplicate and gives none.
ObjectDefinition* find_definition(const char* type_name, const char* object_name,
                                  OrtiLookup& lookup, const ObjectDefinition* start);
// Steps of a walk over all definitions of the type; a duplicate ends the count early.
int32_t count_definitions(const char* type_name, OrtiLookup& lookup);
const ObjectDeclaration* find_declaration(const char* type_name, OrtiLookup& lookup);
bool find_definition_and_declaration(const char* type_name, const char* object_name,
                                     OrtiLookup& lookup, ObjectDefinition** definition,
                                     const ObjectDeclaration** declaration);
// The same, telling which half was found: the outputs are each written when found, and the
// result is true only when both were.
bool find_definition_and_declaration_parts(const char* type_name, const char* object_name,
                                           OrtiLookup& lookup, ObjectDefinition** definition,
                                           const ObjectDeclaration** declaration);
const AttributeSpec* find_attribute(const OrtiLookup& lookup, const ObjectDeclaration* declaration,
                                    const char* attribute_name);

// The attribute of the declaration when it is declared exactly once, else none; without the
// trace and the messages of find_attribute, for a look at its shape ahead of the typing.
const AttributeSpec* find_attribute_quiet(const OrtiLookup& lookup,
                                          const ObjectDeclaration* declaration,
                                          const char* attribute_name);

// The attribute definition typed against the declaration and the allowed kinds; none (with a
// message) when it is undeclared, of a kind outside allowed_mask, or of an unknown kind.
std::unique_ptr<AttributeDecl> make_type(const OrtiLookup& lookup,
                                         const ObjectDeclaration* declaration,
                                         const AttributeDef* definition, int32_t allowed_mask,
                                         const OrtiObject* owner, const char* file_name,
                                         MessageReport report);

// True when the definition is the expected standard attribute and could be typed; the record
// then replaces whatever the slot held.
bool match_standard_attribute(const OrtiLookup& lookup, const char* expected_name,
                              const ObjectDeclaration* declaration, const AttributeDef& definition,
                              int32_t allowed_mask, const OrtiObject* owner,
                              std::unique_ptr<AttributeDecl>& slot);

// The first element labelled exactly label, or none.
const EnumElement* find_enum_element(const AttributeDecl& attribute, const char* label);

// Points every element with a link name at the model object of that name whose type is the
// attribute's name. Nothing here fails a load.
void link_enum_elements(OrtiLookup& lookup, OrtiModel& model, AttributeDecl& attribute);

// A CTYPE record "_CPU_<register>" of C type "unsigned long" for a register location formula.
std::unique_ptr<AttributeDecl> make_cpu_attribute(const char* register_name, const char* formula);

// "CTYPE", "ENUM", "STRING" or "_UNRECOGNIZED_TYPE_".
const char* attribute_kind_name(int32_t kind);
