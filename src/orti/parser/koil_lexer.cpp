// The KOIL scanner, written by hand as a longest-match scanner over a growing block buffer.
//
// Every rule is decided by the current byte and at most a few bytes looked at ahead; bytes
// looked at are only counted (newlines) once a rule consumes them, so look-ahead never shifts
// the line number.
#include "orti/parser/koil_lexer.h"

#include "runtime/format.h"
#include "runtime/hex_digit.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

namespace {

constexpr bool is_digit(int c) {
  return c >= '0' && c <= '9';
}
constexpr bool is_octal(int c) {
  return c >= '0' && c <= '7';
}
constexpr bool is_hex(int c) {
  return is_digit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
constexpr bool is_letter(int c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
constexpr bool is_ident(int c) {
  return is_letter(c) || is_digit(c);
}
constexpr bool is_blank(int c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The literal's digits as a signed 64-bit number; a value beyond the range is clamped to the
// largest one, as the C library's conversion does.
int64_t convert_integer(const std::string& digits, int base) {
  constexpr uint64_t kMax = static_cast<uint64_t>(INT64_MAX);
  uint64_t value = 0;
  for (char c : digits) {
    const uint64_t d = static_cast<uint64_t>(hex_digit_value(c));
    if (value > (kMax - d) / static_cast<uint64_t>(base)) {
      return INT64_MAX;
    }
    value = value * static_cast<uint64_t>(base) + d;
  }
  return static_cast<int64_t>(value);
}

// A part of a version number; clamped to the largest 32-bit value rather than wrapped.
uint32_t convert_version_part(const char* digits, std::size_t count) {
  uint64_t value = 0;
  for (std::size_t i = 0; i < count; ++i) {
    value = value * 10 + static_cast<uint64_t>(digits[i] - '0');
    if (value > UINT32_MAX) {
      return UINT32_MAX;
    }
  }
  return static_cast<uint32_t>(value);
}

} // namespace

KoilLexer::KoilLexer(std::FILE* input) : file_(input) {}

KoilLexer::KoilLexer(std::string_view input) : memory_(input) {}

std::size_t KoilLexer::read_block(char* to, std::size_t room) {
  if (file_ == nullptr) {
    const std::size_t n = std::min(room, memory_.size() - memory_pos_);
    if (n > 0) {
      std::memcpy(to, memory_.data() + memory_pos_, n);
    }
    memory_pos_ += n;
    return n;
  }
  for (;;) {
    errno = 0;
    const std::size_t n = std::fread(to, 1, room, file_);
    // A short read must come with the end-of-file flag: a C library may leave both flags clear
    // when the stream cannot be read at all (Wine's does so for a write-only stream), and that
    // is a failure, not the end of the input.
    if (n > 0 || room == 0 || std::feof(file_)) {
      return n;
    }
    if (errno != EINTR) {
      throw KoilScannerFailure{"input in flex scanner failed"};
    }
    std::clearerr(file_);
  }
}

std::size_t KoilLexer::fill(std::size_t count) {
  while (end_ - pos_ < count && !input_ended_) {
    if (pos_ > 0) {
      std::memmove(buffer_.data(), buffer_.data() + pos_, end_ - pos_);
      end_ -= pos_;
      buffer_offset_ += pos_;
      pos_ = 0;
    }
    if (buffer_.size() - end_ < kKoilReadBlock) {
      buffer_.resize(end_ + kKoilReadBlock);
    }
    const std::size_t n = read_block(buffer_.data() + end_, kKoilReadBlock);
    if (n == 0) {
      input_ended_ = true;
    }
    end_ += n;
  }
  return end_ - pos_;
}

int KoilLexer::peek(std::size_t ahead) {
  if (end_ - pos_ <= ahead && fill(ahead + 1) <= ahead) {
    return -1;
  }
  return static_cast<unsigned char>(buffer_[pos_ + ahead]);
}

void KoilLexer::consume(std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    if (buffer_[pos_ + i] == '\n') {
      ++line_;
    }
  }
  pos_ += count;
}

int KoilLexer::single(int c) {
  consume(1);
  text_.assign(1, static_cast<char>(c));
  return c;
}

// Consumed one byte at a time until a star directly followed by a slash. A star followed by
// anything else leaves that byte to the next round, so two stars and a slash end the comment.
// A NUL byte ends it together with the byte after it; so does the end of the input.
void KoilLexer::skip_block_comment() {
  for (;;) {
    const int c = peek(0);
    if (c < 0) {
      return;
    }
    consume(1);
    if (c == '*') {
      if (peek(0) == '/') {
        consume(1);
        return;
      }
      if (peek(0) < 0) {
        return;
      }
    } else if (c == 0) {
      if (peek(0) >= 0) {
        consume(1);
      }
      return;
    }
  }
}

// Up to, not including, the end of the line.
void KoilLexer::skip_line_comment() {
  consume(2);
  for (;;) {
    while (pos_ < end_ && buffer_[pos_] != '\n') {
      ++pos_;
    }
    if (pos_ < end_ || fill(1) == 0) {
      return;
    }
  }
}

void KoilLexer::skip_blanks() {
  for (;;) {
    while (pos_ < end_ && is_blank(static_cast<unsigned char>(buffer_[pos_]))) {
      if (buffer_[pos_] == '\n') {
        ++line_;
      }
      ++pos_;
    }
    if (pos_ < end_ || fill(1) == 0) {
      return;
    }
  }
}

int KoilLexer::scan_identifier() {
  text_.clear();
  for (;;) {
    const std::size_t start = pos_;
    while (pos_ < end_ && is_ident(static_cast<unsigned char>(buffer_[pos_]))) {
      ++pos_;
    }
    text_.append(buffer_.data() + start, pos_ - start);
    if (pos_ < end_ || fill(1) == 0) {
      break;
    }
  }
  // A keyword wins over the identifier of the same text only where its state makes it active.
  // Every keyword is upper case and 4 to 14 letters long, which rules out most identifiers at
  // once.
  const std::size_t length = text_.size();
  if (length < 4 || length > 14 || text_[0] < 'C' || text_[0] > 'V') {
    return kKoilIdentifier;
  }
  if (text_ == "VERSION") {
    state_ = KoilScanState::KoilVersion;
    return kKoilVersion;
  }
  if (text_ == "OSSEMANTICS") {
    state_ = KoilScanState::OsSemantics;
    return kKoilOsSemantics;
  }
  if (text_ == "IMPLEMENTATION") {
    state_ = KoilScanState::Declarations;
    return kKoilImplementation;
  }
  switch (state_) {
  case KoilScanState::KoilVersion:
    if (text_ == "KOIL") {
      return kKoilKoil;
    }
    break;
  case KoilScanState::OsSemantics:
    if (text_ == "ORTI") {
      return kKoilOrti;
    }
    break;
  case KoilScanState::Declarations:
    if (text_ == "TOTRACE") {
      return kKoilToTrace;
    }
    if (text_ == "CTYPE") {
      return kKoilCtype;
    }
    if (text_ == "ENUM") {
      return kKoilEnum;
    }
    if (text_ == "STRING") {
      return kKoilString;
    }
    break;
  default:
    break;
  }
  return kKoilIdentifier;
}

// Hexadecimal needs a lower-case x and at least one digit after it; octal a leading 0 and at
// least one octal digit after it; anything else starting with 0 is the lone 0.
int KoilLexer::scan_integer() {
  int base = 10;
  std::size_t skip = 0;
  bool (*digit)(int) = is_digit;
  if (peek(0) == '0') {
    if (peek(1) == 'x' && is_hex(peek(2))) {
      base = 16;
      skip = 2;
      digit = is_hex;
    } else if (is_octal(peek(1))) {
      base = 8;
      digit = is_octal;
    } else {
      consume(1);
      text_.assign("0");
      integer_ = 0;
      return kKoilInteger;
    }
  }
  text_.assign(buffer_.data() + pos_, skip);
  pos_ += skip;
  for (;;) {
    const std::size_t start = pos_;
    while (pos_ < end_ && digit(static_cast<unsigned char>(buffer_[pos_]))) {
      ++pos_;
    }
    text_.append(buffer_.data() + start, pos_ - start);
    if (pos_ < end_ || fill(1) == 0) {
      break;
    }
  }
  integer_ = convert_integer(text_.substr(skip), base);
  return kKoilInteger;
}

// Digits "." digits, or else the first digit alone.
int KoilLexer::scan_version_digit() {
  const int first = peek(0);
  const uint64_t here = buffer_offset_ + pos_;
  if (here < digit_run_end_) {
    return single(first);
  }
  std::size_t major = 0;
  while (is_digit(peek(major))) {
    ++major;
  }
  if (peek(major) != '.' || !is_digit(peek(major + 1))) {
    digit_run_end_ = here + major;
    return single(first);
  }
  std::size_t end = major + 1;
  while (is_digit(peek(end))) {
    ++end;
  }
  const char* start = buffer_.data() + pos_;
  text_.assign(start, end);
  version_.major = convert_version_part(start, major);
  version_.minor = convert_version_part(start + major + 1, end - major - 1);
  pos_ += end;
  return kKoilVersionNumber;
}

// Everything up to the closing quote, newlines included; there are no escapes.
int KoilLexer::scan_string_text() {
  text_.clear();
  for (;;) {
    const std::size_t start = pos_;
    while (pos_ < end_ && buffer_[pos_] != '"') {
      if (buffer_[pos_] == '\n') {
        ++line_;
      }
      ++pos_;
    }
    text_.append(buffer_.data() + start, pos_ - start);
    if (pos_ < end_ || fill(1) == 0) {
      return kKoilStringText;
    }
  }
}

int KoilLexer::scan() {
  for (;;) {
    const int c = peek(0);
    if (c < 0) {
      text_.clear();
      return kKoilEnd;
    }
    if (state_ == KoilScanState::StringBody) {
      if (c == '"') {
        state_ = saved_state_;
        return single(c);
      }
      return scan_string_text();
    }
    if (is_blank(c)) {
      skip_blanks();
      continue;
    }
    if (c == '/') {
      const int c1 = peek(1);
      if (c1 == '*') {
        consume(2);
        skip_block_comment();
        continue;
      }
      if (c1 == '/') {
        const int c2 = peek(2);
        // "//" right before a newline (or the end) is not a comment but two slashes.
        if (c2 >= 0 && c2 != '\n') {
          skip_line_comment();
          continue;
        }
      }
      return single(c);
    }
    if (c == '"') {
      switch (state_) {
      case KoilScanState::Initial:
        consume(1);
        continue;
      case KoilScanState::KoilVersion:
        state_ = KoilScanState::VersionNumber;
        return single(c);
      case KoilScanState::VersionNumber:
        state_ = KoilScanState::Initial;
        return single(c);
      case KoilScanState::OsSemantics:
        // Only a quote that opens a number starts a version number; the quotes around the
        // word ORTI keep the state.
        single(c);
        if (is_digit(peek(0))) {
          state_ = KoilScanState::VersionNumber;
        }
        return c;
      default:
        saved_state_ = KoilScanState::Declarations;
        state_ = KoilScanState::StringBody;
        return single(c);
      }
    }
    if (is_letter(c)) {
      return scan_identifier();
    }
    if (is_digit(c)) {
      if (state_ == KoilScanState::Declarations) {
        return scan_integer();
      }
      if (state_ == KoilScanState::VersionNumber) {
        return scan_version_digit();
      }
    }
    return single(c);
  }
}

int KoilLexer::next() {
  try {
    return scan();
  } catch (const std::bad_alloc&) {
    throw KoilScannerFailure{"out of dynamic memory in yy_get_next_buffer()"};
  }
}

std::vector<KoilToken> koil_tokenize(std::string_view input) {
  std::vector<KoilToken> tokens;
  KoilLexer lexer(input);
  for (;;) {
    KoilToken token;
    token.kind = lexer.next();
    token.text = lexer.text();
    if (token.kind == kKoilVersionNumber) {
      token.version = lexer.version();
    }
    if (token.kind == kKoilInteger) {
      token.integer = lexer.integer();
    }
    token.line = lexer.line();
    tokens.push_back(std::move(token));
    if (tokens.back().kind == kKoilEnd) {
      return tokens;
    }
  }
}

std::string koil_token_kind_name(int kind) {
  switch (kind) {
  case kKoilEnd:
    return "end of input";
  case kKoilVersionNumber:
    return "VERSION_NUMBER";
  case kKoilStringText:
    return "STRING_TEXT";
  case kKoilIdentifier:
    return "IDENTIFIER";
  case kKoilInteger:
    return "INTEGER";
  case kKoilVersion:
    return "VERSION";
  case kKoilKoil:
    return "KOIL";
  case kKoilOsSemantics:
    return "OSSEMANTICS";
  case kKoilOrti:
    return "ORTI";
  case kKoilImplementation:
    return "IMPLEMENTATION";
  case kKoilToTrace:
    return "TOTRACE";
  case kKoilCtype:
    return "CTYPE";
  case kKoilEnum:
    return "ENUM";
  case kKoilString:
    return "STRING";
  default:
    if (kind > ' ' && kind < 127) {
      return format("'%c'", kind);
    }
    return format("char %d", kind);
  }
}
