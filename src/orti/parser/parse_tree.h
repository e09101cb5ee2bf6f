// The parse tree of one ORTI file: its version section, the declarations of the
// IMPLEMENTATION block (what each kind of object looks like) and the definitions of the
// information section (the objects, each attribute with its formula text).
//
// Nodes are owned by the tree. Declarations and definitions are kept in file order; the
// lookups of the object model walk them newest first, from the back. Once a parse has
// finished nothing is added to a tree, so the model may keep pointers into it for as long as
// the tree lives.
//
// The texts of definitions and ENUM elements, of which a large file has hundreds of thousands,
// are KoilTexts in the tree's store, and so are the definitions' attribute arrays; like every
// text of the tree they end at their first NUL byte. The few texts of the declarations are
// strings of their own.
#pragma once

#include "orti/parser/koil_text.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <memory_resource>
#include <new>
#include <optional>
#include <string>
#include <string_view>
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

// A KoilText that may be absent, read as a std::optional<KoilText> is, in the room of one
// pointer: absence is a text at an address of its own. A large file's ENUM elements have two
// of these each.
class KoilOptionalText {
public:
  constexpr KoilOptionalText() = default;
  constexpr KoilOptionalText(std::nullopt_t) {}
  KoilOptionalText(KoilText text) : text_(text) {}
  KoilOptionalText(const char* text) : text_(text) {}

  bool has_value() const { return text_.c_str() != kAbsent; }
  explicit operator bool() const { return has_value(); }
  // Reads "" when absent.
  KoilText& operator*() { return text_; }
  const KoilText& operator*() const { return text_; }
  KoilText* operator->() { return &text_; }
  const KoilText* operator->() const { return &text_; }
  // Present and "", to be written.
  KoilText& emplace() {
    text_ = KoilText();
    return text_;
  }
  void reset() { text_ = KoilText(kAbsent); }

  // As for std::optional: two absent texts are equal, and an absent one equals no text.
  friend bool operator==(const KoilOptionalText& a, const KoilOptionalText& b) {
    return a.has_value() == b.has_value() && (!a.has_value() || a.text_ == b.text_);
  }
  friend bool operator==(const KoilOptionalText& a, std::nullopt_t) { return !a.has_value(); }
  friend bool operator==(const KoilOptionalText& a, const char* b) {
    return a.has_value() && a.text_ == b;
  }
  friend bool operator==(const KoilOptionalText& a, std::string_view b) {
    return a.has_value() && a.text_ == b;
  }

private:
  static constexpr char kAbsent[1] = "";
  KoilText text_{kAbsent};
};

// For test output.
std::ostream& operator<<(std::ostream& out, const KoilOptionalText& text);

struct EnumElement {
  KoilText label;                      // the quoted display name
  OrtiObject* linked_object = nullptr; // set when ENUM elements are linked
  int64_t value = 0;                   // kept to 32 bits, sign-extended
  KoilOptionalText link_name;          // the identifier after ":"
  KoilOptionalText match_formula;      // the quoted value of a string-valued element
  int32_t line = 0;
};

struct AttributeType {
  int32_t kind = 0;                  // kKindCtype, kKindEnum or kKindString
  std::optional<std::string> c_type; // CTYPE and ENUM only
  std::vector<EnumElement> elements; // ENUM only, in file order, never empty
};

struct AttributeSpec {
  bool to_trace = false; // the declaration began with TOTRACE
  bool is_array = false; // declared NAME[]: one element per core, each defined as NAME[i]
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
  KoilText name;
  KoilText formula; // the quoted text, possibly empty
  int32_t line = 0;
  int32_t index = -1; // NAME[i] of an array attribute; -1 for a plain definition
};

// The attribute definitions of one object, in two words where a vector takes four: an array
// in a parsed tree's store, which frees it with the tree, or one on the heap that the list
// owns (a list built by hand, or a copy). The elements are trivially copyable.
class AttributeDefList {
public:
  AttributeDefList() = default;
  AttributeDefList(const AttributeDefList& other);
  AttributeDefList(AttributeDefList&& other) noexcept;
  AttributeDefList& operator=(const AttributeDefList& other);
  AttributeDefList& operator=(AttributeDefList&& other) noexcept;
  ~AttributeDefList();

  AttributeDef* begin() { return items_; }
  AttributeDef* end() { return items_ + size_; }
  const AttributeDef* begin() const { return items_; }
  const AttributeDef* end() const { return items_ + size_; }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  AttributeDef& operator[](std::size_t i) { return items_[i]; }
  const AttributeDef& operator[](std::size_t i) const { return items_[i]; }
  AttributeDef& front() { return items_[0]; }
  AttributeDef& back() { return items_[size_ - 1]; }

