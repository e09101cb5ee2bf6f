// Reading the arguments of the plug-in's commands.
//
// Commands take base-10 integers with an optional sign and leading white space, words
// separated by white space, and (load_orti) words that a double quote may enclose.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

bool is_command_space(char c);

// Skips leading white space.
std::string_view skip_spaces(std::string_view text);

// The leading base-10 integer (after white space, with an optional sign), clamped to the
// 32-bit range; rest (when given) receives the text after it. Nothing when there is no digit.
std::optional<int32_t> leading_integer(std::string_view text, std::string_view* rest = nullptr);

// The leading integer or 0, as atoi reads it.
int32_t atoi_of(std::string_view text);

// The first white-space separated word; rest receives the text after it and the white space
// behind it.
std::string_view first_word(std::string_view text, std::string_view* rest = nullptr);

// The first word where a double quote starts a quoted part that runs to the next double quote
// and ends the word (the quotes not included).
std::string quoted_word(std::string_view text, std::string_view* rest = nullptr);

// True when text holds nothing but white space.
bool only_spaces(std::string_view text);

// True when text holds a carriage return or a line feed. saveconfig writes every setting as
// one command line, so a name or formula with a line break could not be read back as typed.
bool holds_line_break(std::string_view text);

// A text as one field of a tab-separated record for hosts: tabs and line breaks would split
// the record, and a text of any length would make a message no host reads whole, so they
// become blanks and the text is cut to the message limit. A null text is the empty field.
std::string record_field(const char* text);
