// Lexing and parsing of formulas: C expressions as OS generators write them, with the
// debugger's reading of literals (their types follow its rules, which a formula's value
// depends on) and of casts to the program's types.
#include "eval/expression.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace rsp_eval {

const Type* TypeArena::pointer_to(const Type* target) {
  Type& t = types_.emplace_back();
  t.code = TypeCode::Pointer;
  t.size = static_cast<uint64_t>(program_.address_size);
  t.target = target;
  return &t;
}

const Type* TypeArena::qualified(TypeCode qualifier, const Type* target) {
  Type& t = types_.emplace_back();
  t.code = qualifier;
  t.size = target->size;
  t.target = target;
  return &t;
}

const Type* TypeArena::array_of(const Type* element, int64_t count) {
  Type& t = types_.emplace_back();
  t.code = TypeCode::Array;
  t.target = element;
  t.count = count;
  t.size = count > 0 ? static_cast<uint64_t>(count) * type_size(element) : 0;
  return &t;
}

Type& TypeArena::function_returning(const Type* result) {
  Type& t = types_.emplace_back();
  t.code = TypeCode::Function;
  t.size = 1;
  t.target = result;
  t.prototyped = true;
  return t;
}

namespace {

// ---- type names ---------------------------------------------------------------------------

std::string join_declarator(const std::string& base, const std::string& declarator) {
  return declarator.empty() ? base : base + " " + declarator;
}

bool starts_with_qualifier(const std::string& d) {
  return d.rfind("const", 0) == 0 || d.rfind("volatile", 0) == 0;
}

std::string declare(const Type* t, std::string declarator, int budget);

std::string base_name(const Type* t) {
  switch (t->code) {
  case TypeCode::Struct:
    return t->name.empty() ? "struct {...}" : "struct " + t->name;
  case TypeCode::Union:
    return t->name.empty() ? "union {...}" : "union " + t->name;
  case TypeCode::Enum:
    return t->name.empty() ? "enum {...}" : "enum " + t->name;
  default:
    return t->name;
  }
}

std::string declare(const Type* t, std::string declarator, int budget) {
  if (t == nullptr || budget <= 0) {
    return join_declarator("void", declarator);
  }
  switch (t->code) {
  case TypeCode::Pointer: {
    std::string d = "*" + std::string(starts_with_qualifier(declarator) ? " " : "") + declarator;
    const Type* target = t->target;
    if (target != nullptr &&
        (target->code == TypeCode::Array || target->code == TypeCode::Function)) {
      d = "(" + d + ")";
    }
    return declare(target, d, budget - 1);
  }
  case TypeCode::Const:
  case TypeCode::Volatile: {
    // C qualifies an array through its elements, which carry the qualifier themselves.
    if (t->target != nullptr && t->target->code == TypeCode::Array) {
      return declare(t->target, declarator, budget - 1);
    }
    const char* word = t->code == TypeCode::Const ? "const" : "volatile";
    if (t->target != nullptr && t->target->code == TypeCode::Pointer) {
      return declare(t->target, declarator.empty() ? word : std::string(word) + " " + declarator,
                     budget - 1);
    }
    const std::string inner = declare(t->target, "", budget - 1);
    return join_declarator(std::string(word) + " " + inner, declarator);
  }
  case TypeCode::Array: {
    const std::string bound = t->count >= 0 ? std::to_string(t->count) : "";
    return declare(t->target, declarator + "[" + bound + "]", budget - 1);
  }
  case TypeCode::Function: {
    std::string params;
    if (t->params.empty()) {
      params = t->prototyped ? "void" : "";
    }
    for (std::size_t i = 0; i < t->params.size() && i < 64; ++i) {
      params += (i ? ", " : "") + declare(t->params[i], "", budget - 1);
    }
    if (t->varargs) {
      params += params.empty() ? "..." : ", ...";
    }
    return declare(t->target, declarator + "(" + params + ")", budget - 1);
  }
  default:
    return join_declarator(base_name(t), declarator);
  }
}

// ---- lexer --------------------------------------------------------------------------------

enum class Tok : uint8_t { End, Ident, Number, Char, String, Punct };

// Punctuator codes beyond the AST's operator codes.
enum : int {
  kTokArrow = 300,
  kTokAndAnd,
  kTokOrOr,
  kTokIncrement,
  kTokDecrement,
  kTokCompound, // op= ; the operator is in Token::sub
  kTokScope,
  kTokEllipsis,
};

struct Token {
  Tok kind = Tok::End;
  int op = 0;
  int sub = 0;
  uint32_t pos = 0;
  uint32_t len = 0;
};

bool ident_start(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool ident_char(char c) {
  return ident_start(c) || (c >= '0' && c <= '9');
}
bool digit(char c) {
  return c >= '0' && c <= '9';
}

std::vector<Token> lex(std::string_view s) {
  std::vector<Token> out;
  std::size_t i = 0;
  while (i < s.size()) {
    const char c = s[i];
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') {
      ++i;
      continue;
    }
    Token t;
    t.pos = static_cast<uint32_t>(i);
    if (ident_start(c)) {
      std::size_t j = i + 1;
      while (j < s.size() && ident_char(s[j])) {
        ++j;
      }
      // L'x', u"..." and their kin are wide literals, which formulas never need.
      if (j < s.size() && (s[j] == '\'' || s[j] == '"') &&
          (s.substr(i, j - i) == "L" || s.substr(i, j - i) == "u" || s.substr(i, j - i) == "U" ||
           s.substr(i, j - i) == "u8")) {
        throw EvalError{"wide character and string literals are not supported"};
      }
      t.kind = Tok::Ident;
      t.len = static_cast<uint32_t>(j - i);
    } else if (digit(c) || (c == '.' && i + 1 < s.size() && digit(s[i + 1]))) {
      // A preprocessing number: everything that could belong to a literal, checked later.
      std::size_t j = i + 1;
      while (j < s.size()) {
        const char d = s[j];
        if ((d == '+' || d == '-') &&
            (s[j - 1] == 'e' || s[j - 1] == 'E' || s[j - 1] == 'p' || s[j - 1] == 'P')) {
          ++j;
        } else if (ident_char(d) || d == '.') {
          ++j;
        } else {
          break;
        }
      }
      t.kind = Tok::Number;
      t.len = static_cast<uint32_t>(j - i);
    } else if (c == '\'' || c == '"') {
      std::size_t j = i + 1;
      while (j < s.size() && s[j] != c) {
        j += s[j] == '\\' ? 2 : 1;
      }
      if (j >= s.size()) {
        throw EvalError{c == '\'' ? "unterminated character constant"
                                  : "unterminated string literal"};
      }
      t.kind = c == '\'' ? Tok::Char : Tok::String;
      t.len = static_cast<uint32_t>(j + 1 - i);
    } else {
      t.kind = Tok::Punct;
      auto next = [&](std::size_t k) { return i + k < s.size() ? s[i + k] : '\0'; };
      const char n1 = next(1);
      t.len = 2;
      if (c == '-' && n1 == '>') {
        t.op = kTokArrow;
      } else if (c == '&' && n1 == '&') {
        t.op = kTokAndAnd;
      } else if (c == '|' && n1 == '|') {
        t.op = kTokOrOr;
      } else if (c == '+' && n1 == '+') {
        t.op = kTokIncrement;
      } else if (c == '-' && n1 == '-') {
        t.op = kTokDecrement;
      } else if (c == ':' && n1 == ':') {
        t.op = kTokScope;
      } else if (c == '.' && n1 == '.' && next(2) == '.') {
        t.op = kTokEllipsis;
        t.len = 3;
      } else if ((c == '<' || c == '>') && n1 == c) {
        if (next(2) == '=') {
          t.op = kTokCompound;
          t.sub = c == '<' ? kOpShl : kOpShr;
          t.len = 3;
        } else {
          t.op = c == '<' ? kOpShl : kOpShr;
        }
      } else if (c == '<' && n1 == '=') {
        t.op = kOpLe;
      } else if (c == '>' && n1 == '=') {
        t.op = kOpGe;
      } else if (c == '=' && n1 == '=') {
        t.op = kOpEq;
      } else if (c == '!' && n1 == '=') {
        t.op = kOpNe;
      } else if (n1 == '=' && std::strchr("+-*/%&|^", c) != nullptr) {
        t.op = kTokCompound;
        t.sub = c;
      } else {
        t.op = static_cast<unsigned char>(c);
        t.len = 1;
      }
    }
    out.push_back(t);
    i += t.len;
  }
  Token end;
  end.pos = static_cast<uint32_t>(s.size());
  out.push_back(end);
  return out;
}

// ---- literals -----------------------------------------------------------------------------

bool fits(uint64_t v, const Type* t) {
  const int bits = static_cast<int>(t->size * 8) - (t->is_unsigned ? 0 : 1);
  return bits >= 64 || v < (uint64_t{1} << bits);
}

void integer_literal(std::string_view text, const BuiltinTypes& b, Node& n) {
  const std::string bad = "invalid number \"" + std::string(text) + "\"";
  std::size_t end = text.size();
  int longs = 0;
  bool is_unsigned = false;
  while (end > 0 && std::strchr("uUlL", text[end - 1]) != nullptr) {
    if (text[end - 1] == 'u' || text[end - 1] == 'U') {
      is_unsigned = true;
    } else {
      ++longs;
    }
    --end;
  }
  std::string_view digits = text.substr(0, end);
  int base = 10;
  if (digits.size() > 1 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    base = 16;
    digits.remove_prefix(2);
  } else if (digits.size() > 1 && digits[0] == '0' && (digits[1] == 'b' || digits[1] == 'B')) {
    base = 2;
    digits.remove_prefix(2);
  } else if (digits.size() > 1 && digits[0] == '0') {
    base = 8;
    digits.remove_prefix(1);
  }
  if (digits.empty()) {
    throw EvalError{bad};
  }
  uint64_t value = 0;
  for (char c : digits) {
    int d = 99;
    if (c >= '0' && c <= '9') {
      d = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      d = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
      d = c - 'A' + 10;
    }
    if (d >= base) {
      throw EvalError{bad};
    }
    if (value > (UINT64_MAX - static_cast<uint64_t>(d)) / static_cast<uint64_t>(base)) {
      throw EvalError{"numeric constant too large: " + std::string(text)};
    }
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
  }
  // The first type of C's list that holds the value; a decimal constant too large for
  // long long becomes unsigned long long rather than an error, as in the debugger.
  std::vector<const Type*> candidates;
  if (is_unsigned) {
    candidates = {b.uint, b.ulong, b.ullong};
  } else if (base == 10) {
    candidates = {b.int_type, b.long_type, b.llong, b.ullong};
  } else {
    candidates = {b.int_type, b.uint, b.long_type, b.ulong, b.llong, b.ullong};
  }
  const Type* chosen = b.ullong;
  for (const Type* t : candidates) {
    const bool long_enough =
        longs == 0 ||
        (longs == 1 && t->size >= b.long_type->size && t != b.int_type && t != b.uint) ||
        (longs >= 2 && t->size == 8 && t != b.long_type && t != b.ulong);
    if (long_enough && fits(value, t)) {
      chosen = t;
      break;
    }
  }
  n.kind = NodeKind::Integer;
  n.type = chosen;
  n.int_value = value;
}

void number_literal(std::string_view text, const BuiltinTypes& b, Node& n) {
  const bool hex = text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const bool floating = text.find('.') != std::string_view::npos ||
                        (!hex && text.find_first_of("eE") != std::string_view::npos) ||
                        (hex && text.find_first_of("pP") != std::string_view::npos);
  if (!floating) {
    integer_literal(text, b, n);
    return;
  }
  std::string body(text);
  const Type* type = b.double_type;
  if (!body.empty() && (body.back() == 'f' || body.back() == 'F') && !hex) {
    type = b.float_type;
    body.pop_back();
  } else if (!body.empty() && (body.back() == 'l' || body.back() == 'L')) {
    type = b.long_double;
    body.pop_back();
  }
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(body.c_str(), &end);
  if (end == body.c_str() || *end != '\0') {
    throw EvalError{"invalid number \"" + std::string(text) + "\""};
  }
  n.kind = NodeKind::Floating;
  n.type = type;
  n.real = type == b.float_type ? static_cast<double>(static_cast<float>(v)) : v;
}

// One character of a character constant or string literal at s[i]; advances i.
uint32_t escaped_char(std::string_view s, std::size_t& i) {
  if (s[i] != '\\') {
    return static_cast<unsigned char>(s[i++]);
  }
  ++i;
  if (i >= s.size()) {
    throw EvalError{"incomplete escape sequence"};
  }
  const char c = s[i++];
  switch (c) {
  case 'n':
    return '\n';
  case 't':
    return '\t';
  case 'r':
    return '\r';
  case 'a':
    return '\a';
  case 'b':
    return '\b';
  case 'f':
    return '\f';
  case 'v':
    return '\v';
  case 'e':
    return 27;
  case 'x': {
    uint32_t v = 0;
    std::size_t digits = 0;
    while (i < s.size() && std::strchr("0123456789abcdefABCDEF", s[i]) != nullptr && s[i] != '\0') {
      const char d = s[i++];
      v = v * 16 + static_cast<uint32_t>(d <= '9' ? d - '0' : (d | 0x20) - 'a' + 10);
      v &= 0xFFFFFF;
      ++digits;
    }
    if (digits == 0) {
      throw EvalError{"\\x used with no following hex digits"};
    }
    return v;
  }
  default:
    if (c >= '0' && c <= '7') {
      uint32_t v = static_cast<uint32_t>(c - '0');
      for (int k = 0; k < 2 && i < s.size() && s[i] >= '0' && s[i] <= '7'; ++k) {
        v = v * 8 + static_cast<uint32_t>(s[i++] - '0');
      }
      return v;
    }
    // \\, \', \", \? and unknown escapes stand for the character itself.
    return static_cast<unsigned char>(c);
  }
}

// ---- parser -------------------------------------------------------------------------------

struct BinaryOp {
  int prec;
  NodeKind kind;
};

bool binary_op(const Token& t, BinaryOp& out) {
  if (t.kind != Tok::Punct) {
    return false;
  }
  switch (t.op) {
  case kTokOrOr:
    out = {1, NodeKind::LogicalOr};
    return true;
  case kTokAndAnd:
    out = {2, NodeKind::LogicalAnd};
    return true;
  case '|':
    out = {3, NodeKind::Binary};
    return true;
  case '^':
    out = {4, NodeKind::Binary};
    return true;
  case '&':
    out = {5, NodeKind::Binary};
    return true;
  case kOpEq:
  case kOpNe:
    out = {6, NodeKind::Binary};
    return true;
  case '<':
  case '>':
  case kOpLe:
  case kOpGe:
    out = {7, NodeKind::Binary};
    return true;
  case kOpShl:
  case kOpShr:
    out = {8, NodeKind::Binary};
    return true;
  case '+':
  case '-':
    out = {9, NodeKind::Binary};
    return true;
  case '*':
  case '/':
  case '%':
    out = {10, NodeKind::Binary};
    return true;
  default:
    return false;
  }
}

constexpr std::string_view kTypeWords[] = {
    "void",   "char",   "short",    "int",        "long",    "float",
    "double", "signed", "unsigned", "_Bool",      "const",   "volatile",
    "struct", "union",  "enum",     "__signed__", "__const", "__volatile__"};

class Parser {
public:
  Parser(std::string_view text, TypeArena& arena, ExpressionTree& tree)
      : text_(text), arena_(arena), tree_(tree), p_(arena.program()), b_(p_.builtin),
        toks_(lex(text)) {}

