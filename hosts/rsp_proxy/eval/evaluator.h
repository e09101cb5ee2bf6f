// Evaluation of a parsed formula over target memory, and the texts of values.
#pragma once

#include "eval/expression.h"
#include "eval/program.h"
#include "eval/target_memory.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace rsp_eval {

// One value during an evaluation. Objects in memory are read only when an operation needs
// their contents, so "&x", "sizeof x" and member offsets cost no memory access.
struct Value {
  const Type* type = nullptr;
  bool in_memory = false; // an lvalue at address
  uint64_t address = 0;
  uint32_t bit_pos = 0;  // a bit-field: its first bit, counted from address in target order
  uint32_t bit_size = 0; // nonzero for a bit-field
  bool known = false;    // bits (or bytes) hold the contents
  uint64_t bits = 0;     // a scalar: integer bits zero-extended, an address, IEEE float bits
  std::shared_ptr<const std::vector<uint8_t>> bytes; // an aggregate not in memory
};

class Evaluator {
public:
  Evaluator(const ProgramSymbols& program, TargetMemory& memory, TypeArena& arena)
      : p_(program), b_(program.builtin), memory_(memory), arena_(arena) {}

  // real: read and write memory; false: work out the types only, as sizeof needs and as the
  // operand that && and || skip is still checked.
  Value eval(const Node* n, bool real);

  // The value as GDB's int() gives it: signed 64 bits; a pointer's address.
  int64_t to_int64(Value& v);
  // The text of "print /n" as the plug-in's StringEval expects it.
  std::string print_top(Value& v);

private:
  Value eval_member(const Node* n, bool real);
  Value eval_index(const Node* n, bool real);
  Value eval_unary(const Node* n, bool real);
  Value eval_binary(int op, Value l, Value r, bool real);
  Value eval_logical(const Node* n, bool real);
  Value eval_assign(const Node* n, bool real);

  // Contents and conversions.
  uint64_t scalar_bits(Value& v, bool real);
  int64_t as_signed(Value& v, bool real);
  double as_double(Value& v, bool real);
  bool truth(Value& v, bool real);
  Value coerce(Value v);
  Value deref(Value& pointer, bool real);
  Value field(const Value& object, const Member& m, uint64_t extra_bits);
  Value cast(Value v, const Type* to, bool real);
  Value make_int(const Type* t, uint64_t bits) const;
  Value make_float(const Type* t, double d) const;
  const Type* promote(const Type* a, const Type* b) const;
  const Type* unary_type(const Type* t) const;
  std::vector<uint8_t> contents(Value& v, std::size_t limit);

  // Memory.
  void read(uint64_t address, std::size_t len, uint8_t* out);
  bool try_read(uint64_t address, std::size_t len, uint8_t* out, std::string& error);
  void write(uint64_t address, const uint8_t* data, std::size_t len);
  uint64_t decode(const uint8_t* bytes, std::size_t len) const;
  void encode(uint64_t v, std::size_t len, uint8_t* out) const;
  uint64_t extract_bits(const uint8_t* bytes, uint32_t bit_pos, uint32_t bit_size) const;
  void insert_bits(uint8_t* bytes, uint32_t bit_pos, uint32_t bit_size, uint64_t v) const;

  // Texts (value_print.cpp).
  void print_value(std::string& out, Value& v, int depth);
  void print_scalar(std::string& out, const Type* t, uint64_t bits, int depth);
  void print_aggregate(std::string& out, const Type* t, const uint8_t* bytes, uint64_t address,
                       int depth);
  void print_pointer(std::string& out, const Type* pointer, uint64_t address, int depth);
  void print_address_symbol(std::string& out, uint64_t address, bool code);
  void print_char_string(std::string& out, const uint8_t* s, std::size_t n, bool truncated);
  std::string read_c_string(uint64_t address, std::size_t limit);

  const ProgramSymbols& p_;
  const BuiltinTypes& b_;
  TargetMemory& memory_;
  TypeArena& arena_;
};

// Bytes decoded as UTF-8 with every malformed sequence replaced by U+FFFD, the way the GDB
// host decodes the strings it hands to the plug-in.
std::string utf8_with_replacement(const uint8_t* s, std::size_t n);
// The first max_chars code points of valid UTF-8 text.
std::string utf8_prefix(const std::string& text, std::size_t max_chars);

} // namespace rsp_eval
