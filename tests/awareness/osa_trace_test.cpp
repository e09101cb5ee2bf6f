// Tests of the leveled message printer: a formatted trace and an already formatted text give
// the same message, cut and neutralized alike, to the same displays.
#include "awareness/osa_trace.h"

#include "awareness_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class OsaTraceTest : public AwarenessTest {};

struct TraceCase {
  const char* label;
  int32_t debug_level;
  int32_t log_level;
  int32_t level;
  std::string text; // shown through "%s", through "%c" pieces and as an already formatted text
  std::string shown;
  bool to_user;
  bool to_log;
};

TEST_F(OsaTraceTest, FormattedAndGivenTextsGiveTheSameMessages) {
  const std::string long_text(kTextLimit + 10, 'x');
  const std::vector<TraceCase> cases = {
      {"shown and logged", 10, 10, 4, "plain\n", "plain\n", true, true},
      {"logged only", -1, 10, 4, "plain\n", "plain\n", false, true},
      {"above the log level: nothing", 10, 10, 50, "plain\n", "", false, false},
      {"per cent signs neutralized", 10, 10, 0, "100% of 50%", "100# of 50#", true, true},
      {"cut to the limit", 10, 10, 0, long_text, std::string(kTextLimit, 'x'), true, true},
  };
  for (const TraceCase& c : cases) {
    for (int way = 0; way < 2; ++way) {
      SCOPED_TRACE(std::string(c.label) + (way == 0 ? " (formatted)" : " (given)"));
      debugger->clear_record();
      state.debug_level = c.debug_level;
      state.log_level = c.log_level;
      state.message_buffer = "before";
      if (way == 0) {
        osa_trace(state, &ctx, c.level, "%s", c.text.c_str());
      } else {
        osa_trace_text(state, &ctx, c.level, c.text.c_str());
      }
      const std::vector<std::string> none;
      const std::vector<std::string> one = {c.shown};
      EXPECT_EQ(messages(2), c.to_user ? one : none);
      EXPECT_EQ(messages(4), c.to_log ? one : none);
      EXPECT_EQ(state.message_buffer, c.to_log || c.to_user ? c.shown : "before");
    }
  }
}

TEST_F(OsaTraceTest, FormattedMessageEndsAtItsFirstNul) {
  struct NulCase {
    const char* format;
    int byte; // the one "%c" of the format
    std::string shown;
  };
  const std::vector<NulCase> cases = {
      {"ab%ccd", 0, "ab"},
      {"%cx", 0, ""},
      {"a%%%c%%", 0, "a#"},
      {"ab%ccd", 'Z', "abZcd"},
  };
  for (const NulCase& c : cases) {
    SCOPED_TRACE(c.format + std::string(" with ") + std::to_string(c.byte));
    debugger->clear_record();
    state.debug_level = 10;
    state.log_level = 10;
    osa_trace(state, &ctx, 0, c.format, c.byte);
    EXPECT_EQ(messages(2), std::vector<std::string>{c.shown});
    EXPECT_EQ(messages(4), std::vector<std::string>{c.shown});
    EXPECT_EQ(state.message_buffer, c.shown);
    EXPECT_EQ(state.message_buffer.size(), c.shown.size()) << "no bytes kept after the NUL";
  }
}

} // namespace
