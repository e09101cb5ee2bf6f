// Feeds arbitrary text to the playback line reader, line by line, asking for the two tags in
// turn with and without the line being required, and checks what every accepted line yields.
#include "host_link/playback.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

void check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  PlaybackState& state = playback_state();
  std::string messages;
  state = PlaybackState{};
  state.capture = &messages; // keep the reports off standard output
  state.source.from_memory = true;
  state.source.memory = text;

  std::size_t newlines = 0;
  for (const char c : text) {
    newlines += c == '\n' ? 1 : 0;
  }
  const std::size_t max_lines = newlines + 1;
  for (std::size_t step = 0; step <= max_lines + 1; ++step) {
    const char* tag = step % 2 == 0 ? kPlaybackDebuggerTag : kPlaybackPluginTag;
    const bool required = (step / 2) % 2 == 0;
    const int before = state.line_count;
    std::string message;
    const bool got = playback_read_line(state, tag, required, &message);
    check(state.line_count == before || state.line_count == before + 1);
    check(state.result == kPlaybackOk || state.result == kPlaybackBadLine);
    if (got) {
      check(message.empty() || (!is_space(message.front()) && !is_space(message.back())));
      check(message.find('\n') == std::string::npos);
    }
    if (state.line_count == before && !got) {
      break; // the text is used up
    }
  }
  check(static_cast<std::size_t>(state.line_count) <= max_lines);

  // The splitter alone, on the whole text as one line.
  std::string_view found;
  if (playback_split_line(text, kPlaybackPluginTag, &found) == PlaybackLineKind::Message) {
    check(found.data() >= text.data() && found.data() + found.size() <= text.data() + text.size());
  }
  state = PlaybackState{};
  return 0;
}