  const Node* parse() {
    const Node* n = comma();
    if (peek().kind != Tok::End) {
      syntax_error();
    }
    return n;
  }

private:
  struct Nest {
    explicit Nest(Parser& p) : p_(p) {
      if (++p_.nesting_ > kMaxNesting) {
        throw EvalError{"the expression nests deeper than " + std::to_string(kMaxNesting) +
                        " levels"};
      }
    }
    ~Nest() { --p_.nesting_; }
    Parser& p_;
  };

  const Token& peek(std::size_t k = 0) const { return toks_[std::min(i_ + k, toks_.size() - 1)]; }
  std::string_view spell(const Token& t) const { return text_.substr(t.pos, t.len); }
  bool is_punct(int op, std::size_t k = 0) const {
    return peek(k).kind == Tok::Punct && peek(k).op == op;
  }
  bool is_word(std::string_view w, std::size_t k = 0) const {
    return peek(k).kind == Tok::Ident && spell(peek(k)) == w;
  }
  void expect(int op) {
    if (!is_punct(op)) {
      syntax_error();
    }
    ++i_;
  }
  [[noreturn]] void syntax_error() const {
    const Token& t = peek();
    if (t.kind == Tok::End) {
      throw EvalError{"syntax error at the end of the expression"};
    }
    std::string near(text_.substr(t.pos, 24));
    if (t.pos + 24 < text_.size()) {
      near += "...";
    }
    throw EvalError{"syntax error near \"" + near + "\""};
  }

