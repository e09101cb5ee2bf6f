// Evaluation of formulas. The results must be those of GDB's evaluator on the same memory
// (the GDB host is the reference the plug-in's recordings were made against), so where GDB
// departs from ISO C the rules here follow GDB: the integer promotion of mixed operands goes
// by size only, "." works through pointers, the skipped branch of ?: is not looked at, shifts
// past the width give 0, a struct cast to a scalar reinterprets its memory.
#include "eval/evaluator.h"

#include <cmath>
#include <cstring>

namespace rsp_eval {

namespace {

uint64_t size_mask(uint64_t size) {
  return size >= 8 ? ~uint64_t{0} : (uint64_t{1} << (8 * size)) - 1;
}

int64_t sign_extend(uint64_t bits, unsigned width) {
  if (width == 0 || width >= 64) {
    return static_cast<int64_t>(bits);
  }
  const uint64_t sign = uint64_t{1} << (width - 1);
  bits &= (sign << 1) - 1;
  return static_cast<int64_t>((bits ^ sign) - sign);
}

std::string hex(uint64_t v) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "0x%llx", static_cast<unsigned long long>(v));
  return buf;
}

std::string byte_count(std::size_t n) {
  return std::to_string(n) + (n == 1 ? " byte" : " bytes");
}

[[noreturn]] void fail(std::string reason) {
  throw EvalError{std::move(reason)};
}

// The bytes that hold a bit-field, read as one number in the target's order, and where in it
// the field lies.
struct BitWindow {
  uint32_t first; // the first of the bytes
  uint32_t n;     // how many
  uint32_t shift; // the bits below the field
  uint64_t field; // the field's ones, unshifted
  unsigned __int128 acc;
};

BitWindow bit_window(const uint8_t* bytes, uint32_t bit_pos, uint32_t bit_size, bool big_endian) {
  BitWindow w;
  w.first = bit_pos / 8;
  w.n = (bit_pos + bit_size - 1) / 8 - w.first + 1;
  w.acc = 0;
  for (uint32_t k = 0; k < w.n; ++k) {
    if (big_endian) {
      w.acc = (w.acc << 8) | bytes[w.first + k];
    } else {
      w.acc |= static_cast<unsigned __int128>(bytes[w.first + k]) << (8 * k);
    }
  }
  w.shift = big_endian ? 8 * w.n - bit_pos % 8 - bit_size : bit_pos % 8;
  w.field = bit_size >= 64 ? ~uint64_t{0} : (uint64_t{1} << bit_size) - 1;
  return w;
}

const char* const kNoDebugType =
    "a symbol without debug information has no known type; cast it, as in (int)name";

std::string op_text(int op) {
  switch (op) {
  case kOpShl:
    return "<<";
  case kOpShr:
    return ">>";
  case kOpLe:
    return "<=";
  case kOpGe:
    return ">=";
  case kOpEq:
    return "==";
  case kOpNe:
    return "!=";
  default:
    return std::string(1, static_cast<char>(op));
  }
}

// A double as an integer the way Python's int() makes one and the host then keeps its low 64
// bits: exact, modulo 2^64.
bool double_to_wrapped_int(double d, int64_t& out, std::string& error) {
  if (std::isnan(d)) {
    error = "cannot convert float NaN to integer";
    return false;
  }
  if (std::isinf(d)) {
    error = "cannot convert float infinity to integer";
    return false;
  }
  const double t = std::trunc(d);
  constexpr double two63 = 9223372036854775808.0;
  if (t >= -two63 && t < two63) {
    out = static_cast<int64_t>(t);
    return true;
  }
  constexpr double two64 = 18446744073709551616.0;
  double r = std::fmod(t, two64); // exact
  if (r < 0) {
    r += two64; // exact: |t| >= 2^63 makes r a multiple of 2^11
  }
  out = static_cast<int64_t>(static_cast<uint64_t>(r));
  return true;
}

// The member called name in a struct or union, looking into anonymous members; its bit
// position from the start of st is added to bit_pos.
const Member* find_member(const Type* st, std::string_view name, uint64_t& bit_pos, int depth) {
  if (depth > 32) {
    return nullptr;
  }
  for (const Member& m : st->members) {
    if (m.name == name) {
      bit_pos += m.bit_pos;
      return &m;
    }
  }
  for (const Member& m : st->members) {
    const Type* ms = strip(m.type);
    if (m.name.empty() && ms != nullptr &&
        (ms->code == TypeCode::Struct || ms->code == TypeCode::Union)) {
      uint64_t inner = bit_pos + m.bit_pos;
      if (const Member* found = find_member(ms, name, inner, depth + 1)) {
        bit_pos = inner;
        return found;
      }
    }
  }
  return nullptr;
}

} // namespace

