// Stack coverage against a target image: the measurement over directions, pattern widths and
// byte orders, and a row with its reason for every stack that cannot be measured.
#include "awareness_fixture.h"

#include "awareness/object_types.h"
#include "awareness/stack_usage.h"
#include "runtime/format.h"

#include <algorithm>

namespace {

// One stack named Probe next to a stack that is always good, so that every case also shows
// that the other stacks are still measured. The Probe's definition body comes from the case.
std::string stack_file(const std::string& probe_body) {
  return R"ORTI(
VERSION { KOIL = "2.2"; OSSEMANTICS = "ORTI", "2.2"; };
IMPLEMENTATION T {
  OS { CTYPE vs_X; };
  STACK { CTYPE SIZE; CTYPE BASEADDRESS; STRING STACKDIRECTION; CTYPE FILLPATTERN; CTYPE VALID; };
};
OS Os { vs_X = "0"; };
STACK Good { SIZE = "GoodSize"; BASEADDRESS = "GoodBase"; STACKDIRECTION = "DOWN";
             FILLPATTERN = "0xAAAAAAAA"; };
STACK Probe { )ORTI" +
         probe_body + R"ORTI( };
)ORTI";
}

constexpr uint64_t kGoodBase = 0x20000000;
constexpr uint64_t kGoodSize = 256;
constexpr uint64_t kGoodUsed = 64;
constexpr uint64_t kProbeBase = 0x20010000;
constexpr uint8_t kTouched = 0x5A; // what a task leaves in the stack: no case's pattern

// The image of a stack: size bytes of the pattern (width bytes in the given byte order) laid
// from its base, with the used bytes at the start end overwritten.
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

class StackUsageTest : public AwarenessTest {
protected:
  void load_probe(const std::string& probe_body) {
    load(stack_file(probe_body));
    answer("GoodSize", kGoodSize);
    answer("GoodBase", kGoodBase);
    answer("0xAAAAAAAA", 0xAAAAAAAA);
    debugger->answer_memory(kGoodBase,
                            stack_image(kGoodSize, 0xAAAAAAAA, 4, big_endian(), true, kGoodUsed));
  }
  bool big_endian() const { return target_flag(ctx, kTargetBigEndianTarget); }

  const StackUsage* row(const std::vector<StackUsage>& rows, const std::string& name) {
    for (const StackUsage& u : rows) {
      if (u.name == name) {
        return &u;
      }
    }
    ADD_FAILURE() << "no row for " << name;
    return nullptr;
  }

