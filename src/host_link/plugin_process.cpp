// Process entry, command line and serving loop of osa_orti_plugin.
#include "host_link/plugin_process.h"

#include "host_link/jsonrpc.h"
#include "host_link/log_facility.h"
#include "host_link/playback.h"
#include "host_link/process_flags.h"
#include "host_link/stdio_transport.h"
#include "runtime/platform.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int kExitSyntaxError = 1;
constexpr int kExitInvalidResponse = 2;
constexpr int kExitSendFailed = 3;

bool option_is(const char* argument, const char* option) {
  for (; *argument != '\0' && *option != '\0'; ++argument, ++option) {
    char a = *argument;
    if (a >= 'A' && a <= 'Z') {
      a = static_cast<char>(a - 'A' + 'a');
    }
    if (a != *option) {
      return false;
    }
  }
  return *argument == '\0' && *option == '\0';
}

void print_usage(std::FILE* stream, const char* program) {
  std::fprintf(stream, "%s [-help | [-ignore_error] -file <JsonRecordPlaybackFile>]\n", program);
}

} // namespace

int serve_debugger(int argc, char** argv, ClientInit init) {
  platform_set_binary_stdio();
  platform_ignore_broken_pipe();
  init(argc, argv, stdio_transport);
  ProcessFlags& flags = process_flags();
  RequestBuffer buffer;
  for (;;) {
    if (flags.exit_requested) {
      log_formatted(kLogInfo, "Exit with %d (after Exit cmd) ", flags.exit_code);
      return flags.exit_code;
    }
    int error = 0;
    if (!read_complete_message(buffer, &error)) {
      if (buffer.held > 0) {
        std::fprintf(stderr, "OSA plugin: Failed to get valid request: %s (err %d)\n",
                     buffer.text(), error);
      }
      log_formatted(kLogInfo, "Exit with %d (invalid request)", error);
      return error;
    }
    const char* response = OSA_Client_CmdParser(buffer.text());
    if (!message_is_complete(response)) {
      std::fprintf(stderr, "OSA plugin: Got invalid response: %s (err %d)\n",
                   response != nullptr ? response : "null", errno);
      log_text(kLogInfo, "Exit with 2 (invalid response)");
      return kExitInvalidResponse;
    }
    if (!OSA__JSON__Write(response, std::strlen(response))) {
      const int write_error = errno;
      std::fprintf(stderr, "OSA plugin: Failed to send response: %s (err %d)", response,
                   write_error);
      log_text(kLogInfo, "Exit with 3 (failed to send response)");
      return kExitSendFailed;
    }
  }
}

int plugin_process_main(int argc, char** argv, ClientInit init) {
  const char* program =
      argc > 0 && argv != nullptr && argv[0] != nullptr ? argv[0] : "osa_orti_plugin";
  ProcessFlags& flags = process_flags();
  const char* playback_file = nullptr;
  bool syntax_error = false;
  for (int i = 1; i < argc && !syntax_error; ++i) {
    const char* argument = argv[i] != nullptr ? argv[i] : "";
    if (option_is(argument, "-h") || option_is(argument, "-help")) {
      print_usage(stdout, program);
      log_text(kLogInfo, "Exit with 0 (help)");
      return 0;
    }
    if (option_is(argument, "-ignore_error")) {
      flags.ignore_errors = true;
    } else if (option_is(argument, "-f") || option_is(argument, "-file")) {
      if (i + 1 >= argc || argv[i + 1] == nullptr) {
        syntax_error = true;
      } else if (playback_file != nullptr) {
        std::fputs("Only one playback file is allowed.\n", stderr);
        syntax_error = true;
      } else {
        playback_file = argv[++i];
      }
    } else {
      syntax_error = true;
    }
  }
  if (syntax_error) {
    print_usage(stderr, program);
    log_formatted(kLogInfo, "Exit with 1 (syntaxError %d)", kExitSyntaxError);
    return kExitSyntaxError;
  }
  if (argc <= 1) {
    return serve_debugger(argc, argv, init);
  }
  init(argc, argv, playback_transport);
  const int result = playback(playback_file);
  std::fflush(stdout);
  log_formatted(kLogInfo, "Exit with %d (from playback)", result);
  return result;
}