// ---- memory -------------------------------------------------------------------------------

bool Evaluator::try_read(uint64_t address, std::size_t len, uint8_t* out, std::string& error) {
  std::string reason;
  if (memory_.read(address, len, out, reason)) {
    return true;
  }
  error = "cannot read " + byte_count(len) + " at " + hex(address);
  if (!reason.empty()) {
    error += ": " + reason;
  }
  return false;
}

void Evaluator::read(uint64_t address, std::size_t len, uint8_t* out) {
  std::string error;
  if (!try_read(address, len, out, error)) {
    fail(error);
  }
}

void Evaluator::write(uint64_t address, const uint8_t* data, std::size_t len) {
  std::string reason;
  if (!memory_.write(address, data, len, reason)) {
    fail("cannot write " + byte_count(len) + " at " + hex(address) +
         (reason.empty() ? "" : ": " + reason));
  }
}

uint64_t Evaluator::decode(const uint8_t* bytes, std::size_t len) const {
  uint64_t v = 0;
  for (std::size_t i = 0; i < len && i < 8; ++i) {
    const std::size_t k = p_.big_endian ? i : len - 1 - i;
    v = (v << 8) | bytes[k];
  }
  return v;
}

void Evaluator::encode(uint64_t v, std::size_t len, uint8_t* out) const {
  for (std::size_t i = 0; i < len; ++i) {
    const std::size_t k = p_.big_endian ? len - 1 - i : i;
    out[k] = static_cast<uint8_t>(i < 8 ? v >> (8 * i) : 0);
  }
}

// Bits are numbered as the target numbers them: from the least significant bit of the first
// byte on a little-endian target, from the most significant one on a big-endian target.
uint64_t Evaluator::extract_bits(const uint8_t* bytes, uint32_t bit_pos, uint32_t bit_size) const {
  const BitWindow w = bit_window(bytes, bit_pos, bit_size, p_.big_endian);
  return static_cast<uint64_t>(w.acc >> w.shift) & w.field;
}

void Evaluator::insert_bits(uint8_t* bytes, uint32_t bit_pos, uint32_t bit_size, uint64_t v) const {
  const BitWindow w = bit_window(bytes, bit_pos, bit_size, p_.big_endian);
  const unsigned __int128 field = w.field;
  const unsigned __int128 acc =
      (w.acc & ~(field << w.shift)) | ((static_cast<unsigned __int128>(v) & field) << w.shift);
  for (uint32_t k = 0; k < w.n; ++k) {
    const uint32_t byte = p_.big_endian ? w.n - 1 - k : k;
    bytes[w.first + byte] = static_cast<uint8_t>(acc >> (8 * k));
  }
}

// ---- contents and conversions -------------------------------------------------------------

uint64_t Evaluator::scalar_bits(Value& v, bool real) {
  if (v.known) {
    return v.bits;
  }
  const Type* t = strip(v.type);
  if (t->code == TypeCode::NoDebugData || t->code == TypeCode::NoDebugText) {
    fail(kNoDebugType);
  }
  if (!is_scalar(t)) {
    fail("a value of type " + type_name(v.type) + " is not a number");
  }
  if (!real) {
    return 0;
  }
  if (v.bytes != nullptr) {
    if (v.bytes->size() < t->size || t->size > 8) {
      fail("a value of type " + type_name(v.type) + " has no contents");
    }
    v.bits = decode(v.bytes->data(), t->size);
  } else if (!v.in_memory) {
    fail("a value of type " + type_name(v.type) + " has no contents");
  } else if (v.bit_size != 0) {
    uint8_t buf[16];
    const uint32_t first = v.bit_pos / 8;
    const uint32_t n = (v.bit_pos + v.bit_size - 1) / 8 - first + 1;
    read(v.address + first, n, buf);
    uint64_t bits = extract_bits(buf, v.bit_pos % 8, v.bit_size);
    if (is_integral(t) && !t->is_unsigned) {
      bits = static_cast<uint64_t>(sign_extend(bits, v.bit_size));
    }
    v.bits = bits & size_mask(t->size);
  } else {
    if (t->size == 0 || t->size > 8) {
      fail("a value of " + byte_count(t->size) + " cannot be used as a number");
    }
    uint8_t buf[8];
    read(v.address, t->size, buf);
    v.bits = decode(buf, t->size);
  }
  v.known = true;
  return v.bits;
}

