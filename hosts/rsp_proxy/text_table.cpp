#include "text_table.h"

#include <algorithm>
#include <cstdio>

namespace rsp {

namespace {

constexpr const char* kGap = "  ";

std::string line_of(const std::vector<std::string>& cells, const std::vector<std::size_t>& widths) {
  std::string line;
  for (std::size_t i = 0; i < widths.size(); ++i) {
    const std::string cell = i < cells.size() ? cells[i] : std::string();
    if (i != 0) {
      line += kGap;
    }
    line += cell;
    line.append(widths[i] - std::min(widths[i], cell.size()), ' ');
  }
  while (!line.empty() && line.back() == ' ') {
    line.pop_back();
  }
  return line + "\n";
}

} // namespace

std::string format_table(const std::vector<std::string>& headers,
                         const std::vector<std::vector<std::string>>& rows) {
  // A column is never narrower than one character, so that its rule shows where it is.
  std::vector<std::size_t> widths;
  for (const std::string& h : headers) {
    widths.push_back(std::max<std::size_t>(1, h.size()));
  }
  for (const auto& row : rows) {
    for (std::size_t i = 0; i < row.size() && i < widths.size(); ++i) {
      widths[i] = std::max(widths[i], row[i].size());
    }
  }
  std::string out = line_of(headers, widths);
  std::vector<std::string> rule;
  for (std::size_t w : widths) {
    rule.emplace_back(w, '-');
  }
  out += line_of(rule, widths);
  for (const auto& row : rows) {
    out += line_of(row, widths);
  }
  return out;
}

std::string usage_bar(uint64_t used, uint64_t size, bool overflowed) {
  constexpr uint64_t kWidth = 20;
  if (size == 0) {
    return "";
  }
  const uint64_t filled = std::min(kWidth, (used * kWidth + size - 1) / size);
  return "[" + std::string(filled, '#') + std::string(kWidth - filled, '.') + "]" +
         (overflowed ? "!" : "");
}

std::string milliseconds_text(std::chrono::nanoseconds time) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f ms", static_cast<double>(time.count()) / 1e6);
  return text;
}

} // namespace rsp
