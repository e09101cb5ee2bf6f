// The process entry of osa_orti_plugin: the command line, the choice between serving a debugger
// over standard input and output and playing a recording back, and the serving loop.
#pragma once

#include "host_link/jsonrpc.h"

// What the process calls before it serves anything: the client method layer's initialiser
// (OSA_Client_CmdInit). The program's entry hands it over, so that this layer needs to know
// nothing of the layers above it.
using ClientInit = void (*)(int argc, char** argv, JrTransport transport);

// Runs the process and returns its exit code:
//   0 after "-help", 1 for a command-line syntax error, the playback result in playback mode,
//   and in serving mode the error number of a failed read (0 at end of input), 2 for a response
//   that is not a complete message, 3 when a response could not be written, or the exit code
//   that OSA_Client_Exit reported.
int plugin_process_main(int argc, char** argv, ClientInit init);

// The serving loop alone (the process entry without arguments).
int serve_debugger(int argc, char** argv, ClientInit init);
