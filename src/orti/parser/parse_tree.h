// The parse tree of one ORTI file: its version section, the declarations of the
// IMPLEMENTATION block (what each kind of object looks like) and the definitions of the
// information section (the objects, each attribute with its formula text).
//
// Nodes are owned by the tree. Declarations and definitions are kept in file order; the
// lookups of the object model walk them newest first, from the back. Once a parse has
// finished nothing is added to a tree, so the model may keep pointers into it for as long as
// the tree lives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct OrtiObject; // the object model's record of one object

struct OrtiVersion {
  uint32_t major = 0;
  uint32_t minor = 0;
};

// Attribute type kinds; single bits so that a set of allowed kinds is a mask.
inline constexpr int32_t kKindCtype = 1;
inline constexpr int32_t kKindEnum = 2;
inline constexpr int32_t kKindString = 4;
inline constexpr int32_t kKindAny = 7;

struct EnumElement {
  std::string label;                        // the quoted display name
  std::optional<std::string> link_name;     // the identifier after ":"
  OrtiObject* linked_object = nullptr;      // set when ENUM elements are linked
  int64_t value = 0;                        // kept to 32 bits, sign-extended
  std::optional<std::string> match_formula; // the quoted value of a string-valued element
  int32_t line = 0;
};

struct AttributeType {
  int32_t kind = 0;                  // kKindCtype, kKindEnum or kKindString
  std::optional<std::string> c_type; // CTYPE and ENUM only
  std::vector<EnumElement> elements; // ENUM only, in file order, never empty
};

struct AttributeSpec {
  bool to_trace = false; // the declaration began with TOTRACE
  AttributeType type;
  std::string name;
  std::optional<std::string> description;
  int32_t line = 0;
};

struct ObjectDeclaration {
  std::string type_name; // as written: "OS", "TASK", "vs_..."
  std::optional<std::string> description;
  std::vector<AttributeSpec> attributes; // file order, never empty
  int32_t line = 0;
};

struct AttributeDef {
  std::string name;
  std::string formula; // the quoted text, possibly empty
  int32_t line = 0;
};

struct ObjectDefinition {
  std::string type_name;
  std::string object_name;
  std::vector<AttributeDef> attributes; // file order, never empty
  int32_t line = 0;
  bool processed = false;          // consumed by the model builder
  OrtiObject* instance = nullptr;  // the model object built from it
  bool is_list = false;            // written with "*" before the object name
  std::size_t file_index = 0;      // position in definitions (file order)
};

struct OrtiParseTree {
  std::optional<std::string> file_name;
  OrtiVersion koil_version;
  OrtiVersion orti_version;
  std::optional<std::string> implementation_name;
  // File order; "newest first" is back to front.
  std::vector<std::unique_ptr<ObjectDeclaration>> declarations;
  std::vector<std::unique_ptr<ObjectDefinition>> definitions;
};

// Frees every node and text of the tree and clears its fields.
void orti_tree_clear(OrtiParseTree& tree);