  Node& make(NodeKind kind, const Node* a = nullptr, const Node* b = nullptr,
             const Node* c = nullptr) {
    Node& n = tree_.add();
    n.kind = kind;
    n.a = a;
    n.b = b;
    n.c = c;
    int depth = 0;
    for (const Node* child : {a, b, c}) {
      if (child != nullptr && child->depth > depth) {
        depth = child->depth;
      }
    }
    n.depth = depth + 1;
    if (n.depth > kMaxTreeDepth) {
      throw EvalError{"the expression has more than " + std::to_string(kMaxTreeDepth) +
                      " levels of operators"};
    }
    return n;
  }

  const Node* comma() {
    const Node* left = assign();
    while (is_punct(',')) {
      ++i_;
      const Node* right = assign();
      left = &make(NodeKind::Comma, left, right);
    }
    return left;
  }

  // Nest guards count each place where parsing descends into a whole expression again, so
  // the limit is one of nesting, not of grammar levels.
  const Node* assign() {
    const Node* left = conditional();
    if (is_punct('=') || is_punct(kTokCompound)) {
      const int op = is_punct('=') ? '=' : peek().sub;
      ++i_;
      Nest nest(*this);
      const Node* right = assign();
      Node& n = make(NodeKind::Assign, left, right);
      n.op = op;
      return &n;
    }
    return left;
  }

