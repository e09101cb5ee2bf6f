// Lookups, attribute typing and ENUM linking of the object model.
//
// A load runs these lookups for every object and every attribute, so each is answered from
// an index rather than by walking the tree; the messages are those the newest-first walks
// would write, in the same order and with the same lines.
#include "orti/model/declarations.h"

#include "orti/model/load_trace.h"
#include "runtime/message_output.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <type_traits>

namespace {

char ascii_lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// A text the way the lookups key it: an absent one as "".
std::string_view key_of(const char* text) {
  return text != nullptr ? std::string_view(text) : std::string_view();
}

// The newest position below limit in an ascending list, or -1.
int64_t newest_below(const std::vector<uint32_t>* positions, std::size_t limit) {
  if (positions == nullptr) {
    return -1;
  }
  auto it = std::lower_bound(positions->begin(), positions->end(), limit);
  if (it == positions->begin()) {
    return -1;
  }
  return static_cast<int64_t>(*(it - 1));
}

} // namespace

bool orti_name_view_equal(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && ascii_lower(a[i]) != ascii_lower(b[i])) {
      return false;
    }
  }
  return true;
}

uint32_t orti_name_hash(std::string_view name) {
  // Eight bytes at a time with bit 0x20 set in each: that makes the two cases of a letter
  // alike, and whatever else it merges only shares a hash.
  constexpr uint64_t kCase = 0x2020202020202020ull;
  uint64_t hash = name.size() * 0x9E3779B97F4A7C15ull;
  std::size_t i = 0;
  for (; i + 8 <= name.size(); i += 8) {
    uint64_t word;
    std::memcpy(&word, name.data() + i, 8);
    hash = (hash ^ (word | kCase)) * 0xC2B2AE3D27D4EB4Full;
  }
  if (i < name.size()) {
    uint64_t word = 0;
    std::memcpy(&word, name.data() + i, name.size() - i);
    hash = (hash ^ (word | kCase)) * 0xC2B2AE3D27D4EB4Full;
  }
  return static_cast<uint32_t>(hash ^ (hash >> 29) ^ (hash >> 47));
}

OrtiLookup::OrtiLookup(OrtiParseTree& parse_tree, int extended) : tree(parse_tree) {
  extended_syntax = extended;
  const std::size_t count = tree.definitions.size();
  type_of_definition.assign(count, 0);
  rank_in_type.assign(count, 0);
  older_same_name.assign(count, -1);
  // At most half full, so that a probe mostly ends at its first slot.
  std::size_t slots = 16;
  while (slots < 2 * count) {
    slots *= 2;
  }
  newest_by_type_and_name.assign(slots, NameSlot{});
  const std::size_t mask = slots - 1;
  // First the types and hashes, in file order; then the table, whose slots are met in no
  // order at all, so each is fetched a few definitions ahead of its use.
  std::vector<uint32_t> hashes(count);
  const char* last_type_text = nullptr; // the same text: a kind's definitions share their name
  uint32_t type = 0;
  for (std::size_t i = 0; i < count; ++i) {
    ObjectDefinition& def = *tree.definitions[i];
    // The parser numbers its definitions; a tree built by other means may not, and every
    // newest-first walk starts from this position.
    def.file_index = i;
    if (def.type_name.c_str() != last_type_text) {
      last_type_text = def.type_name.c_str();
      type = type_numbers.emplace(std::string_view(def.type_name),
                                  static_cast<uint32_t>(definitions_of_type.size()));
      if (type == definitions_of_type.size()) {
        definitions_of_type.emplace_back();
      }
    }
    type_of_definition[i] = type;
    rank_in_type[i] = static_cast<uint32_t>(definitions_of_type[type].size());
    definitions_of_type[type].push_back(static_cast<uint32_t>(i));
    hashes[i] = name_hash(type, std::string_view(def.object_name));
  }
  constexpr std::size_t kAhead = 16;
  for (std::size_t i = 0; i < count; ++i) {
    if (i + kAhead < count) {
      __builtin_prefetch(&newest_by_type_and_name[hashes[i + kAhead] & mask]);
    }
    const uint32_t hash = hashes[i];
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
      NameSlot& entry = newest_by_type_and_name[slot];
      if (entry.definition_plus_one == 0) {
        entry = NameSlot{static_cast<uint32_t>(i + 1), hash};
        break;
      }
      const uint32_t other = entry.definition_plus_one - 1;
      if (entry.hash == hash && type_of_definition[other] == type_of_definition[i] &&
          std::string_view(tree.definitions[other]->object_name) ==
              std::string_view(tree.definitions[i]->object_name)) {
        older_same_name[i] = static_cast<int32_t>(other);
        entry.definition_plus_one = static_cast<uint32_t>(i + 1);
        break;
      }
    }
  }
  for (std::size_t i = 0; i < tree.declarations.size(); ++i) {
    const ObjectDeclaration& decl = *tree.declarations[i];
    declarations_by_type.emplace(key_of(decl.type_name.c_str()), {})
        .push_back(static_cast<uint32_t>(i));
    AttributeIndex& attrs = attributes_by_declaration[&decl];
    for (std::size_t a = 0; a < decl.attributes.size(); ++a) {
      if (decl.attributes[a].is_array) {
        declarations_with_arrays.insert(&decl);
      }
      AttributeHits& hits = attrs.emplace(key_of(decl.attributes[a].name.c_str()), {});
      if (hits.first < 0) {
        hits.first = static_cast<int32_t>(a);
      } else if (hits.second < 0) {
        hits.second = static_cast<int32_t>(a);
      }
    }
  }
}