int64_t Evaluator::as_signed(Value& v, bool real) {
  const Type* t = strip(v.type);
  const uint64_t bits = scalar_bits(v, real);
  if (t->code == TypeCode::Float) {
    int64_t out = 0;
    std::string error;
    double_to_wrapped_int(as_double(v, real), out, error);
    return out;
  }
  if (is_integral(t) && !t->is_unsigned) {
    return sign_extend(bits, static_cast<unsigned>(8 * t->size));
  }
  return static_cast<int64_t>(bits);
}

double Evaluator::as_double(Value& v, bool real) {
  const Type* t = strip(v.type);
  const uint64_t bits = scalar_bits(v, real);
  if (t->code == TypeCode::Float) {
    if (t->size == 4) {
      float f;
      const uint32_t b32 = static_cast<uint32_t>(bits);
      std::memcpy(&f, &b32, 4);
      return f;
    }
    double d;
    std::memcpy(&d, &bits, 8);
    return d;
  }
  if (is_integral(t) && !t->is_unsigned) {
    return static_cast<double>(sign_extend(bits, static_cast<unsigned>(8 * t->size)));
  }
  return static_cast<double>(bits);
}

bool Evaluator::truth(Value& v, bool real) {
  v = coerce(v);
  const Type* t = strip(v.type);
  if (!is_scalar(t)) {
    fail("a value of type " + type_name(v.type) + " cannot be used as a condition");
  }
  if (t->code == TypeCode::Float) {
    return as_double(v, real) != 0;
  }
  return scalar_bits(v, real) != 0;
}

Value Evaluator::make_int(const Type* t, uint64_t bits) const {
  Value v;
  v.type = t;
  v.known = true;
  v.bits = bits & size_mask(strip(t)->size);
  return v;
}

Value Evaluator::make_float(const Type* t, double d) const {
  Value v;
  v.type = t;
  v.known = true;
  if (strip(t)->size == 4) {
    const float f = static_cast<float>(d);
    uint32_t b32;
    std::memcpy(&b32, &f, 4);
    v.bits = b32;
  } else {
    std::memcpy(&v.bits, &d, 8);
  }
  return v;
}

// Arrays become pointers to their first element and functions pointers to themselves.
Value Evaluator::coerce(Value v) {
  const Type* t = strip(v.type);
  if (t->code == TypeCode::NoDebugData) {
    fail(kNoDebugType);
  }
  if (t->code == TypeCode::Array && v.in_memory) {
    return make_int(arena_.pointer_to(t->target), v.address);
  }
  if (t->code == TypeCode::Function || t->code == TypeCode::NoDebugText) {
    return make_int(arena_.pointer_to(v.type), v.address);
  }
  return v;
}

Value Evaluator::deref(Value& pointer, bool real) {
  const Type* t = strip(pointer.type);
  const Type* target = t->target != nullptr ? t->target : b_.void_type;
  if (strip(target)->code == TypeCode::Void) {
    fail("cannot dereference a pointer to void (" + type_name(pointer.type) + ")");
  }
  Value v;
  v.type = target;
  v.in_memory = true;
  v.address = scalar_bits(pointer, real);
  return v;
}

Value Evaluator::field(const Value& object, const Member& m, uint64_t bit_pos) {
  Value v;
  v.type = m.type;
  const Type* mt = strip(m.type);
  if (object.in_memory) {
    v.in_memory = true;
    if (m.bit_size == 0) {
      v.address = object.address + bit_pos / 8;
    } else {
      // The debugger places a bit-field's address at the start of the storage unit of its
      // declared type that holds its first bit.
      const uint64_t unit = 8 * (mt->size != 0 ? mt->size : 1);
      const uint64_t unit_start = bit_pos - bit_pos % unit;
      v.address = object.address + unit_start / 8;
      v.bit_pos = static_cast<uint32_t>(bit_pos - unit_start);
      v.bit_size = m.bit_size;
    }
    return v;
  }
  if (object.bytes == nullptr) {
    // Only types matter here (an operand being checked, not evaluated).
    v.known = true;
    return v;
  }
  const std::vector<uint8_t>& bytes = *object.bytes;
  if (m.bit_size != 0) {
    if ((bit_pos + m.bit_size + 7) / 8 > bytes.size()) {
      fail("member " + m.name + " lies outside its value");
    }
    uint64_t bits = extract_bits(bytes.data(), static_cast<uint32_t>(bit_pos), m.bit_size);
    if (is_integral(mt) && !mt->is_unsigned) {
      bits = static_cast<uint64_t>(sign_extend(bits, m.bit_size));
    }
    return make_int(m.type, bits);
  }
  const uint64_t start = bit_pos / 8;
  if (start + mt->size > bytes.size()) {
    fail("member " + m.name + " lies outside its value");
  }
  if (is_scalar(mt) && mt->size <= 8) {
    v.known = true;
    v.bits = decode(bytes.data() + start, mt->size);
    return v;
  }
  v.bytes = std::make_shared<const std::vector<uint8_t>>(bytes.begin() + start,
                                                         bytes.begin() + start + mt->size);
  return v;
}

