// printf-style formatting into growable strings.
//
// Every text this system builds for the debugger or the user goes through printf rules (the
// message formats are fixed texts with %d and %s in them), so one pair of helpers serves them
// all. The "%I64d" and "%I64x" conversions that some formats carry are rewritten to their
// portable spelling first, so the same format works with every C library.
#pragma once

#include <cstdarg>
#include <string>

#if defined(__MINGW32__)
// The Windows build uses the C99 printf family (__USE_MINGW_ANSI_STDIO), checked as such.
#define OSA_PRINTF_LIKE(fmt_index, first_arg)                                                      \
  __attribute__((format(gnu_printf, fmt_index, first_arg)))
#elif defined(__GNUC__) || defined(__clang__)
#define OSA_PRINTF_LIKE(fmt_index, first_arg) __attribute__((format(printf, fmt_index, first_arg)))
#else
#define OSA_PRINTF_LIKE(fmt_index, first_arg)
#endif

// Appends the formatted text to out. A null format appends "(null)".
void append_vformat(std::string& out, const char* format, std::va_list args);
void append_format(std::string& out, const char* format, ...) OSA_PRINTF_LIKE(2, 3);

// Returns the formatted text.
std::string vformat(const char* format, std::va_list args);
std::string format(const char* format, ...) OSA_PRINTF_LIKE(1, 2);

// Rewrites the "%I64" length modifier to "%ll"; other text is copied unchanged.
std::string portable_format(const char* format);