uint32_t OrtiLookup::name_hash(uint32_t type, std::string_view object_name) const {
  const uint64_t hash = std::hash<std::string_view>{}(object_name) ^ (type * 0x9E3779B97F4A7C15ull);
  return static_cast<uint32_t>(hash ^ (hash >> 32));
}

int64_t OrtiLookup::type_number(const char* type_name) const {
  const uint32_t* number = type_numbers.find(key_of(type_name));
  return number != nullptr ? static_cast<int64_t>(*number) : -1;
}

int64_t OrtiLookup::newest_of_type_before(uint32_t type, std::size_t before) const {
  const std::vector<uint32_t>& positions = definitions_of_type[type];
  // A walk over one type asks for the definition before the one it met last, which its rank
  // gives at once.
  if (before < type_of_definition.size() && type_of_definition[before] == type) {
    const uint32_t rank = rank_in_type[before];
    return rank > 0 ? static_cast<int64_t>(positions[rank - 1]) : -1;
  }
  return newest_below(&positions, before);
}

void OrtiLookup::prefetch_definition(uint32_t type, std::string_view object_name) const {
  const std::size_t mask = newest_by_type_and_name.size() - 1;
  __builtin_prefetch(&newest_by_type_and_name[name_hash(type, object_name) & mask]);
}

int64_t OrtiLookup::newest_definition(uint32_t type, std::string_view object_name) const {
  const std::size_t mask = newest_by_type_and_name.size() - 1;
  const uint32_t hash = name_hash(type, object_name);
  for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
    const NameSlot& entry = newest_by_type_and_name[slot];
    if (entry.definition_plus_one == 0) {
      return -1;
    }
    const uint32_t candidate = entry.definition_plus_one - 1;
    if (entry.hash == hash && type_of_definition[candidate] == type &&
        std::string_view(tree.definitions[candidate]->object_name) == object_name) {
      return candidate;
    }
  }
}

const OrtiLookup::AttributeIndex*
OrtiLookup::attributes_of(const ObjectDeclaration* declaration) const {
  if (declaration != last_declaration_) {
    const auto it = attributes_by_declaration.find(declaration);
    last_declaration_ = declaration;
    last_attributes_ = it != attributes_by_declaration.end() ? &it->second : nullptr;
  }
  return last_attributes_;
}

