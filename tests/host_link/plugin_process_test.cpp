// Process-level tests: the built osa_orti_plugin executable over pipes, as the debugger runs
// it. Framing across reads, the end of input between and inside messages, the buffer limit, a
// broken output pipe, the command line, bad input, and the rule that standard output carries
// nothing but JSON-RPC messages. The exit reasons go to the event log, which only an in-process
// run can see: those runs call the process entry with the standard streams on pipes.
#include "host_link/log_facility.h"
#include "host_link/plugin_process.h"
#include "host_link/simple_json/json_parse.h"
#include "host_link/simple_json/json_value.h"
#include "osa/client_methods.h"
#include "runtime/platform.h"
#include "stdio_pipes.h"
#include "support/plugin_runner.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kQuiet = 300; // how long the plug-in must stay silent to count as still waiting

std::string nope(int id) {
  return R"({"jsonrpc":"2.0","method":"nope","params":{},"id":)" + std::to_string(id) + "}";
}
std::string nope_answer(int id) {
  return R"({ "jsonrpc" : "2.0", "error" : { "code" : -32601, "message" : "unknown message"}, "id" : )" +
         std::to_string(id) + " }";
}

std::string usage() {
  return std::string(OSA_PLUGIN_EXE) +
         " [-help | [-ignore_error] -file <JsonRecordPlaybackFile>]\n";
}

// Standard output must be back-to-back JSON-RPC responses and nothing else.
void expect_only_responses(const std::string& out, std::size_t expected_count) {
  std::vector<std::string> messages;
  ASSERT_TRUE(split_messages(out, &messages)) << "stray output: " << out;
  EXPECT_EQ(messages.size(), expected_count) << out;
  for (const std::string& m : messages) {
    std::string error;
    const JsonPtr value = json_parse(m.c_str(), error);
    ASSERT_NE(value, nullptr) << m;
    const char* version = nullptr;
    EXPECT_TRUE(json_object_get_string(value.get(), "jsonrpc", &version) &&
                std::string(version) == "2.0")
        << m;
    EXPECT_TRUE(json_object_find(value.get(), "result") >= 0 ||
                json_object_find(value.get(), "error") >= 0)
        << m;
    EXPECT_GE(json_object_find(value.get(), "id"), 0) << m;
  }
}

TEST(PluginProcess, AnswersRequestsUntilInputEnds) {
  PluginRunner plugin(OSA_PLUGIN_EXE);
  ASSERT_TRUE(plugin.start());
  for (int id = 1; id <= 3; ++id) {
    ASSERT_TRUE(plugin.write(nope(id)));
    std::string response;
    ASSERT_TRUE(plugin.next_message(&response));
    EXPECT_EQ(response, nope_answer(id));
  }
  const PluginExit exit = plugin.wait_exit();
  ASSERT_TRUE(exit.exited);
  EXPECT_EQ(exit.code, 0); // end of input between messages
  EXPECT_EQ(plugin.err(), "");
  expect_only_responses(plugin.out(), 3);
}

TEST(PluginProcess, RequestInThreePiecesIsDispatchedOnceWhenComplete) {
  PluginRunner plugin(OSA_PLUGIN_EXE);
  ASSERT_TRUE(plugin.start());
  const std::string request = nope(5);
  ASSERT_TRUE(plugin.write(request.substr(0, 10)));
  EXPECT_TRUE(plugin.quiet_for(kQuiet));
  ASSERT_TRUE(plugin.write(request.substr(10, 20)));
  EXPECT_TRUE(plugin.quiet_for(kQuiet));
  ASSERT_TRUE(plugin.write(request.substr(30)));
  std::string response;
  ASSERT_TRUE(plugin.next_message(&response));
  EXPECT_EQ(response, nope_answer(5));
  const PluginExit exit = plugin.wait_exit();
  EXPECT_EQ(exit.code, 0);
  expect_only_responses(plugin.out(), 1);
}

TEST(PluginProcess, ClosingBraceInsideAStringDoesNotEndTheMessage) {
  PluginRunner plugin(OSA_PLUGIN_EXE);
  ASSERT_TRUE(plugin.start());
  ASSERT_TRUE(plugin.write(R"({"method":"x}")"));
  EXPECT_TRUE(plugin.quiet_for(kQuiet));
  ASSERT_TRUE(plugin.write(R"(,"params":{"s":"{{\"}"},"id":8})"));
  std::string response;
  ASSERT_TRUE(plugin.next_message(&response));
  EXPECT_EQ(response, nope_answer(8)); // the method "x}" is unknown
  EXPECT_EQ(plugin.wait_exit().code, 0);
  expect_only_responses(plugin.out(), 1);
}

