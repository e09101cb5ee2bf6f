#include "runtime/format.h"

#include <cstdio>
#include <cstring>

std::string portable_format(const char* format) {
  std::string out;
  for (const char* p = format; *p != '\0'; ++p) {
    out.push_back(*p);
    if (*p != '%') {
      continue;
    }
    // Copy flags, width and precision, then translate the length modifier.
    const char* q = p + 1;
    while (*q != '\0' && std::strchr("-+ #0123456789.*", *q) != nullptr) {
      out.push_back(*q++);
    }
    if (std::strncmp(q, "I64", 3) == 0) {
      out += "ll";
      q += 3;
    }
    p = q - 1;
  }
  return out;
}

void append_vformat(std::string& out, const char* format, std::va_list args) {
  if (format == nullptr) {
    out += "(null)";
    return;
  }
  const std::string fmt =
      std::strstr(format, "%I64") != nullptr ? portable_format(format) : std::string(format);
  std::va_list copy;
  va_copy(copy, args);
  char small[256];
  const int needed = std::vsnprintf(small, sizeof small, fmt.c_str(), copy);
  va_end(copy);
  if (needed < 0) {
    return;
  }
  if (static_cast<size_t>(needed) < sizeof small) {
    out.append(small, static_cast<size_t>(needed));
    return;
  }
  const size_t old = out.size();
  out.resize(old + static_cast<size_t>(needed) + 1);
  std::vsnprintf(out.data() + old, static_cast<size_t>(needed) + 1, fmt.c_str(), args);
  out.resize(old + static_cast<size_t>(needed));
}

void append_format(std::string& out, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  append_vformat(out, format, args);
  va_end(args);
}

std::string vformat(const char* format, std::va_list args) {
  std::string out;
  append_vformat(out, format, args);
  return out;
}

std::string format(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::string out = vformat(format, args);
  va_end(args);
  return out;
}