  // Appends on the heap; an array in a store is first copied there.
  void push_back(const AttributeDef& definition);
  // The list becomes a copy of [first, last), in memory from arrays (the heap when null),
  // which must outlive the list.
  void assign(const AttributeDef* first, const AttributeDef* last,
              std::pmr::memory_resource* arrays = nullptr);
  // Empties the list and keeps its room, which stays where it is until the list goes.
  void clear() { size_ = 0; }

private:
  void release();

  AttributeDef* items_ = nullptr;
  uint32_t size_ = 0;
  uint32_t heap_capacity_ = 0; // 0 when the array is not the list's own
};

struct ObjectDefinition {
  KoilText type_name;
  KoilText object_name;
  // File order, never empty. A parsed tree's arrays come from its store; one built by hand
  // allocates them on the heap. Emptied once a model has taken them (see the object model).
  AttributeDefList attributes;
  OrtiObject* instance = nullptr; // the model object built from it
  uint32_t file_index = 0;        // position in definitions (file order)
  int32_t line = 0;
  bool processed = false; // consumed by the model builder
  bool is_list = false;   // written with "*" before the object name

  ObjectDefinition() = default;

  // A definition of a parsed tree: it and its attribute array live in the tree's store, which
  // frees them with the tree, so that a file of many objects costs no allocation per object.
  // Deleting one only ends its life; one made by hand is an object of the heap.
  static std::unique_ptr<ObjectDefinition> make_in(KoilTreeStore& store);
  static void* operator new(std::size_t size);
  static void* operator new(std::size_t size, void* place);
  static void operator delete(ObjectDefinition* definition, std::destroying_delete_t);

private:
  // Set by make_in only: a copy is an object of its own wherever it is made.
  struct StoreMark {
    bool set = false;
    StoreMark() = default;
    StoreMark(const StoreMark&) {}
    StoreMark& operator=(const StoreMark&) { return *this; }
  };

  StoreMark in_store_; // beside the flags above, where it costs no room
};

// Constructs that OS generators write although the ORTI grammar has no room for them. Extended
// syntax accepts each; a strict load fails on them and then says that extended syntax would
// not. Arrays are no such construct in a file of KOIL 2.3 or later, whose grammar has them.
enum class KoilDialect : uint8_t {
  Array,            // NAME[] declared or NAME[i] defined in a file of KOIL below 2.3
  TrailingComma,    // "," before the "]" that closes an ENUM element list
  BareValue,        // an identifier or a number where a quoted formula belongs
  MissingSemicolon, // no ";" after an attribute definition or after an object's "}"
  KoilVersionText,  // a KOIL version that is not a number, such as "PLATFORM"
  SeveralOs,        // one OS object per core
  RepeatedLabel,    // an ENUM label given again with another value
};
inline constexpr std::size_t kKoilDialectCount = 7;

// The largest index of an array element.
inline constexpr int32_t kMaxArrayIndex = 64;

struct OrtiParseTree {
  // Where the texts of the definitions and ENUM elements and the definitions' attribute arrays
  // live. First, so that it is destroyed after everything that points into it.
  KoilTreeStore store;
  std::optional<std::string> file_name;
  OrtiVersion koil_version;
  OrtiVersion orti_version;
  std::optional<std::string> implementation_name;
  // File order; "newest first" is back to front.
  std::vector<std::unique_ptr<ObjectDeclaration>> declarations;
  std::vector<std::unique_ptr<ObjectDefinition>> definitions;
  // Per construct, the line where the file first uses it; 0 where it does not. An extended
  // load records every construct it accepted; a strict one only the construct it failed on,
  // so a strict load with any entry failed because of a generator's dialect.
  std::array<int32_t, kKoilDialectCount> dialect_lines{};

  OrtiParseTree() = default;
  OrtiParseTree(OrtiParseTree&&) = default;
  // Not member-wise: that would free the old store before the old definitions that live in it.
  // A field added here is added to the assignment too.
  OrtiParseTree& operator=(OrtiParseTree&& other) noexcept;
  ~OrtiParseTree() = default;

  int32_t& dialect_line(KoilDialect construct) {
    return dialect_lines[static_cast<std::size_t>(construct)];
  }
  bool uses_dialect() const {
    for (int32_t line : dialect_lines) {
      if (line != 0) {
        return true;
      }
    }
    return false;
  }
};

// Frees every node and text of the tree and clears its fields.
void orti_tree_clear(OrtiParseTree& tree);
