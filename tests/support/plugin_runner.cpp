// Child-process runner for the plug-in executable (see plugin_runner.h).
#include "support/plugin_runner.h"

#include "host_link/simple_json/json_parse.h"

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

int remaining_ms(Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

bool is_request(const std::string& message) {
  std::string error;
  const JsonPtr value = json_parse(message.c_str(), error);
  return value != nullptr && value->kind == JsonKind::Object &&
         json_object_find(value.get(), "method") >= 0;
}

} // namespace

PluginRunner::PluginRunner(std::string executable)
    : executable_(std::move(executable)), child_(make_child_process()) {}

PluginRunner::~PluginRunner() {
  child_->close_stdin();
  if (!reaped_) {
    child_->kill();
  }
}

bool PluginRunner::start(const std::vector<std::string>& args) {
  std::vector<std::string> argv;
  argv.push_back(executable_);
  argv.insert(argv.end(), args.begin(), args.end());
  return child_->start(argv);
}

bool PluginRunner::write(std::string_view bytes, int timeout_ms) {
  return child_->write(bytes, timeout_ms);
}

bool PluginRunner::write_chunks(const std::vector<std::string>& chunks, int pause_ms) {
  for (const std::string& chunk : chunks) {
    if (!write(chunk)) {
      return false;
    }
    const Clock::time_point until = Clock::now() + std::chrono::milliseconds(pause_ms);
    while (remaining_ms(until) > 0) {
      child_->pump(remaining_ms(until));
    }
  }
  return true;
}

void PluginRunner::close_stdin() {
  child_->close_stdin();
}

void PluginRunner::close_stdout() {
  child_->close_stdout();
}

bool PluginRunner::next_message(std::string* message, int timeout_ms) {
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    const std::string& out = child_->out;
    const std::size_t length = leading_message_length(std::string_view(out).substr(taken_));
    if (length > 0) {
      message->assign(out, taken_, length);
      taken_ += length;
      return true;
    }
    if (!child_->stdout_open() || remaining_ms(deadline) == 0) {
      return false;
    }
    child_->pump(remaining_ms(deadline));
  }
}

bool PluginRunner::quiet_for(int ms) {
  const std::size_t before = child_->out.size();
  const Clock::time_point until = Clock::now() + std::chrono::milliseconds(ms);
  while (remaining_ms(until) > 0 && child_->stdout_open()) {
    child_->pump(remaining_ms(until));
  }
  return child_->out.size() == before;
}

bool PluginRunner::converse(const std::string& request, ScriptedDebugger& debugger,
                            std::string* response, int timeout_ms) {
  if (!write(request, timeout_ms)) {
    return false;
  }
  for (;;) {
    std::string message;
    if (!next_message(&message, timeout_ms)) {
      return false;
    }
    if (!is_request(message)) {
      *response = message;
      return true;
    }
    const ScriptReply reply = debugger.answer(message);
    for (const std::string& injected : reply.inject) {
      std::string injected_response;
      if (!write(injected, timeout_ms) || !next_message(&injected_response, timeout_ms)) {
        return false;
      }
      debugger.record_injected_response(injected_response);
    }
    if (reply.has_answer && !write(reply.answer, timeout_ms)) {
      return false;
    }
  }
}

PluginExit PluginRunner::wait_for_child(int timeout_ms) {
  if (reaped_) {
    return exit_;
  }
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!child_->poll_exit(&exit_)) {
    if (remaining_ms(deadline) == 0) {
      child_->kill();
      exit_ = PluginExit{};
      exit_.timed_out = true;
      exit_.signaled = true;
      break;
    }
    child_->pump(10);
  }
  reaped_ = true;
  // Whatever the child wrote before it ended is still in the pipes.
  while (child_->stdout_open() || child_->stderr_open()) {
    child_->pump(100);
  }
  return exit_;
}

PluginExit PluginRunner::wait_exit(int timeout_ms) {
  close_stdin();
  return wait_for_child(timeout_ms);
}

PluginExit PluginRunner::wait_exit_keep_stdin(int timeout_ms) {
  return wait_for_child(timeout_ms);
}

PluginRun run_plugin(const std::string& executable, const std::vector<std::string>& args,
                     const std::string& input, int timeout_ms) {
  PluginRunner runner(executable);
  PluginRun run;
  if (!runner.start(args)) {
    return run;
  }
  if (!input.empty()) {
    runner.write(input, timeout_ms);
  }
  run.exit = runner.wait_exit(timeout_ms);
  run.out = runner.out();
  run.err = runner.err();
  return run;
}

std::string text_stream(std::string_view text) {
#ifdef _WIN32
  std::string translated;
  for (const char c : text) {
    if (c == '\n') {
      translated += '\r';
    }
    translated += c;
  }
  return translated;
#else
  return std::string(text);
#endif
}

std::size_t leading_message_length(std::string_view text) {
  if (text.empty() || text[0] != '{') {
    return 0;
  }
  std::size_t depth = 0;
  bool in_string = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (in_string) {
      if (c == '\\') {
        ++i;
      } else if (c == '"') {
        in_string = false;
      }
    } else if (c == '"') {
      in_string = true;
    } else if (c == '{') {
      ++depth;
    } else if (c == '}') {
      if (--depth == 0) {
        return i + 1;
      }
    }
  }
  return 0;
}

bool split_messages(std::string_view stream, std::vector<std::string>* messages) {
  messages->clear();
  while (!stream.empty()) {
    const std::size_t length = leading_message_length(stream);
    if (length == 0) {
      return false;
    }
    messages->emplace_back(stream.substr(0, length));
    stream.remove_prefix(length);
  }
  return true;
}
