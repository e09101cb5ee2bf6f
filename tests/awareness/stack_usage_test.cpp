// Stack coverage against a target image: the measurement over directions, pattern widths and
// byte orders, and a row with its reason for every stack that cannot be measured.
#include "awareness_fixture.h"

#include "awareness/object_types.h"
#include "awareness/stack_usage.h"
#include "runtime/format.h"

#include <algorithm>

namespace {

constexpr uint64_t kGoodBase = 0x20000000;
constexpr uint64_t kGoodSize = 256;
constexpr uint64_t kGoodUsed = 64;
constexpr uint64_t kProbeBase = 0x20010000;
constexpr uint8_t kTouched = 0x5A; // what a task leaves in the stack: no case's pattern

// The image of a stack: the pattern (width bytes in the given byte order) laid from its base,
// the used bytes at the start end overwritten.
std::vector<uint8_t> stack_image(uint64_t size, uint64_t pattern, uint32_t width, bool big_endian,
                                 bool grows_down, uint64_t used) {
  std::vector<uint8_t> bytes(size);
  for (uint64_t i = 0; i < size; ++i) {
    const uint64_t k = i % width;
    bytes[i] = static_cast<uint8_t>(pattern >> (8 * (big_endian ? width - 1 - k : k)));
  }
  const auto begin = grows_down ? bytes.end() - static_cast<std::ptrdiff_t>(used) : bytes.begin();
  std::fill(begin, begin + static_cast<std::ptrdiff_t>(used), kTouched);
  return bytes;
}

// A stack named Probe whose attributes come from the case, next to a stack that is always good:
// every case also shows that the other stacks are still measured.
class StackUsageTest : public AwarenessTest {
protected:
  // probe: the attribute definitions of the Probe stack.
  const StackUsage& measure_probe(const std::string& probe) {
    load(R"(VERSION { KOIL = "2.2"; OSSEMANTICS = "ORTI", "2.2"; };
IMPLEMENTATION T { OS { CTYPE vs_X; };
  STACK { CTYPE SIZE; CTYPE BASEADDRESS; STRING STACKDIRECTION; CTYPE FILLPATTERN; CTYPE VALID; };
};
OS Os { vs_X = "0"; };
STACK Good { SIZE = "256"; BASEADDRESS = "GoodBase"; STACKDIRECTION = "DOWN";
             FILLPATTERN = "0xAAAAAAAA"; };
STACK Probe { )" +
         probe + " };\n");
    answer("256", kGoodSize);
    answer("GoodBase", kGoodBase);
    answer("0xAAAAAAAA", 0xAAAAAAAA);
    const bool big_endian = target_flag(ctx, kTargetBigEndianTarget);
    debugger->answer_memory(kGoodBase,
                            stack_image(kGoodSize, 0xAAAAAAAA, 4, big_endian, true, kGoodUsed));
    rows = stack_usage(state, &ctx);
    EXPECT_EQ(rows.size(), 2u);
    rows.resize(2);
    EXPECT_EQ(rows[0].name, "Good");
    EXPECT_EQ(rows[0].status, StackStatus::Measured) << rows[0].note;
    EXPECT_EQ(rows[0].used, kGoodUsed);
    return rows[1];
  }

  std::vector<uint64_t> read_sizes() const {
    std::vector<uint64_t> sizes;
    for (const ReceivedRequest* r : debugger->requests_of("OSA_Service_MemoryRead")) {
      int64_t count = 0;
      json_object_get_integer(r->params.get(), "count", &count);
      sizes.push_back(static_cast<uint64_t>(count));
    }
    return sizes;
  }