bool orti_name_equal(const char* a, const char* b) {
  if (a == nullptr || b == nullptr) {
    return a == b;
  }
  for (; *a != '\0' && *b != '\0'; ++a, ++b) {
    if (ascii_lower(*a) != ascii_lower(*b)) {
      return false;
    }
  }
  return *a == *b;
}

const char* attribute_kind_name(int32_t kind) {
  switch (kind) {
  case kKindCtype:
    return "CTYPE";
  case kKindEnum:
    return "ENUM";
  case kKindString:
    return "STRING";
  default:
    return "_UNRECOGNIZED_TYPE_";
  }
}

ObjectDefinition* find_definition(const char* type_name, const char* object_name,
                                  OrtiLookup& lookup, const ObjectDefinition* start) {
  load_trace(10, "find_definition(%s, %s, %s, %s)\n", text_or_null(type_name),
             text_or_null(object_name), text_or_null(lookup.file_name()),
             start != nullptr ? start->object_name.c_str() : "(null)");
  auto& defs = lookup.tree.definitions;
  const int64_t type_number = lookup.type_number(type_name);
  if (type_number < 0) {
    return nullptr;
  }
  const auto type = static_cast<uint32_t>(type_number);
  const std::size_t limit = start != nullptr ? start->file_index : defs.size();
  int64_t candidate = -1;
  if (object_name != nullptr) {
    candidate = lookup.newest_definition(type, object_name);
    while (candidate >= 0 && static_cast<std::size_t>(candidate) >= limit) {
      candidate = lookup.older_same_name[static_cast<std::size_t>(candidate)];
    }
  } else {
    candidate = lookup.newest_of_type_before(type, limit);
  }
  if (candidate < 0) {
    return nullptr;
  }
  ObjectDefinition* found = defs[static_cast<std::size_t>(candidate)].get();
  // The walk goes on with the candidate's object name: any older match is a second definition.
  const int64_t older = lookup.older_same_name[static_cast<std::size_t>(candidate)];
  if (older >= 0) {
    const ObjectDefinition* first = defs[static_cast<std::size_t>(older)].get();
    error_message("Duplicate %s definition found on line %d\n", text_or_null(type_name),
                  found->line);
    error_message("%s first defined on line %d\n", text_or_null(type_name), first->line);
    return nullptr;
  }
  return found;
}

int32_t count_definitions(const char* type_name, OrtiLookup& lookup) {
  load_trace(10, "count_definitions(%s, %s)\n", text_or_null(type_name),
             text_or_null(lookup.file_name()));
  int32_t count = 0;
  const ObjectDefinition* previous = nullptr;
  for (;;) {
    const ObjectDefinition* next = find_definition(type_name, nullptr, lookup, previous);
    if (next == nullptr || next == previous) {
      break;
    }
    ++count;
    previous = next;
  }
  return count;
}

const ObjectDeclaration* find_declaration(const char* type_name, OrtiLookup& lookup) {
  load_trace(10, "find_declaration(%s, %s)\n", text_or_null(type_name),
             text_or_null(lookup.file_name()));
  const std::vector<uint32_t>* positions = lookup.declarations_by_type.find(key_of(type_name));
  if (positions == nullptr || positions->empty()) {
    return nullptr;
  }
  auto& decls = lookup.tree.declarations;
  const ObjectDeclaration* found = decls[positions->back()].get();
  if (positions->size() > 1) {
    const ObjectDeclaration* first = decls[(*positions)[positions->size() - 2]].get();
    error_message("Duplicate %s declaration found on line %d\n", text_or_null(type_name),
                  found->line);
    error_message("%s first defined on line %d\n", text_or_null(type_name), first->line);
    return nullptr;
  }
  return found;
}