  const Node* conditional() {
    const Node* cond = binary(1);
    if (!is_punct('?')) {
      return cond;
    }
    ++i_;
    Nest nest(*this);
    const Node* yes = comma();
    expect(':');
    const Node* no = conditional();
    return &make(NodeKind::Conditional, cond, yes, no);
  }

  const Node* binary(int min_prec) {
    const Node* left = cast();
    BinaryOp op;
    while (binary_op(peek(), op) && op.prec >= min_prec) {
      const int code = peek().op;
      ++i_;
      const Node* right = binary(op.prec + 1);
      Node& n = make(op.kind, left, right);
      n.op = code;
      left = &n;
    }
    return left;
  }

  const Node* cast() {
    if (is_punct('(') && starts_type(1)) {
      ++i_;
      const Type* t = type_name_();
      expect(')');
      Nest nest(*this);
      const Node* operand = cast();
      Node& n = make(NodeKind::Cast, operand);
      n.type = t;
      return &n;
    }
    return unary();
  }

  const Node* unary() {
    const Token& t = peek();
    if (t.kind == Tok::Punct) {
      switch (t.op) {
      case '-':
      case '+':
      case '!':
      case '~':
      case '*':
      case '&': {
        ++i_;
        Nest nest(*this);
        const Node* operand = cast();
        Node& n = make(NodeKind::Unary, operand);
        n.op = t.op;
        return &n;
      }
      case kTokIncrement:
      case kTokDecrement:
        throw EvalError{"increment and decrement operators are not supported"};
      default:
        break;
      }
    }
    if (is_word("sizeof")) {
      ++i_;
      if (is_punct('(') && starts_type(1)) {
        ++i_;
        const Type* type = type_name_();
        expect(')');
        Node& n = make(NodeKind::SizeofType);
        n.type = type;
        return &n;
      }
      Nest nest(*this);
      return &make(NodeKind::SizeofValue, unary());
    }
    if (is_word("_Alignof") || is_word("alignof")) {
      throw EvalError{"alignof is not supported"};
    }
    return postfix();
  }

