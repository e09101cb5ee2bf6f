// Runs the built osa_orti_plugin executable as a child process over pipes, the way the
// debugger does, for process-level tests.
//
// The runner writes to the child's standard input in chunks (with pauses, so that each chunk
// reaches the child in a read of its own), collects everything the child writes to standard
// output and standard error, splits standard output into messages, can answer the child's
// OSA_Service_* requests with a ScriptedDebugger, and closes either pipe on demand. Every wait
// has a time limit, so a hung plug-in fails the test instead of hanging it; a child still
// running when the runner goes away is killed. The operating system's part is a ChildProcess
// (POSIX or Windows); what is built on it here behaves the same on both.
#pragma once

#include "support/child_process.h"
#include "support/scripted_debugger.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int kPluginDefaultTimeoutMs = 20000;

class PluginRunner {
public:
  explicit PluginRunner(std::string executable);
  ~PluginRunner();
  PluginRunner(const PluginRunner&) = delete;
  PluginRunner& operator=(const PluginRunner&) = delete;

  // Starts the executable with args (argv[0] is the executable's path). False when it could
  // not be started.
  bool start(const std::vector<std::string>& args = {});

  // Writes all bytes to the child's standard input while collecting its output. False when the
  // child stopped reading (closed pipe) or the time limit passed.
  bool write(std::string_view bytes, int timeout_ms = kPluginDefaultTimeoutMs);
  // Writes each chunk, then waits pause_ms before the next one.
  bool write_chunks(const std::vector<std::string>& chunks, int pause_ms);
  void close_stdin();
  // Stops reading the child's standard output: its next write to it fails.
  void close_stdout();

  // The next complete message on standard output that has not been taken yet. False when none
  // arrives in time or the child's output ends first.
  bool next_message(std::string* message, int timeout_ms = kPluginDefaultTimeoutMs);
  // True when the child writes nothing to standard output for ms milliseconds.
  bool quiet_for(int ms);

  // Writes request and serves the child's service requests with debugger (injected debugger
  // requests included) until a message arrives that is not a request: that is the response.
  bool converse(const std::string& request, ScriptedDebugger& debugger, std::string* response,
                int timeout_ms = kPluginDefaultTimeoutMs);

  // Closes standard input (when still open) and waits for the child to end, collecting its
  // remaining output; kills it when the time limit passes.
  PluginExit wait_exit(int timeout_ms = kPluginDefaultTimeoutMs);
  // Waits for the child to end without closing standard input.
  PluginExit wait_exit_keep_stdin(int timeout_ms = kPluginDefaultTimeoutMs);

  const std::string& out() const { return child_->out; }
  const std::string& err() const { return child_->err; }

private:
  PluginExit wait_for_child(int timeout_ms);

  std::string executable_;
  std::unique_ptr<ChildProcess> child_;
  std::size_t taken_ = 0; // bytes of out() already handed out as messages
  bool reaped_ = false;
  PluginExit exit_;
};

struct PluginRun {
  PluginExit exit;
  std::string out;
  std::string err;
};

// Starts the executable with args, writes input, closes standard input and waits for the end.
PluginRun run_plugin(const std::string& executable, const std::vector<std::string>& args,
                     const std::string& input = "", int timeout_ms = kPluginDefaultTimeoutMs);

// text as it arrives when the plug-in writes it to a stream in text mode (standard error, and
// standard output when it does not serve a debugger): the Windows C runtime writes every LF as
// CR LF there; elsewhere nothing changes. The JSON-RPC messages never pass through this.
std::string text_stream(std::string_view text);

// Length of the complete JSON object at the start of text (braces balanced outside strings),
// or 0 when text does not start with one.
std::size_t leading_message_length(std::string_view text);
// Splits a stream of back-to-back messages. False when anything in it is not part of a complete
// object (a partial message, a stray byte, a line feed between messages).
bool split_messages(std::string_view stream, std::vector<std::string>* messages);
