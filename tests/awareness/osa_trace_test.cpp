// Tests of the leveled message printer: a formatted trace and an already formatted text give
// the same message, cut and neutralized alike, to the same displays.
#include "awareness/osa_trace.h"

#include "awareness_fixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

class OsaTraceTest : public AwarenessTest {};

struct TraceCase {
  const char* label;
  int32_t debug_level;
  int32_t log_level;
  int32_t level;
  std::string text; // shown through "%s", as an already formatted text and through "%c" pieces
  std::string shown;
  bool to_user;
  bool to_log;
};

// Texts up to this long are also sent as the bytes of a "%c" format, so that a NUL among them
// reaches the formatter itself.
constexpr std::size_t kByBytes = 6;

void trace_way(AwarenessState& state, OSA_ServiceCntx* ctx, int way, const TraceCase& c) {
  if (way == 0) {
    osa_trace(state, ctx, c.level, "%s", c.text.c_str());
  } else if (way == 1) {
    osa_trace_text(state, ctx, c.level, c.text.c_str());
  } else {
    const std::string b = c.text + std::string(kByBytes - c.text.size(), '\0');
    osa_trace(state, ctx, c.level, "%c%c%c%c%c%c", b[0], b[1], b[2], b[3], b[4], b[5]);
  }
}

TEST_F(OsaTraceTest, FormattedAndGivenTextsGiveTheSameMessages) {
  const std::string long_text(kTextLimit + 10, 'x');
  const std::vector<TraceCase> cases = {
      {"shown and logged", 10, 10, 4, "plain\n", "plain\n", true, true},
      {"logged only", -1, 10, 4, "plain\n", "plain\n", false, true},
      {"above the log level: nothing", 10, 10, 50, "plain\n", "", false, false},
      {"per cent signs neutralized", 10, 10, 0, "100% of 50%", "100# of 50#", true, true},
      {"a per cent sign before a NUL", 10, 10, 0, std::string("a%\0%", 4), "a#", true, true},
      {"cut to the limit", 10, 10, 0, long_text, std::string(kTextLimit, 'x'), true, true},
      {"ends at its first NUL", 10, 10, 0, std::string("ab\0cd", 5), "ab", true, true},
      {"only a NUL", 10, 10, 0, std::string("\0x", 2), "", true, true},
  };
  const char* const ways[] = {" (formatted)", " (given)", " (formatted by bytes)"};
  for (const TraceCase& c : cases) {
    for (int way = 0; way < (c.text.size() <= kByBytes ? 3 : 2); ++way) {
      SCOPED_TRACE(std::string(c.label) + ways[way]);
      debugger->clear_record();
      state.debug_level = c.debug_level;
      state.log_level = c.log_level;
      state.message_buffer = "before";
      trace_way(state, &ctx, way, c);
      const std::vector<std::string> none;
      const std::vector<std::string> one = {c.shown};
      EXPECT_EQ(messages(2), c.to_user ? one : none);
      EXPECT_EQ(messages(4), c.to_log ? one : none);
      EXPECT_EQ(state.message_buffer, c.to_log || c.to_user ? c.shown : "before");
      EXPECT_EQ(state.message_buffer.size(), std::strlen(state.message_buffer.c_str()))
          << "no bytes kept after a NUL";
    }
  }
}

} // namespace
