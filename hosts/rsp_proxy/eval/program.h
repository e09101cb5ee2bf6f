// What the evaluator knows of a program once it is opened: its types and the names formulas
// use, indexed so that one lookup is one hash probe. Nothing changes after opening, so one
// ProgramSymbols can serve evaluations on several threads.
#pragma once

#include "eval/program_symbols.h"
#include "eval/types.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace rsp_eval {

// An ordinary identifier of the program: what a name in a formula stands for.
struct Symbol {
  enum class Kind : uint8_t {
    Variable,   // an object at address
    Function,   // code at address
    Enumerator, // the constant enum_value of type
    Constant,   // a variable the compiler kept only as a value (const_bytes)
  };
  Kind kind = Kind::Variable;
  const Type* type = nullptr;
  uint64_t address = 0;
  int64_t enum_value = 0;
  std::vector<uint8_t> const_bytes; // in the target's byte order
};

// A symbol of the ELF symbol table, for naming the address a pointer holds.
struct ElfSymbol {
  uint64_t address = 0;
  uint64_t size = 0;
  uint32_t section = 0;
  bool global = false;
  std::string name;
};

struct ElfSection {
  uint64_t address = 0;
  uint64_t size = 0;
  uint32_t index = 0;
  bool executable = false;
};

// Transparent hashing, so that lookups take the string_view of a token without a copy.
struct NameHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};
template <typename T> using NameMap = std::unordered_map<std::string, T, NameHash, std::equal_to<>>;

// The C base types a formula can name without the program declaring them, sized for the
// target as its ABI has them.
struct BuiltinTypes {
  const Type* void_type = nullptr;
  const Type* bool_type = nullptr;
  const Type* char_type = nullptr;
  const Type* schar = nullptr;
  const Type* uchar = nullptr;
  const Type* short_type = nullptr;
  const Type* ushort = nullptr;
  const Type* int_type = nullptr;
  const Type* uint = nullptr;
  const Type* long_type = nullptr;
  const Type* ulong = nullptr;
  const Type* llong = nullptr;
  const Type* ullong = nullptr;
  const Type* float_type = nullptr;
  const Type* double_type = nullptr;
  const Type* long_double = nullptr;
  const Type* nodebug_data = nullptr;
  const Type* nodebug_text = nullptr;
};

} // namespace rsp_eval

class ProgramSymbols {
public:
  bool big_endian = false;
  int address_size = 4;
  uint16_t machine = 0;   // ELF e_machine
  bool thumb_bit = false; // code addresses may carry the Thumb bit (ARM)

  // Owns every type; deque so that pointers to elements stay valid as it grows.
  std::deque<rsp_eval::Type> types;
  rsp_eval::BuiltinTypes builtin;

  rsp_eval::NameMap<rsp_eval::Symbol> symbols;
  rsp_eval::NameMap<const rsp_eval::Type*> typedefs;
  rsp_eval::NameMap<const rsp_eval::Type*> struct_tags;
  rsp_eval::NameMap<const rsp_eval::Type*> union_tags;
  rsp_eval::NameMap<const rsp_eval::Type*> enum_tags;

  // Sorted by address, for printing a pointer as <symbol+offset>.
  std::vector<rsp_eval::ElfSymbol> elf_symbols;
  std::vector<rsp_eval::ElfSection> sections; // allocated sections, sorted by address

  rsp_eval::Type& new_type(rsp_eval::TypeCode code) {
    types.emplace_back();
    types.back().code = code;
    return types.back();
  }

  const rsp_eval::Symbol* find_symbol(std::string_view name) const {
    auto it = symbols.find(name);
    return it == symbols.end() ? nullptr : &it->second;
  }
  const rsp_eval::Type* find_typedef(std::string_view name) const {
    auto it = typedefs.find(name);
    return it == typedefs.end() ? nullptr : it->second;
  }
  static const rsp_eval::Type* find_in(const rsp_eval::NameMap<const rsp_eval::Type*>& map,
                                       std::string_view name) {
    auto it = map.find(name);
    return it == map.end() ? nullptr : it->second;
  }

  // The ELF symbol that names address, and the offset into it; null when none does.
  const rsp_eval::ElfSymbol* symbol_at(uint64_t address, bool code, uint64_t& offset) const;
};
