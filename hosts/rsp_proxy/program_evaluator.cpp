// The evaluator of eval/ behind the proxy's interface.
#include "formula_evaluator.h"

namespace rsp {

namespace {

class ProgramEvaluator : public FormulaEvaluator {
public:
  explicit ProgramEvaluator(ProgramSymbolsPtr program) : program_(std::move(program)) {}

  EvalOutcome evaluate(std::string_view expression, TargetMemory& memory) override {
    return evaluate_expression(*program_, expression, memory);
  }
  TextOutcome print(std::string_view expression, TargetMemory& memory) override {
    return print_expression(*program_, expression, memory);
  }

private:
  ProgramSymbolsPtr program_;
};

} // namespace

std::unique_ptr<FormulaEvaluator> open_program_evaluator(const std::string& elf_path,
                                                         std::string& error) {
  ProgramSymbolsPtr program = open_program_symbols(elf_path, error);
  if (!program) {
    return nullptr;
  }
  return std::make_unique<ProgramEvaluator>(std::move(program));
}

} // namespace rsp
