// Plain text tables with aligned columns, as the monitor commands print them.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace rsp {

// The header line, a rule of dashes under each column, then one line per row; each column as
// wide as its widest cell, cells left-aligned, no blanks at the ends of lines. Every line
// ends with a line feed.
std::string format_table(const std::vector<std::string>& headers,
                         const std::vector<std::vector<std::string>>& rows);

// A small bar of the share used of a stack: one '#' per twentieth, rounded up so that any use
// shows, and '!' after it for a stack that probably overflowed; empty for a size of 0.
std::string usage_bar(uint64_t used, uint64_t size, bool overflowed);

// "1.25 ms".
std::string milliseconds_text(std::chrono::nanoseconds time);

} // namespace rsp
