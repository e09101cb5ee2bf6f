// What the command fuzz targets share: a plug-in state with examples/demo_os.ort loaded (parsed
// once per process), a sandbox (a private current directory and configuration directory), and the
// guard that keeps fuzz input from writing files outside it.
#pragma once

#include "preloaded_orti.h"

#include "awareness/awareness_state.h"
#include "host_link/log_facility.h"
#include "orti/orti_load.h"
#include "osa/service_context.h"
#include "plugin/plugin_state.h"
#include "runtime/message_output.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include <unistd.h>

namespace fuzz_support {

inline const std::string& demo_orti_text() {
  static const std::string text = [] {
    std::ifstream in(OSA_SOURCE_DIR "/examples/demo_os.ort", std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    if (out.str().empty()) {
      std::abort();
    }
    return out.str();
  }();
  return text;
}

// A private temporary directory becomes the current directory and the configuration
// directory's base, so saveconfig and loadconfig without a file stay inside it. It is removed
// when the process exits.
inline std::string enter_sandbox() {
  static char name[] = "/tmp/osa_fuzz_XXXXXX";
  if (mkdtemp(name) == nullptr || chdir(name) != 0) {
    std::abort();
  }
  std::atexit([] {
    std::error_code ec;
    std::filesystem::remove_all(name, ec);
  });
  setenv("XDG_CONFIG_HOME", name, 1);
  setenv("HOME", name, 1);
  set_message_sink([](void*, MessageSeverity, const char*) {}, nullptr);
  // The event log keeps what every request sent; a history that grows from run to run would
  // make libFuzzer run its leak check after every run.
  log_set_history_size(0);
  return name;
}

// The demo file, parsed once per process.
inline PreloadedOrti& demo_orti() {
  static PreloadedOrti orti("demo_os.ort", demo_orti_text());
  return orti;
}

// The plug-in state of the area, created with the demo file loaded (lent: once the run is over
// and the state destroyed, demo_orti().restore() puts the model back for the next run).
inline PluginState* loaded_state(ClientArea& area) {
  PluginState* state = plugin_state_ensure(area);
  demo_orti().lend_to(*state);
  return state;
}

// True when the text names a file for saveconfig or loadconfig: fuzz input must not write, or
// make the plug-in replay, files outside the sandbox.
inline bool names_a_config_file(std::string_view text, bool loads_too) {
  for (const std::string_view command :
       {std::string_view("saveconfig"), std::string_view("loadconfig")}) {
    if (command == "loadconfig" && !loads_too) {
      continue;
    }
    for (std::size_t at = text.find(command); at != std::string_view::npos;
         at = text.find(command, at + 1)) {
      for (std::size_t i = at + command.size(); i < text.size() && text[i] != '\n'; ++i) {
        if (text[i] != ' ' && text[i] != '\t' && text[i] != '\r' && text[i] != '\v' &&
            text[i] != '\f') {
          return true;
        }
      }
    }
  }
  return false;
}

} // namespace fuzz_support
