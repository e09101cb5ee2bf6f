#pragma once
#include "eval/target_memory.h"
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// The debug information of one program (ELF with DWARF), opened once and read-only after.
class ProgramSymbols;
struct ProgramSymbolsDeleter {
  void operator()(ProgramSymbols*) const;
};
using ProgramSymbolsPtr = std::unique_ptr<ProgramSymbols, ProgramSymbolsDeleter>;

// Null, with a reason in error, when the file cannot be opened or has no debug information.
ProgramSymbolsPtr open_program_symbols(const std::string& elf_path, std::string& error);

// The target as the ELF describes it.
bool program_is_big_endian(const ProgramSymbols& program);
int program_address_size(const ProgramSymbols& program); // bytes: 4 or 8

struct EvalOutcome {
  bool ok = false;
  int64_t value = 0; // the value as a signed 64-bit number (pointers, bools, chars included)
  std::string error; // when !ok: names the expression and the reason
};

// Evaluates a C expression as an ORTI formula writes it and gives its value as GDB's
// int(gdb.parse_and_eval(expression)) would. An assignment "(LVALUE)=VALUE" writes the value
// into target memory and gives the value assigned.
EvalOutcome evaluate_expression(const ProgramSymbols& program, std::string_view expression,
                                TargetMemory& memory);

struct TextOutcome {
  bool ok = false;
  std::string text;
  std::string error;
};

// GDB's "print /n EXPR" as the plug-in's StringEval asks for it: for a char pointer or char
// array, the C string it holds (read up to its NUL, at most 4096 bytes); for any other value,
// the value's text as GDB would print it with /n.
TextOutcome print_expression(const ProgramSymbols& program, std::string_view expression,
                             TargetMemory& memory);
