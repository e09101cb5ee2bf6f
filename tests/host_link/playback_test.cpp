// Tests of playback: the line splitter, whole runs of recordings through the real executable
// (one recording per rule under tests/data/playback), and in-process runs whose handlers send
// requests of their own, so that the playback transport's rules are exercised too.
#include "host_link/playback.h"

#include "host_link/jsonrpc.h"
#include "host_link/process_flags.h"
#include "host_link/simple_json/json_value.h"
#include "host_link/simple_json/json_write.h"
#include "support/plugin_runner.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

const std::string kData = std::string(OSA_TEST_DATA_DIR) + "/playback/";

constexpr const char* kNope12 = R"({"jsonrpc":"2.0","method":"nope","params":{},"id":12})";
constexpr const char* kNopeAnswer12 =
    R"({ "jsonrpc" : "2.0", "error" : { "code" : -32601, "message" : "unknown message"}, "id" : 12 })";

std::string nope_answer(int id) {
  return R"({ "jsonrpc" : "2.0", "error" : { "code" : -32601, "message" : "unknown message"}, "id" : )" +
         std::to_string(id) + " }";
}

TEST(PlaybackSplitLine, TagSeparatorAndTrimming) {
  struct Case {
    std::string_view line;
    const char* tag;
    PlaybackLineKind kind;
    std::string_view message;
  };
  const Case cases[] = {
      {"TARNO: {}", "TARNO", PlaybackLineKind::Message, "{}"},
      {"12:00:01.250 TARNO: {}", "TARNO", PlaybackLineKind::Message, "{}"},
      {"\t 1.2:3 PLUGIN:{\"a\" : 1}", "PLUGIN", PlaybackLineKind::Message, "{\"a\" : 1}"},
      {"tarno : {}", "TARNO", PlaybackLineKind::Message, "{}"},
      {"TaRnO\t\r\f:\t {}", "TARNO", PlaybackLineKind::Message, "{}"},
      {"TARNO: {} \t\r\f\n", "TARNO", PlaybackLineKind::Message, "{}"},
      {"TARNO: { a  b }", "TARNO", PlaybackLineKind::Message, "{ a  b }"}, // inner blanks stay
      {"TARNO:", "TARNO", PlaybackLineKind::Message, ""},
      {"TARNO:   ", "TARNO", PlaybackLineKind::Message, ""},
      {"TARNO: a: b", "TARNO", PlaybackLineKind::Message, "a: b"},
      {"TARNO {}", "TARNO", PlaybackLineKind::NoSeparator, ""},
      {"TARNO", "TARNO", PlaybackLineKind::NoSeparator, ""},
      {"TARNOX: {}", "TARNO", PlaybackLineKind::NoSeparator, ""},
      {"PLUGIN: {}", "TARNO", PlaybackLineKind::WrongTag, ""},
      {"", "TARNO", PlaybackLineKind::WrongTag, ""},
      {"   ", "TARNO", PlaybackLineKind::WrongTag, ""},
      {"TARN", "TARNO", PlaybackLineKind::WrongTag, ""},
      {"x TARNO: {}", "TARNO", PlaybackLineKind::WrongTag, ""}, // x is no time-stamp character
      {"\rTARNO: {}", "TARNO", PlaybackLineKind::WrongTag, ""}, // nor is a carriage return
      {"# TARNO: {}", "TARNO", PlaybackLineKind::WrongTag, ""}, // no comment lines
      {"::..09 \tTARNO:{}", "TARNO", PlaybackLineKind::Message, "{}"},
  };
  for (const Case& c : cases) {
    std::string_view message = "untouched";
    EXPECT_EQ(playback_split_line(c.line, c.tag, &message), c.kind) << c.line;
    if (c.kind == PlaybackLineKind::Message) {
      EXPECT_EQ(message, c.message) << c.line;
    } else {
      EXPECT_EQ(message, "untouched") << c.line;
    }
  }
}