// A text that starts with a carriage return never completes. The plug-in's standard streams
// start in text mode on Windows, where the C runtime would hand a CR LF over as a lone LF
// (which framing skips: that request would be answered); in binary mode the carriage return
// arrives.
TEST(PluginProcess, CarriageReturnBeforeARequestIsNeverComplete) {
  for (const char* before : {"\r", "\r\n"}) {
    PluginRunner plugin(OSA_PLUGIN_EXE);
    ASSERT_TRUE(plugin.start());
    const std::string request = before + nope(3);
    ASSERT_TRUE(plugin.write(request));
    EXPECT_TRUE(plugin.quiet_for(kQuiet));
    const PluginExit exit = plugin.wait_exit();
    ASSERT_TRUE(exit.exited);
    EXPECT_EQ(exit.code, 0);
    EXPECT_EQ(plugin.out(), "");
    EXPECT_EQ(plugin.err(),
              text_stream("OSA plugin: Failed to get valid request: " + request + " (err 0)\n"));
  }
}

// A request with CR LF between its members, in three reads: answered once, when complete, and
// the answer carries no carriage return.
TEST(PluginProcess, RequestWithCrLfInSeveralReadsIsAnsweredOnce) {
  PluginRunner plugin(OSA_PLUGIN_EXE);
  ASSERT_TRUE(plugin.start());
  const std::string pieces[] = {"{\"jsonrpc\":\"2.0\",\r\n",
                                "\"method\":\"nope\",\r\n\"params\":{},", "\r\n\"id\":9\r\n}"};
  for (const std::string& piece : pieces) {
    EXPECT_TRUE(plugin.quiet_for(kQuiet)) << "answered before the request was complete";
    ASSERT_TRUE(plugin.write(piece));
  }
  std::string response;
  ASSERT_TRUE(plugin.next_message(&response));
  EXPECT_EQ(response, nope_answer(9));
  EXPECT_EQ(plugin.wait_exit().code, 0);
  EXPECT_EQ(plugin.out(), nope_answer(9));
  EXPECT_EQ(plugin.err(), "");
}

// Ctrl-Z (0x1A) ends a text-mode input on Windows. In binary mode it is a byte like any other:
// the request that holds it is answered, and so is the one after it.
TEST(PluginProcess, ACtrlZByteIsNotTheEndOfInput) {
  PluginRunner plugin(OSA_PLUGIN_EXE);
  ASSERT_TRUE(plugin.start());
  ASSERT_TRUE(plugin.write(R"({"jsonrpc":"2.0","method":"nope","params":{"s":"a)"
                           "\x1a"
                           R"(b"},"id":4})"));
  std::string response;
  ASSERT_TRUE(plugin.next_message(&response));
  EXPECT_EQ(response, nope_answer(4));
  ASSERT_TRUE(plugin.write(nope(5)));
  ASSERT_TRUE(plugin.next_message(&response));
  EXPECT_EQ(response, nope_answer(5));
  EXPECT_EQ(plugin.wait_exit().code, 0);
  EXPECT_EQ(plugin.err(), "");
}

TEST(PluginProcess, LeadingBlanksTabsAndLineFeedsAreSkipped) {
  PluginRunner plugin(OSA_PLUGIN_EXE);
  ASSERT_TRUE(plugin.start());
  ASSERT_TRUE(plugin.write(" \t\n" + nope(4)));
  std::string response;
  ASSERT_TRUE(plugin.next_message(&response));
  EXPECT_EQ(response, nope_answer(4));
  EXPECT_EQ(plugin.wait_exit().code, 0);
}

