// In-process tests of the stdio layer: the framing test, the single read and the whole write on
// descriptors 0 and 1, the reading loop's buffer limit, and the stdio transport with a
// debugger on the other end of a pipe pair (requests of the debugger arriving while the
// transport waits, each waiting level with its own buffer, pipes that end or break).
#include "host_link/stdio_transport.h"

#include "host_link/jsonrpc.h"
#include "host_link/simple_json/json_value.h"
#include "host_link/simple_json/json_write.h"
#include "runtime/platform.h"
#include "stdio_pipes.h"
#include "support/plugin_runner.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#endif

namespace {

// The debugger's side on another thread: it collects what the plug-in writes and, after the
// plug-in's n-th message, writes replies[n - 1] (an empty text: nothing). Like the debugger, it
// never sends a message before the plug-in has written the one it answers.
class DebuggerThread {
public:
  DebuggerThread(StdioPipes& pipes, std::vector<std::string> replies, bool eof_after_replies,
                 bool close_output_before_reply = false)
      : pipes_(pipes), replies_(std::move(replies)) {
    thread_ = std::thread([this, eof_after_replies, close_output_before_reply] {
      std::size_t next_reply = 0;
      std::string pending;
      char chunk[4096];
      for (;;) {
        if (next_reply == replies_.size() && eof_after_replies) {
          pipes_.close_to_plugin();
        }
        const long got = pipes_.receive(chunk, sizeof chunk);
        if (got <= 0) {
          break;
        }
        pending.append(chunk, static_cast<std::size_t>(got));
        for (std::size_t length = leading_message_length(pending); length > 0;
             length = leading_message_length(pending)) {
          seen_.push_back(pending.substr(0, length));
          pending.erase(0, length);
          if (next_reply < replies_.size()) {
            const std::string& reply = replies_[next_reply++];
            if (close_output_before_reply && next_reply == replies_.size()) {
              // Nobody reads the plug-in's output any more: its next write breaks.
              pipes_.close_from_plugin();
              pipes_.send(reply);
              return;
            }
            pipes_.send(reply);
          }
        }
      }
    });
  }
  // Valid after join().
  void join() {
    if (thread_.joinable()) {
      thread_.join();
    }
  }
  ~DebuggerThread() { join(); }
  const std::vector<std::string>& seen() const { return seen_; }

private:
  StdioPipes& pipes_;
  std::vector<std::string> replies_;
  std::vector<std::string> seen_;
  std::thread thread_;
};

TEST(MessageComplete, FramingRules) {
  struct Case {
    const char* text;
    bool complete;
  };
  const Case cases[] = {
      {"", false},
      {"   ", false},
      {"{}", true},
      {" \t\n{}", true},
      {"\r{}", false}, // a carriage return is not skipped
      {"\f{}", false},
      {"x{}", false},
      {"[{}]", false},
      {"{", false},
      {"{\"a\":{}", false},
      {"{\"a\":{}}", true},
      {"{\"method\":\"x}\"", false}, // the brace in the string does not close the object
      {"{\"method\":\"x}\"}", true},
      {"{\"a\":\"\\\"}\"}", true}, // escaped quote stays inside the string
      {"{\"a\":\"\\\\\"}", true},  // escaped backslash does not swallow the closing quote
      {"{\"a\":\"", false},
      {"{\"a\":\"\\", false}, // a backslash at the very end of the text
      {"{}}", false},         // a closing brace at depth 0
      {"{}{}", true},         // two objects received together
      {"{} {", false},
      {"{}\r x", true}, // after the object only braces and quotes count
      {"{}\"", false},  // a quote after the object opens a string
      {"\n\t {\"a\\\\\":\"\\\\\\\"\"}", true},
      {"{\"a\":[1,{\"b\":2}]}", true},
      {"{\"a\":[}", true}, // square brackets are not counted
      {"{\"a\":\"{\"}", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(message_is_complete(c.text), c.complete) << "text: " << c.text;
    // The reading loop feeds the text as it arrives: cut anywhere, or into single bytes, the
    // verdict must be that of the whole text (an escape may end one piece and act on the next).
    const std::string text = c.text;
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
      FramingScan scan;
      scan.feed(text.substr(0, cut).c_str());
      EXPECT_EQ(scan.complete(), message_is_complete(text.substr(0, cut).c_str()))
          << "text: " << c.text << " first piece " << cut;
      scan.feed(text.substr(cut).c_str());
      EXPECT_EQ(scan.complete(), c.complete) << "text: " << c.text << " cut at " << cut;
    }
    FramingScan bytewise;
    for (const char ch : text) {
      bytewise.feed(std::string(1, ch).c_str());
    }
    EXPECT_EQ(bytewise.complete(), c.complete) << "text: " << c.text << " byte by byte";
  }
  EXPECT_FALSE(message_is_complete(nullptr));
}

TEST(JsonRead, ReadsAtMostRoomMinusOneAndTerminates) {
  char buffer[8];
  bool first = false;
  bool second = false;
  int second_errno = -1;
  std::string first_text;
  std::string second_text;
  {
    StdioPipes pipes;
    ASSERT_TRUE(pipes.ok());
    pipes.send("abcdef");
    std::memset(buffer, 'z', sizeof buffer);
    first = OSA__JSON__Read(buffer, 4);
    first_text = buffer;
    second = OSA__JSON__Read(buffer, sizeof buffer);
    second_errno = errno;
    second_text = buffer;
    pipes.restore();
  }
  EXPECT_TRUE(first);
  EXPECT_EQ(first_text, "abc");
  EXPECT_TRUE(second);
  EXPECT_EQ(second_errno, 0);
  EXPECT_EQ(second_text, "def");
}

TEST(JsonRead, FailsWithoutRoomNullBufferAndAtEndOfInput) {
  char buffer[8] = "junk";
  bool null_buffer = true;
  bool no_room = true;
  bool room_one = true;
  int room_one_errno = -1;
  std::string room_one_text = "unset";
  bool at_end = true;
  int at_end_errno = -1;
  std::string at_end_text = "unset";
  {
    StdioPipes pipes;
    ASSERT_TRUE(pipes.ok());
    pipes.send("{}");
    null_buffer = OSA__JSON__Read(nullptr, 8);
    no_room = OSA__JSON__Read(buffer, 0);
    // Room for the terminator only: nothing can be taken even though bytes are waiting.
    room_one = OSA__JSON__Read(buffer, 1);
    room_one_errno = errno;
    room_one_text = buffer;
    char rest[8];
    OSA__JSON__Read(rest, sizeof rest);
    pipes.close_to_plugin();
    std::strcpy(buffer, "junk");
    at_end = OSA__JSON__Read(buffer, sizeof buffer);
    at_end_errno = errno;
    at_end_text = buffer;
    pipes.restore();
  }
  EXPECT_FALSE(null_buffer);
  EXPECT_FALSE(no_room);
  EXPECT_FALSE(room_one);
  EXPECT_EQ(room_one_errno, 0);
  EXPECT_EQ(room_one_text, "");
  EXPECT_FALSE(at_end);
  EXPECT_EQ(at_end_errno, 0);
  EXPECT_EQ(at_end_text, "");
}

#ifndef _WIN32
// Windows has no non-blocking mode for a pipe's descriptor: EAGAIN cannot happen there.
TEST(JsonRead, WarnsAboutEagain) {
  char buffer[8];
  bool nonblocking = true;
  int nonblocking_errno = 0;
  std::string err;
  {
    StdioPipes pipes;
    ASSERT_TRUE(pipes.ok());
    ::fcntl(0, F_SETFL, ::fcntl(0, F_GETFL) | O_NONBLOCK);
    nonblocking = OSA__JSON__Read(buffer, sizeof buffer);
    nonblocking_errno = errno;
    ::fcntl(0, F_SETFL, ::fcntl(0, F_GETFL) & ~O_NONBLOCK);
    pipes.restore();
    err = pipes.stderr_text();
  }
  EXPECT_FALSE(nonblocking);
  EXPECT_EQ(nonblocking_errno, EAGAIN);
  EXPECT_EQ(err, "Unexpected EAGAIN because we did not set stdin into nonblock.\n");
}
#endif

TEST(JsonRead, ReportsTheReadError) {
  char buffer[8];
  bool closed = true;
  int closed_errno = 0;
  {
    StdioPipes pipes;
    ASSERT_TRUE(pipes.ok());
    StdioPipes::close_standard_input();
    closed = OSA__JSON__Read(buffer, sizeof buffer);
    closed_errno = errno;
    pipes.restore();
  }
  EXPECT_FALSE(closed);
  EXPECT_EQ(closed_errno, EBADF);
}

#ifndef _WIN32
// A signal interrupts a blocking read on POSIX only; Windows has no such interruption.
std::atomic<int> g_signals{0};
void count_signal(int) {
  ++g_signals;
}

TEST(JsonRead, RetriesAnInterruptedRead) {
  struct sigaction action {};
  struct sigaction previous {};
  action.sa_handler = count_signal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0; // no automatic restart: the read itself must see EINTR
  ASSERT_EQ(::sigaction(SIGUSR1, &action, &previous), 0);
  g_signals = 0;
  char buffer[16];
  bool ok = false;
  std::string text;
  {
    StdioPipes pipes;
    ASSERT_TRUE(pipes.ok());
    const pthread_t reader = ::pthread_self();
    std::thread interrupter([&pipes, reader] {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      ::pthread_kill(reader, SIGUSR1);
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      pipes.send("{\"a\":1}");
    });
    ok = OSA__JSON__Read(buffer, sizeof buffer);
    text = buffer;
    interrupter.join();
    pipes.restore();
  }
  ::sigaction(SIGUSR1, &previous, nullptr);
  EXPECT_EQ(g_signals.load(), 1);
  EXPECT_TRUE(ok);
  // Without a second attempt the call would come back empty-handed.
  EXPECT_EQ(text, "{\"a\":1}");
}
#endif

TEST(JsonWrite, WritesEverythingOrFails) {
  const std::string big(300000, 'x'); // far more than a pipe holds: many partial writes
  bool null_text = true;
  bool empty = true;
  bool whole = false;
  std::string received;
  {
    StdioPipes pipes;
    ASSERT_TRUE(pipes.ok());
    std::thread reader([&pipes, &received, &big] {
      char chunk[65536];
      while (received.size() < big.size() + 2) {
        const long got = pipes.receive(chunk, sizeof chunk);
        if (got <= 0) {
          break;
        }
        received.append(chunk, static_cast<std::size_t>(got));
      }
    });
    null_text = OSA__JSON__Write(nullptr, 4);
    empty = OSA__JSON__Write("{}", 0);
    whole = OSA__JSON__Write(big.c_str(), big.size());
    OSA__JSON__Write("{}", 2);
    reader.join();
    pipes.restore();
  }
  EXPECT_FALSE(null_text);
  EXPECT_FALSE(empty);
  EXPECT_TRUE(whole);
  EXPECT_EQ(received, big + "{}"); // and no delimiter after either text

  bool broken = true;
  int broken_errno = 0;
  {
    platform_ignore_broken_pipe();
    StdioPipes pipes;
    ASSERT_TRUE(pipes.ok());
    pipes.close_from_plugin();
    broken = OSA__JSON__Write("{}", 2);
    broken_errno = errno;
    pipes.restore();
  }
  EXPECT_FALSE(broken);
  EXPECT_EQ(broken_errno, EPIPE);
}

// Standard input and output start in text mode on Windows: the C runtime would turn CR LF into
// LF on reading and LF into CR LF on writing. The serving loop's platform_set_binary_stdio()
// must leave every byte as it is, in both directions.
TEST(BinaryStdio, CrLfReachesThePluginAndAResponseGainsNoCarriageReturn) {
  std::string before;
  std::string received;
  std::string written;
  bool read_ok = false;
  bool write_ok = false;
  {
    StdioPipes pipes(PipeMode::Text);
    ASSERT_TRUE(pipes.ok());
    OSA__JSON__Write("a\n", 2);
    before = pipes.drain_stdout();
    platform_set_binary_stdio();
    pipes.send("{\"a\":\r\n1}\r\n");
    char buffer[64];
    read_ok = OSA__JSON__Read(buffer, sizeof buffer);
    received = buffer;
    write_ok = OSA__JSON__Write("{\"b\":\n2}\r\n", 10);
    written = pipes.drain_stdout();
    pipes.restore();
  }
  // Before the switch the translation shows, so the pipes really were in text mode.
  EXPECT_EQ(before, text_stream("a\n"));
  EXPECT_TRUE(read_ok);
  EXPECT_EQ(received, "{\"a\":\r\n1}\r\n");
  EXPECT_TRUE(write_ok);
  EXPECT_EQ(written, "{\"b\":\n2}\r\n");
}

// The debugger's request arrives in several reads: read_complete_message keeps reading until
// the text is complete and hands it over whole, CR LF and all.
TEST(ReadCompleteMessage, ARequestInSeveralReadsIsOneText) {
  RequestBuffer buffer;
  bool ok = false;
  int error = -1;
  {
    StdioPipes pipes(PipeMode::Text);
    ASSERT_TRUE(pipes.ok());
    platform_set_binary_stdio();
    std::thread writer([&pipes] {
      for (const char* piece : {"{\"a\":", "\r\n{\"b\":\"}", "\"}", "\r\n}"}) {
        pipes.send(piece);
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
      }
      pipes.close_to_plugin(); // a lost race shows as a failed read, not a hang
    });
    ok = read_complete_message(buffer, &error);
    writer.join();
    pipes.restore();
  }
  EXPECT_TRUE(ok);
  EXPECT_EQ(std::string(buffer.text()), "{\"a\":\r\n{\"b\":\"}\"}\r\n}");
}

TEST(ReadCompleteMessage, HoldsAtMost65535Bytes) {
  // A request of exactly 65535 bytes fits; one byte more never completes.
  const std::string head = "{\"a\":\"";
  const std::string tail = "\"}";
  const std::string fits = head + std::string(65535 - head.size() - tail.size(), 'y') + tail;
  const std::string too_long = head + std::string(65536 - head.size() - tail.size(), 'y') + tail;
  ASSERT_EQ(fits.size(), 65535u);
  for (const std::string* input : {&fits, &too_long}) {
    RequestBuffer buffer;
    bool ok = false;
    int error = -1;
    {
      StdioPipes pipes;
      ASSERT_TRUE(pipes.ok());
      std::thread writer([&pipes, input] {
        pipes.send(*input);
        pipes.close_to_plugin();
      });
      ok = read_complete_message(buffer, &error);
      writer.join();
      pipes.restore();
    }
    if (input == &fits) {
      EXPECT_TRUE(ok);
      EXPECT_EQ(std::string(buffer.text()), fits);
    } else {
      EXPECT_FALSE(ok);
      EXPECT_EQ(error, 0);
      EXPECT_EQ(buffer.held, 65535u);
      EXPECT_EQ(std::string(buffer.text()), too_long.substr(0, 65535));
    }
  }
}

TEST(ReadCompleteMessage, TextAfterANulByteIsDropped) {
  RequestBuffer buffer;
  bool ok = false;
  int error = -1;
  {
    StdioPipes pipes;
    ASSERT_TRUE(pipes.ok());
    pipes.send(std::string("{\"a\"\0garbage", 12));
    std::thread writer([&pipes] {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      pipes.send(":1}");
      pipes.close_to_plugin(); // a lost race shows as a failed read, not a hang
    });
    ok = read_complete_message(buffer, &error);
    writer.join();
    pipes.restore();
  }
  EXPECT_TRUE(ok);
  EXPECT_EQ(std::string(buffer.text()), "{\"a\":1}");
}

// What the handler bound as "Test_Ask" saw; it asks the debugger one question itself.
struct NestedRecord {
  int calls = 0;
  bool inner_ok = false;
  std::string inner_result;
};
NestedRecord nested;

JsonPtr ask_handler(const JsonValue*) {
  ++nested.calls;
  JsonPtr params = json_new_object();
  json_object_add_integer(params.get(), "level", 2);
  JsonPtr result;
  nested.inner_ok = JrSendRequest(jr_service(), "OSA_Service_Inner", std::move(params), &result);
  nested.inner_result = result ? json_to_text(*result) : "<none>";
  JsonPtr answer = json_new_object();
  json_object_add_integer(answer.get(), "return", nested.inner_ok ? 0 : 1);
  return answer;
}

class StdioTransportTest : public ::testing::Test {
protected:
  void SetUp() override {
    jsonrpc_reset_for_tests();
    jsonrpc_create_bindings();
    jsonrpc_bind("Test_Ask", ask_handler);
    jr_service_create(stdio_transport);
    nested = NestedRecord{};
    platform_ignore_broken_pipe();
  }
  void TearDown() override { jsonrpc_reset_for_tests(); }

