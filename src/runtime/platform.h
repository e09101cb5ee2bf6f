// The platform module: every call that differs between Windows and POSIX lives here.
//
// The plug-in talks to the debugger over file descriptors 0 and 1 with the C library's
// unbuffered read and write calls, in blocking mode; on Windows those are _read/_write and the
// descriptors must be put into binary mode so that no line-end translation touches a message.
// Files and directories are reached through the few helpers below.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

// Puts standard input and output into binary mode (a no-op on POSIX).
void platform_set_binary_stdio();

// One read from standard input: the byte count, 0 at end of input, negative on failure with
// errno set as the C library left it.
long platform_read_stdin(void* buffer, std::size_t room);

// One write to standard output: the byte count written, negative on failure with errno set.
long platform_write_stdout(const void* data, std::size_t length);

// Makes a write to a closed pipe fail with EPIPE instead of ending the process, so that the
// caller sees the failure and can exit with its own code (a no-op on Windows, which has no
// such signal).
void platform_ignore_broken_pipe();

// Opens a file with a C-library mode string ("r", "rb", "wt" ...).
std::FILE* platform_fopen(const std::string& path, const char* mode);

// Opens a file like platform_fopen, but only a regular file or a path that does not exist yet:
// a directory, a device or a pipe is refused (EISDIR for a directory, EINVAL for the others),
// because reading one fails only later or never ends, and opening a pipe for writing blocks.
// On failure *error_number gets the C library's error number.
std::FILE* platform_open_regular_file(const std::string& path, const char* mode, int* error_number);

bool platform_is_directory(const std::string& path);
// True when path names an existing regular file.
bool platform_is_regular_file(const std::string& path);
// Creates the directory and its missing parents; true when it exists afterwards.
bool platform_make_directories(const std::string& path);
// dir and name joined with the platform's separator.
std::string platform_join_path(const std::string& dir, const std::string& name);
// The system's text for a C-library error number.
std::string platform_error_text(int error_number);
// The per-user directory of the plug-in's configuration files (not created here): on Windows
// %APPDATA%\osa_orti_plugin, elsewhere $XDG_CONFIG_HOME/osa_orti_plugin when that variable
// holds an absolute path, else $HOME/.config/osa_orti_plugin. Without those variables the
// directory is osa_orti_plugin (or .config/osa_orti_plugin) under the current directory.
std::string platform_user_config_dir();

// The bytes of the regular file behind an open stream, or -1 when the stream reads something
// else (a pipe, a terminal) or the system cannot tell.
int64_t platform_stream_file_size(std::FILE* stream);

// Memory for stores that fill many megabytes, straight from the system: pages that read as
// zero until written, aligned to kPlatformLargePage. Where the system can back such a range
// with large pages as it is touched, it is asked to, so that filling it costs one fault per
// large page instead of one per small page. size is a multiple of kPlatformLargePage. Null
// when the system gives no memory of this kind; the caller then takes it from the heap.
inline constexpr std::size_t kPlatformLargePage = 2 * 1024 * 1024;
void* platform_allocate_pages(std::size_t size);
// Gives back what platform_allocate_pages returned, with the size it was asked for.
void platform_free_pages(void* pages, std::size_t size);
// The whole small pages inside [from, from + size) of such memory are no longer needed: the
// system may take them back (where a touched large page holds them, that much of it). They
// stay usable, and read as zero or as before when used again.
void platform_discard_pages(void* from, std::size_t size);