  void expect_good_measured(const std::vector<StackUsage>& rows) {
    const StackUsage* good = row(rows, "Good");
    ASSERT_NE(good, nullptr);
    EXPECT_EQ(good->status, StackStatus::Measured) << good->note;
    EXPECT_EQ(good->used, kGoodUsed);
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
};

struct MeasureCase {
  const char* name;
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
    {"down, 4 bytes, little end", "DOWN", "0xAAAAAAAA", 0xAAAAAAAA, 4, false, 4096, 100,
     StackStatus::Measured},
    {"up, 4 bytes, little end", "UP", "0xAAAAAAAA", 0xAAAAAAAA, 4, false, 4096, 2000,
     StackStatus::Measured},
    {"up, lower case direction", "up", "0xDEADBEEF", 0xDEADBEEF, 4, false, 1024, 8,
     StackStatus::Measured},
    {"down, 4 bytes, big end", "DOWN", "0x11223344", 0x11223344, 4, true, 2048, 512,
     StackStatus::Measured},
    {"down, 4 bytes, little end, asymmetric", "DOWN", "0x11223344", 0x11223344, 4, false, 2048, 512,
     StackStatus::Measured},
    {"up, 2 bytes, big end", "UP", "0xBEEF", 0xBEEF, 2, true, 3000, 6, StackStatus::Measured},
    {"down, 2 bytes by its digits", "DOWN", "0x00AA", 0xAA, 2, false, 512, 2,
     StackStatus::Measured},
    {"down, 1 byte", "DOWN", "0xCC", 0xCC, 1, false, 5000, 3333, StackStatus::Measured},
    {"up, 1 byte written in decimal", "UP", "170", 0xAA, 1, true, 100, 1, StackStatus::Measured},
    {"never used", "DOWN", "0xAAAAAAAA", 0xAAAAAAAA, 4, false, 3072, 0, StackStatus::Measured},
    {"overflowed down", "DOWN", "0xAAAAAAAA", 0xAAAAAAAA, 4, false, 1024, 1024,
     StackStatus::Overflowed},
    {"overflowed up", "UP", "0xCC", 0xCC, 1, false, 2048, 2048, StackStatus::Overflowed},
};

TEST_F(StackUsageTest, MeasuresFromTheFarEndInBothDirectionsWidthsAndByteOrders) {
  for (const MeasureCase& c : kMeasureCases) {
    SCOPED_TRACE(c.name);
    debugger->clear_record();
    set_target_flag(ctx, kTargetBigEndianTarget, c.big_endian);
    load_probe(format("SIZE = \"ProbeSize\"; BASEADDRESS = \"ProbeBase\"; STACKDIRECTION = "
                      "\"%s\"; FILLPATTERN = \"%s\";",
                      c.direction, c.pattern_formula));
    answer("ProbeSize", static_cast<int64_t>(c.size));
    answer("ProbeBase", kProbeBase);
    answer(c.pattern_formula, static_cast<int64_t>(c.pattern));
    const bool down = c.direction[0] == 'D' || c.direction[0] == 'd';
    debugger->answer_memory(kProbeBase,
                            stack_image(c.size, c.pattern, c.width, c.big_endian, down, c.used));

    const std::vector<StackUsage> rows = stack_usage(state, &ctx);
    ASSERT_EQ(rows.size(), 2u);
    expect_good_measured(rows);
    const StackUsage* probe = row(rows, "Probe");
    ASSERT_NE(probe, nullptr);
    EXPECT_EQ(probe->status, c.status) << probe->note;
    EXPECT_EQ(probe->used, c.used);
    EXPECT_EQ(stack_free_bytes(*probe), c.size - c.used);
    EXPECT_EQ(probe->pattern_width, c.width);
    EXPECT_EQ(probe->note.empty(), c.status == StackStatus::Measured) << probe->note;
    EXPECT_EQ(debugger->unscripted_count(), 0u) << "a read outside the stacks";

    const std::vector<uint64_t> sizes = read_sizes();
    for (uint64_t n : sizes) {
      EXPECT_LE(n, kStackReadPiece);
    }
    const uint64_t good_reads = 1;
    const uint64_t free_bytes = c.size - c.used;
    const uint64_t whole = (c.size / c.width * c.width + kStackReadPiece - 1) / kStackReadPiece;
    EXPECT_EQ(sizes.size() - good_reads, std::min(whole, free_bytes / kStackReadPiece + 1));
  }
}

struct BadCase {
  const char* name;
  const char* probe_body;
  const char* note; // a part of the probe's note
};

// Invariant: the probe gets an unmeasured row whose note says what is wrong, and the good stack
// next to it is still measured.
const BadCase kBadCases[] = {
    {"no SIZE", R"(BASEADDRESS = "ProbeBase"; STACKDIRECTION = "DOWN"; FILLPATTERN = "0xCC";)",
     "the ORTI file gives no SIZE"},
    {"nothing but a direction", R"(STACKDIRECTION = "UP";)",
     "the ORTI file gives no SIZE, no BASEADDRESS and no FILLPATTERN"},
    {"SIZE refused",
     R"(SIZE = "Refused"; BASEADDRESS = "ProbeBase"; STACKDIRECTION = "DOWN"; FILLPATTERN = "0xCC";)",
     "SIZE could not be evaluated: Refused"},
    {"BASEADDRESS refused",
     R"(SIZE = "64"; BASEADDRESS = "Refused"; STACKDIRECTION = "DOWN"; FILLPATTERN = "0xCC";)",
     "BASEADDRESS could not be evaluated: Refused"},
    {"size 0",
     R"(SIZE = "0"; BASEADDRESS = "ProbeBase"; STACKDIRECTION = "DOWN"; FILLPATTERN = "0xCC";)",
     "SIZE is 0"},
    {"past the 32-bit address space",
     R"(SIZE = "0x200"; BASEADDRESS = "0xFFFFFF00"; STACKDIRECTION = "DOWN"; FILLPATTERN = "0xCC";)",
     "runs past the end of the 32-bit address space"},
    {"larger than is read",
     R"(SIZE = "0x7FFFFFFF"; BASEADDRESS = "0"; STACKDIRECTION = "UP"; FILLPATTERN = "0xCC";)",
     "is more than the 1048576 bytes read of one stack"},
    {"sideways",
     R"(SIZE = "64"; BASEADDRESS = "ProbeBase"; STACKDIRECTION = "SIDEWAYS"; FILLPATTERN = "0xCC";)",
     "STACKDIRECTION is \"SIDEWAYS\", not UP or DOWN"},
    {"empty pattern",
     R"(SIZE = "64"; BASEADDRESS = "ProbeBase"; STACKDIRECTION = "DOWN"; FILLPATTERN = " ";)",
     "FILLPATTERN is empty"},
    {"pattern of five bytes",
     R"(SIZE = "64"; BASEADDRESS = "ProbeBase"; STACKDIRECTION = "DOWN"; FILLPATTERN = "0x00AABBCCDD";)",
     "FILLPATTERN 0x00AABBCCDD is wider than 4 bytes"},
    {"pattern value of 64 bits",
     R"(SIZE = "64"; BASEADDRESS = "ProbeBase"; STACKDIRECTION = "DOWN"; FILLPATTERN = "Wide";)",
     "FILLPATTERN Wide is wider than 4 bytes"},
    {"smaller than a word",
     R"(SIZE = "3"; BASEADDRESS = "ProbeBase"; STACKDIRECTION = "DOWN"; FILLPATTERN = "0xAAAAAAAA";)",
     "SIZE 3 is less than one fill pattern word (4 bytes)"},
    {"not valid",
     R"(SIZE = "64"; BASEADDRESS = "ProbeBase"; STACKDIRECTION = "DOWN"; FILLPATTERN = "0xCC"; VALID = "0";)",
     "not in use"},
};

TEST_F(StackUsageTest, EveryStackThatCannotBeMeasuredGetsARowThatSaysWhy) {
  ctx.cpuAddressSize = 4;
  for (const BadCase& c : kBadCases) {
    SCOPED_TRACE(c.name);
    load_probe(c.probe_body);
    answer("ProbeBase", kProbeBase);
    answer("0xCC", 0xCC);
    answer("64", 64);
    answer("0", 0);
    answer("3", 3);
    answer("0x200", 0x200);
    answer("0xFFFFFF00", 0xFFFFFF00);
    answer("0x7FFFFFFF", 0x7FFFFFFF);
    answer("0x00AABBCCDD", 0xAABBCCDD);
    answer("Wide", 0x1122334455667788);
    refuse("Refused");
    debugger->answer_memory(kProbeBase, std::vector<uint8_t>(64, 0xCC));

    const std::vector<StackUsage> rows = stack_usage(state, &ctx);
    ASSERT_EQ(rows.size(), 2u);
    expect_good_measured(rows);
    const StackUsage* probe = row(rows, "Probe");
    ASSERT_NE(probe, nullptr);
    EXPECT_EQ(probe->status, StackStatus::Unmeasured);
    EXPECT_NE(probe->note.find(c.note), std::string::npos) << probe->note;
  }
}

TEST_F(StackUsageTest, AnAddressSpaceOf64BitsEndsAt64Bits) {
  load_probe(
      R"(SIZE = "0x200"; BASEADDRESS = "High"; STACKDIRECTION = "UP"; FILLPATTERN = "0xCC";)");
  answer("0x200", 0x200);
  answer("High", static_cast<int64_t>(0xFFFFFFFFFFFFFF00ull));
  answer("0xCC", 0xCC);
  const std::vector<StackUsage> rows = stack_usage(state, &ctx, "Probe");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_NE(rows[0].note.find("past the end of the 64-bit address space"), std::string::npos)
      << rows[0].note;
  EXPECT_EQ(debugger->count("OSA_Service_MemoryRead"), 0u);
}

struct ReadFailure {
  const char* name;
  const char* answer; // the debugger's result for the probe's second piece
  bool json_rpc_error;
};

// Invariant: whatever is wrong with an answer to a read, the stack is unmeasured with a note
// that names the read, and no value from that answer is used.
const ReadFailure kReadFailures[] = {
    {"refused", R"({"return": 1})", false}, {"short", R"({"value": "cccc", "return": 0})", false},
    {"not hexadecimal", nullptr, false},    {"without a value", R"({"return": 0})", false},
    {"an error response", nullptr, true},
};

TEST_F(StackUsageTest, AFailedShortOrMalformedReadLeavesTheStackUnmeasured) {
  const uint64_t size = 4 * kStackReadPiece;
  const uint64_t second = kProbeBase + kStackReadPiece;
  for (const ReadFailure& f : kReadFailures) {
    SCOPED_TRACE(f.name);
    load_probe(R"(SIZE = "ProbeSize"; BASEADDRESS = "ProbeBase"; STACKDIRECTION = "DOWN"; )"
               R"(FILLPATTERN = "0xCC";)");
    answer("ProbeSize", size);
    answer("ProbeBase", kProbeBase);
    answer("0xCC", 0xCC);
    debugger->answer_memory(kProbeBase, std::vector<uint8_t>(size, 0xCC));
    ScriptEntry& spoiled =
        debugger->on("OSA_Service_MemoryRead",
                     format(R"({"address": %llu})", static_cast<unsigned long long>(second)));
    if (f.json_rpc_error) {
      spoiled.error(-32000, "no memory there").always();
    } else if (f.answer == nullptr) {
      spoiled
          .result("{\"value\": \"" + std::string(2 * kStackReadPiece, 'z') + "\", \"return\": 0}")
          .always();
    } else {
      spoiled.result(f.answer).always();
    }

    const std::vector<StackUsage> rows = stack_usage(state, &ctx);
    ASSERT_EQ(rows.size(), 2u);
    expect_good_measured(rows);
    const StackUsage* probe = row(rows, "Probe");
    ASSERT_NE(probe, nullptr);
    EXPECT_EQ(probe->status, StackStatus::Unmeasured);
    EXPECT_NE(probe->note.find(format("reading 1024 bytes at 0x%llx failed",
                                      static_cast<unsigned long long>(second))),
              std::string::npos)
        << probe->note;
  }
}

TEST_F(StackUsageTest, AListOfStacksGivesARowPerElementAndTheWalkStateStays) {
  load(R"ORTI(
VERSION { KOIL = "2.2"; OSSEMANTICS = "ORTI", "2.2"; };
IMPLEMENTATION T {
  OS { CTYPE vs_X; };
  STACK { CTYPE SIZE; CTYPE BASEADDRESS; STRING STACKDIRECTION; CTYPE FILLPATTERN; };
};
OS Os { vs_X = "0"; };
STACK * Pool {
  _PARENT_NODE = "Head"; _NEXT_NODE = "($NODE)->next"; _ITEM = "($NODE)";
  _NODE_VALID = "($NODE) != 0";
  SIZE = "($ITEM)->size"; BASEADDRESS = "($ITEM)->base"; STACKDIRECTION = "UP";
  FILLPATTERN = "0xCC";
};
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
  *object_cursor(state, kTypeStack) = 0;

  const std::vector<StackUsage> rows = stack_usage(state, &ctx, "Pool");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].name, "Stack0");
  EXPECT_EQ(rows[0].used, 4u);
  EXPECT_EQ(rows[1].name, "Stack1");
  EXPECT_EQ(rows[1].used, 10u);
  EXPECT_EQ(state.list_position, 7);
  EXPECT_TRUE(stack_usage(state, &ctx, "Nobody").empty());
}

} // namespace