// GDB's promotion of two operands: each integer narrower than int counts as int; the wider
// operand decides, at equal width an unsigned one wins; the result is the builtin type of
// that width. Floating operands give the wider floating type.
const Type* Evaluator::promote(const Type* a, const Type* b) const {
  const bool fa = a->code == TypeCode::Float;
  const bool fb = b->code == TypeCode::Float;
  if (fa || fb) {
    if (!fa) {
      return b;
    }
    if (!fb) {
      return a;
    }
    return b->size > a->size ? b : a;
  }
  const uint64_t int_size = b_.int_type->size;
  uint64_t la = a->size;
  uint64_t lb = b->size;
  bool ua = a->is_unsigned;
  bool ub = b->is_unsigned;
  if (la < int_size) {
    la = int_size;
    ua = false;
  }
  if (lb < int_size) {
    lb = int_size;
    ub = false;
  }
  uint64_t len = la;
  bool is_unsigned = ua;
  if (lb > la) {
    len = lb;
    is_unsigned = ub;
  } else if (la == lb) {
    is_unsigned = ua || ub;
  }
  if (len <= int_size) {
    return is_unsigned ? b_.uint : b_.int_type;
  }
  if (len <= b_.long_type->size) {
    return is_unsigned ? b_.ulong : b_.long_type;
  }
  return is_unsigned ? b_.ullong : b_.llong;
}

// The operand of a unary operator is promoted only when narrower than int; an operand as
// wide keeps its type (an enum stays an enum), as in the debugger.
const Type* Evaluator::unary_type(const Type* t) const {
  return strip(t)->size < b_.int_type->size ? b_.int_type : t;
}

Value Evaluator::cast(Value v, const Type* to, bool real) {
  const Type* ts = strip(to);
  const Type* vs = strip(v.type);
  const auto invalid = [&] {
    return EvalError{"invalid cast from " + type_name(v.type) + " to " + type_name(to)};
  };
  if (ts->code == TypeCode::Void) {
    Value out;
    out.type = to;
    out.known = true;
    return out;
  }
  if (vs->code == TypeCode::NoDebugData && v.in_memory) {
    // The declared type a symbol without debug information is given.
    Value out;
    out.type = to;
    out.in_memory = true;
    out.address = v.address;
    return out;
  }
  if (vs->code == TypeCode::Struct || vs->code == TypeCode::Union) {
    const bool to_record = ts->code == TypeCode::Struct || ts->code == TypeCode::Union;
    if (to_record && ts->size != vs->size) {
      throw invalid();
    }
    if (!to_record && !is_scalar(ts)) {
      throw invalid();
    }
    // An object in memory read as another type, as the debugger does.
    if (v.in_memory) {
      Value out;
      out.type = to;
      out.in_memory = true;
      out.address = v.address;
      return out;
    }
    if (to_record) {
      v.type = to;
      return v;
    }
    throw invalid();
  }
  if (!is_scalar(ts)) {
    throw invalid();
  }
  v = coerce(v);
  vs = strip(v.type);
  if (!is_scalar(vs)) {
    throw invalid();
  }
  if (ts->code == TypeCode::Pointer) {
    if (vs->code == TypeCode::Float) {
      throw invalid();
    }
    return make_int(to, static_cast<uint64_t>(as_signed(v, real)));
  }
  if (ts->code == TypeCode::Float) {
    if (vs->code == TypeCode::Pointer) {
      throw invalid();
    }
    return make_float(to, as_double(v, real));
  }
  // An integer, enum or bool.
  if (vs->code == TypeCode::Float) {
    // Through an integer first, so (_Bool)0.5 is false as in the debugger.
    int64_t i = 0;
    std::string ignored;
    double_to_wrapped_int(as_double(v, real), i, ignored);
    if (ts->code == TypeCode::Bool) {
      return make_int(to, i != 0 ? 1 : 0);
    }
    return make_int(to, static_cast<uint64_t>(i));
  }
  const int64_t i = as_signed(v, real);
  if (ts->code == TypeCode::Bool) {
    return make_int(to, i != 0 ? 1 : 0);
  }
  return make_int(to, static_cast<uint64_t>(i));
}