bool find_definition_and_declaration_parts(const char* type_name, const char* object_name,
                                           OrtiLookup& lookup, ObjectDefinition** definition,
                                           const ObjectDeclaration** declaration) {
  load_trace(10, "find_definition_and_declaration(...)\n");
  // Both halves are looked up even when the first fails, so that a load reports every
  // problem of the kind at once.
  ObjectDefinition* def = find_definition(type_name, object_name, lookup, nullptr);
  const ObjectDeclaration* decl = find_declaration(type_name, lookup);
  if (def != nullptr) {
    *definition = def;
  }
  if (decl != nullptr) {
    *declaration = decl;
  }
  return def != nullptr && decl != nullptr;
}

bool find_definition_and_declaration(const char* type_name, const char* object_name,
                                     OrtiLookup& lookup, ObjectDefinition** definition,
                                     const ObjectDeclaration** declaration) {
  ObjectDefinition* def = nullptr;
  const ObjectDeclaration* decl = nullptr;
  if (!find_definition_and_declaration_parts(type_name, object_name, lookup, &def, &decl)) {
    return false;
  }
  *definition = def;
  *declaration = decl;
  return true;
}

const AttributeSpec* find_attribute(const OrtiLookup& lookup, const ObjectDeclaration* declaration,
                                    const char* attribute_name) {
  load_trace(10, "find_attribute(%s, %s)\n",
             declaration != nullptr ? declaration->type_name.c_str() : "(null)",
             text_or_null(attribute_name));
  if (declaration == nullptr || attribute_name == nullptr) {
    return nullptr;
  }
  int32_t first = -1;
  int32_t second = -1;
  if (const OrtiLookup::AttributeIndex* index = lookup.attributes_of(declaration)) {
    if (const OrtiLookup::AttributeHits* hits = index->find(attribute_name)) {
      first = hits->first;
      second = hits->second;
    }
  } else {
    // A declaration from outside the indexed tree: walk it.
    for (std::size_t a = 0; a < declaration->attributes.size() && second < 0; ++a) {
      if (orti_name_equal(declaration->attributes[a].name.c_str(), attribute_name)) {
        (first < 0 ? first : second) = static_cast<int32_t>(a);
      }
    }
  }
  if (first < 0) {
    return nullptr;
  }
  if (second >= 0) {
    error_message("Duplicate %s attribute found on line %d\n", attribute_name,
                  declaration->attributes[static_cast<std::size_t>(second)].line);
    error_message("%s first defined on line %d\n", attribute_name,
                  declaration->attributes[static_cast<std::size_t>(first)].line);
    return nullptr;
  }
  return &declaration->attributes[static_cast<std::size_t>(first)];
}

const AttributeSpec* find_attribute_quiet(const OrtiLookup& lookup,
                                          const ObjectDeclaration* declaration,
                                          const char* attribute_name) {
  if (declaration == nullptr || attribute_name == nullptr) {
    return nullptr;
  }
  const OrtiLookup::AttributeIndex* index = lookup.attributes_of(declaration);
  if (index == nullptr) {
    return nullptr;
  }
  const OrtiLookup::AttributeHits* hits = index->find(attribute_name);
  if (hits == nullptr || hits->second >= 0) {
    return nullptr;
  }
  return &declaration->attributes[static_cast<std::size_t>(hits->first)];
}

namespace {

std::size_t facts_slot_of(const void* key, std::size_t mask) {
  const uint64_t bits = reinterpret_cast<uintptr_t>(key) * 0x9E3779B97F4A7C15ull;
  return static_cast<std::size_t>(bits >> 32) & mask;
}

} // namespace

