// walk: one object list walked in one command, against the same walk made call by call.
#include "command_fixture.h"

#include "awareness/attribute_eval.h"
#include "awareness/object_lists.h"

#include <string>
#include <vector>

namespace {

// Three tasks (the second with a priority the target refuses, the first with a note that holds
// a tab and a backslash, the third with no note, so that reading it fails), an OS, and a
// vendor kind whose text is set by the test.
const char kFile[] = R"ORTI(
VERSION { KOIL = "2.2"; OSSEMANTICS = "ORTI", "2.2"; };
IMPLEMENTATION T {
  OS { CTYPE vs_X; };
  TASK { CTYPE PRIORITY; ENUM [ "S" = 0, "R" = 1 ] STATE; STRING vs_NOTE; };
  vs_QUEUE { STRING vs_TEXT; };
};
OS Os { vs_X = "OsX"; };
TASK Task_A { PRIORITY = "PA"; STATE = "SA"; vs_NOTE = "tab~here a\b"; };
TASK Task_B { PRIORITY = "PB"; STATE = "SB"; vs_NOTE = "NB"; };
TASK Task_C { PRIORITY = "PC"; STATE = "SA"; };
vs_QUEUE Q { vs_TEXT = "@"; };
)ORTI";

class WalkCommandTest : public CommandTest {
protected:
  void SetUp() override {
    CommandTest::SetUp();
    // Two- and three-byte UTF-8 sequences, far more than one message's piece.
    for (int i = 0; i < 3000; ++i) {
      queue_text += "\xC3\xA9\xE2\x82\xAC";
    }
    std::string file = kFile;
    file.replace(file.find('@'), 1, queue_text);
    file.replace(file.find('~'), 1, "\t");
    load(file);
    answer("OsX", 7);
    answer("PA", 5);
    refuse("PB");
    answer("PC", 9);
    answer("SA", 0);
    answer("SB", 1);
  }

  // The records a call-by-call walk of the type gives, made from the handlers' own results.
  std::string walked_by_calls(int32_t type, const std::vector<int32_t>& ids, int max) {
    std::string out;
    int32_t status = object_list_init(state, &ctx, type, nullptr);
    int walked = 0;
    bool cut = false;
    while (status == 0) {
      out += "object\n";
      for (int32_t id : ids) {
        TypedValue value = typed_value_of(id == 1 ? kValueUInt64 : kValueText);
        const std::size_t before = notes().size();
        if (object_list_attribute(state, &ctx, type, id, &value) != 0) {
          failed_notes += notes().size() - before;
          continue;
        }
        if (value.code != kValueText) {
          out += "value\t" + std::to_string(id) + "\tn\t" +
                 std::to_string(typed_value_as_i64(value)) + "\n";
          continue;
        }
        std::string escaped;
        for (char c : value.text) {
          escaped += c == '\\' ? "\\\\" : c == '\t' ? "\\t" : c == '\n' ? "\\n" : std::string(1, c);
        }
        out += "value\t" + std::to_string(id) + "\ts\t" + escaped + "\n";
      }
      if (type == 0) {
        break;
      }
      if (++walked >= max) {
        cut = true;
        break;
      }
      status = object_list_next(state, &ctx, type, nullptr);
    }
    return out + (cut ? "end\tcut\n" : "end\tdone\n");
  }

  // The texts shown with any other type than 0, each with its type, in order.
  std::vector<std::string> notes() const {
    std::vector<std::string> all;
    for (const ReceivedRequest& r : debugger->requests()) {
      if (r.method == "OSA_Service_MessageDisplay" &&
          r.params_text.find("\"messageType\" : 0,") == std::string::npos) {
        all.push_back(r.params_text);
      }
    }
    return all;
  }

  std::string joined_output() const {
    std::string all;
    for (const std::string& piece : messages(0)) {
      all += piece;
    }
    return all;
  }

  std::string queue_text;
  std::size_t failed_notes = 0; // shown by the failed reads of walked_by_calls
};

