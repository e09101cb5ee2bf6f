// The runtime's message output: errors and warnings about the input that a user must read.
//
// Standard output is reserved for the debugger's JSON-RPC stream, so these messages go to
// standard error. Standard output is flushed first so that, when both streams land on one
// terminal or file, the messages appear in the order things happened.
#pragma once

#include "runtime/format.h"

enum class MessageSeverity { Error = 3, Warning = 4 };

// Where messages are written; standard error unless a test or tool redirects them.
using MessageSink = void (*)(void* user, MessageSeverity severity, const char* text);
void set_message_sink(MessageSink sink, void* user);
void reset_message_sink();

// Prefixes of the two severities, as they appear on standard error.
inline constexpr const char* kErrorPrefix = "Error: ";
inline constexpr const char* kWarningPrefix = "Warning: ";

void message_output(MessageSeverity severity, const char* text);
void error_message(const char* format, ...) OSA_PRINTF_LIKE(1, 2);
void warning_message(const char* format, ...) OSA_PRINTF_LIKE(1, 2);