TEST(PluginProcess, EndOfInputInsideAMessagePrintsThePart) {
  PluginRunner plugin(OSA_PLUGIN_EXE);
  ASSERT_TRUE(plugin.start());
  ASSERT_TRUE(plugin.write(nope(1)));
  std::string response;
  ASSERT_TRUE(plugin.next_message(&response));
  ASSERT_TRUE(plugin.write(R"({"jsonrpc":"2.0","meth)"));
  const PluginExit exit = plugin.wait_exit();
  ASSERT_TRUE(exit.exited);
  EXPECT_EQ(exit.code, 0);
  EXPECT_EQ(plugin.out(), nope_answer(1));
  EXPECT_EQ(plugin.err(), text_stream("OSA plugin: Failed to get valid request: "
                                      "{\"jsonrpc\":\"2.0\",\"meth (err 0)\n"));
}

TEST(PluginProcess, ImmediateEndOfInputExitsQuietly) {
  const PluginRun run = run_plugin(OSA_PLUGIN_EXE, {}, "");
  ASSERT_TRUE(run.exit.exited);
  EXPECT_EQ(run.exit.code, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
}

TEST(PluginProcess, MessageLimitIs65535Bytes) {
  const std::string head = R"({"jsonrpc":"2.0","method":"nope","params":{"pad":")";
  const std::string tail = R"("},"id":77})";
  const std::string fits = head + std::string(65535 - head.size() - tail.size(), 'p') + tail;
  ASSERT_EQ(fits.size(), 65535u);
  {
    PluginRunner plugin(OSA_PLUGIN_EXE);
    ASSERT_TRUE(plugin.start());
    ASSERT_TRUE(plugin.write(fits));
    std::string response;
    ASSERT_TRUE(plugin.next_message(&response));
    EXPECT_EQ(response, nope_answer(77));
    EXPECT_EQ(plugin.wait_exit().code, 0);
  }
  {
    // One byte more never completes: the plug-in prints the 65535 bytes it holds and ends.
    const std::string too_long = head + std::string(70000, 'p') + tail;
    const PluginRun run = run_plugin(OSA_PLUGIN_EXE, {}, too_long);
    ASSERT_TRUE(run.exit.exited);
    EXPECT_EQ(run.exit.code, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, text_stream("OSA plugin: Failed to get valid request: " +
                                   too_long.substr(0, 65535) + " (err 0)\n"));
  }
}

TEST(PluginProcess, FailedWriteOfAResponseExitsWith3) {
  PluginRunner plugin(OSA_PLUGIN_EXE);
  ASSERT_TRUE(plugin.start());
  plugin.close_stdout();
  ASSERT_TRUE(plugin.write(nope(6)));
  const PluginExit exit = plugin.wait_exit_keep_stdin();
  ASSERT_TRUE(exit.exited) << "signal " << exit.signal; // not killed by the broken pipe
  EXPECT_EQ(exit.code, 3);
  EXPECT_EQ(plugin.err(), "OSA plugin: Failed to send response: " + nope_answer(6) + " (err " +
                              std::to_string(EPIPE) + ")");
}

TEST(PluginProcess, ExitRequestEndsTheLoopAfterItsResponse) {
  PluginRunner plugin(OSA_PLUGIN_EXE);
  ASSERT_TRUE(plugin.start());
  ASSERT_TRUE(plugin.write(R"({"jsonrpc":"2.0","method":"OSA_Client_Exit","params":{},"id":2})"));
  // Standard input stays open: the plug-in ends by itself.
  const PluginExit exit = plugin.wait_exit_keep_stdin();
  ASSERT_TRUE(exit.exited);
  EXPECT_EQ(exit.code, 0);
  EXPECT_EQ(plugin.out(),
            R"({ "jsonrpc" : "2.0", "result" : { "exitCode" : 0, "return" : 0 }, "id" : 2 })");
  EXPECT_EQ(plugin.err(), "");
}