// Invariant: the command's records are what the call-by-call walk reads, value for value, for
// every kind, with and without a limit, and whatever the order and repetition of the ids; a long
// text comes in pieces.
TEST_F(WalkCommandTest, RecordsEqualTheWalkMadeCallByCall) {
  struct Case {
    const char* line;
    int32_t type;
    std::vector<int32_t> ids; // as the calls read them: 1 and 2 first
    int max;
  };
  const Case cases[] = {
      {"walk 1 100 3 4 100", 1, {1, 2, 3, 4, 100}, 100},
      {"walk 1 2 3 4 100", 1, {1, 2, 3, 4, 100}, 2},
      {"walk 1 3 100 3", 1, {1, 2, 100, 3}, 3},
      {"walk 1 10 2 1", 1, {1, 2}, 10},
      {"walk 0 5 100", 0, {1, 2, 100}, 5},
      {"walk 2 5 3", 2, {1, 2, 3}, 5}, // no objects
      {"walk 100 5 100", 100, {1, 2, 100}, 5},
  };
  for (const Case& c : cases) {
    const std::string expected = walked_by_calls(c.type, c.ids, c.max);
    debugger->clear_record();
    ASSERT_EQ(run(c.line), 0) << c.line;
    EXPECT_EQ(joined_output(), expected) << c.line;
  }
  // The vendor kind's long text came in pieces a host can frame, each valid UTF-8 on its own.
  ASSERT_GT(messages(0).size(), 1u);
  for (const std::string& piece : messages(0)) {
    EXPECT_LE(piece.size(), 8192u);
    EXPECT_NE(static_cast<unsigned char>(piece.front()) & 0xC0, 0x80u);
  }
  EXPECT_NE(walked_by_calls(1, {1, 2, 3, 100}, 10).find("value\t100\ts\ttab\\there a\\\\b\n"),
            std::string::npos);
}

// Invariant: the notes of a failed read go out only with --notes, those of the reads that
// succeed always, in the order the call-by-call walk shows them.
TEST_F(WalkCommandTest, NotesOfFailedReadsOnlyWhenAskedFor) {
  state.debug_level = 100;
  state.log_level = 100;
  // Each walk from cold caches, so that each shows the same evaluation traces.
  debugger->clear_record();
  invalidate_caches(state);
  walked_by_calls(1, {1, 2, 3, 100}, 100);
  const std::vector<std::string> by_calls = notes();
  ASSERT_GT(failed_notes, 0u); // Task_C's note
  debugger->clear_record();
  invalidate_caches(state);
  ASSERT_EQ(run("walk --notes 1 100 3 100"), 0);
  EXPECT_EQ(notes(), by_calls);
  debugger->clear_record();
  invalidate_caches(state);
  ASSERT_EQ(run("walk 1 100 3 100"), 0);
  EXPECT_EQ(notes().size(), by_calls.size() - failed_notes);
}

// Invariant: the debugger's own walk of the type goes on where it was after a walk command.
TEST_F(WalkCommandTest, TheDebuggersWalkGoesOn) {
  ASSERT_EQ(object_list_init(state, &ctx, 1, nullptr), 0);
  ASSERT_EQ(object_list_next(state, &ctx, 1, nullptr), 0);
  ASSERT_EQ(run("walk 1 100 3"), 0);
  TypedValue name = typed_value_of(kValueText);
  ASSERT_EQ(object_list_attribute(state, &ctx, 1, 2, &name), 0);
  EXPECT_EQ(name.text, "Task_B");
}

TEST_F(WalkCommandTest, RefusalsSayHowToUseIt) {
  const char* const lines[] = {"walk",         "walk 1",        "walk 1 0",  "walk x 5",
                               "walk 1 5 3x",  "walk --notes",  "walk 1 -2", "walk 7 5",
                               "walk 1 5 3 ?", "walk --notes 1"};
  for (const char* line : lines) {
    debugger->clear_record();
    EXPECT_EQ(run(line), 1) << line;
    EXPECT_TRUE(messages(0).empty()) << line;
    EXPECT_EQ(messages(2).size(), 1u) << line;
  }
}

} // namespace
