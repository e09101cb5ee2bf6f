// Fuzz target: arbitrary formulas through the proxy's expression evaluator, over the
// evaluator tests' small program (built for this machine) and its file image. Neither
// evaluation nor printing may crash, hang or fail without a reason; an assignment in one
// input must not leak into the next, so every input gets a fresh copy of the memory.
#include "eval/elf_image_memory.h"
#include "eval/program_symbols.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace {

ProgramSymbolsPtr g_program;
std::unique_ptr<ElfImageMemory> g_image;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string error;
  g_program = open_program_symbols(RSP_EVAL_FUZZ_PROGRAM, error);
  g_image = ElfImageMemory::open(RSP_EVAL_FUZZ_PROGRAM, error);
  if (g_program == nullptr || g_image == nullptr) {
    std::abort();
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view expression(reinterpret_cast<const char*>(data), size);
  ElfImageMemory memory(*g_image);
  const EvalOutcome value = evaluate_expression(*g_program, expression, memory);
  if (!value.ok && value.error.empty()) {
    __builtin_trap();
  }
  const TextOutcome text = print_expression(*g_program, expression, memory);
  if (!text.ok && text.error.empty()) {
    __builtin_trap();
  }
  // print /n keeps at most 4096 characters of at most 4 bytes each.
  if (text.text.size() > 4 * 4096) {
    __builtin_trap();
  }
  return 0;
}