  const Node* postfix() {
    const Node* n = primary();
    for (;;) {
      if (is_punct('[')) {
        ++i_;
        Nest nest(*this);
        const Node* index = comma();
        expect(']');
        n = &make(NodeKind::Index, n, index);
      } else if (is_punct('.') || is_punct(kTokArrow)) {
        const bool arrow = is_punct(kTokArrow);
        ++i_;
        if (peek().kind != Tok::Ident) {
          syntax_error();
        }
        Node& m = make(NodeKind::Member, n);
        m.arrow = arrow;
        m.text = std::string(spell(peek()));
        ++i_;
        n = &m;
      } else if (is_punct('(')) {
        throw EvalError{"calling functions is not supported"};
      } else if (is_punct(kTokIncrement) || is_punct(kTokDecrement)) {
        throw EvalError{"increment and decrement operators are not supported"};
      } else {
        return n;
      }
    }
  }

  const Node* primary() {
    const Token t = peek();
    switch (t.kind) {
    case Tok::Number: {
      ++i_;
      Node& n = make(NodeKind::Integer);
      number_literal(spell(t), b_, n);
      return &n;
    }
    case Tok::Char: {
      ++i_;
      const std::string_view body = spell(t).substr(1, t.len - 2);
      if (body.empty()) {
        throw EvalError{"empty character constant"};
      }
      std::size_t k = 0;
      const uint32_t v = escaped_char(body, k);
      if (k != body.size()) {
        throw EvalError{"invalid character constant " + std::string(spell(t))};
      }
      Node& n = make(NodeKind::Integer);
      n.type = b_.char_type;
      n.int_value = v & 0xFF;
      return &n;
    }
    case Tok::String: {
      Node& n = make(NodeKind::String);
      // Adjacent literals are one string, as in C.
      while (peek().kind == Tok::String) {
        const std::string_view body = spell(peek()).substr(1, peek().len - 2);
        for (std::size_t k = 0; k < body.size();) {
          n.text.push_back(static_cast<char>(escaped_char(body, k) & 0xFF));
        }
        ++i_;
      }
      n.text.push_back('\0');
      n.type = arena_.array_of(b_.char_type, static_cast<int64_t>(n.text.size()));
      return &n;
    }
    case Tok::Ident: {
      const std::string_view name = spell(t);
      if (name == "sizeof") {
        syntax_error();
      }
      ++i_;
      const Symbol* sym = p_.find_symbol(name);
      if (sym == nullptr) {
        if (p_.find_typedef(name) != nullptr || is_type_word(name)) {
          throw EvalError{"\"" + std::string(name) + "\" is a type, not a value"};
        }
        throw EvalError{"no symbol \"" + std::string(name) + "\" in the program"};
      }
      Node& n = make(NodeKind::Name);
      n.symbol = sym;
      n.text = std::string(name);
      return &n;
    }
    case Tok::Punct:
      if (t.op == '(') {
        ++i_;
        Nest nest(*this);
        const Node* inner = comma();
        expect(')');
        return inner;
      }
      if (t.op == '$') {
        throw EvalError{"registers and convenience variables are not supported"};
      }
      if (t.op == kTokScope) {
        throw EvalError{"scope qualifiers are not supported"};
      }
      syntax_error();
    case Tok::End:
      syntax_error();
    }
    syntax_error();
  }

