// A formula parsed into a tree, with its identifiers already resolved against the program:
// the parser needs the program's typedef names to tell a cast from a parenthesised
// expression, so resolving there costs nothing extra and reports an unknown name early.
#pragma once

#include "eval/program.h"
#include "eval/types.h"

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace rsp_eval {

// The reason an expression cannot be parsed or evaluated. Thrown inside this module only:
// the public functions turn it into an outcome.
struct EvalError {
  std::string reason;
};

// Nesting beyond these limits is refused: parsing and evaluation recurse, and a hostile
// formula must not exhaust the stack. Real formulas stay far below them.
constexpr int kMaxNesting = 100;   // parentheses, unary operators, casts, conditionals
constexpr int kMaxTreeDepth = 400; // operator chains such as a + b + c + ...
constexpr std::size_t kMaxExpressionLength = 65536;

// Types made during one evaluation (pointer to a struct for "&", the types casts name):
// they live as long as the evaluation, so the program itself is never modified.
class TypeArena {
public:
  explicit TypeArena(const ProgramSymbols& program) : program_(program) {}
  const Type* pointer_to(const Type* target);
  const Type* qualified(TypeCode qualifier, const Type* target);
  const Type* array_of(const Type* element, int64_t count);
  Type& function_returning(const Type* result);
  const ProgramSymbols& program() const { return program_; }

private:
  const ProgramSymbols& program_;
  std::deque<Type> types_;
};

enum class NodeKind : uint8_t {
  Integer,  // int_value of type
  Floating, // real of type
  String,   // text (with its NUL) as an array of char
  Name,     // symbol
  Member,   // a.text, or a->text when arrow
  Index,    // a[b]
  Unary,    // op a, op one of - + ! ~ * &
  Cast,     // (type) a
  SizeofType,
  SizeofValue,
  Binary, // a op b
  LogicalAnd,
  LogicalOr,
  Conditional, // a ? b : c
  Assign,      // a = b; a op= b when op is not '='
  Comma,
};

// Operator codes above the single characters.
enum : int {
  kOpShl = 256,
  kOpShr,
  kOpLe,
  kOpGe,
  kOpEq,
  kOpNe,
};

struct Node {
  NodeKind kind = NodeKind::Integer;
  int op = 0;
  bool arrow = false;
  int depth = 1;
  const Node* a = nullptr;
  const Node* b = nullptr;
  const Node* c = nullptr;
  const Type* type = nullptr;
  uint64_t int_value = 0;
  double real = 0;
  const Symbol* symbol = nullptr;
  std::string text;
};

// The parsed formula; its nodes live in the tree.
class ExpressionTree {
public:
  const Node* root = nullptr;
  Node& add() { return nodes_.emplace_back(); }

private:
  std::deque<Node> nodes_;
};

// Parses text; throws EvalError with the reason when it is not an expression of the program.
void parse_expression(std::string_view text, TypeArena& arena, ExpressionTree& tree);

// The C name of a type, as the debugger prints it ("struct tcb *", "int (*)(int, int)").
std::string type_name(const Type* t);

} // namespace rsp_eval