TEST(PluginProcess, AFreshContextAnswersWithItsRegisteredHandlers) {
  // OsaInit lists the plug-in's 15 methods (OsaCleanup among them) and the two this layer
  // answers itself; a task call before TargetInit has no target data; a command creates the
  // plug-in state and shows its text through the debugger.
  PluginRunner plugin(OSA_PLUGIN_EXE);
  ASSERT_TRUE(plugin.start());
  ScriptedDebugger debugger;
  debugger.on("OSA_Service_MessageDisplay").result(R"({"return":0})");
  const std::string requests[] = {
      R"({"jsonrpc":"2.0","method":"OSA_Client_OsaInit","params":{"context":3},"id":1})",
      R"({"jsonrpc":"2.0","method":"OSA_Client_TaskNameGet","params":{"context":3,"taskId":9},"id":2})",
      R"({"jsonrpc":"2.0","method":"OSA_Client_OsaCmd_Execute","params":{"context":3,"command":"version"},"id":3})",
  };
  const std::string expected[] = {
      R"({ "jsonrpc" : "2.0", "result" : { "versionAcknowledge" : 2, "translateAddressOnMasterProcess" : 0, "treatMasterProcessAsKernel" : 1, "fixOsaMemSpc" : 0, "fakeTidForMasterProcess" : 0, "commandCount" : 17, "commands" : [ "OSA_Client_OsaInit", "OSA_Client_OsaCleanup", "OSA_Client_TargetInit", "OSA_Client_TargetCleanup", "OSA_Client_ObjectListInit", "OSA_Client_ObjectListCleanup", "OSA_Client_ObjectListNext", "OSA_Client_ObjectListAttribute", "OSA_Client_TaskRegisterRead", "OSA_Client_TaskRegisterWrite", "OSA_Client_TaskNameGet", "OSA_Client_TaskStatusGet", "OSA_Client_CurrentTaskGet", "OSA_Client_TargetNotify", "OSA_Client_OsaCmd_Execute", "OSA_Client_HistoryLogDump", "OSA_Client_Exit" ], "return" : 0 }, "id" : 1 })",
      R"({ "jsonrpc" : "2.0", "result" : { "return" : 1 }, "id" : 2 })",
      R"({ "jsonrpc" : "2.0", "result" : { "return" : 0 }, "id" : 3 })",
  };
  for (std::size_t i = 0; i < std::size(requests); ++i) {
    std::string response;
    ASSERT_TRUE(plugin.converse(requests[i], debugger, &response));
    EXPECT_EQ(response, expected[i]);
  }
  ASSERT_EQ(debugger.requests().size(), 1u);
  EXPECT_EQ(debugger.requests()[0].params_text,
            R"({ "context" : 3, "messageType" : 0, "message" : "ORTI OSA Module 0.5\n" })");
  EXPECT_EQ(plugin.wait_exit().code, 0);
  std::vector<std::string> messages; // standard output: the three responses and the request
  ASSERT_TRUE(split_messages(plugin.out(), &messages)) << "stray output: " << plugin.out();
  EXPECT_EQ(messages.size(), std::size(requests) + 1);
}

TEST(PluginProcess, TwoMessagesInOneReadAreOneText) {
  // Framing looks at the whole text received: both arrive together, the first is dispatched
  // and the rest of the text goes with it.
  const PluginRun run = run_plugin(OSA_PLUGIN_EXE, {}, nope(1) + nope(2));
  ASSERT_TRUE(run.exit.exited);
  EXPECT_EQ(run.exit.code, 0);
  EXPECT_EQ(run.out, nope_answer(1));
}

TEST(PluginProcess, ProtocolErrorsAreAnsweredAndServingGoesOn) {
  PluginRunner plugin(OSA_PLUGIN_EXE);
  ASSERT_TRUE(plugin.start());
  struct Case {
    std::string request;
    std::string response_start;
  };
  const Case cases[] = {
      {"{}",
       R"({ "jsonrpc" : "2.0", "error" : { "code" : -32602, "message" : "missing request id"}, "id" : null })"},
      {R"({"id":true,"method":"x","params":{}})",
       R"({ "jsonrpc" : "2.0", "error" : { "code" : -32602, "message" : "invalid request id type"}, "id" : true })"},
      {R"({"id":1,"method":"x"})",
       R"({ "jsonrpc" : "2.0", "error" : { "code" : -32602, "message" : "missing argument list"}, "id" : 1 })"},
      {"{,}", R"({ "jsonrpc" : "2.0", "error" : { "code" : -32700, "message" : ")"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(plugin.write(c.request));
    std::string response;
    ASSERT_TRUE(plugin.next_message(&response)) << c.request;
    EXPECT_EQ(response.substr(0, c.response_start.size()), c.response_start) << c.request;
  }
  EXPECT_EQ(plugin.wait_exit().code, 0);
  expect_only_responses(plugin.out(), std::size(cases));
}

TEST(PluginProcess, GarbageNeverCrashesIt) {
  std::mt19937 random(20240611);
  for (int round = 0; round < 12; ++round) {
    std::string input;
    const int length = 1 + static_cast<int>(random() % 3000);
    for (int i = 0; i < length; ++i) {
      // Mostly structural bytes, so that many inputs frame as messages and reach the parser.
      static const char kBytes[] = "{}[]\"\\:,0123456789abcdefnulltrue \t\r\n\x01\xff\x00";
      input += (round % 2 == 0) ? kBytes[random() % (sizeof kBytes - 1)]
                                : static_cast<char>(random() % 256);
    }
    PluginRunner plugin(OSA_PLUGIN_EXE);
    ASSERT_TRUE(plugin.start());
    plugin.write(input);
    // A valid request afterwards must not crash it either (it may be swallowed by the garbage).
    plugin.write(nope(1));
    const PluginExit exit = plugin.wait_exit();
    SCOPED_TRACE(round);
    ASSERT_TRUE(exit.exited) << "signal " << exit.signal;
    EXPECT_EQ(exit.code, 0); // only the end of input ends it
    std::vector<std::string> messages;
    EXPECT_TRUE(split_messages(plugin.out(), &messages)) << plugin.out();
  }
}

