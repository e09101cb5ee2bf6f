// The register cache of a task: values kept per register, forgotten all at once by a stamp,
// slots made only as far as the highest register stored.
#include "awareness/awareness_state.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace {

std::optional<uint64_t> kept(const RegisterCache& cache, std::size_t reg) {
  const uint64_t* value = cache.find(reg);
  return value != nullptr ? std::optional<uint64_t>(*value) : std::nullopt;
}

// One step on a cache of 8 registers, then what register 0, 3, 7 and 8 read.
struct Step {
  const char* name;
  enum { Store, Forget, ForgetAll, Reset } op;
  std::size_t reg;
  uint64_t value;
  std::optional<uint64_t> r0, r3, r7, r8;
};

TEST(RegisterCacheTest, KeepsForgetsAndResets) {
  constexpr auto none = std::nullopt;
  const std::vector<Step> steps = {
      {"fresh", Step::Forget, 5, 0, none, none, none, none},
      {"store 3", Step::Store, 3, 0x33, none, 0x33, none, none},
      {"store the last", Step::Store, 7, 0x77, none, 0x33, 0x77, none},
      {"store beyond the last is dropped", Step::Store, 8, 0x88, none, 0x33, 0x77, none},
      {"store 0 below the others", Step::Store, 0, 0xFFFFFFFFFFFFFFFFu, 0xFFFFFFFFFFFFFFFFu, 0x33,
       0x77, none},
      {"a 64-bit value is kept whole", Step::Store, 3, 0x123456789ABCDEF0u, 0xFFFFFFFFFFFFFFFFu,
       0x123456789ABCDEF0u, 0x77, none},
      {"forget one", Step::Forget, 3, 0, 0xFFFFFFFFFFFFFFFFu, none, 0x77, none},
      {"forget one never stored", Step::Forget, 100, 0, 0xFFFFFFFFFFFFFFFFu, none, 0x77, none},
      {"forget all", Step::ForgetAll, 0, 0, none, none, none, none},
      {"store after forget all", Step::Store, 7, 0x7, none, none, 0x7, none},
      {"a zero value counts as kept", Step::Store, 0, 0, 0, none, 0x7, none},
      {"reset to the same size", Step::Reset, 8, 0, none, none, none, none},
      {"store after reset", Step::Store, 3, 0x3, none, 0x3, none, none},
      {"reset smaller", Step::Reset, 4, 0, none, none, none, none},
      {"store beyond the new size is dropped", Step::Store, 7, 0x7, none, none, none, none},
      {"reset to no cache", Step::Reset, 0, 0, none, none, none, none},
      {"nothing is kept without a cache", Step::Store, 0, 0x1, none, none, none, none},
      {"reset larger", Step::Reset, 9, 0, none, none, none, none},
      {"the new last is kept", Step::Store, 8, 0x88, none, none, none, 0x88},
  };
  RegisterCache cache;
  cache.reset(8);
  for (const Step& s : steps) {
    switch (s.op) {
    case Step::Store:
      cache.store(s.reg, s.value);
      break;
    case Step::Forget:
      cache.forget(s.reg);
      break;
    case Step::ForgetAll:
      cache.forget_all();
      break;
    case Step::Reset:
      cache.reset(s.reg);
      EXPECT_EQ(cache.size(), s.reg) << s.name;
      break;
    }
    EXPECT_EQ(kept(cache, 0), s.r0) << s.name;
    EXPECT_EQ(kept(cache, 3), s.r3) << s.name;
    EXPECT_EQ(kept(cache, 7), s.r7) << s.name;
    EXPECT_EQ(kept(cache, 8), s.r8) << s.name;
  }
}

// Forgetting must hold however often it happens and whichever slots were made in between: a
// slot made after a forget_all, or left from before a reset, never shows an older value.
TEST(RegisterCacheTest, ManyForgetsNeverBringAValueBack) {
  RegisterCache cache;
  cache.reset(16);
  for (uint64_t round = 1; round <= 1000; ++round) {
    const std::size_t reg = round % 16;
    cache.store(reg, round);
    ASSERT_EQ(kept(cache, reg), round) << round;
    round % 7 == 0 ? cache.reset(16) : cache.forget_all();
    for (std::size_t r = 0; r < 16; ++r) {
      ASSERT_EQ(cache.find(r), nullptr) << round << " register " << r;
    }
  }
}

// clear_task_record forgets the register values with the rest of the record.
TEST(RegisterCacheTest, ClearingARecordForgetsItsRegisters) {
  TaskContextRecord record;
  record.warned = true;
  record.registers.reset(4);
  record.registers.store(2, 42);
  clear_task_record(record);
  EXPECT_FALSE(record.warned);
  EXPECT_EQ(record.context, nullptr);
  EXPECT_EQ(record.registers.size(), 4u) << "the cache keeps its size";
  EXPECT_EQ(record.registers.find(2), nullptr);
  record.registers.store(2, 43);
  EXPECT_EQ(kept(record.registers, 2), 43u);
}

} // namespace