AttributeFacts* OrtiLookup::shared_facts(const void* key, bool* made) const {
  *made = false;
  if (record_memory == nullptr) {
    return nullptr;
  }
  if (2 * (facts_count_ + 1) > facts_slots_.size()) {
    std::vector<FactsSlot> old = std::move(facts_slots_);
    facts_slots_.assign(old.empty() ? 64 : 2 * old.size(), FactsSlot{});
    const std::size_t mask = facts_slots_.size() - 1;
    for (const FactsSlot& entry : old) {
      if (entry.key != nullptr) {
        std::size_t i = facts_slot_of(entry.key, mask);
        while (facts_slots_[i].key != nullptr) {
          i = (i + 1) & mask;
        }
        facts_slots_[i] = entry;
      }
    }
  }
  const std::size_t mask = facts_slots_.size() - 1;
  std::size_t i = facts_slot_of(key, mask);
  while (facts_slots_[i].key != nullptr && facts_slots_[i].key != key) {
    i = (i + 1) & mask;
  }
  FactsSlot& slot = facts_slots_[i];
  if (slot.key == nullptr) {
    slot.key = key;
    slot.facts = new (record_memory->allocate(sizeof(AttributeFacts), alignof(AttributeFacts)))
        AttributeFacts();
    ++facts_count_;
    *made = true;
  }
  return slot.facts;
}

// A record takes the room of the definition it was made from, which the tree frees with its
// attribute arrays without running any destructor there.
static_assert(sizeof(AttributeDecl) <= sizeof(AttributeDef));
static_assert(alignof(AttributeDecl) <= alignof(AttributeDef));
static_assert(std::is_trivially_destructible_v<AttributeDef>);

bool OrtiLookup::offer_record_room(const AttributeDef& read, AttributeDef& room) {
  if (record_memory == nullptr) {
    withdraw_record_room();
    return false;
  }
  room_for_ = &read;
  room_ = &room;
  return true;
}

void OrtiLookup::withdraw_record_room() const {
  room_for_ = nullptr;
  room_ = nullptr;
}

void* OrtiLookup::take_record_room(const AttributeDef* definition) const {
  if (definition == nullptr || definition != room_for_) {
    return nullptr;
  }
  void* room = room_;
  withdraw_record_room();
  return room;
}

namespace {

// The facts for a record made from key: those shared by every record of the key while a model
// is built (filled by fill when new), else the record's own.
template <class Fill>
void give_facts(const OrtiLookup& lookup, const void* key, AttributeDecl& record, Fill fill) {
  bool made = false;
  AttributeFacts* shared = lookup.shared_facts(key, &made);
  if (shared == nullptr) {
    fill(record.own_facts());
    return;
  }
  if (made) {
    fill(*shared);
  }
  record.share_facts(*shared);
}

} // namespace