std::vector<uint8_t> Evaluator::contents(Value& v, std::size_t limit) {
  const Type* t = strip(v.type);
  if (t->size > limit) {
    fail("a value of " + byte_count(t->size) + " is too large to show");
  }
  if (v.bytes != nullptr) {
    return *v.bytes;
  }
  if (!v.in_memory) {
    fail("a value of type " + type_name(v.type) + " has no contents");
  }
  std::vector<uint8_t> out(t->size);
  if (!out.empty()) {
    read(v.address, out.size(), out.data());
  }
  return out;
}

// ---- operators ----------------------------------------------------------------------------

Value Evaluator::eval(const Node* n, bool real) {
  switch (n->kind) {
  case NodeKind::Integer:
    return make_int(n->type, n->int_value);
  case NodeKind::Floating:
    return make_float(n->type, n->real);
  case NodeKind::String: {
    Value v;
    v.type = n->type;
    v.bytes = std::make_shared<const std::vector<uint8_t>>(n->text.begin(), n->text.end());
    return v;
  }
  case NodeKind::Name: {
    const Symbol& s = *n->symbol;
    switch (s.kind) {
    case Symbol::Kind::Enumerator:
      return make_int(s.type, static_cast<uint64_t>(s.enum_value));
    case Symbol::Kind::Constant: {
      Value v;
      v.type = s.type;
      const Type* t = strip(s.type);
      if (is_scalar(t) && t->size <= 8 && s.const_bytes.size() == t->size) {
        v.known = true;
        v.bits = decode(s.const_bytes.data(), t->size);
      } else {
        v.bytes = std::make_shared<const std::vector<uint8_t>>(s.const_bytes);
      }
      return v;
    }
    case Symbol::Kind::Variable:
    case Symbol::Kind::Function: {
      Value v;
      v.type = s.type;
      v.in_memory = true;
      v.address = s.address;
      return v;
    }
    }
    fail("unknown symbol kind");
  }
  case NodeKind::Member:
    return eval_member(n, real);
  case NodeKind::Index:
    return eval_index(n, real);
  case NodeKind::Unary:
    return eval_unary(n, real);
  case NodeKind::Cast:
    return cast(eval(n->a, real), n->type, real);
  case NodeKind::SizeofType: {
    const Type* t = strip(n->type);
    if (t->incomplete || t->code == TypeCode::NoDebugData) {
      fail("sizeof applied to the incomplete type " + type_name(n->type));
    }
    return make_int(b_.int_type, type_size(n->type));
  }
  case NodeKind::SizeofValue: {
    const Value v = eval(n->a, false);
    const Type* t = strip(v.type);
    if (t->incomplete || t->code == TypeCode::NoDebugData) {
      fail("sizeof applied to a value of the incomplete type " + type_name(v.type));
    }
    return make_int(b_.int_type, type_size(v.type));
  }
  case NodeKind::Binary: {
    Value l = eval(n->a, real);
    Value r = eval(n->b, real);
    return eval_binary(n->op, std::move(l), std::move(r), real);
  }
  case NodeKind::LogicalAnd:
  case NodeKind::LogicalOr:
    return eval_logical(n, real);
  case NodeKind::Conditional: {
    Value c = eval(n->a, real);
    return truth(c, real) ? eval(n->b, real) : eval(n->c, real);
  }
  case NodeKind::Assign:
    return eval_assign(n, real);
  case NodeKind::Comma:
    eval(n->a, real);
    return eval(n->b, real);
  }
  fail("unknown expression");
}

Value Evaluator::eval_member(const Node* n, bool real) {
  Value v = coerce(eval(n->a, real));
  const Type* operand = v.type;
  // "." and "->" both look through any number of pointers, as the debugger lets them.
  for (int i = 0; i < 16 && strip(v.type)->code == TypeCode::Pointer; ++i) {
    v = deref(v, real);
  }
  const Type* st = strip(v.type);
  if (st->code != TypeCode::Struct && st->code != TypeCode::Union) {
    fail(std::string(n->arrow ? "\"->\" needs a pointer to a struct or union"
                              : "\".\" needs a struct or union") +
         ", not " + type_name(operand) + " (member \"" + n->text + "\")");
  }
  if (st->incomplete) {
    fail(type_name(v.type) + " is declared but not defined in the program");
  }
  uint64_t bit_pos = 0;
  const Member* m = find_member(st, n->text, bit_pos, 0);
  if (m == nullptr) {
    fail(type_name(v.type) + " has no member \"" + n->text + "\"");
  }
  return field(v, *m, bit_pos);
}