TEST(PluginProcess, TruncatedMessagesNeverCrashIt) {
  const std::string request =
      R"({"jsonrpc":"2.0","method":"OSA_Client_TaskNameGet","params":{"context":0,"taskId":5},"id":3})";
  for (std::size_t cut = 1; cut < request.size(); cut += 7) {
    const PluginRun run = run_plugin(OSA_PLUGIN_EXE, {}, request.substr(0, cut));
    SCOPED_TRACE(cut);
    ASSERT_TRUE(run.exit.exited);
    EXPECT_EQ(run.exit.code, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, text_stream("OSA plugin: Failed to get valid request: " +
                                   request.substr(0, cut) + " (err 0)\n"));
  }
}

TEST(PluginProcess, CommandLine) {
  struct Case {
    std::vector<std::string> args;
    int exit_code;
    std::string out;
    std::string err;
  };
  const std::string missing = "/nonexistent/dir/x.play";
  const Case cases[] = {
      {{"-help"}, 0, usage(), ""},
      {{"-HELP"}, 0, usage(), ""},
      {{"-h"}, 0, usage(), ""},
      {{"-H", "-bogus"}, 0, usage(), ""}, // help acts at once
      {{"-bogus"}, 1, "", usage()},
      {{"-bogus", "-help"}, 1, "", usage()}, // the first syntax error stops the scan
      {{"help"}, 1, "", usage()},
      {{"-file"}, 1, "", usage()},
      {{"-ignore_error", "-f"}, 1, "", usage()},
      {{"-file", "a", "-file", "b"}, 1, "", "Only one playback file is allowed.\n" + usage()},
      {{"-File", "a", "-F", "b"}, 1, "", "Only one playback file is allowed.\n" + usage()},
      {{"-file", missing}, 2, "Cannot open file to read: " + missing + "\n", ""},
      {{"-FILE", missing, "-Ignore_Error"}, 2, "Cannot open file to read: " + missing + "\n", ""},
  };
  for (const Case& c : cases) {
    const PluginRun run = run_plugin(OSA_PLUGIN_EXE, c.args);
    std::string shown;
    for (const std::string& a : c.args) {
      shown += a + " ";
    }
    SCOPED_TRACE(shown);
    ASSERT_TRUE(run.exit.exited);
    EXPECT_EQ(run.exit.code, c.exit_code);
    EXPECT_EQ(run.out, text_stream(c.out));
    EXPECT_EQ(run.err, text_stream(c.err));
  }
}

// --- In-process runs of the process entry: exit codes and the "Exit with " lines of the log.

struct InProcessRun {
  int code = -1;
  std::string out;
  std::string err;
  std::string log;
};

enum class StdinState { Open, Closed };
enum class StdoutState { Read, Broken };

// Runs the process entry with args (the program name comes first) on pipes: input is all the
// debugger ever sends, then its end of standard input closes.
InProcessRun run_in_process(std::vector<std::string> args, const std::string& input,
                            StdinState stdin_state = StdinState::Open,
                            StdoutState stdout_state = StdoutState::Read) {
  InProcessRun run;
  osa_reset_for_tests();
  log_reset_for_tests();
  platform_ignore_broken_pipe();
  std::vector<char*> argv;
  for (std::string& a : args) {
    argv.push_back(a.data());
  }
  argv.push_back(nullptr);
  {
    StdioPipes pipes;
    if (!pipes.ok()) {
      return run;
    }
    std::thread writer([&pipes, &input] {
      pipes.send(input);
      pipes.close_to_plugin();
    });
    if (stdin_state == StdinState::Closed) {
      writer.join();
      StdioPipes::close_standard_input();
    }
    if (stdout_state == StdoutState::Broken) {
      pipes.close_from_plugin();
    }
    run.code = plugin_process_main(static_cast<int>(args.size()), argv.data(), OSA_Client_CmdInit);
    if (writer.joinable()) {
      writer.join();
    }
    std::fflush(stdout);
    if (stdout_state == StdoutState::Read) {
      run.out = pipes.drain_stdout();
    }
    pipes.restore();
    run.err = pipes.stderr_text();
  }
  run.log = log_history_text();
  osa_reset_for_tests();
  log_reset_for_tests();
  return run;
}

