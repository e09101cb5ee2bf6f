// The host link's process-wide flags: what the command line asked for and what the
// OSA_Client_Exit method requested. The main loop reads them after every response.
#pragma once

#include <cstdint>

struct ProcessFlags {
  bool exit_requested = false; // set by OSA_Client_Exit
  int32_t exit_code = 0;       // reported by OSA_Client_Exit; nothing changes it
  bool ignore_errors = false;  // "-ignore_error": playback goes on after a problem
};

inline ProcessFlags& process_flags() {
  static ProcessFlags flags;
  return flags;
}
