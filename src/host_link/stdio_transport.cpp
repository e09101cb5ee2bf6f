// Reading and writing the debugger's pipes, message framing and the stdio transport.
#include "host_link/stdio_transport.h"

#include "host_link/jsonrpc.h"
#include "host_link/log_facility.h"
#include "host_link/simple_json/json_parse.h"
#include "runtime/platform.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <deque>
#include <string>

namespace {

// Attempts of one read or write that may be spent on interrupted (or empty) calls.
constexpr int kIoAttempts = 10;

// The transport's process-wide state: the answer it handed out last, kept until the next one,
// and the reading buffers of the levels of nested requests (64 KiB each, kept for the next
// request of the same level rather than allocated and cleared for every one; a deque, so that
// a new level never moves the buffers of the levels still reading).
struct StdioTransportState {
  std::string last_response;
  std::deque<RequestBuffer> buffers;
  std::size_t depth = 0;
};

// Holds the buffer of one level of the transport for as long as that level reads.
class LevelBuffer {
public:
  explicit LevelBuffer(StdioTransportState& state) : state_(state) {
    if (state_.depth == state_.buffers.size()) {
      state_.buffers.emplace_back();
    }
    buffer_ = &state_.buffers[state_.depth++];
  }
  ~LevelBuffer() { --state_.depth; }
  LevelBuffer(const LevelBuffer&) = delete;
  LevelBuffer& operator=(const LevelBuffer&) = delete;
  RequestBuffer& buffer() { return *buffer_; }

private:
  StdioTransportState& state_;
  RequestBuffer* buffer_;
};

StdioTransportState& stdio_transport_state() {
  static StdioTransportState state;
  return state;
}

} // namespace

bool OSA__JSON__Read(char* buffer, std::size_t room) {
  if (buffer == nullptr || room < 1) {
    return false;
  }
  buffer[0] = '\0';
  long count = -1;
  for (int attempt = 0; attempt < kIoAttempts; ++attempt) {
    errno = 0;
    count = platform_read_stdin(buffer, room - 1);
    if (count >= 0 || errno != EINTR) {
      break;
    }
  }
  const int error = errno;
  const std::size_t got = count > 0 ? static_cast<std::size_t>(count) : 0;
  buffer[got] = '\0';
  log_text(kLogJsonRead, buffer);
  if (error == EAGAIN) {
    std::fputs("Unexpected EAGAIN because we did not set stdin into nonblock.\n", stderr);
  }
  // The callers report and return this very number; nothing above may leave another one.
  errno = error;
  return (got > 0 && error == 0) || error == EINTR;
}

bool OSA__JSON__Write(const char* text, std::size_t length) {
  if (text == nullptr || length < 1) {
    return false;
  }
  log_text(kLogJsonWrite, std::string(text, length).c_str());
  std::size_t written = 0;
  int unproductive = 0;
  // Only calls that move nothing use up attempts: a pipe may legitimately take a long message
  // in many short writes.
  while (written < length && unproductive < kIoAttempts) {
    errno = 0;
    const long count = platform_write_stdout(text + written, length - written);
    if (count > 0) {
      written += static_cast<std::size_t>(count);
      continue;
    }
    if (count < 0 && errno != EINTR) {
      return false;
    }
    ++unproductive;
  }
  return written == length;
}

void FramingScan::feed(const char* piece) {
  for (const char* p = piece; *p != '\0' && phase != Phase::Never; ++p) {
    const char c = *p;
    if (phase == Phase::Leading) {
      if (c == ' ' || c == '\t' || c == '\n') {
        continue; // a carriage return is not skipped: it makes the text never complete
      }
      if (c != '{') {
        phase = Phase::Never;
        continue;
      }
      phase = Phase::Object;
    }
    if (in_string) {
      if (escape_pending) {
        escape_pending = false;
      } else if (c == '\\') {
        escape_pending = true;
      } else if (c == '"') {
        in_string = false;
      }
    } else if (c == '{') {
      ++depth;
    } else if (c == '}') {
      if (depth == 0) {
        phase = Phase::Never;
      } else {
        --depth;
      }
    } else if (c == '"') {
      in_string = true;
    }
  }
}

bool message_is_complete(const char* text) {
  if (text == nullptr) {
    return false;
  }
  FramingScan scan;
  scan.feed(text);
  return scan.complete();
}

bool read_complete_message(RequestBuffer& buffer, int* error_number) {
  buffer.held = 0;
  buffer.bytes[0] = '\0';
  FramingScan scan;
  while (!scan.complete()) {
    char* free_part = buffer.bytes.get() + buffer.held;
    if (!OSA__JSON__Read(free_part, kRequestBufferSize - buffer.held)) {
      *error_number = errno;
      return false;
    }
    // A NUL among the bytes read ends the text there; what followed it is overwritten later.
    scan.feed(free_part);
    buffer.held += std::strlen(free_part);
  }
  return true;
}

const char* stdio_transport(const char* request) {
  if (request == nullptr) {
    return nullptr;
  }
  if (!OSA__JSON__Write(request, std::strlen(request))) {
    std::fprintf(stderr, "OSA plugin: Failed to send %s", request);
    return nullptr;
  }
  LevelBuffer level(stdio_transport_state());
  RequestBuffer& buffer = level.buffer();
  for (;;) {
    int error = 0;
    if (!read_complete_message(buffer, &error)) {
      std::fprintf(stderr, "OSA plugin: Failed to get valid resonse: %s", buffer.text());
      return nullptr;
    }
    std::string parse_error;
    JsonPtr message = json_parse(buffer.text(), parse_error);
    const bool is_request = message != nullptr && message->kind == JsonKind::Object &&
                            json_object_find(message.get(), "method") >= 0;
    message.reset();
    if (!is_request) {
      StdioTransportState& state = stdio_transport_state();
      state.last_response.assign(buffer.text(), buffer.held);
      return state.last_response.c_str();
    }
    // The debugger asked something before answering: serve it to completion first.
    const char* response = OSA_Client_CmdParser(buffer.text());
    if (response == nullptr || !OSA__JSON__Write(response, std::strlen(response))) {
      const int write_error = errno;
      std::fprintf(stderr, "OSA plugin: Failed to send response: %s (err %d)",
                   response != nullptr ? response : "null", write_error);
      // The debugger never got its answer, so the conversation is out of step: whatever
      // arrives next cannot be trusted as the answer to our request.
      return nullptr;
    }
  }
}