  // Sends one outgoing request through the stdio transport with the debugger script in place.
  struct Outcome {
    bool ok = false;
    std::string result;
    std::vector<std::string> plugin_wrote;
    std::string err;
  };
  Outcome send_outer(std::vector<std::string> replies, bool eof_after = true,
                     bool break_output = false) {
    Outcome outcome;
    StdioPipes pipes;
    if (!pipes.ok()) {
      return outcome;
    }
    DebuggerThread debugger(pipes, std::move(replies), eof_after, break_output);
    JsonPtr params = json_new_object();
    json_object_add_integer(params.get(), "level", 1);
    JsonPtr result;
    outcome.ok = JrSendRequest(jr_service(), "OSA_Service_Outer", std::move(params), &result);
    outcome.result = result ? json_to_text(*result) : "<none>";
    pipes.restore();
    debugger.join();
    outcome.plugin_wrote = debugger.seen();
    outcome.err = pipes.stderr_text();
    return outcome;
  }
};

TEST_F(StdioTransportTest, TakesTheFirstMessageThatIsNotARequest) {
  const Outcome o = send_outer({R"({"jsonrpc":"2.0","result":{"v":1},"id":0})"});
  EXPECT_TRUE(o.ok);
  EXPECT_EQ(o.result, "{ \"v\" : 1 }");
  ASSERT_EQ(o.plugin_wrote.size(), 1u);
  EXPECT_EQ(
      o.plugin_wrote[0],
      R"({ "jsonrpc" : "2.0", "method" : "OSA_Service_Outer", "params" : { "level" : 1 }, "id" : 0 })");
  EXPECT_EQ(o.err, "");
}

TEST_F(StdioTransportTest, ServesADebuggerRequestBeforeTakingTheAnswer) {
  const Outcome o = send_outer({
      R"({"jsonrpc":"2.0","method":"nope","params":{},"id":12})",
      R"({"jsonrpc":"2.0","result":{"v":2},"id":0})",
  });
  EXPECT_TRUE(o.ok);
  EXPECT_EQ(o.result, "{ \"v\" : 2 }");
  ASSERT_EQ(o.plugin_wrote.size(), 2u);
  EXPECT_NE(o.plugin_wrote[0].find("OSA_Service_Outer"), std::string::npos);
  EXPECT_EQ(
      o.plugin_wrote[1],
      R"({ "jsonrpc" : "2.0", "error" : { "code" : -32601, "message" : "unknown message"}, "id" : 12 })");
}

TEST_F(StdioTransportTest, EveryWaitingLevelHasItsOwnBuffer) {
  // The debugger's request is served by a handler that asks a question of its own; its answer
  // reaches the inner level, the last message the outer one.
  const Outcome o = send_outer({
      R"({"jsonrpc":"2.0","method":"Test_Ask","params":{},"id":9})",
      R"({"jsonrpc":"2.0","result":{"inner":"a}b"},"id":1})",
      R"({"jsonrpc":"2.0","result":{"outer":3},"id":0})",
  });
  EXPECT_TRUE(o.ok);
  EXPECT_EQ(o.result, "{ \"outer\" : 3 }");
  EXPECT_EQ(nested.calls, 1);
  EXPECT_TRUE(nested.inner_ok);
  EXPECT_EQ(nested.inner_result, "{ \"inner\" : \"a}b\" }");
  ASSERT_EQ(o.plugin_wrote.size(), 3u);
  EXPECT_NE(o.plugin_wrote[0].find("\"OSA_Service_Outer\""), std::string::npos);
  EXPECT_EQ(
      o.plugin_wrote[1],
      R"({ "jsonrpc" : "2.0", "method" : "OSA_Service_Inner", "params" : { "level" : 2 }, "id" : 1 })");
  EXPECT_EQ(o.plugin_wrote[2], R"({ "jsonrpc" : "2.0", "result" : { "return" : 0 }, "id" : 9 })");
}

