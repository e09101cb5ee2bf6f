// Playback of a recorded conversation: instead of serving a debugger, the plug-in feeds the
// debugger's recorded messages to its dispatcher and compares every message it produces with
// the recorded one, reporting each difference on standard output.
//
// A recording is a text file with one message per line: an optional time stamp (digits, ":",
// ".", blanks, tabs), the tag "TARNO" (from the debugger) or "PLUGIN" (from the plug-in) in any
// letter case, optional whitespace, ":", optional whitespace and the JSON text. Every line
// carries a tag; there are no blank or comment lines.
#pragma once

#include "runtime/format.h"

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

// Result codes of a playback run; the process exits with them.
inline constexpr int kPlaybackOk = 0;
inline constexpr int kPlaybackOpenFailed = 2;
inline constexpr int kPlaybackBadLine = 3;
inline constexpr int kPlaybackDifferent = 4;

inline constexpr const char* kPlaybackDebuggerTag = "TARNO";
inline constexpr const char* kPlaybackPluginTag = "PLUGIN";

enum class PlaybackLineKind {
  Message,     // the line carries the expected tag; the message text was found
  WrongTag,    // the line does not continue with the expected tag after its time stamp
  NoSeparator, // the tag is not followed by ":"
};

// Splits one line (without its line feed). On Message, *message is the text after the colon
// without leading or trailing whitespace (a view into line).
PlaybackLineKind playback_split_line(std::string_view line, const char* expected_tag,
                                     std::string_view* message);

struct FileCloser {
  void operator()(std::FILE* file) const {
    if (file != nullptr) {
      std::fclose(file);
    }
  }
};

// Where the lines come from: a file, or (for tests and fuzzing) a text in memory.
struct PlaybackSource {
  std::unique_ptr<std::FILE, FileCloser> file;
  bool from_memory = false;
  std::string memory;
  std::size_t memory_pos = 0;
};

// Next line without its line feed; false when the source is not open, at its end or failed. A
// last line without a line feed still counts as a line.
bool playback_next_line(PlaybackSource& source, std::string& line);

// The process's one playback run.
struct PlaybackState {
  PlaybackSource source;
  int line_count = 0;             // lines read so far; the first line is line 1
  int result = kPlaybackOk;       // the most recent problem, 0 while there is none
  std::string last_response;      // what the playback transport handed out last
  std::string* capture = nullptr; // when set, messages are appended here instead of stdout
};

PlaybackState& playback_state();

// Appends the formatted text to the capture, or prints it on standard output.
void playback_print(PlaybackState& state, const char* format, ...) OSA_PRINTF_LIKE(2, 3);

// The only reader of the recording. On success *message is the line's message text. Reports
// and records (result 3) a wrong tag or a missing separator; a missing line only when required.
bool playback_read_line(PlaybackState& state, const char* expected_tag, bool required,
                        std::string* message);

// Plays the file back and returns the result code. A null name fails like an unopenable file.
int playback(const char* file_name);
// Plays text back as if it were the content of a file called name (keeps the capture).
int playback_text(std::string text, const char* name);

// The transport used in playback mode: checks the request against the next "PLUGIN" line and
// hands back the recorded answer, serving recorded debugger requests that come before it.
// Null when the recording holds no answer.
const char* playback_transport(const char* request);
