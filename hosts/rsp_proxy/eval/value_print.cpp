// Texts of values, as the GDB host hands them to the plug-in for "print /n": a char pointer
// or char array gives the string it holds; anything else is printed as GDB prints a value
// (decimal numbers, 65 'A', enumerator names, 0x915c <Tasks+28>, {a = 1, b = 2}), with GDB's
// default limits of 200 elements and 10 repeats.
#include "eval/evaluator.h"

#include <cmath>
#include <cstring>

namespace rsp_eval {

namespace {

constexpr std::size_t kMaxText = 4096;       // code points the host keeps of a text
constexpr std::size_t kPrintElements = 200;  // GDB's "print elements"
constexpr std::size_t kRepeatThreshold = 10; // GDB's "print repeats"
constexpr std::size_t kMaxPrinted = 65536;   // bytes of output before printing gives up
constexpr std::size_t kMaxAggregate = 65536; // bytes of one struct or array read to print it
constexpr int kMaxPrintDepth = 20;           // GDB's "print max-depth"

std::string hex(uint64_t v) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "0x%llx", static_cast<unsigned long long>(v));
  return buf;
}

int64_t sign_extend(uint64_t bits, unsigned width) {
  if (width == 0 || width >= 64) {
    return static_cast<int64_t>(bits);
  }
  const uint64_t sign = uint64_t{1} << (width - 1);
  bits &= (sign << 1) - 1;
  return static_cast<int64_t>((bits ^ sign) - sign);
}

// Length of the well-formed UTF-8 sequence at s[0..n), or 0.
std::size_t utf8_sequence(const uint8_t* s, std::size_t n, uint32_t* code = nullptr) {
  const uint8_t c = s[0];
  std::size_t len = 0;
  uint32_t cp = 0;
  uint8_t lo = 0x80, hi = 0xBF;
  if (c < 0x80) {
    if (code != nullptr) {
      *code = c;
    }
    return 1;
  } else if (c >= 0xC2 && c <= 0xDF) {
    len = 2;
    cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    len = 3;
    cp = c & 0x0F;
    if (c == 0xE0) {
      lo = 0xA0;
    } else if (c == 0xED) {
      hi = 0x9F;
    }
  } else if (c >= 0xF0 && c <= 0xF4) {
    len = 4;
    cp = c & 0x07;
    if (c == 0xF0) {
      lo = 0x90;
    } else if (c == 0xF4) {
      hi = 0x8F;
    }
  } else {
    return 0;
  }
  for (std::size_t k = 1; k < len; ++k) {
    if (k >= n) {
      return 0;
    }
    const uint8_t b = s[k];
    if (b < (k == 1 ? lo : 0x80) || b > (k == 1 ? hi : 0xBF)) {
      return 0;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  if (code != nullptr) {
    *code = cp;
  }
  return len;
}

// One character as GDB shows it inside quotes q (' or ").
void emit_char(std::string& out, uint8_t c, char q) {
  switch (c) {
  case '\a':
    out += "\\a";
    return;
  case '\b':
    out += "\\b";
    return;
  case '\t':
    out += "\\t";
    return;
  case '\n':
    out += "\\n";
    return;
  case '\v':
    out += "\\v";
    return;
  case '\f':
    out += "\\f";
    return;
  case '\r':
    out += "\\r";
    return;
  default:
    break;
  }
  if (c == '\\' || c == static_cast<uint8_t>(q)) {
    out += '\\';
    out += static_cast<char>(c);
  } else if (c >= 0x20 && c < 0x7F) {
    out += static_cast<char>(c);
  } else {
    char buf[8];
    std::snprintf(buf, sizeof buf, "\\%03o", c);
    out += buf;
  }
}

std::string format_float(double d, bool single) {
  if (std::isnan(d)) {
    uint64_t bits = 0;
    uint64_t mantissa = 0;
    bool negative = false;
    if (single) {
      const float f = static_cast<float>(d);
      uint32_t b32;
      std::memcpy(&b32, &f, 4);
      mantissa = b32 & 0x7FFFFF;
      negative = (b32 >> 31) != 0;
    } else {
      std::memcpy(&bits, &d, 8);
      mantissa = bits & 0xFFFFFFFFFFFFF;
      negative = (bits >> 63) != 0;
    }
    return std::string(negative ? "-" : "") + "nan(" + hex(mantissa) + ")";
  }
  if (std::isinf(d)) {
    return d < 0 ? "-inf" : "inf";
  }
  char buf[64];
  std::snprintf(buf, sizeof buf, single ? "%.9g" : "%.17g", d);
  return buf;
}

} // namespace

std::string utf8_with_replacement(const uint8_t* s, std::size_t n) {
  std::string out;
  out.reserve(n);
  std::size_t i = 0;
  while (i < n) {
    const std::size_t len = utf8_sequence(s + i, n - i);
    if (len > 0) {
      out.append(reinterpret_cast<const char*>(s + i), len);
      i += len;
      continue;
    }
    // One replacement per maximal ill-formed prefix, as Python's decoder does it.
    std::size_t skip = 1;
    const uint8_t c = s[i];
    std::size_t want = c >= 0xC2 && c <= 0xDF   ? 2
                       : c >= 0xE0 && c <= 0xEF ? 3
                       : c >= 0xF0 && c <= 0xF4 ? 4
                                                : 1;
    for (std::size_t k = 1; k < want && i + k < n; ++k) {
      uint8_t lo = 0x80, hi = 0xBF;
      if (k == 1) {
        lo = c == 0xE0 ? 0xA0 : c == 0xF0 ? 0x90 : 0x80;
        hi = c == 0xED ? 0x9F : c == 0xF4 ? 0x8F : 0xBF;
      }
      if (s[i + k] < lo || s[i + k] > hi) {
        break;
      }
      skip = k + 1;
    }
    out += "\xEF\xBF\xBD";
    i += skip;
  }
  return out;
}

std::string utf8_prefix(const std::string& text, std::size_t max_chars) {
  std::size_t chars = 0;
  std::size_t i = 0;
  while (i < text.size() && chars < max_chars) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    i += c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    ++chars;
  }
  return text.substr(0, std::min(i, text.size()));
}