Value Evaluator::eval_index(const Node* n, bool real) {
  Value base = eval(n->a, real);
  Value index = eval(n->b, real);
  const Type* bt = strip(base.type);
  if (bt->code != TypeCode::Array && bt->code != TypeCode::Pointer) {
    fail("cannot subscript a value of type " + type_name(base.type));
  }
  if (!is_integral(strip(index.type))) {
    fail("an index must be an integer, not " + type_name(index.type));
  }
  const int64_t i = as_signed(index, real);
  if (bt->code == TypeCode::Array && !base.in_memory && base.bytes != nullptr) {
    const uint64_t es = type_size(bt->target);
    if (i < 0 || static_cast<uint64_t>(i) >= (es != 0 ? base.bytes->size() / es : 0)) {
      fail("index " + std::to_string(i) + " is outside the array");
    }
    Member m;
    m.type = bt->target;
    return field(base, m, static_cast<uint64_t>(i) * es * 8);
  }
  if (bt->code == TypeCode::Array) {
    base = coerce(base);
    bt = strip(base.type);
  }
  if (bt->code != TypeCode::Pointer) {
    fail("cannot subscript a value of type " + type_name(base.type));
  }
  const uint64_t es = type_size(bt->target);
  Value element = make_int(base.type, scalar_bits(base, real) + static_cast<uint64_t>(i) * es);
  return deref(element, real);
}

Value Evaluator::eval_unary(const Node* n, bool real) {
  Value v = eval(n->a, real);
  const Type* t = strip(v.type);
  switch (n->op) {
  case '&':
    if (t->code == TypeCode::Function || t->code == TypeCode::NoDebugText) {
      return coerce(v);
    }
    if (!v.in_memory) {
      fail("cannot take the address of a value that is not in memory");
    }
    return make_int(arena_.pointer_to(v.type), v.address);
  case '*':
    if (t->code == TypeCode::Array && v.in_memory) {
      v = coerce(v);
      return deref(v, real);
    }
    if (t->code == TypeCode::Pointer) {
      if (strip(t->target)->code == TypeCode::Function) {
        Value f;
        f.type = t->target;
        f.in_memory = true;
        f.address = scalar_bits(v, real);
        return f;
      }
      return deref(v, real);
    }
    if (t->code == TypeCode::Function || t->code == TypeCode::NoDebugText) {
      return v;
    }
    if (t->code == TypeCode::Int) {
      // The debugger reads an int at an address written as a plain number.
      Value at;
      at.type = b_.int_type;
      at.in_memory = true;
      at.address = scalar_bits(v, real);
      return at;
    }
    fail("cannot dereference a value of type " + type_name(v.type));
  case '!':
    return make_int(b_.int_type, truth(v, real) ? 0 : 1);
  default:
    break;
  }
  v = coerce(v);
  t = strip(v.type);
  if (n->op == '-' || n->op == '+') {
    if (t->code == TypeCode::Float) {
      const double d = as_double(v, real);
      return make_float(v.type, n->op == '-' ? -d : d);
    }
    if (!is_integral(t)) {
      fail(std::string("unary \"") + static_cast<char>(n->op) + "\" needs a number, not " +
           type_name(v.type));
    }
    const uint64_t bits = static_cast<uint64_t>(as_signed(v, real));
    return make_int(unary_type(v.type), n->op == '-' ? ~bits + 1 : bits);
  }
  // '~'
  if (!is_integral(t)) {
    fail("\"~\" needs an integer, not " + type_name(v.type));
  }
  return make_int(unary_type(v.type), ~static_cast<uint64_t>(as_signed(v, real)));
}

