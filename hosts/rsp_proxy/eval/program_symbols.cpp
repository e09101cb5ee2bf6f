// The evaluator's public entry points: parse, evaluate, and turn any failure into an outcome
// whose message names the formula.
#include "eval/program_symbols.h"

#include "eval/evaluator.h"
#include "eval/expression.h"

#include <new>

namespace {

// Formulas can be long; the message quotes enough of one to recognise it.
std::string failure(std::string_view expression, const std::string& reason) {
  constexpr std::size_t kQuoted = 200;
  std::string quoted(expression.substr(0, kQuoted));
  if (expression.size() > kQuoted) {
    quoted += "...";
  }
  return "cannot evaluate \"" + quoted + "\": " + reason;
}

template <typename Outcome, typename Finish>
Outcome run(const ProgramSymbols& program, std::string_view expression, TargetMemory& memory,
            Finish finish) {
  Outcome out;
  try {
    rsp_eval::TypeArena arena(program);
    rsp_eval::ExpressionTree tree;
    rsp_eval::parse_expression(expression, arena, tree);
    rsp_eval::Evaluator evaluator(program, memory, arena);
    rsp_eval::Value v = evaluator.eval(tree.root, true);
    finish(evaluator, v, out);
    out.ok = true;
  } catch (const rsp_eval::EvalError& e) {
    out = Outcome{};
    out.error = failure(expression, e.reason);
  } catch (const std::bad_alloc&) {
    out = Outcome{};
    out.error = failure(expression, "out of memory");
  }
  return out;
}

} // namespace

EvalOutcome evaluate_expression(const ProgramSymbols& program, std::string_view expression,
                                TargetMemory& memory) {
  return run<EvalOutcome>(program, expression, memory,
                          [](rsp_eval::Evaluator& e, rsp_eval::Value& v, EvalOutcome& out) {
                            out.value = e.to_int64(v);
                          });
}

TextOutcome print_expression(const ProgramSymbols& program, std::string_view expression,
                             TargetMemory& memory) {
  return run<TextOutcome>(program, expression, memory,
                          [](rsp_eval::Evaluator& e, rsp_eval::Value& v, TextOutcome& out) {
                            out.text = e.print_top(v);
                          });
}