// The GDB host's reading of a C string: 64 bytes at a time, byte by byte once a block runs
// into memory that cannot be read, and at most limit bytes.
std::string Evaluator::read_c_string(uint64_t address, std::size_t limit) {
  std::vector<uint8_t> data;
  uint8_t chunk[64];
  while (data.size() < limit) {
    const std::size_t step = std::min<std::size_t>(64, limit - data.size());
    std::size_t got = step;
    std::string error;
    if (!try_read(address + data.size(), step, chunk, error)) {
      if (step == 1) {
        if (data.empty()) {
          throw EvalError{error};
        }
        break;
      }
      read(address + data.size(), 1, chunk);
      got = 1;
    }
    const void* nul = std::memchr(chunk, 0, got);
    if (nul != nullptr) {
      data.insert(data.end(), static_cast<const uint8_t*>(chunk), static_cast<const uint8_t*>(nul));
      break;
    }
    data.insert(data.end(), chunk, chunk + got);
  }
  return utf8_with_replacement(data.data(), data.size());
}

std::string Evaluator::print_top(Value& v) {
  const Type* t = strip(v.type);
  if (t->code == TypeCode::Pointer && is_char_like(t->target)) {
    return read_c_string(scalar_bits(v, true), kMaxText);
  }
  if (t->code == TypeCode::Array && is_char_like(t->target)) {
    // The array's text up to its first NUL; reading stops there, or where the text is long
    // enough to fill what the host keeps of it.
    std::vector<uint8_t> data;
    if (v.bytes != nullptr) {
      data = *v.bytes;
    } else {
      const uint64_t size = t->count >= 0 ? t->size : 0;
      const uint64_t limit = std::min<uint64_t>(size, 4 * kMaxText);
      uint8_t chunk[256];
      while (data.size() < limit) {
        const std::size_t step = std::min<std::size_t>(sizeof chunk, limit - data.size());
        read(v.address + data.size(), step, chunk);
        data.insert(data.end(), chunk, chunk + step);
        if (std::memchr(chunk, 0, step) != nullptr) {
          break;
        }
      }
    }
    const void* nul = std::memchr(data.data(), 0, data.size());
    const std::size_t n =
        nul != nullptr ? static_cast<std::size_t>(static_cast<const uint8_t*>(nul) - data.data())
                       : data.size();
    return utf8_prefix(utf8_with_replacement(data.data(), n), kMaxText);
  }
  std::string out;
  print_value(out, v, 0);
  return utf8_prefix(out, kMaxText);
}

void Evaluator::print_value(std::string& out, Value& v, int depth) {
  const Type* t = strip(v.type);
  switch (t->code) {
  case TypeCode::Void:
    out += "void";
    return;
  case TypeCode::NoDebugData:
    scalar_bits(v, true); // explains that the type is unknown
    return;
  case TypeCode::Function:
  case TypeCode::NoDebugText:
    out += "{" + type_name(v.type) + "} " + hex(v.address);
    print_address_symbol(out, v.address, true);
    return;
  default:
    break;
  }
  if (is_scalar(t)) {
    print_scalar(out, v.type, scalar_bits(v, true), depth);
    return;
  }
  const std::vector<uint8_t> bytes = contents(v, kMaxAggregate);
  print_aggregate(out, v.type, bytes.data(), v.address, depth);
}

