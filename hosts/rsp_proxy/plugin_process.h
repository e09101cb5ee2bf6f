// The plug-in as a child process: started with pipes on its standard input, output and
// error, messages written and read with time limits, ended on every way out.
#pragma once

#include "net.h"

#include <string>
#include <sys/types.h>
#include <vector>

namespace rsp {

// Cuts the plug-in's output into messages: each one JSON object, ending where its outermost
// brace closes (braces inside strings do not count); only blanks may stand between two.
class MessageScanner {
public:
  explicit MessageScanner(std::size_t limit) : limit_(limit) {}
  // Adds bytes; complete messages go to out. False when the stream is out of step (something
  // other than an object, or a message longer than the limit); error says what.
  bool feed(const char* data, std::size_t size, std::vector<std::string>& out, std::string& error);
  bool pending() const { return !buffer_.empty(); }

private:
  std::size_t limit_;
  std::string buffer_;
  int depth_ = 0;
  bool in_string_ = false;
  bool escaped_ = false;
};

class PluginProcess {
public:
  PluginProcess() = default;
  PluginProcess(const PluginProcess&) = delete;
  PluginProcess& operator=(const PluginProcess&) = delete;
  ~PluginProcess() { stop(); }

  bool start(const std::vector<std::string>& argv, std::string& error);
  bool running() const { return pid_ > 0; }
  pid_t pid() const { return pid_; }

  // Writes one message; false when the plug-in did not take it before the deadline or is gone.
  bool send(const std::string& text, Clock::time_point deadline, std::string& why);
  // The next message; false when none came before the deadline, the plug-in exited or its
  // output is out of step, with the reason in why. The process is ended in each case.
  bool receive(std::string& message, Clock::time_point deadline, std::string& why);

  // Closes its input, gives it a moment to end by itself, then ends it with its group.
  void stop();
  // Complete lines that the plug-in wrote to its standard error since the last call.
  std::vector<std::string> stderr_lines();
  // "exited with status 3", "ended by signal 9", or empty while it runs.
  const std::string& exit_text() const { return exit_text_; }

private:
  void drain_stderr();
  void reap(bool wait);
  void lost(const std::string& why_text, std::string& why);

  pid_t pid_ = -1;
  Fd to_plugin_;
  Fd from_plugin_;
  Fd errors_;
  MessageScanner scanner_{1 << 20};
  std::vector<std::string> ready_;
  std::string stderr_partial_;
  std::vector<std::string> stderr_lines_;
  std::string exit_text_;
};

} // namespace rsp
