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

// A parse tree with the indexes its lookups use and the extended-syntax setting of its parse.
// Build it after the parse has finished; the tree must not change while it exists.
struct OrtiLookup {
  explicit OrtiLookup(OrtiParseTree& tree, int extended_syntax = 0);

  OrtiParseTree& tree;
  int extended_syntax = 0;

  // Definitions: each lower-cased type name gets a number; per type number, the positions of
  // its definitions in file order, ascending.
  std::unordered_map<std::string, uint32_t> type_numbers;
  std::vector<std::vector<uint32_t>> definitions_of_type;
  // Per definition: the newest older definition of the same type and object name, or -1. It is
  // the one a newest-first walk meets next when it looks for that name.
  std::vector<int32_t> older_same_name;
  // (type number, exact object name) -> the newest definition with both. The names point into
  // the tree's definitions, which do not move.
  struct TypeAndName {
    uint32_t type;
    std::string_view name;
    bool operator==(const TypeAndName&) const = default;
  };
  struct TypeAndNameHash {
    std::size_t operator()(const TypeAndName& key) const {
      return std::hash<std::string_view>{}(key.name) * 31u + key.type;
    }
  };
  std::unordered_map<TypeAndName, uint32_t, TypeAndNameHash> newest_by_type_and_name;
  // Declarations: positions in file order, keyed by the lower-cased type name.
  std::unordered_map<std::string, std::vector<uint32_t>> declarations_by_type;
  // Per declaration: lower-cased attribute name -> the first two positions in file order.
  struct AttributeHits {
    int32_t first = -1;
    int32_t second = -1;
  };
  std::unordered_map<const ObjectDeclaration*, std::unordered_map<std::string, AttributeHits>>
      attributes_by_declaration;
  // Declarations with at least one array attribute: only their objects need each definition
  // checked against the shape of its declaration.
  std::unordered_set<const ObjectDeclaration*> declarations_with_arrays;
  // ENUM element lists already linked, each with the elements whose linking wrote a message;
  // only those need linking again when another attribute shares the list and no trace is read.
  std::unordered_map<const std::vector<EnumElement>*, std::vector<uint32_t>> linked_lists;

  // Where make_type makes its records: the model's record memory while a model is built, the
  // heap when null.
  std::pmr::memory_resource* record_memory = nullptr;

  const char* file_name() const { return tree.file_name ? tree.file_name->c_str() : nullptr; }
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