  static bool is_type_word(std::string_view w) {
    for (std::string_view k : kTypeWords) {
      if (k == w) {
        return true;
      }
    }
    return false;
  }

  bool starts_type(std::size_t k) const {
    const Token& t = peek(k);
    if (t.kind != Tok::Ident) {
      return false;
    }
    const std::string_view w = spell(t);
    if (is_type_word(w)) {
      return true;
    }
    return p_.find_symbol(w) == nullptr && p_.find_typedef(w) != nullptr;
  }

  // specifier-qualifier list followed by an abstract declarator, as in "(const struct x *)".
  const Type* type_name_() {
    bool is_const = false;
    bool is_volatile = false;
    int n_signed = 0, n_unsigned = 0, n_short = 0, n_long = 0, n_int = 0, n_char = 0;
    int n_float = 0, n_double = 0, n_void = 0, n_bool = 0;
    const Type* named = nullptr;
    for (;;) {
      if (peek().kind != Tok::Ident) {
        break;
      }
      const std::string_view w = spell(peek());
      if (w == "const" || w == "__const") {
        is_const = true;
      } else if (w == "volatile" || w == "__volatile__") {
        is_volatile = true;
      } else if (w == "signed" || w == "__signed__") {
        ++n_signed;
      } else if (w == "unsigned") {
        ++n_unsigned;
      } else if (w == "short") {
        ++n_short;
      } else if (w == "long") {
        ++n_long;
      } else if (w == "int") {
        ++n_int;
      } else if (w == "char") {
        ++n_char;
      } else if (w == "float") {
        ++n_float;
      } else if (w == "double") {
        ++n_double;
      } else if (w == "void") {
        ++n_void;
      } else if (w == "_Bool") {
        ++n_bool;
      } else if (w == "struct" || w == "union" || w == "enum") {
        if (named != nullptr || peek(1).kind != Tok::Ident) {
          syntax_error();
        }
        const std::string_view tag = spell(peek(1));
        const NameMap<const Type*>& map = w == "struct"  ? p_.struct_tags
                                          : w == "union" ? p_.union_tags
                                                         : p_.enum_tags;
        named = ProgramSymbols::find_in(map, tag);
        if (named == nullptr) {
          throw EvalError{"no " + std::string(w) + " type named " + std::string(tag)};
        }
        ++i_;
      } else if (named == nullptr &&
                 n_signed + n_unsigned + n_short + n_long + n_int + n_char + n_float + n_double +
                         n_void + n_bool ==
                     0 &&
                 p_.find_typedef(w) != nullptr && p_.find_symbol(w) == nullptr) {
        named = p_.find_typedef(w);
      } else {
        break;
      }
      ++i_;
    }
    const int basic = n_short + n_long + n_int + n_char + n_float + n_double + n_void + n_bool;
    const Type* base = named;
    if (named != nullptr) {
      if (basic + n_signed + n_unsigned != 0) {
        throw EvalError{"invalid combination of type specifiers"};
      }
    } else {
      base = basic_type(n_signed, n_unsigned, n_short, n_long, n_int, n_char, n_float, n_double,
                        n_void, n_bool);
    }
    if (is_volatile) {
      base = arena_.qualified(TypeCode::Volatile, base);
    }
    if (is_const) {
      base = arena_.qualified(TypeCode::Const, base);
    }
    return abstract_declarator(base);
  }

