// A child process whose standard input, output and error are pipes to the test: the operating
// system's part of PluginRunner. child_process_posix.cpp (fork, pipes, poll) and
// child_process_windows.cpp (CreateProcess, anonymous pipes) implement it; PluginRunner builds
// the waiting, the message framing and the debugger conversation on top, the same on both.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct PluginExit {
  bool exited = false;    // the child ended by itself with a code
  int code = -1;          // its exit code when exited
  bool signaled = false;  // it was ended by a signal, or on Windows by an exception (a crash,
                          // or our kill on timeout)
  int signal = 0;         // the signal number, or on Windows the exception code
  bool timed_out = false; // it did not end in time and was killed
};

class ChildProcess {
public:
  virtual ~ChildProcess() = default;

  // Starts argv[0] with the arguments argv. False when it could not be started.
  virtual bool start(const std::vector<std::string>& argv) = 0;

  // Writes all bytes to the child's standard input, collecting its output meanwhile (a child
  // that writes while we write must not block both). False when the child stopped reading or
  // timeout_ms passed first.
  virtual bool write(std::string_view bytes, int timeout_ms) = 0;
  virtual void close_stdin() = 0;
  // Stops reading the child's standard output: its next write to it fails.
  virtual void close_stdout() = 0;

  // Waits at most wait_ms for output and appends what arrived to out and err; returns as soon
  // as something arrived. A pipe whose writer has gone is closed here.
  virtual void pump(int wait_ms) = 0;
  virtual bool stdout_open() const = 0;
  virtual bool stderr_open() const = 0;

  // True once the child has ended, with how it ended in *exit. Never waits.
  virtual bool poll_exit(PluginExit* exit) = 0;
  // Ends the child at once and waits until it is gone.
  virtual void kill() = 0;

  std::string out; // everything the child wrote to standard output so far
  std::string err; // and to standard error
};

std::unique_ptr<ChildProcess> make_child_process();
