// The evaluator's public interface; the DWARF index and the expression evaluator come next.
#include "eval/program_symbols.h"
#include "eval/target_memory.h"