TEST(PlaybackNextLine, LinesOfAMemorySource) {
  PlaybackSource source;
  source.from_memory = true;
  source.memory = std::string("a\n\nb\r\nlast", 10);
  std::vector<std::string> lines;
  std::string line;
  while (playback_next_line(source, line)) {
    lines.push_back(line);
  }
  EXPECT_EQ(lines, (std::vector<std::string>{"a", "", "b\r", "last"}));
  PlaybackSource closed;
  EXPECT_FALSE(playback_next_line(closed, line));
}

// --- The real executable plays the recordings back.

struct PlaybackCase {
  const char* name;
  std::vector<std::string> args; // "@" stands for the file's path
  int exit_code;
  std::string out; // "@" stands for the file's path
};

std::string with_path(const std::string& text, const std::string& path) {
  std::string result;
  for (const char c : text) {
    if (c == '@') {
      result += path;
    } else {
      result += c;
    }
  }
  return result;
}

TEST(PlaybackProcess, EveryRecordingRule) {
  const std::string missing_answer2 = nope_answer(2);
  const PlaybackCase cases[] = {
      {"two_line.play", {"-file", "@"}, 0, "Successfully played back all 2 lines from @.\n"},
      {"two_line.play", {"-f", "@"}, 0, "Successfully played back all 2 lines from @.\n"},
      {"two_line.play", {"-File", "@"}, 0, "Successfully played back all 2 lines from @.\n"},
      {"empty.play", {"-file", "@"}, 0, "Successfully played back all 0 lines from @.\n"},
      {"does_not_exist.play", {"-file", "@"}, 2, "Cannot open file to read: @\n"},
      {"", {"-file", "@"}, 2, "Cannot open file to read: @\n"}, // the directory itself
      {"case_and_blanks.play", {"-file", "@"}, 0, "Successfully played back all 4 lines from @.\n"},
      {"no_final_line_feed.play",
       {"-file", "@"},
       0,
       "Successfully played back all 2 lines from @.\n"},
      {"missing_colon.play", {"-file", "@"}, 3, "Invalid syntax at line 1\n"},
      {"wrong_tag_first.play", {"-file", "@"}, 3, "Expect a message from TARNO at line 1\n"},
      {"wrong_tag_later.play", {"-file", "@"}, 3, "Expect a message from TARNO at line 3\n"},
      {"blank_line.play", {"-file", "@"}, 3, "Expect a message from TARNO at line 3\n"},
      {"missing_last_line.play",
       {"-file", "@"},
       4,
       "Expect a message from PLUGIN at line 4\nGot different result to TARNO on line 3:\n" +
           missing_answer2 + "\n"},
      {"differs_in_blanks.play",
       {"-file", "@"},
       4,
       "Got different result to TARNO on line 2:\n" + nope_answer(1) + "\n"},
      {"response_tag_wrong.play",
       {"-file", "@"},
       4,
       "Expect a message from PLUGIN at line 2\nGot different result to TARNO on line 2:\n" +
           nope_answer(1) + "\n"},
      {"response_no_colon.play",
       {"-file", "@"},
       4,
       "Invalid syntax at line 2\nGot different result to TARNO on line 2:\n" + nope_answer(1) +
           "\n"},
      // A differing response ends the playback even when errors are to be ignored.
      {"differs_twice.play",
       {"-ignore_error", "-file", "@"},
       4,
       "Got different result to TARNO on line 2:\n" + nope_answer(1) + "\n"},
      {"differs_twice.play",
       {"-file", "@", "-IGNORE_ERROR"},
       4,
       "Got different result to TARNO on line 2:\n" + nope_answer(1) + "\n"},
      // So does a bad line where an exchange should begin.
      {"blank_line.play",
       {"-ignore_error", "-file", "@"},
       3,
       "Expect a message from TARNO at line 3\n"},
      // The exit request is not obeyed during playback: the file is played to its end.
      {"exit_then_more.play", {"-file", "@"}, 0, "Successfully played back all 4 lines from @.\n"},
  };
  for (const PlaybackCase& c : cases) {
    const std::string path = kData + c.name;
    std::vector<std::string> args;
    for (const std::string& a : c.args) {
      args.push_back(a == "@" ? path : a);
    }
    const PluginRun run = run_plugin(OSA_PLUGIN_EXE, args);
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(run.exit.exited) << "signal " << run.exit.signal;
    EXPECT_EQ(run.exit.code, c.exit_code);
    EXPECT_EQ(run.out, text_stream(with_path(c.out, path)));
    EXPECT_EQ(run.err, "");
  }
}

