// The C types of a program as the evaluator works with them: read once from DWARF, plus the
// C base types that casts and literals name and the derived types an evaluation creates.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rsp_eval {

enum class TypeCode : uint8_t {
  Void,
  Int, // every integer type, the character types included
  Bool,
  Float,
  Enum,
  Pointer,
  Array,
  Struct,
  Union,
  Function,
  Typedef,
  Const,
  Volatile,
  // A symbol the ELF has but the debug information does not describe: usable only through
  // its address or a cast, as a debugger without its type would.
  NoDebugData,
  NoDebugText,
};

struct Type;

struct Member {
  std::string name; // empty for an anonymous struct or union member
  const Type* type = nullptr;
  uint64_t bit_pos = 0;  // from the start of the enclosing struct, in the target's bit order
  uint32_t bit_size = 0; // nonzero for a bit-field
};

struct Enumerator {
  std::string name;
  int64_t value = 0;
};

struct Type {
  TypeCode code = TypeCode::Void;
  std::string name; // base type, typedef or tag name (a tag without "struct ")
  uint64_t size = 0;
  bool is_unsigned = false;
  bool is_char = false;           // an integer type of the character family
  bool incomplete = false;        // a struct, union or enum declared but not defined here
  bool flag_enum = false;         // enumerators with disjoint bits: printed as (A | B)
  bool prototyped = false;        // functions
  bool varargs = false;           // functions
  const Type* target = nullptr;   // pointer, array element, typedef, qualifier, function return
  const Type* complete = nullptr; // for an incomplete struct/union/enum: its definition
  int64_t count = -1;             // array elements; -1 when the bound is unknown
  std::vector<Member> members;
  std::vector<Enumerator> enumerators;
  std::vector<const Type*> params;
};

// The type with typedefs and qualifiers removed and a declaration replaced by its definition.
inline const Type* strip(const Type* t) {
  // Bounded: a hostile file could chain typedefs into a loop.
  for (int i = 0; t != nullptr && i < 4096; ++i) {
    if (t->code == TypeCode::Typedef || t->code == TypeCode::Const ||
        t->code == TypeCode::Volatile) {
      t = t->target;
    } else if (t->incomplete && t->complete != nullptr) {
      t = t->complete;
    } else {
      return t;
    }
  }
  return t;
}

inline bool is_integral(const Type* stripped) {
  return stripped->code == TypeCode::Int || stripped->code == TypeCode::Bool ||
         stripped->code == TypeCode::Enum;
}

inline bool is_scalar(const Type* stripped) {
  return is_integral(stripped) || stripped->code == TypeCode::Float ||
         stripped->code == TypeCode::Pointer;
}

inline bool is_aggregate(const Type* stripped) {
  return stripped->code == TypeCode::Struct || stripped->code == TypeCode::Union ||
         stripped->code == TypeCode::Array;
}

// A character type as the debugger reads strings: any one-byte integer type.
inline bool is_char_like(const Type* t) {
  const Type* s = strip(t);
  return s != nullptr && s->code == TypeCode::Int && s->size == 1;
}

// The size sizeof gives and pointer arithmetic steps by; void and functions count as 1.
inline uint64_t type_size(const Type* t) {
  const Type* s = strip(t);
  if (s == nullptr || s->code == TypeCode::Void || s->code == TypeCode::Function) {
    return 1;
  }
  return s->size;
}

} // namespace rsp_eval