std::unique_ptr<AttributeDecl> make_type(const OrtiLookup& lookup,
                                         const ObjectDeclaration* declaration,
                                         const AttributeDef* definition, int32_t allowed_mask,
                                         const OrtiObject* owner, const char* file_name,
                                         MessageReport report) {
  const char* owner_name = owner != nullptr ? owner->name : nullptr;
  load_trace(10, "make_type(%s, %s, %08x, %s, %s)\n",
             declaration != nullptr ? declaration->type_name.c_str() : "(null)",
             definition != nullptr ? definition->name.c_str() : "(null)",
             static_cast<unsigned>(allowed_mask), text_or_null(owner_name),
             text_or_null(file_name));
  if (definition == nullptr) {
    error_message("make_type(): def is NULL!\n");
    return nullptr;
  }
  const char* name = definition->name.c_str();

  // List attributes are supplied by the model for list objects and need no declaration.
  const bool reserved = name[0] == '_';
  const bool string_list_attribute =
      reserved && (orti_name_equal(name, "_PARENT_NODE") || orti_name_equal(name, "_ITEM") ||
                   orti_name_equal(name, "_NEXT_NODE"));
  const bool name_attribute = reserved && orti_name_equal(name, "_NAME");
  const bool ctype_list_attribute =
      reserved && (orti_name_equal(name, "_NODE_VALID") || orti_name_equal(name, "_OWNER"));
  if (string_list_attribute || name_attribute || ctype_list_attribute) {
    auto record = AttributeDecl::make(lookup.record_memory, lookup.take_record_room(definition));
    // The facts follow from the name alone, and a parsed tree keeps each name once.
    give_facts(lookup, name, *record, [&](AttributeFacts& facts) {
      facts.kind = ctype_list_attribute ? kKindCtype : kKindString;
      facts.is_name_attribute = name_attribute;
      facts.name = name;
      facts.description = name;
      facts.to_trace = false;
    });
    record->formula = definition->formula.c_str();
    return record;
  }

  const AttributeSpec* spec = find_attribute(lookup, declaration, name);
  if (spec == nullptr) {
    error_message("%s not declared in object %s in %s\n", name, text_or_null(owner_name),
                  text_or_null(file_name));
    error_message("(%s declared at line %d)\n", text_or_null(owner_name),
                  declaration != nullptr ? declaration->line : -1);
    return nullptr;
  }
  const int32_t kind = spec->type.kind;
  if ((kind & allowed_mask) == 0) {
    report("%s (declared at line %d) has type %s\n", name, spec->line, attribute_kind_name(kind));
    report("Allowed types are%s%s%s\n", (allowed_mask & kKindCtype) != 0 ? " CTYPE" : "",
           (allowed_mask & kKindEnum) != 0 ? " ENUM" : "",
           (allowed_mask & kKindString) != 0 ? " STRING" : "");
    return nullptr;
  }
  if (kind != kKindCtype && kind != kKindEnum && kind != kKindString) {
    error_message("Unrecognized type %d\n", kind);
    return nullptr;
  }
  auto record = AttributeDecl::make(lookup.record_memory, lookup.take_record_room(definition));
  give_facts(lookup, spec, *record, [&](AttributeFacts& facts) {
    if (kind != kKindString) {
      facts.c_type = spec->type.c_type ? spec->type.c_type->c_str() : nullptr;
    }
    if (kind == kKindEnum) {
      // Linking writes into the tree's elements; the tree is otherwise left as parsed.
      facts.elements = const_cast<std::vector<EnumElement>*>(&spec->type.elements);
    }
    facts.kind = kind;
    facts.name = spec->name.c_str();
    facts.description = spec->description ? spec->description->c_str() : nullptr;
    facts.to_trace = spec->to_trace;
  });
  record->formula = definition->formula.c_str();
  return record;
}

bool match_standard_attribute(const OrtiLookup& lookup, const char* expected_name,
                              const ObjectDeclaration* declaration, const AttributeDef& definition,
                              int32_t allowed_mask, const OrtiObject* owner,
                              std::unique_ptr<AttributeDecl>& slot) {
  // Each attribute is tried against every name a kind knows; most differ in the first letter.
  const char* name = definition.name.c_str();
  if (ascii_lower(name[0]) != ascii_lower(expected_name[0]) ||
      !orti_name_equal(name, expected_name)) {
    return false;
  }
  // An extended-syntax file is known to bend the standard, so a wrong type is only a warning
  // there and the attribute is kept as a custom one.
  MessageReport report = lookup.extended_syntax != 0 ? warning_message : error_message;
  std::unique_ptr<AttributeDecl> record =
      make_type(lookup, declaration, &definition, allowed_mask, owner, lookup.file_name(), report);
  if (record) {
    slot = std::move(record);
    return true;
  }
  if (lookup.extended_syntax != 0) {
    warning_message("Attribute %s of %s does not adhere to the ORTI standard.  Processing as a "
                    "custom attribute.\n",
                    expected_name,
                    declaration != nullptr ? declaration->type_name.c_str() : "(null)");
  }
  return false;
}

const EnumElement* find_enum_element(const AttributeDecl& attribute, const char* label) {
  if (attribute.elements() == nullptr || label == nullptr) {
    return nullptr;
  }
  for (const EnumElement& element : *attribute.elements()) {
    if (element.label == label) {
      return &element;
    }
  }
  return nullptr;
}