Value Evaluator::eval_binary(int op, Value l, Value r, bool real) {
  l = coerce(std::move(l));
  r = coerce(std::move(r));
  const Type* lt = strip(l.type);
  const Type* rt = strip(r.type);
  const auto refusal = [&]() {
    return EvalError{"\"" + op_text(op) + "\" cannot combine " + type_name(l.type) + " and " +
                     type_name(r.type)};
  };
  if (!is_scalar(lt) || !is_scalar(rt)) {
    throw refusal();
  }
  const bool lp = lt->code == TypeCode::Pointer;
  const bool rp = rt->code == TypeCode::Pointer;
  const bool comparison =
      op == '<' || op == '>' || op == kOpLe || op == kOpGe || op == kOpEq || op == kOpNe;

  if (lp || rp) {
    if (comparison) {
      if ((lp && !rp && !is_integral(rt)) || (rp && !lp && !is_integral(lt))) {
        throw refusal();
      }
      const uint64_t a = static_cast<uint64_t>(as_signed(l, real));
      const uint64_t b = static_cast<uint64_t>(as_signed(r, real));
      bool result = false;
      switch (op) {
      case '<':
        result = a < b;
        break;
      case '>':
        result = a > b;
        break;
      case kOpLe:
        result = a <= b;
        break;
      case kOpGe:
        result = a >= b;
        break;
      case kOpEq:
        result = a == b;
        break;
      default:
        result = a != b;
        break;
      }
      return make_int(b_.int_type, result ? 1 : 0);
    }
    if (op == '+' && lp != rp) {
      Value& ptr = lp ? l : r;
      Value& offset = lp ? r : l;
      if (!is_integral(strip(offset.type))) {
        throw refusal();
      }
      const Type* pt = strip(ptr.type);
      const uint64_t es = type_size(pt->target);
      if (es == 0) {
        fail("pointer arithmetic on the incomplete type " + type_name(pt->target));
      }
      return make_int(ptr.type,
                      scalar_bits(ptr, real) + static_cast<uint64_t>(as_signed(offset, real)) * es);
    }
    if (op == '-' && lp && !rp) {
      if (!is_integral(rt)) {
        throw refusal();
      }
      const uint64_t es = type_size(lt->target);
      if (es == 0) {
        fail("pointer arithmetic on the incomplete type " + type_name(lt->target));
      }
      return make_int(l.type,
                      scalar_bits(l, real) - static_cast<uint64_t>(as_signed(r, real)) * es);
    }
    if (op == '-' && lp && rp) {
      const uint64_t ls = type_size(lt->target);
      const uint64_t rs = type_size(rt->target);
      if (ls != rs) {
        fail("cannot subtract pointers to types of different sizes (" + type_name(l.type) +
             " and " + type_name(r.type) + ")");
      }
      const int64_t diff = static_cast<int64_t>(scalar_bits(l, real) - scalar_bits(r, real));
      const int64_t step = ls == 0 ? 1 : static_cast<int64_t>(ls);
      return make_int(b_.long_type, static_cast<uint64_t>(diff / step));
    }
    throw refusal();
  }

  if (op == kOpShl || op == kOpShr) {
    if (!is_integral(lt) || !is_integral(rt)) {
      throw refusal();
    }
    const Type* t = promote(lt, lt);
    const unsigned width = static_cast<unsigned>(8 * t->size);
    const int64_t a = as_signed(l, real);
    const int64_t count = as_signed(r, real);
    // A count below zero or at the width fills the result with the sign (0 for a left
    // shift), as the debugger does it (with a warning).
    if (count < 0 || count >= static_cast<int64_t>(width)) {
      const bool negative = !t->is_unsigned && sign_extend(static_cast<uint64_t>(a), width) < 0;
      return make_int(t, op == kOpShr && negative ? ~uint64_t{0} : 0);
    }
    if (op == kOpShl) {
      return make_int(t, static_cast<uint64_t>(a) << count);
    }
    if (t->is_unsigned) {
      return make_int(t, (static_cast<uint64_t>(a) & size_mask(t->size)) >> count);
    }
    return make_int(t,
                    static_cast<uint64_t>(sign_extend(static_cast<uint64_t>(a), width) >> count));
  }

  const Type* t = promote(lt, rt);
  if (t->code == TypeCode::Float) {
    const double a = as_double(l, real);
    const double b = as_double(r, real);
    switch (op) {
    case '+':
      return make_float(t, a + b);
    case '-':
      return make_float(t, a - b);
    case '*':
      return make_float(t, a * b);
    case '/':
      return make_float(t, a / b);
    case '<':
      return make_int(b_.int_type, a < b);
    case '>':
      return make_int(b_.int_type, a > b);
    case kOpLe:
      return make_int(b_.int_type, a <= b);
    case kOpGe:
      return make_int(b_.int_type, a >= b);
    case kOpEq:
      return make_int(b_.int_type, a == b);
    case kOpNe:
      return make_int(b_.int_type, a != b);
    default:
      throw refusal();
    }
  }

  const uint64_t mask = size_mask(t->size);
  const uint64_t a = static_cast<uint64_t>(as_signed(l, real)) & mask;
  const uint64_t b = static_cast<uint64_t>(as_signed(r, real)) & mask;
  const unsigned width = static_cast<unsigned>(8 * t->size);
  const int64_t sa = sign_extend(a, width);
  const int64_t sb = sign_extend(b, width);
  const bool u = t->is_unsigned;
  switch (op) {
  case '+':
    return make_int(t, a + b);
  case '-':
    return make_int(t, a - b);
  case '*':
    return make_int(t, a * b);
  case '/':
  case '%':
    if (b == 0) {
      if (real) {
        fail("division by zero");
      }
      return make_int(t, 0);
    }
    if (u) {
      return make_int(t, op == '/' ? a / b : a % b);
    }
    if (sa == INT64_MIN && sb == -1) {
      // Wraps instead of trapping (the debugger dies on this one).
      return make_int(t, op == '/' ? a : 0);
    }
    return make_int(t, static_cast<uint64_t>(op == '/' ? sa / sb : sa % sb));
  case '&':
    return make_int(t, a & b);
  case '|':
    return make_int(t, a | b);
  case '^':
    return make_int(t, a ^ b);
  case '<':
    return make_int(b_.int_type, u ? a < b : sa < sb);
  case '>':
    return make_int(b_.int_type, u ? a > b : sa > sb);
  case kOpLe:
    return make_int(b_.int_type, u ? a <= b : sa <= sb);
  case kOpGe:
    return make_int(b_.int_type, u ? a >= b : sa >= sb);
  case kOpEq:
    return make_int(b_.int_type, a == b);
  case kOpNe:
    return make_int(b_.int_type, a != b);
  default:
    throw refusal();
  }
}

