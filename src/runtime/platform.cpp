#include "runtime/platform.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
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
  return _write(1, data, static_cast<unsigned>(length));
#else
  return static_cast<long>(::write(1, data, length));
#endif
}

void platform_ignore_broken_pipe() {
#ifndef _WIN32
  std::signal(SIGPIPE, SIG_IGN);
#endif
}

std::FILE* platform_fopen(const std::string& path, const char* mode) {
#ifdef _WIN32
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
