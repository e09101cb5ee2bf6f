// Playback of recorded conversations: the line reader, the run over a whole recording and the
// transport that answers the plug-in's own requests from the recording.
#include "host_link/playback.h"

#include "host_link/jsonrpc.h"
#include "host_link/process_flags.h"
#include "host_link/simple_json/json_parse.h"
#include "runtime/platform.h"

#include <cstdarg>
#include <cstring>

namespace {

bool is_prefix_char(char c) {
  return (c >= '0' && c <= '9') || c == ':' || c == '.' || c == ' ' || c == '\t';
}

bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

char lower_ascii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool is_debugger_request(const char* text) {
  std::string error;
  const JsonPtr value = json_parse(text, error);
  return value != nullptr && value->kind == JsonKind::Object &&
         json_object_find(value.get(), "method") >= 0;
}

// Starts a new run on source, keeping where the messages go.
void begin_run(PlaybackState& state, PlaybackSource&& source) {
  std::string* capture = state.capture;
  state = PlaybackState{};
  state.capture = capture;
  state.source = std::move(source);
}

int run_exchanges(PlaybackState& state, const char* shown_name) {
  for (;;) {
    if (!process_flags().ignore_errors && state.result != kPlaybackOk) {
      break;
    }
    std::string request;
    if (!playback_read_line(state, kPlaybackDebuggerTag, false, &request)) {
      break;
    }
    const char* response = OSA_Client_CmdParser(request.c_str());
    std::string recorded;
    const bool have = playback_read_line(state, kPlaybackPluginTag, true, &recorded);
    if (!have || response == nullptr || recorded != response) {
      playback_print(state, "Got different result to %s on line %d:\n%s\n", kPlaybackDebuggerTag,
                     state.line_count, response != nullptr ? response : "<NULL>");
      state.result = kPlaybackDifferent;
      break;
    }
  }
  if (state.result == kPlaybackOk) {
    playback_print(state, "Successfully played back all %d lines from %s.\n", state.line_count,
                   shown_name);
  }
  state.source = PlaybackSource{};
  return state.result;
}

} // namespace

PlaybackLineKind playback_split_line(std::string_view line, const char* expected_tag,
                                     std::string_view* message) {
  std::size_t i = 0;
  const std::size_t n = line.size();
  while (i < n && is_prefix_char(line[i])) {
    ++i;
  }
  const std::size_t tag_length = std::strlen(expected_tag);
  if (n - i < tag_length) {
    return PlaybackLineKind::WrongTag;
  }
  for (std::size_t k = 0; k < tag_length; ++k) {
    if (lower_ascii(line[i + k]) != lower_ascii(expected_tag[k])) {
      return PlaybackLineKind::WrongTag;
    }
  }
  i += tag_length;
  while (i < n && is_space(line[i])) {
    ++i;
  }
  if (i >= n || line[i] != ':') {
    return PlaybackLineKind::NoSeparator;
  }
  ++i;
  while (i < n && is_space(line[i])) {
    ++i;
  }
  std::size_t end = n;
  while (end > i && is_space(line[end - 1])) {
    --end;
  }
  *message = line.substr(i, end - i);
  return PlaybackLineKind::Message;
}

bool playback_next_line(PlaybackSource& source, std::string& line) {
  line.clear();
  if (source.from_memory) {
    if (source.memory_pos >= source.memory.size()) {
      return false;
    }
    const std::size_t end = source.memory.find('\n', source.memory_pos);
    if (end == std::string::npos) {
      line.assign(source.memory, source.memory_pos);
      source.memory_pos = source.memory.size();
    } else {
      line.assign(source.memory, source.memory_pos, end - source.memory_pos);
      source.memory_pos = end + 1;
    }
    return true;
  }
  std::FILE* file = source.file.get();
  if (file == nullptr || std::feof(file) || std::ferror(file)) {
    return false;
  }
  bool any = false;
  for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
    any = true;
    if (c == '\n') {
      return true;
    }
    line.push_back(static_cast<char>(c));
  }
  return any && !std::ferror(file);
}

PlaybackState& playback_state() {
  static PlaybackState state;
  return state;
}

void playback_print(PlaybackState& state, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  const std::string text = vformat(format, args);
  va_end(args);
  if (state.capture != nullptr) {
    state.capture->append(text);
  } else {
    std::fputs(text.c_str(), stdout);
  }
}

bool playback_read_line(PlaybackState& state, const char* expected_tag, bool required,
                        std::string* message) {
  std::string line;
  if (!playback_next_line(state.source, line)) {
    if (required) {
      playback_print(state, "Expect a message from %s at line %d\n", expected_tag,
                     state.line_count + 1);
      state.result = kPlaybackBadLine;
    }
    return false;
  }
  ++state.line_count;
  std::string_view text;
  switch (playback_split_line(line, expected_tag, &text)) {
  case PlaybackLineKind::WrongTag:
    playback_print(state, "Expect a message from %s at line %d\n", expected_tag, state.line_count);
    state.result = kPlaybackBadLine;
    return false;
  case PlaybackLineKind::NoSeparator:
    playback_print(state, "Invalid syntax at line %d\n", state.line_count);
    state.result = kPlaybackBadLine;
    return false;
  case PlaybackLineKind::Message:
    break;
  }
  message->assign(text);
  return true;
}

int playback(const char* file_name) {
  PlaybackState& state = playback_state();
  PlaybackSource source;
  // A directory opens like a file on some systems, then yields no line at all: it would pass
  // for an empty recording played back successfully.
  if (file_name != nullptr && !platform_is_directory(file_name)) {
    source.file.reset(platform_fopen(file_name, "r"));
  }
  const char* shown_name = file_name != nullptr ? file_name : "(null)";
  begin_run(state, std::move(source));
  if (state.source.file == nullptr) {
    playback_print(state, "Cannot open file to read: %s\n", shown_name);
    state.result = kPlaybackOpenFailed;
    return state.result;
  }
  return run_exchanges(state, shown_name);
}

int playback_text(std::string text, const char* name) {
  PlaybackState& state = playback_state();
  PlaybackSource source;
  source.from_memory = true;
  source.memory = std::move(text);
  begin_run(state, std::move(source));
  return run_exchanges(state, name != nullptr ? name : "(null)");
}

const char* playback_transport(const char* request) {
  if (request == nullptr) {
    return nullptr;
  }
  PlaybackState& state = playback_state();
  std::string recorded;
  if (!playback_read_line(state, kPlaybackPluginTag, true, &recorded) || recorded != request) {
    playback_print(state, "Got different request to %s on line %d:\n%s\n", kPlaybackDebuggerTag,
                   state.line_count, request);
    state.result = kPlaybackDifferent;
  }
  for (;;) {
    std::string message;
    if (!playback_read_line(state, kPlaybackDebuggerTag, true, &message)) {
      return nullptr;
    }
    if (!is_debugger_request(message.c_str())) {
      state.last_response = std::move(message);
      return state.last_response.c_str();
    }
    // The debugger asked something before answering; its answer must match the recording too.
    const char* response = OSA_Client_CmdParser(message.c_str());
    std::string recorded_response;
    const bool have = playback_read_line(state, kPlaybackPluginTag, true, &recorded_response);
    if (!have || response == nullptr || recorded_response != response) {
      playback_print(state, "Got different request to %s on line %d:\n%s\n", kPlaybackDebuggerTag,
                     state.line_count, response != nullptr ? response : "<NULL>");
      state.result = kPlaybackDifferent;
    }
  }
}