namespace {

// Links one element; true when that wrote a message (as opposed to a trace), which must then
// be written again each time another attribute links the same list.
bool link_one_element(OrtiLookup& lookup, const AttributeDecl& attribute, EnumElement& element) {
  const char* file_name = text_or_null(lookup.file_name());
  const ObjectDefinition* def =
      find_definition(attribute.name(), element.link_name->c_str(), lookup, nullptr);
  if (def == nullptr) {
    warning_message("ENUM \"%s\" member \"%s\" declared at line %d of %s contains link to "
                    "definition \"%s\" of type \"%s\" which did not have an entry in the "
                    "information section. Link ignored\n",
                    text_or_null(attribute.description()), element.label.c_str(), element.line,
                    file_name, element.link_name->c_str(), text_or_null(attribute.name()));
    return true;
  }
  if (!def->processed || def->instance == nullptr) {
    error_message("Found unprocesed definition \"%s\" declared at line %d of %s\n",
                  def->object_name.c_str(), def->line, file_name);
    return true;
  }
  load_trace(2,
             "Linking ENUM \"%s\" member \"%s\" declared at line %d of %s to object \"%s\" of "
             "type \"%s\" declared at line %d\n",
             text_or_null(attribute.description()), element.label.c_str(), element.line, file_name,
             text_or_null(def->instance->name), text_or_null(def->instance->type_name), def->line);
  element.linked_object = def->instance;
  // A duplicate definition would have given none above, so a link reached here wrote no
  // message.
  return false;
}

} // namespace

void link_enum_elements(OrtiLookup& lookup, OrtiModel& /*model*/, AttributeDecl& attribute) {
  if (attribute.elements() == nullptr) {
    return;
  }
  std::vector<EnumElement>& elements = *attribute.elements();
  // Every TASK's STACK attribute shares the one element list of the declaration, so a file
  // with n tasks and n stacks would link n * n elements. The outcome depends only on the
  // finished model, so a list is linked once; later links only repeat the elements that
  // wrote messages. With traces wanted the whole list is walked again so they all appear.
  const bool replay = !load_trace_wanted(2);
  auto memo = lookup.linked_lists.find(&elements);
  if (replay && memo != lookup.linked_lists.end()) {
    for (uint32_t index : memo->second) {
      link_one_element(lookup, attribute, elements[index]);
    }
    return;
  }
  std::vector<uint32_t> noisy;
  // A long list names objects all over the index: each element's slot is fetched a few
  // elements ahead of its lookup.
  constexpr std::size_t kAhead = 8;
  const int64_t type = lookup.type_number(attribute.name());
  for (std::size_t i = 0; i < elements.size(); ++i) {
    if (type >= 0 && i + kAhead < elements.size() && elements[i + kAhead].link_name) {
      lookup.prefetch_definition(static_cast<uint32_t>(type), *elements[i + kAhead].link_name);
    }
    EnumElement& element = elements[i];
    if (!element.link_name) {
      continue;
    }
    if (link_one_element(lookup, attribute, element)) {
      noisy.push_back(static_cast<uint32_t>(i));
    }
  }
  if (replay) {
    lookup.linked_lists.emplace(&elements, std::move(noisy));
  }
}

std::unique_ptr<AttributeDecl> make_cpu_attribute(const char* register_name, const char* formula) {
  auto record = AttributeDecl::make(nullptr); // outlives any model it is added to
  AttributeFacts& facts = record->own_facts();
  facts.kind = kKindCtype;
  facts.c_type = "unsigned long";
  std::string& owned_name = record->ensure_extras().owned_name;
  owned_name = std::string("_CPU_") + (register_name != nullptr ? register_name : "");
  facts.name = owned_name.c_str();
  record->formula = formula;
  // The description is the register name; it is kept inside the owned name so that it lives
  // as long as the record, whatever the caller does with its text.
  facts.description = owned_name.c_str() + 5;
  facts.to_trace = false;
  return record;
}
