#include "runtime/message_output.h"

#include <cstdio>
#include <cstdlib>

namespace {

void stderr_sink(void*, MessageSeverity severity, const char* text) {
  std::fflush(stdout);
  std::fputs(severity == MessageSeverity::Error ? kErrorPrefix : kWarningPrefix, stderr);
  std::fputs(text, stderr);
  std::fflush(stderr);
}

// The one place the process keeps its message destination.
struct MessageOutputState {
  MessageSink sink = stderr_sink;
  void* user = nullptr;
};
MessageOutputState g_message_output;

} // namespace

void set_message_sink(MessageSink sink, void* user) {
  g_message_output.sink = sink != nullptr ? sink : stderr_sink;
  g_message_output.user = user;
}

void reset_message_sink() {
  set_message_sink(nullptr, nullptr);
}

void message_output(MessageSeverity severity, const char* text) {
  g_message_output.sink(g_message_output.user, severity, text != nullptr ? text : "(null)");
}

void error_message(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  const std::string text = vformat(format, args);
  va_end(args);
  message_output(MessageSeverity::Error, text.c_str());
}

void warning_message(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  const std::string text = vformat(format, args);
  va_end(args);
  message_output(MessageSeverity::Warning, text.c_str());
}
