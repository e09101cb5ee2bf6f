// The evaluator of the ORTI file's formulas as the proxy uses it. The program's own evaluator
// (eval/) stands behind it in orti-proxy; tests put a stand-in there.
#pragma once

#include "eval/program_symbols.h"
#include "eval/target_memory.h"

#include <memory>
#include <string>
#include <string_view>

namespace rsp {

class FormulaEvaluator {
public:
  virtual ~FormulaEvaluator() = default;
  virtual EvalOutcome evaluate(std::string_view expression, TargetMemory& memory) = 0;
  virtual TextOutcome print(std::string_view expression, TargetMemory& memory) = 0;
};

// The evaluator over the program's debug information; null, with the reason, when the ELF
// cannot be read or has none.
std::unique_ptr<FormulaEvaluator> open_program_evaluator(const std::string& elf_path,
                                                         std::string& error);

} // namespace rsp