TEST(PlaybackProcess, IgnoreErrorAloneHasNoFileToOpen) {
  const PluginRun run = run_plugin(OSA_PLUGIN_EXE, {"-ignore_error"});
  ASSERT_TRUE(run.exit.exited);
  EXPECT_EQ(run.exit.code, 2);
  EXPECT_EQ(run.out, text_stream("Cannot open file to read: (null)\n"));
}

TEST(PlaybackProcess, TheBundledExamplePlaysBack) {
  const std::string path = std::string(OSA_SOURCE_DIR) + "/examples/basic_session.play";
  const PluginRun run = run_plugin(OSA_PLUGIN_EXE, {"-file", path});
  ASSERT_TRUE(run.exit.exited);
  EXPECT_EQ(run.exit.code, 0) << run.out;
  EXPECT_EQ(run.out.rfind("Successfully played back all ", 0), 0u) << run.out;
  EXPECT_NE(run.out.find(text_stream(" lines from " + path + ".\n")), std::string::npos);
}

// --- In-process runs: a handler that asks the debugger one question.

struct AskRecord {
  int calls = 0;
  bool ok = false;
  std::string result;
};
AskRecord ask;

JsonPtr ask_handler(const JsonValue*) {
  ++ask.calls;
  JsonPtr params = json_new_object();
  json_object_add_integer(params.get(), "level", 2);
  JsonPtr result;
  ask.ok = JrSendRequest(jr_service(), "OSA_Service_Inner", std::move(params), &result);
  ask.result = result ? json_to_text(*result) : "<none>";
  JsonPtr answer = json_new_object();
  json_object_add_integer(answer.get(), "return", ask.ok ? 0 : 1);
  return answer;
}

constexpr const char* kAsk = R"(TARNO: {"jsonrpc":"2.0","method":"Test_Ask","params":{},"id":7})";
constexpr const char* kInner0 =
    R"(PLUGIN: { "jsonrpc" : "2.0", "method" : "OSA_Service_Inner", "params" : { "level" : 2 }, "id" : 0 })";
constexpr const char* kInner1 =
    R"(PLUGIN: { "jsonrpc" : "2.0", "method" : "OSA_Service_Inner", "params" : { "level" : 2 }, "id" : 1 })";
constexpr const char* kAnswer = R"(TARNO: {"jsonrpc":"2.0","result":{"x":1},"id":0})";
constexpr const char* kAskOk =
    R"(PLUGIN: { "jsonrpc" : "2.0", "result" : { "return" : 0 }, "id" : 7 })";
constexpr const char* kAskFailed =
    R"(PLUGIN: { "jsonrpc" : "2.0", "result" : { "return" : 1 }, "id" : 7 })";

class PlaybackTransportTest : public ::testing::Test {
protected:
  void SetUp() override {
    jsonrpc_reset_for_tests();
    jsonrpc_create_bindings();
    jsonrpc_bind("Test_Ask", ask_handler);
    jr_service_create(playback_transport);
    ask = AskRecord{};
    process_flags().ignore_errors = false;
    playback_state().capture = &out;
  }
  void TearDown() override {
    playback_state().capture = nullptr;
    process_flags().ignore_errors = false;
    jsonrpc_reset_for_tests();
  }
  int play(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
      text += line + "\n";
    }
    out.clear();
    return playback_text(text, "mem.play");
  }
  std::string out;
};