TEST_F(StdioTransportTest, AnAnswerThatDoesNotParseIsStillTheAnswer) {
  // It is taken off the pipe as the answer (not served as a request), and the request fails.
  const Outcome o = send_outer({"{\"result\":}"});
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.plugin_wrote.size(), 1u);
}

TEST_F(StdioTransportTest, EndOfInputWhileWaitingFailsTheRequest) {
  struct Case {
    std::vector<std::string> replies;
    std::string err;
  };
  const Case cases[] = {
      {{}, "OSA plugin: Failed to get valid resonse: "},
      {{"{\"result\":{"}, "OSA plugin: Failed to get valid resonse: {\"result\":{"},
      {{"\r{\"result\":{}}"}, "OSA plugin: Failed to get valid resonse: \r{\"result\":{}}"},
  };
  for (const Case& c : cases) {
    const Outcome o = send_outer(c.replies);
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.err, c.err);
  }
}

TEST_F(StdioTransportTest, ARequestThatCannotBeSentFails) {
  Outcome outcome;
  {
    StdioPipes pipes;
    ASSERT_TRUE(pipes.ok());
    pipes.close_from_plugin();
    JsonPtr result;
    outcome.ok = JrSendRequest(jr_service(), "OSA_Service_Outer", json_new_object(), &result);
    pipes.restore();
    outcome.err = pipes.stderr_text();
  }
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.err, "OSA plugin: Failed to send { \"jsonrpc\" : \"2.0\", \"method\" : "
                         "\"OSA_Service_Outer\", \"params\" : {  }, \"id\" : 0 }");
}

TEST_F(StdioTransportTest, AResponseThatCannotBeSentFailsTheWaitingRequest) {
  // The debugger sends a request and stops reading: the answer to it cannot be written, and
  // whatever comes next must not pass for the answer to the plug-in's own request.
  const Outcome o =
      send_outer({R"({"jsonrpc":"2.0","method":"nope","params":{},"id":4})"}, false, true);
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.err, "OSA plugin: Failed to send response: { \"jsonrpc\" : \"2.0\", \"error\" : "
                   "{ \"code\" : -32601, \"message\" : \"unknown message\"}, \"id\" : 4 } (err " +
                       std::to_string(EPIPE) + ")");
}

TEST_F(StdioTransportTest, NullRequestGivesNull) {
  EXPECT_EQ(stdio_transport(nullptr), nullptr);
}

} // namespace