Value Evaluator::eval_logical(const Node* n, bool real) {
  Value l = eval(n->a, real);
  // The other operand is checked even when it is not evaluated, as the debugger checks it.
  eval(n->b, false);
  const bool and_op = n->kind == NodeKind::LogicalAnd;
  bool result = truth(l, real);
  if (result == and_op) {
    Value r = eval(n->b, real);
    result = truth(r, real);
  }
  return make_int(b_.int_type, result ? 1 : 0);
}

Value Evaluator::eval_assign(const Node* n, bool real) {
  Value l = eval(n->a, real);
  Value r = eval(n->b, real);
  if (n->op != '=') {
    r = eval_binary(n->op, l, std::move(r), real);
  }
  const Type* lt = strip(l.type);
  if (!l.in_memory || lt->code == TypeCode::Function || lt->code == TypeCode::NoDebugText) {
    fail("the left side of the assignment is not an object in memory");
  }
  if (!is_scalar(lt)) {
    fail("cannot assign to a value of type " + type_name(l.type));
  }
  Value v = cast(std::move(r), l.type, real);
  uint64_t bits = scalar_bits(v, real);
  if (real) {
    if (l.bit_size != 0) {
      uint8_t buf[16];
      const uint32_t first = l.bit_pos / 8;
      const uint32_t count = (l.bit_pos + l.bit_size - 1) / 8 - first + 1;
      read(l.address + first, count, buf);
      insert_bits(buf, l.bit_pos % 8, l.bit_size, bits);
      write(l.address + first, buf, count);
    } else {
      uint8_t buf[8];
      encode(bits, lt->size, buf);
      write(l.address, buf, lt->size);
    }
  }
  if (l.bit_size != 0) {
    // What the field now holds: the value cut to its width.
    bits &= l.bit_size >= 64 ? ~uint64_t{0} : (uint64_t{1} << l.bit_size) - 1;
    if (is_integral(lt) && !lt->is_unsigned) {
      bits = static_cast<uint64_t>(sign_extend(bits, l.bit_size));
    }
  }
  l.known = true;
  l.bits = bits & size_mask(lt->size);
  return l;
}

int64_t Evaluator::to_int64(Value& v) {
  const Type* t = strip(v.type);
  if (t->code == TypeCode::NoDebugData) {
    fail(kNoDebugType);
  }
  if (t->code == TypeCode::Float) {
    int64_t out = 0;
    std::string error;
    if (!double_to_wrapped_int(as_double(v, true), out, error)) {
      fail(error);
    }
    return out;
  }
  if (is_integral(t) || t->code == TypeCode::Pointer) {
    return as_signed(v, true);
  }
  fail("a value of type " + type_name(v.type) + " is not a number");
}

} // namespace rsp_eval