TEST_F(PlaybackTransportTest, AnsweredRequestPlaysBack) {
  EXPECT_EQ(play({kAsk, kInner0, kAnswer, kAskOk}), kPlaybackOk);
  EXPECT_EQ(out, "Successfully played back all 4 lines from mem.play.\n");
  EXPECT_TRUE(ask.ok);
  EXPECT_EQ(ask.result, "{ \"x\" : 1 }");
}

TEST_F(PlaybackTransportTest, DebuggerRequestBeforeTheAnswerIsServed) {
  const std::string nope = std::string("TARNO: ") + kNope12;
  const std::string nope_reply = std::string("PLUGIN: ") + kNopeAnswer12;
  EXPECT_EQ(play({kAsk, kInner0, nope, nope_reply, nope, nope_reply, kAnswer, kAskOk}),
            kPlaybackOk);
  EXPECT_EQ(out, "Successfully played back all 8 lines from mem.play.\n");
  EXPECT_EQ(ask.result, "{ \"x\" : 1 }");
}

TEST_F(PlaybackTransportTest, DifferentServedResponseIsReportedAndPlayContinues) {
  const std::string nope = std::string("TARNO: ") + kNope12;
  EXPECT_EQ(play({kAsk, kInner0, nope, "PLUGIN: {}", kAnswer, kAskOk}), kPlaybackDifferent);
  EXPECT_EQ(out, std::string("Got different request to TARNO on line 4:\n") + kNopeAnswer12 + "\n");
  EXPECT_TRUE(ask.ok); // the answer after it was still taken
}

TEST_F(PlaybackTransportTest, DifferentRequestStopsBeforeTheNextExchangeUnlessIgnored) {
  const std::vector<std::string> lines = {kAsk, kInner1, kAnswer, kAskOk,
                                          kAsk, kInner1, kAnswer, kAskOk};
  const std::string request0 =
      R"({ "jsonrpc" : "2.0", "method" : "OSA_Service_Inner", "params" : { "level" : 2 }, "id" : 0 })";
  const std::string request1 =
      R"({ "jsonrpc" : "2.0", "method" : "OSA_Service_Inner", "params" : { "level" : 2 }, "id" : 1 })";
  EXPECT_EQ(play(lines), kPlaybackDifferent);
  EXPECT_EQ(out, "Got different request to TARNO on line 2:\n" + request0 + "\n");
  EXPECT_EQ(playback_state().line_count, 4);
  EXPECT_EQ(ask.calls, 1);

  // With errors ignored the second exchange is played, and its request (id 1) matches.
  process_flags().ignore_errors = true;
  jsonrpc_reset_for_tests();
  jsonrpc_create_bindings();
  jsonrpc_bind("Test_Ask", ask_handler);
  jr_service_create(playback_transport);
  ask = AskRecord{};
  EXPECT_EQ(play(lines), kPlaybackDifferent);
  EXPECT_EQ(out, "Got different request to TARNO on line 2:\n" + request0 + "\n");
  EXPECT_EQ(playback_state().line_count, 8);
  EXPECT_EQ(ask.calls, 2);
}

TEST_F(PlaybackTransportTest, MissingAnswerFailsTheRequest) {
  // The recording ends after the plug-in's request: the request fails, the handler reports it
  // in its result, and the final response is missing too.
  EXPECT_EQ(play({kAsk, kInner0}), kPlaybackDifferent);
  EXPECT_EQ(out, "Expect a message from TARNO at line 3\n"
                 "Expect a message from PLUGIN at line 3\n"
                 "Got different result to TARNO on line 2:\n"
                 R"({ "jsonrpc" : "2.0", "result" : { "return" : 1 }, "id" : 7 })"
                 "\n");
  EXPECT_FALSE(ask.ok);
}

