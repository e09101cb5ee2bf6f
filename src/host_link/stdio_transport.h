// The plug-in's end of the pipes: one read from standard input, one whole write to standard
// output, the framing that tells when the text received so far is a complete message, and the
// transport that sends the plug-in's own requests and waits for their answers.
//
// Messages carry no length and no delimiter: a message ends where its outermost object closes.
// Every reading loop (the serving loop, and every level of the transport that is waiting for an
// answer) has a buffer of its own, so a request served while the plug-in waits cannot clobber
// the text an outer level is still collecting.
#pragma once

#include <cstddef>
#include <memory>

// Bytes in one reading loop's buffer; it always holds a NUL-terminated text, so a message can be
// at most one byte shorter.
inline constexpr std::size_t kRequestBufferSize = 0x10000;

struct RequestBuffer {
  std::unique_ptr<char[]> bytes = std::make_unique<char[]>(kRequestBufferSize);
  std::size_t held = 0; // length of the NUL-terminated text in bytes

  const char* text() const { return bytes.get(); }
};

// Reads once from standard input into buffer, at most room - 1 bytes, and NUL-terminates them.
// True when bytes arrived without error (or the read was interrupted); false at end of input
// (errno 0) or on failure (errno as the read left it). errno is what the read left on return.
bool OSA__JSON__Read(char* buffer, std::size_t room);

// Writes length bytes of text to standard output; true only when all of them were written.
// On failure errno is what the failing write left.
bool OSA__JSON__Write(const char* text, std::size_t length);

// True when text begins (after blanks, tabs and line feeds) with "{" and its braces balance
// outside strings at its end.
bool message_is_complete(const char* text);

// The completeness test fed piece by piece as the text arrives. A message that trickles in
// through many small reads is then scanned once in all, not once per read; after every piece
// complete() says what message_is_complete() would say of the whole text received so far.
struct FramingScan {
  enum class Phase {
    Leading, // only blanks, tabs and line feeds so far
    Object,  // inside (or just after) the object that began with the first "{"
    Never,   // the text can never complete: it began otherwise, or a "}" came at depth 0
  };
  Phase phase = Phase::Leading;
  std::size_t depth = 0;
  bool in_string = false;
  bool escape_pending = false; // the byte before was a backslash in a string (maybe in the
                               // piece before)

  // Scans the NUL-terminated piece as the continuation of everything fed before.
  void feed(const char* piece);
  bool complete() const { return phase == Phase::Object && depth == 0 && !in_string; }
};

// Empties buffer and reads until it holds a complete message. False when a read failed; the
// failing read's error number (0 at end of input) goes to *error_number and stays in errno.
bool read_complete_message(RequestBuffer& buffer, int* error_number);

// The transport used while serving a debugger: writes request, then reads until the debugger's
// answer arrives, serving every request the debugger sends in between. Returns the answer text
// (valid until the next call) or null when the request could not be sent or no answer came.
const char* stdio_transport(const char* request);
