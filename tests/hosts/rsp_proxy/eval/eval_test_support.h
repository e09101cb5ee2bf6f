// The evaluator's tests read the small program eval_program.c, built at test time into
// RSP_EVAL_PROGRAM_DIR in three variants; each test that needs one is skipped when it is
// missing (no ARM cross compiler on this machine).
#pragma once

#include "eval/elf_image_memory.h"
#include "eval/program_symbols.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

namespace rsp_eval_test {

// Little-endian (DWARF 5), big-endian (DWARF 4) and little-endian (DWARF 4).
inline const char* const kBuilds[] = {"eval_le", "eval_be", "eval_le4"};

inline std::string program_path(const std::string& build) {
  return std::string(RSP_EVAL_PROGRAM_DIR) + "/" + build + ".elf";
}

inline bool program_exists(const std::string& build) {
  std::FILE* f = std::fopen(program_path(build).c_str(), "rb");
  if (f != nullptr) {
    std::fclose(f);
  }
  return f != nullptr;
}

// One build of the program with a fresh image of its memory.
class ProgramTest : public testing::TestWithParam<const char*> {
protected:
  void SetUp() override {
    build_ = GetParam();
    if (!program_exists(build_)) {
      GTEST_SKIP() << program_path(build_) << " was not built (arm-none-eabi-gcc missing)";
    }
    std::string error;
    symbols_ = open_program_symbols(program_path(build_), error);
    ASSERT_NE(symbols_, nullptr) << error;
    memory_ = ElfImageMemory::open(program_path(build_), error);
    ASSERT_NE(memory_, nullptr) << error;
  }
  bool big_endian() const { return program_is_big_endian(*symbols_); }
  EvalOutcome eval(const std::string& e) { return evaluate_expression(*symbols_, e, *memory_); }
  TextOutcome print(const std::string& e) { return print_expression(*symbols_, e, *memory_); }
  // The value of an expression that must evaluate.
  int64_t value(const std::string& e) {
    const EvalOutcome out = eval(e);
    EXPECT_TRUE(out.ok) << out.error;
    return out.value;
  }

  std::string build_;
  ProgramSymbolsPtr symbols_;
  std::unique_ptr<ElfImageMemory> memory_;
};

inline std::string build_name(const testing::TestParamInfo<const char*>& info) {
  return info.param;
}

} // namespace rsp_eval_test