TEST_F(PlaybackTransportTest, WronglyTaggedAnswerFailsTheRequest) {
  // With errors ignored the exchange still completes with the handler's failure recorded.
  process_flags().ignore_errors = true;
  EXPECT_EQ(play({kAsk, kInner0, R"(PLUGIN: {"result":{}})", kAskFailed}), kPlaybackBadLine);
  EXPECT_EQ(out, "Expect a message from TARNO at line 3\n");
  EXPECT_FALSE(ask.ok);
}

TEST_F(PlaybackTransportTest, MissingRequestLineIsADifference) {
  EXPECT_EQ(play({kAsk}), kPlaybackDifferent);
  EXPECT_EQ(
      out,
      "Expect a message from PLUGIN at line 2\n"
      "Got different request to TARNO on line 1:\n"
      R"({ "jsonrpc" : "2.0", "method" : "OSA_Service_Inner", "params" : { "level" : 2 }, "id" : 0 })"
      "\n"
      "Expect a message from TARNO at line 2\n"
      "Expect a message from PLUGIN at line 2\n"
      "Got different result to TARNO on line 1:\n"
      R"({ "jsonrpc" : "2.0", "result" : { "return" : 1 }, "id" : 7 })"
      "\n");
}

TEST_F(PlaybackTransportTest, IgnoreErrorGoesOnPastProblemsInsideAnExchange) {
  // The result code holds the latest problem: a wrong answer tag (3) after a differing request
  // (4) leaves 3, and the other way round 4. Without "-ignore_error" the first problem ends the
  // playback before the next exchange.
  const std::string request0 =
      R"({ "jsonrpc" : "2.0", "method" : "OSA_Service_Inner", "params" : { "level" : 2 }, "id" : 0 })";
  const std::string request1 =
      R"({ "jsonrpc" : "2.0", "method" : "OSA_Service_Inner", "params" : { "level" : 2 }, "id" : 1 })";
  const std::string bad_answer = R"(PLUGIN: {"result":{}})";
  const std::string three_then_four = std::string(kAsk) + "\n" + kInner0 + "\n" + bad_answer +
                                      "\n" + kAskFailed + "\n" + kAsk + "\n" + kInner0 + "\n" +
                                      kAnswer + "\n" + kAskOk + "\n";
  struct Case {
    const char* what;
    bool from_file; // tests/data/playback/ignore_error_goes_on.play, else three_then_four
    bool ignore;
    int result;
    int lines;
    int calls;
    std::string out;
  };
  const Case cases[] = {
      {"4 then 3, stopping", true, false, kPlaybackDifferent, 4, 1,
       "Got different request to TARNO on line 2:\n" + request0 + "\n"},
      {"4 then 3, ignored", true, true, kPlaybackBadLine, 10, 2,
       "Got different request to TARNO on line 2:\n" + request0 +
           "\nExpect a message from TARNO at line 7\n"},
      {"3 then 4, stopping", false, false, kPlaybackBadLine, 4, 1,
       "Expect a message from TARNO at line 3\n"},
      {"3 then 4, ignored", false, true, kPlaybackDifferent, 8, 2,
       "Expect a message from TARNO at line 3\nGot different request to TARNO on line 6:\n" +
           request1 + "\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    jsonrpc_reset_for_tests();
    jsonrpc_create_bindings();
    jsonrpc_bind("Test_Ask", ask_handler);
    jr_service_create(playback_transport);
    ask = AskRecord{};
    process_flags().ignore_errors = c.ignore;
    out.clear();
    const std::string path = kData + "ignore_error_goes_on.play";
    const int result = c.from_file ? playback(path.c_str()) : playback_text(three_then_four, "m");
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(out, c.out);
    EXPECT_EQ(playback_state().line_count, c.lines);
    EXPECT_EQ(ask.calls, c.calls);
  }
}

TEST_F(PlaybackTransportTest, NullRequestGivesNull) {
  EXPECT_EQ(playback_transport(nullptr), nullptr);
}

} // namespace
