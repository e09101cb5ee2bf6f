#include "runtime/platform.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <winerror.h>
#else
#include <csignal>
#include <unistd.h>
#endif

void platform_set_binary_stdio() {
#ifdef _WIN32
  _setmode(0, _O_BINARY);
  _setmode(1, _O_BINARY);
#endif
}

long platform_read_stdin(void* buffer, std::size_t room) {
#ifdef _WIN32
  return _read(0, buffer, static_cast<unsigned>(room));
#else
  return static_cast<long>(::read(0, buffer, room));
#endif
}

long platform_write_stdout(const void* data, std::size_t length) {
#ifdef _WIN32
  const long count = _write(1, data, static_cast<unsigned>(length));
  // A pipe whose reader has gone fails with "the pipe is being closed", which the C runtime
  // reports as EINVAL; callers (and their messages) see EPIPE for it, as on POSIX.
  if (count < 0 && (_doserrno == ERROR_NO_DATA || _doserrno == ERROR_BROKEN_PIPE)) {
    errno = EPIPE;
  }
  return count;
#else
  return static_cast<long>(::write(1, data, length));
#endif
}

void platform_ignore_broken_pipe() {
#ifndef _WIN32
  std::signal(SIGPIPE, SIG_IGN);
#endif
}

#ifdef _WIN32
namespace {

// fopen's "x" (create, fail when the file exists) for the Windows C runtime, which does not
// know the letter and would open an existing file anyway: an exclusive create of the
// descriptor, then a stream on it with the rest of the mode. errno is EEXIST when it exists.
std::FILE* create_new_file(const std::string& path, const char* mode) {
  std::string stream_mode;
  for (const char* m = mode; *m != '\0'; ++m) {
    if (*m != 'x') {
      stream_mode += *m;
    }
  }
  const bool binary = stream_mode.find('b') != std::string::npos;
  const bool update = stream_mode.find('+') != std::string::npos;
  int fd = -1;
  const errno_t e =
      _sopen_s(&fd, path.c_str(),
               _O_CREAT | _O_EXCL | (update ? _O_RDWR : _O_WRONLY) | (binary ? _O_BINARY : _O_TEXT),
               _SH_DENYNO, _S_IREAD | _S_IWRITE);
  if (e != 0) {
    errno = e;
    return nullptr;
  }
  std::FILE* file = _fdopen(fd, stream_mode.c_str());
  if (file == nullptr) {
    _close(fd);
  }
  return file;
}

} // namespace
#endif

std::FILE* platform_fopen(const std::string& path, const char* mode) {
#ifdef _WIN32
  if (std::strchr(mode, 'x') != nullptr) {
    return create_new_file(path, mode);
  }
  std::FILE* file = nullptr;
  if (fopen_s(&file, path.c_str(), mode) != 0) {
    return nullptr;
  }
  return file;
#else
  return std::fopen(path.c_str(), mode);
#endif
}

std::FILE* platform_open_regular_file(const std::string& path, const char* mode,
                                      int* error_number) {
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(path, ec);
  if (!ec && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    *error_number = std::filesystem::is_directory(status) ? EISDIR : EINVAL;
    return nullptr;
  }
#ifdef _WIN32
  std::FILE* file = nullptr;
  const errno_t e = fopen_s(&file, path.c_str(), mode);
  if (e != 0 || file == nullptr) {
    *error_number = e != 0 ? e : ENOENT;
    return nullptr;
  }
  return file;
#else
  errno = 0;
  std::FILE* file = std::fopen(path.c_str(), mode);
  if (file == nullptr) {
    *error_number = errno != 0 ? errno : ENOENT;
  }
  return file;
#endif
}

bool platform_is_regular_file(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

bool platform_is_directory(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_directory(path, ec);
}

bool platform_make_directories(const std::string& path) {
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  return platform_is_directory(path);
}

std::string platform_join_path(const std::string& dir, const std::string& name) {
  if (dir.empty()) {
    return name;
  }
  const char last = dir.back();
#ifdef _WIN32
  if (last == '\\' || last == '/') {
    return dir + name;
  }
  return dir + "\\" + name;
#else
  if (last == '/') {
    return dir + name;
  }
  return dir + "/" + name;
#endif
}

std::string platform_error_text(int error_number) {
#ifdef _WIN32
  char text[256];
  strerror_s(text, sizeof text, error_number);
  return text;
#else
  return std::strerror(error_number);
#endif
}

std::string platform_user_config_dir() {
#ifdef _WIN32
  const char* base = std::getenv("APPDATA");
  const bool has_base = base != nullptr && *base != '\0';
  return platform_join_path(has_base ? base : ".", "osa_orti_plugin");
#else
  // A relative XDG_CONFIG_HOME is to be ignored: it would move with the current directory.
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
    return platform_join_path(xdg, "osa_orti_plugin");
  }
  const char* home = std::getenv("HOME");
  const bool has_home = home != nullptr && *home != '\0';
  return platform_join_path(platform_join_path(has_home ? home : ".", ".config"),
                            "osa_orti_plugin");
#endif
}
