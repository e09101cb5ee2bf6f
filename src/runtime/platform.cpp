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
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <winerror.h>
#else
#include <csignal>
#include <sys/mman.h>
#include <sys/stat.h>
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

namespace {

enum class FileKind { Unknown, Regular, Directory, Other };

// What a path names, following links; Unknown when the system cannot say (no such file, no
// access). On POSIX one stat call: the path classes of the standard library would split the
// text into components, with an allocation or more, for every status asked, and a
// configuration file that loads itself asks twice per load.
FileKind file_kind(const std::string& path) {
#ifdef _WIN32
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(path, ec);
  if (ec || !std::filesystem::exists(status)) {
    return FileKind::Unknown;
  }
  if (std::filesystem::is_regular_file(status)) {
    return FileKind::Regular;
  }
  return std::filesystem::is_directory(status) ? FileKind::Directory : FileKind::Other;
#else
  struct stat status;
  if (::stat(path.c_str(), &status) != 0) {
    return FileKind::Unknown;
  }
  if (S_ISREG(status.st_mode)) {
    return FileKind::Regular;
  }
  return S_ISDIR(status.st_mode) ? FileKind::Directory : FileKind::Other;
#endif
}

} // namespace

std::FILE* platform_open_regular_file(const std::string& path, const char* mode,
                                      int* error_number) {
  const FileKind kind = file_kind(path);
  if (kind == FileKind::Directory || kind == FileKind::Other) {
    *error_number = kind == FileKind::Directory ? EISDIR : EINVAL;
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
  return file_kind(path) == FileKind::Regular;
}

bool platform_is_directory(const std::string& path) {
  return file_kind(path) == FileKind::Directory;
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

int64_t platform_stream_file_size(std::FILE* stream) {
#ifdef _WIN32
  struct _stat64 status;
  if (_fstat64(_fileno(stream), &status) != 0 || (status.st_mode & _S_IFMT) != _S_IFREG) {
    return -1;
  }
  return status.st_size;
#else
  struct stat status;
  if (::fstat(fileno(stream), &status) != 0 || !S_ISREG(status.st_mode)) {
    return -1;
  }
  return status.st_size;
#endif
}

#ifdef _WIN32

// Large pages need a privilege that a debugger's user seldom holds; committed pages of the
// usual size are what the heap would give, without its bookkeeping for a block this large.
// Untouched pages stay out of the working set, so there is nothing to discard.
void* platform_allocate_pages(std::size_t size) {
  return VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void platform_free_pages(void* pages, std::size_t) {
  VirtualFree(pages, 0, MEM_RELEASE);
}

void platform_discard_pages(void*, std::size_t) {}

#else

void* platform_allocate_pages(std::size_t size) {
  // Mapped with a large page of slack and cut to the aligned part, since a large page can only
  // back an aligned range.
  if (size > SIZE_MAX - kPlatformLargePage) {
    return nullptr;
  }
  const std::size_t mapped = size + kPlatformLargePage;
  void* base = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (base == MAP_FAILED) {
    return nullptr;
  }
  const auto start = reinterpret_cast<uintptr_t>(base);
  const uintptr_t aligned = (start + kPlatformLargePage - 1) & ~(kPlatformLargePage - 1);
  if (aligned != start) {
    ::munmap(base, aligned - start);
  }
  const uintptr_t end = aligned + size;
  if (end != start + mapped) {
    ::munmap(reinterpret_cast<void*>(end), start + mapped - end);
  }
  void* pages = reinterpret_cast<void*>(aligned);
#ifdef MADV_HUGEPAGE
  // Only a request: without large pages the range fills page by page like any other.
  ::madvise(pages, size, MADV_HUGEPAGE);
#endif
  return pages;
}

void platform_free_pages(void* pages, std::size_t size) {
  ::munmap(pages, size);
}

void platform_discard_pages(void* from, std::size_t size) {
  const long page = ::sysconf(_SC_PAGESIZE);
  if (page <= 0 || size == 0) {
    return;
  }
  const auto mask = static_cast<uintptr_t>(page) - 1;
  const auto start = reinterpret_cast<uintptr_t>(from);
  const uintptr_t first = (start + mask) & ~mask;
  const uintptr_t last = (start + size) & ~mask;
  if (first < last) {
    ::madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
  }
}

#endif