  std::vector<StackUsage> rows;
};

struct MeasureCase {
  const char* direction;
  const char* pattern_formula;
  uint64_t pattern;
  uint32_t width; // how the pattern lies in memory
  bool big_endian;
  uint64_t size;
  uint64_t used;
  StackStatus status;
};

// Invariant: the used bytes are those from the start end up to the first word, counted from the
// far end, that no longer holds the pattern (all of them when already the far end's word
// differs: an overflow); no read asks for more than kStackReadPiece bytes, and reading stops at
// the piece that holds the high-water mark.
const MeasureCase kMeasureCases[] = {
    {"DOWN", "0xAAAAAAAA", 0xAAAAAAAA, 4, false, 4096, 100, StackStatus::Measured},
    {"UP", "0xAAAAAAAA", 0xAAAAAAAA, 4, false, 4096, 2000, StackStatus::Measured},
    {"up", "0xDEADBEEF", 0xDEADBEEF, 4, false, 1024, 8, StackStatus::Measured},
    {"DOWN", "0x11223344", 0x11223344, 4, true, 2048, 512, StackStatus::Measured},
    {"DOWN", "0x11223344", 0x11223344, 4, false, 2048, 512, StackStatus::Measured},
    {"UP", "0xBEEF", 0xBEEF, 2, true, 3000, 6, StackStatus::Measured},
    {"DOWN", "0x00AA", 0xAA, 2, false, 512, 2, StackStatus::Measured}, // width by its digits
    {"DOWN", "0xCC", 0xCC, 1, false, 5000, 3333, StackStatus::Measured},
    {"UP", "170", 0xAA, 1, true, 100, 1, StackStatus::Measured}, // width by its value
    // An int the debugger sign-extended.
    {"DOWN", "IntFill", 0xFFFFFFFFAAAAAAAA, 4, false, 256, 40, StackStatus::Measured},
    {"DOWN", "0xAAAAAAAA", 0xAAAAAAAA, 4, false, 3072, 0, StackStatus::Measured},
    {"DOWN", "0xAAAAAAAA", 0xAAAAAAAA, 4, false, 1024, 1024, StackStatus::Overflowed},
    {"UP", "0xCC", 0xCC, 1, false, 2048, 2048, StackStatus::Overflowed},
};

TEST_F(StackUsageTest, MeasuresFromTheFarEndInBothDirectionsWidthsAndByteOrders) {
  for (const MeasureCase& c : kMeasureCases) {
    SCOPED_TRACE(format("%s %s %s-endian, %llu of %llu used", c.direction, c.pattern_formula,
                        c.big_endian ? "big" : "little", static_cast<unsigned long long>(c.used),
                        static_cast<unsigned long long>(c.size)));
    debugger->clear_record();
    set_target_flag(ctx, kTargetBigEndianTarget, c.big_endian);
    answer("ProbeSize", static_cast<int64_t>(c.size));
    answer("ProbeBase", kProbeBase);
    answer(c.pattern_formula, static_cast<int64_t>(c.pattern));
    const bool down = c.direction[0] == 'D';
    debugger->answer_memory(kProbeBase,
                            stack_image(c.size, c.pattern, c.width, c.big_endian, down, c.used));
    const StackUsage& probe =
        measure_probe(format("SIZE = \"ProbeSize\"; BASEADDRESS = \"ProbeBase\"; "
                             "STACKDIRECTION = \"%s\"; FILLPATTERN = \"%s\";",
                             c.direction, c.pattern_formula));
    EXPECT_EQ(probe.status, c.status) << probe.note;
    EXPECT_EQ(probe.used, c.used);
    EXPECT_EQ(stack_free_bytes(probe), c.size - c.used);
    EXPECT_EQ(probe.pattern_width, c.width);
    EXPECT_EQ(probe.pattern, c.pattern & (~uint64_t{0} >> (64 - 8 * c.width)));
    EXPECT_EQ(probe.note.empty(), c.status == StackStatus::Measured) << probe.note;
    EXPECT_EQ(debugger->unscripted_count(), 0u) << "a read outside the stacks";

    const std::vector<uint64_t> sizes = read_sizes();
    EXPECT_LE(*std::max_element(sizes.begin(), sizes.end()), kStackReadPiece);
    const uint64_t whole = (c.size / c.width * c.width + kStackReadPiece - 1) / kStackReadPiece;
    const uint64_t good_stack_reads = 1;
    EXPECT_EQ(sizes.size() - good_stack_reads,
              std::min(whole, (c.size - c.used) / kStackReadPiece + 1));
  }
}

struct BadCase {
  const char* probe; // the Probe's attributes
  const char* note;  // a part of the Probe's note
};

// Invariant: the probe gets an unmeasured row whose note says what is wrong, and the good stack
// next to it is still measured. The debugger's address size is 4 bytes.
const BadCase kBadCases[] = {
    {R"(BASEADDRESS = "Base"; STACKDIRECTION = "DOWN"; FILLPATTERN = "0xCC";)",
     "the ORTI file gives no SIZE"},
    {R"(STACKDIRECTION = "UP";)", "the ORTI file gives no SIZE, no BASEADDRESS and no FILLPATTERN"},
    {R"(SIZE = "Refused"; BASEADDRESS = "Base"; STACKDIRECTION = "DOWN"; FILLPATTERN = "0xCC";)",
     "SIZE could not be evaluated: Refused"},
    {R"(SIZE = "64"; BASEADDRESS = "Refused"; STACKDIRECTION = "DOWN"; FILLPATTERN = "0xCC";)",
     "BASEADDRESS could not be evaluated: Refused"},
    {R"(SIZE = "0"; BASEADDRESS = "Base"; STACKDIRECTION = "DOWN"; FILLPATTERN = "0xCC";)",
     "SIZE is 0"},
    {R"(SIZE = "0x200"; BASEADDRESS = "0xFFFFFF00"; STACKDIRECTION = "DOWN"; FILLPATTERN = "0xCC";)",
     "runs past the end of the 32-bit address space"},
    {R"(SIZE = "0x7FFFFFFF"; BASEADDRESS = "0"; STACKDIRECTION = "UP"; FILLPATTERN = "0xCC";)",
     "is more than the 1048576 bytes read of one stack"},
    {R"(SIZE = "64"; BASEADDRESS = "Base"; STACKDIRECTION = "SIDEWAYS"; FILLPATTERN = "0xCC";)",
     "STACKDIRECTION is \"SIDEWAYS\", not UP or DOWN"},
    {R"(SIZE = "64"; BASEADDRESS = "Base"; STACKDIRECTION = "DOWN"; FILLPATTERN = " ";)",
     "FILLPATTERN is empty"},
    {R"(SIZE = "64"; BASEADDRESS = "Base"; STACKDIRECTION = "DOWN"; FILLPATTERN = "0x00AABBCCDD";)",
     "FILLPATTERN 0x00AABBCCDD is wider than 4 bytes"},
    {R"(SIZE = "64"; BASEADDRESS = "Base"; STACKDIRECTION = "DOWN"; FILLPATTERN = "Wide";)",
     "FILLPATTERN Wide is wider than 4 bytes"},
    {R"(SIZE = "3"; BASEADDRESS = "Base"; STACKDIRECTION = "DOWN"; FILLPATTERN = "0xAAAAAAAA";)",
     "SIZE 3 is less than one fill pattern word (4 bytes)"},
    {R"(SIZE = "64"; BASEADDRESS = "Base"; STACKDIRECTION = "DOWN"; FILLPATTERN = "0xCC"; VALID = "0";)",
     "not in use"},
};

TEST_F(StackUsageTest, EveryStackThatCannotBeMeasuredGetsARowThatSaysWhy) {
  ctx.cpuAddressSize = 4;
  for (const auto& [expression, value] :
       std::vector<std::pair<std::string, int64_t>>{{"Base", kProbeBase},
                                                    {"0xCC", 0xCC},
                                                    {"64", 64},
                                                    {"0", 0},
                                                    {"3", 3},
                                                    {"0x200", 0x200},
                                                    {"0xFFFFFF00", 0xFFFFFF00},
                                                    {"0x7FFFFFFF", 0x7FFFFFFF},
                                                    {"0x00AABBCCDD", 0xAABBCCDD},
                                                    {"Wide", 0x1122334455667788}}) {
    answer(expression, value);
  }
  refuse("Refused");
  debugger->answer_memory(kProbeBase, std::vector<uint8_t>(64, 0xCC));
  for (const BadCase& c : kBadCases) {
    SCOPED_TRACE(c.probe);
    const StackUsage& probe = measure_probe(c.probe);
    EXPECT_EQ(probe.status, StackStatus::Unmeasured);
    EXPECT_NE(probe.note.find(c.note), std::string::npos) << probe.note;
  }
  // Without an address size from the debugger the address space is 64 bits wide.
  ctx.cpuAddressSize = 0;
  answer("High", static_cast<int64_t>(0xFFFFFFFFFFFFFF00ull));
  const StackUsage& probe =
      measure_probe(R"(SIZE = "0x200"; BASEADDRESS = "High"; STACKDIRECTION = "UP"; )"
                    R"(FILLPATTERN = "0xCC";)");
  EXPECT_NE(probe.note.find("past the end of the 64-bit address space"), std::string::npos);
}

// Invariant: whatever is wrong with an answer to a read, the stack is unmeasured with a note
// that names the read.
TEST_F(StackUsageTest, AFailedShortOrMalformedReadLeavesTheStackUnmeasured) {
  const uint64_t size = 4 * kStackReadPiece;
  const uint64_t second = kProbeBase + kStackReadPiece;
  answer("ProbeSize", size);
  answer("ProbeBase", kProbeBase);
  answer("0xCC", 0xCC);
  debugger->answer_memory(kProbeBase, std::vector<uint8_t>(size, 0xCC));
  for (const std::string& answer :
       {std::string(R"({"return": 1})"), std::string(R"({"value": "cccc", "return": 0})"),
        "{\"value\": \"" + std::string(2 * kStackReadPiece, 'z') + "\", \"return\": 0}"}) {
    SCOPED_TRACE(answer.substr(0, 40));
    debugger
        ->on("OSA_Service_MemoryRead",
             format(R"({"address": %llu})", static_cast<unsigned long long>(second)))
        .result(answer)
        .always();
    const StackUsage& probe = measure_probe(R"(SIZE = "ProbeSize"; BASEADDRESS = "ProbeBase"; )"
                                            R"(STACKDIRECTION = "DOWN"; FILLPATTERN = "0xCC";)");
    EXPECT_EQ(probe.status, StackStatus::Unmeasured);
    EXPECT_NE(probe.note.find(format("reading 1024 bytes at 0x%llx failed",
                                     static_cast<unsigned long long>(second))),
              std::string::npos)
        << probe.note;
  }
}

TEST_F(StackUsageTest, AListOfStacksGivesARowPerElementAndTheWalkStateStays) {
  load(R"ORTI(VERSION { KOIL = "2.2"; OSSEMANTICS = "ORTI", "2.2"; };
IMPLEMENTATION T { OS { CTYPE vs_X; };
  STACK { CTYPE SIZE; CTYPE BASEADDRESS; STRING STACKDIRECTION; CTYPE FILLPATTERN; }; };
OS Os { vs_X = "0"; };
STACK * Pool { _PARENT_NODE = "Head"; _NEXT_NODE = "($NODE)->next"; _ITEM = "($NODE)";
  _NODE_VALID = "($NODE) != 0"; SIZE = "($ITEM)->size"; BASEADDRESS = "($ITEM)->base";
  STACKDIRECTION = "UP"; FILLPATTERN = "0xCC"; };
)ORTI");
  answer("(Head) != 0", 1);
  answer("((Head)->next) != 0", 1);
  answer("(((Head)->next)->next) != 0", 0);
  answer("((Head))->size", 16);
  answer("((Head))->base", 0x1000);
  answer("(((Head)->next))->size", 32);
  answer("(((Head)->next))->base", 0x2000);
  answer("0xCC", 0xCC);
  debugger->answer_memory(0x1000, stack_image(16, 0xCC, 1, false, false, 4));
  debugger->answer_memory(0x2000, stack_image(32, 0xCC, 1, false, false, 10));
  state.list_position = 7;

  const std::vector<StackUsage> pool = stack_usage(state, &ctx, "Pool");
  ASSERT_EQ(pool.size(), 2u);
  EXPECT_EQ(pool[0].name, "Stack0");
  EXPECT_EQ(pool[0].used, 4u);
  EXPECT_EQ(pool[1].name, "Stack1");
  EXPECT_EQ(pool[1].used, 10u);
  EXPECT_EQ(state.list_position, 7);
  EXPECT_TRUE(stack_usage(state, &ctx, "Nobody").empty());
}

} // namespace