// The exit lines in the log, each as "Exit with ...", in order.
std::vector<std::string> exit_lines(const std::string& log) {
  std::vector<std::string> lines;
  const std::string marker = std::string(" ") + kLogInfo + " Exit with ";
  for (std::size_t at = log.find(marker); at != std::string::npos; at = log.find(marker, at + 1)) {
    const std::size_t begin = at + marker.size() - std::string("Exit with ").size();
    lines.push_back(log.substr(begin, log.find('\n', begin) - begin));
  }
  return lines;
}

TEST(PluginProcessInProcess, ServingLoopExitCodesAndLogLines) {
  const std::string exit_request =
      R"({"jsonrpc":"2.0","method":"OSA_Client_Exit","params":{},"id":2})";
  struct Case {
    const char* what;
    std::string input;
    StdinState stdin_state;
    StdoutState stdout_state;
    int code;
    std::string exit_line;
    std::string out;
    std::string err;
  };
  const Case cases[] = {
      {"end of input between messages", nope(1), StdinState::Open, StdoutState::Read, 0,
       "Exit with 0 (invalid request)", nope_answer(1), ""},
      {"end of input inside a message", "{\"id\":", StdinState::Open, StdoutState::Read, 0,
       "Exit with 0 (invalid request)", "",
       "OSA plugin: Failed to get valid request: {\"id\": (err 0)\n"},
      // The logged number and the exit code are the error number of the failed read itself.
      {"unreadable standard input", "", StdinState::Closed, StdoutState::Read, EBADF,
       "Exit with " + std::to_string(EBADF) + " (invalid request)", "", ""},
      {"exit request", exit_request + nope(3), StdinState::Open, StdoutState::Read, 0,
       "Exit with 0 (after Exit cmd) ",
       R"({ "jsonrpc" : "2.0", "result" : { "exitCode" : 0, "return" : 0 }, "id" : 2 })", ""},
      {"broken output", nope(4), StdinState::Open, StdoutState::Broken, 3,
       "Exit with 3 (failed to send response)", "",
       "OSA plugin: Failed to send response: " + nope_answer(4) + " (err " + std::to_string(EPIPE) +
           ")"},
  };
  for (const Case& c : cases) {
    const InProcessRun run =
        run_in_process({"osa_orti_plugin"}, c.input, c.stdin_state, c.stdout_state);
    SCOPED_TRACE(c.what);
    EXPECT_EQ(run.code, c.code);
    EXPECT_EQ(exit_lines(run.log), std::vector<std::string>{c.exit_line}) << run.log;
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err, c.err);
  }
}

TEST(PluginProcessInProcess, CommandLineAndPlaybackExitLines) {
  const std::string data = std::string(OSA_TEST_DATA_DIR) + "/playback/";
  const std::string missing = data + "does_not_exist.play";
  struct Case {
    std::vector<std::string> args;
    int code;
    std::string exit_line;
  };
  const Case cases[] = {
      {{"p", "-Help"}, 0, "Exit with 0 (help)"},
      {{"p", "-file"}, 1, "Exit with 1 (syntaxError 1)"},
      {{"p", "-file", "a", "-f", "b"}, 1, "Exit with 1 (syntaxError 1)"},
      {{"p", "-file", data + "two_line.play"}, 0, "Exit with 0 (from playback)"},
      {{"p", "-file", missing}, 2, "Exit with 2 (from playback)"},
      {{"p", "-ignore_error"}, 2, "Exit with 2 (from playback)"},
      {{"p", "-file", data + "wrong_tag_first.play"}, 3, "Exit with 3 (from playback)"},
      {{"p", "-file", data + "differs_in_blanks.play"}, 4, "Exit with 4 (from playback)"},
  };
  for (const Case& c : cases) {
    const InProcessRun run = run_in_process(c.args, "");
    SCOPED_TRACE(c.args.back());
    EXPECT_EQ(run.code, c.code);
    EXPECT_EQ(exit_lines(run.log), std::vector<std::string>{c.exit_line}) << run.log;
  }
}

} // namespace