  const Type* basic_type(int s, int u, int sh, int lg, int in, int ch, int fl, int db, int vd,
                         int bl) {
    const auto bad = [] { return EvalError{"invalid combination of type specifiers"}; };
    if (s + u > 1 || in > 1 || sh > 1 || lg > 2 || ch > 1 || fl > 1 || db > 1 || vd > 1 || bl > 1) {
      throw bad();
    }
    if (vd + bl + fl + db > 0) {
      if (s + u + sh + in + ch > 0 || vd + bl + fl + db > 1 || (lg > 0 && !(db && lg == 1))) {
        throw bad();
      }
      if (vd) {
        return b_.void_type;
      }
      if (bl) {
        return b_.bool_type;
      }
      if (fl) {
        return b_.float_type;
      }
      return lg ? b_.long_double : b_.double_type;
    }
    if (ch) {
      if (sh + lg + in > 0) {
        throw bad();
      }
      return s ? b_.schar : u ? b_.uchar : b_.char_type;
    }
    if (sh) {
      if (lg > 0) {
        throw bad();
      }
      return u ? b_.ushort : b_.short_type;
    }
    if (lg == 2) {
      return u ? b_.ullong : b_.llong;
    }
    if (lg == 1) {
      return u ? b_.ulong : b_.long_type;
    }
    if (in + s + u == 0) {
      syntax_error();
    }
    return u ? b_.uint : b_.int_type;
  }

