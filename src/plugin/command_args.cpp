// Argument reading of the plug-in's commands.
#include "plugin/command_args.h"

#include "awareness/awareness_state.h"

#include <limits>

bool is_command_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view skip_spaces(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && is_command_space(text[i])) {
    ++i;
  }
  return text.substr(i);
}

std::optional<int32_t> leading_integer(std::string_view text, std::string_view* rest) {
  text = skip_spaces(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const std::size_t digits_start = i;
  int64_t value = 0;
  constexpr int64_t kClamp = static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    if (value < kClamp) {
      value = value * 10 + (text[i] - '0');
    }
    ++i;
  }
  if (i == digits_start) {
    return std::nullopt;
  }
  if (rest != nullptr) {
    *rest = text.substr(i);
  }
  value = negative ? -value : value;
  if (value > std::numeric_limits<int32_t>::max()) {
    value = std::numeric_limits<int32_t>::max();
  }
  if (value < std::numeric_limits<int32_t>::min()) {
    value = std::numeric_limits<int32_t>::min();
  }
  return static_cast<int32_t>(value);
}

int32_t atoi_of(std::string_view text) {
  return leading_integer(text).value_or(0);
}

std::string_view first_word(std::string_view text, std::string_view* rest) {
  text = skip_spaces(text);
  std::size_t end = 0;
  while (end < text.size() && !is_command_space(text[end])) {
    ++end;
  }
  if (rest != nullptr) {
    *rest = skip_spaces(text.substr(end));
  }
  return text.substr(0, end);
}

std::string quoted_word(std::string_view text, std::string_view* rest) {
  text = skip_spaces(text);
  std::string word;
  std::size_t i = 0;
  while (i < text.size() && !is_command_space(text[i])) {
    if (text[i] == '"') {
      const std::size_t close = text.find('"', i + 1);
      const std::size_t end = close == std::string_view::npos ? text.size() : close;
      word.append(text.substr(i + 1, end - i - 1));
      i = close == std::string_view::npos ? text.size() : close + 1;
      break;
    }
    word.push_back(text[i]);
    ++i;
  }
  if (rest != nullptr) {
    *rest = skip_spaces(text.substr(i));
  }
  return word;
}

bool only_spaces(std::string_view text) {
  return skip_spaces(text).empty();
}

bool holds_line_break(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

std::string record_field(const char* text) {
  std::string out(text != nullptr ? text : "");
  if (out.size() > kTextLimit) {
    out.resize(kTextLimit);
  }
  for (char& c : out) {
    if (c == '\t' || c == '\n' || c == '\r') {
      c = ' ';
    }
  }
  return out;
}