void Evaluator::print_scalar(std::string& out, const Type* type, uint64_t bits, int depth) {
  const Type* t = strip(type);
  const unsigned width = static_cast<unsigned>(8 * t->size);
  switch (t->code) {
  case TypeCode::Int: {
    const int64_t sv = t->is_unsigned ? static_cast<int64_t>(bits) : sign_extend(bits, width);
    out += t->is_unsigned ? std::to_string(bits) : std::to_string(sv);
    if (t->size == 1) {
      out += " '";
      emit_char(out, static_cast<uint8_t>(bits), '\'');
      out += "'";
    }
    return;
  }
  case TypeCode::Bool:
    out += bits == 0 ? "false" : bits == 1 ? "true" : std::to_string(bits);
    return;
  case TypeCode::Float: {
    double d = 0;
    if (t->size == 4) {
      float f;
      const uint32_t b32 = static_cast<uint32_t>(bits);
      std::memcpy(&f, &b32, 4);
      d = f;
    } else {
      std::memcpy(&d, &bits, 8);
    }
    out += format_float(d, t->size == 4);
    return;
  }
  case TypeCode::Enum: {
    const int64_t sv = t->is_unsigned ? static_cast<int64_t>(bits) : sign_extend(bits, width);
    for (const Enumerator& e : t->enumerators) {
      if (e.value == sv) {
        out += e.name;
        return;
      }
    }
    if (!t->flag_enum) {
      out += t->is_unsigned ? std::to_string(bits) : std::to_string(sv);
      return;
    }
    uint64_t rest = bits;
    bool first = true;
    for (const Enumerator& e : t->enumerators) {
      const uint64_t ev = static_cast<uint64_t>(e.value);
      if (ev != 0 && (rest & ev) == ev) {
        out += first ? "(" : " | ";
        out += e.name;
        rest &= ~ev;
        first = false;
      }
    }
    if (rest != 0) {
      out += first ? "(unknown: " : " | unknown: ";
      out += hex(rest) + ")";
    } else if (first) {
      out += "0";
    } else {
      out += ")";
    }
    return;
  }
  case TypeCode::Pointer:
    print_pointer(out, t, bits, depth);
    return;
  default:
    out += "?";
    return;
  }
}

void Evaluator::print_address_symbol(std::string& out, uint64_t address, bool code) {
  uint64_t offset = 0;
  const ElfSymbol* s = p_.symbol_at(address, code, offset);
  if (s == nullptr) {
    return;
  }
  out += " <" + s->name;
  if (offset != 0) {
    out += "+" + std::to_string(offset);
  }
  out += ">";
}

void Evaluator::print_pointer(std::string& out, const Type* pointer, uint64_t address, int) {
  const Type* target = strip(pointer->target != nullptr ? pointer->target : b_.void_type);
  const bool code = target->code == TypeCode::Function || target->code == TypeCode::NoDebugText;
  out += hex(address);
  print_address_symbol(out, address, code);
  if (!is_char_like(pointer->target) || address == 0) {
    return;
  }
  // A string behind a char pointer, read as the debugger reads it: at most 200 characters,
  // in small steps so that the end of readable memory only shortens it.
  std::vector<uint8_t> s;
  bool found_nul = false;
  std::string error;
  uint8_t chunk[8];
  while (s.size() < kPrintElements && !found_nul) {
    const std::size_t step = std::min<std::size_t>(sizeof chunk, kPrintElements - s.size());
    std::size_t got = 0;
    if (try_read(address + s.size(), step, chunk, error)) {
      got = step;
    } else {
      while (got < step && try_read(address + s.size() + got, 1, chunk + got, error)) {
        ++got;
      }
    }
    for (std::size_t k = 0; k < got; ++k) {
      if (chunk[k] == 0) {
        found_nul = true;
        break;
      }
      s.push_back(chunk[k]);
    }
    if (got < step && !found_nul) {
      break;
    }
    error.clear();
  }
  const uint64_t failed_at = address + s.size();
  if (!s.empty() || error.empty()) {
    out += " ";
    print_char_string(out, s.data(), s.size(), !found_nul && error.empty());
  }
  if (!error.empty() && !found_nul) {
    out += std::string(s.empty() ? " " : "") + "<error: Cannot access memory at address " +
           hex(failed_at) + ">";
  }
}