  // The derivations of an abstract declarator, in the order they apply to the base type.
  struct Derivation {
    enum Kind : uint8_t { Pointer, Const, Volatile, Array, Function } kind;
    explicit Derivation(Kind k) : kind(k) {}
    int64_t count = -1;
    std::vector<const Type*> params;
    bool varargs = false;
    bool prototyped = false;
  };

  void declarator(std::vector<Derivation>& out) {
    Nest nest(*this);
    while (is_punct('*')) {
      ++i_;
      out.push_back(Derivation(Derivation::Pointer));
      while (is_word("const") || is_word("volatile") || is_word("__const") || is_word("restrict") ||
             is_word("__restrict")) {
        const std::string_view w = spell(peek());
        if (w == "const" || w == "__const") {
          out.push_back(Derivation(Derivation::Const));
        } else if (w == "volatile") {
          out.push_back(Derivation(Derivation::Volatile));
        }
        ++i_;
      }
    }
    std::vector<Derivation> inner;
    if (is_punct('(') && (is_punct('*', 1) || is_punct('(', 1) || is_punct('[', 1))) {
      ++i_;
      declarator(inner);
      expect(')');
    }
    std::vector<Derivation> suffixes;
    for (;;) {
      if (is_punct('[')) {
        ++i_;
        Derivation d(Derivation::Array);
        if (peek().kind == Tok::Number) {
          Node tmp;
          integer_literal(spell(peek()), b_, tmp);
          d.count = static_cast<int64_t>(tmp.int_value & 0x7FFFFFFFFFFFFFFF);
          ++i_;
        }
        expect(']');
        suffixes.push_back(d);
      } else if (is_punct('(')) {
        ++i_;
        Derivation d(Derivation::Function);
        d.prototyped = true;
        if (is_word("void") && is_punct(')', 1)) {
          ++i_;
        } else if (!is_punct(')')) {
          for (;;) {
            if (is_punct(kTokEllipsis)) {
              ++i_;
              d.varargs = true;
              break;
            }
            if (!starts_type(0)) {
              syntax_error();
            }
            d.params.push_back(type_name_());
            if (!is_punct(',')) {
              break;
            }
            ++i_;
          }
        }
        expect(')');
        suffixes.push_back(d);
      } else {
        break;
      }
    }
    // "T *[2][3]" is an array of 2 arrays of 3 pointers: suffixes apply right to left.
    for (std::size_t k = suffixes.size(); k-- > 0;) {
      out.push_back(suffixes[k]);
    }
    out.insert(out.end(), inner.begin(), inner.end());
  }

  const Type* abstract_declarator(const Type* base) {
    std::vector<Derivation> ds;
    declarator(ds);
    const Type* t = base;
    for (const Derivation& d : ds) {
      switch (d.kind) {
      case Derivation::Pointer:
        t = arena_.pointer_to(t);
        break;
      case Derivation::Const:
        t = arena_.qualified(TypeCode::Const, t);
        break;
      case Derivation::Volatile:
        t = arena_.qualified(TypeCode::Volatile, t);
        break;
      case Derivation::Array:
        t = arena_.array_of(t, d.count);
        break;
      case Derivation::Function: {
        Type& f = arena_.function_returning(t);
        f.params = d.params;
        f.varargs = d.varargs;
        f.prototyped = d.prototyped;
        t = &f;
        break;
      }
      }
    }
    return t;
  }

  std::string_view text_;
  TypeArena& arena_;
  ExpressionTree& tree_;
  const ProgramSymbols& p_;
  const BuiltinTypes& b_;
  std::vector<Token> toks_;
  std::size_t i_ = 0;
  int nesting_ = 0;
};

} // namespace

void parse_expression(std::string_view text, TypeArena& arena, ExpressionTree& tree) {
  if (text.size() > kMaxExpressionLength) {
    throw EvalError{"the expression is longer than " + std::to_string(kMaxExpressionLength) +
                    " characters"};
  }
  Parser parser(text, arena, tree);
  tree.root = parser.parse();
}

std::string type_name(const Type* t) {
  return declare(t, "", 64);
}

} // namespace rsp_eval