// A run of characters as GDB's string printer shows it: quoted, runs of more than ten equal
// characters as 'c' <repeats N times>, at most 200 characters, then "...".
void Evaluator::print_char_string(std::string& out, const uint8_t* s, std::size_t n,
                                  bool truncated) {
  if (n == 0 && !truncated) {
    out += "\"\"";
    return;
  }
  std::size_t i = 0;
  std::size_t printed = 0;
  bool in_quote = false;
  bool any = false;
  while (i < n && printed < kPrintElements) {
    std::size_t reps = 1;
    while (i + reps < n && s[i + reps] == s[i]) {
      ++reps;
    }
    if (reps > kRepeatThreshold) {
      if (in_quote) {
        out += "\"";
        in_quote = false;
      }
      out += any ? ", '" : "'";
      emit_char(out, s[i], '\'');
      out += "' <repeats " + std::to_string(reps) + " times>";
      i += reps;
      printed += kRepeatThreshold;
      any = true;
      continue;
    }
    if (!in_quote) {
      out += any ? ", \"" : "\"";
      in_quote = true;
      any = true;
    }
    uint32_t code = 0;
    const std::size_t len = s[i] >= 0x80 ? utf8_sequence(s + i, n - i, &code) : 0;
    if (len > 1 && code >= 0xA0) {
      out.append(reinterpret_cast<const char*>(s + i), len);
      i += len;
    } else {
      emit_char(out, s[i], '"');
      ++i;
    }
    ++printed;
  }
  if (in_quote) {
    out += "\"";
  }
  if (truncated || i < n) {
    out += "...";
  }
}

void Evaluator::print_aggregate(std::string& out, const Type* type, const uint8_t* bytes,
                                uint64_t address, int depth) {
  const Type* t = strip(type);
  if (out.size() > kMaxPrinted) {
    return;
  }
  if (t->code == TypeCode::Struct || t->code == TypeCode::Union) {
    if (t->incomplete) {
      out += "<incomplete type>";
      return;
    }
    if (depth >= kMaxPrintDepth) {
      out += "{...}";
      return;
    }
    if (t->members.empty()) {
      out += "{<No data fields>}";
      return;
    }
    out += "{";
    bool first = true;
    for (const Member& m : t->members) {
      if (!first) {
        out += ", ";
      }
      first = false;
      if (!m.name.empty()) {
        out += m.name + " = ";
      }
      const Type* mt = strip(m.type);
      if (m.bit_size != 0) {
        if ((m.bit_pos + m.bit_size + 7) / 8 > t->size) {
          out += "?";
          continue;
        }
        uint64_t bits = extract_bits(bytes, static_cast<uint32_t>(m.bit_pos), m.bit_size);
        if (is_integral(mt) && !mt->is_unsigned) {
          bits = static_cast<uint64_t>(sign_extend(bits, m.bit_size));
        }
        print_scalar(out, m.type, bits, depth + 1);
        continue;
      }
      const uint64_t start = m.bit_pos / 8;
      if (start + mt->size > t->size) {
        out += "?";
        continue;
      }
      if (is_scalar(mt) && mt->size <= 8) {
        print_scalar(out, m.type, decode(bytes + start, mt->size), depth + 1);
      } else if (is_aggregate(mt)) {
        print_aggregate(out, m.type, bytes + start, address + start, depth + 1);
      } else {
        out += "?";
      }
      if (out.size() > kMaxPrinted) {
        return;
      }
    }
    out += "}";
    return;
  }
  if (t->code != TypeCode::Array) {
    out += "?";
    return;
  }
  const Type* element = t->target;
  const uint64_t es = type_size(element);
  const uint64_t count = t->count > 0 && es != 0 ? std::min<uint64_t>(t->size / es, t->count) : 0;
  if (is_char_like(element)) {
    std::size_t n = static_cast<std::size_t>(count);
    // A terminating NUL is not shown.
    if (n > 0 && bytes[n - 1] == 0) {
      --n;
    }
    print_char_string(out, bytes, n, false);
    return;
  }
  if (depth >= kMaxPrintDepth) {
    out += "{...}";
    return;
  }
  out += "{";
  std::size_t printed = 0;
  uint64_t i = 0;
  for (; i < count && printed < kPrintElements; ++i) {
    if (i != 0) {
      out += ", ";
    }
    uint64_t reps = 1;
    while (i + reps < count && std::memcmp(bytes + i * es, bytes + (i + reps) * es, es) == 0) {
      ++reps;
    }
    const Type* est = strip(element);
    if (is_scalar(est) && est->size <= 8) {
      print_scalar(out, element, decode(bytes + i * es, est->size), depth + 1);
    } else if (is_aggregate(est)) {
      print_aggregate(out, element, bytes + i * es, address + i * es, depth + 1);
    } else {
      out += "?";
    }
    if (reps > kRepeatThreshold) {
      out += " <repeats " + std::to_string(reps) + " times>";
      i += reps - 1;
      printed += kRepeatThreshold;
    } else {
      ++printed;
    }
    if (out.size() > kMaxPrinted) {
      return;
    }
  }
  if (i < count) {
    out += "...";
  }
  out += "}";
}

} // namespace rsp_eval
