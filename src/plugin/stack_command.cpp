// The stackusage command.
#include "plugin/stack_command.h"

#include "awareness/osa_trace.h"
#include "awareness/stack_usage.h"
#include "plugin/command_args.h"
#include "runtime/format.h"

#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kRecordsOption = "--records";

unsigned long long ull(uint64_t n) {
  return static_cast<unsigned long long>(n);
}

const char* status_word(StackStatus status) {
  switch (status) {
  case StackStatus::Measured:
    return "ok";
  case StackStatus::Overflowed:
    return "overflow";
  case StackStatus::Unmeasured:
    break;
  }
  return "unmeasured";
}

// The values of one row as texts, empty where nothing is known.
constexpr std::size_t kColumns = 9;
using Cells = std::array<std::string, kColumns>;

Cells cells_of(const StackUsage& u) {
  Cells c;
  c[0] = record_field(u.name.c_str());
  if (u.size) {
    c[1] = format("%llu", ull(*u.size));
  }
  if (u.base) {
    c[2] = format("0x%llx", ull(*u.base));
  }
  if (u.direction) {
    c[3] = *u.direction == StackDirection::Up ? "UP" : "DOWN";
  }
  if (u.pattern) {
    c[4] = format("0x%0*llx", static_cast<int>(2 * u.pattern_width), ull(*u.pattern));
  }
  if (u.status != StackStatus::Unmeasured) {
    c[5] = format("%llu", ull(u.used));
    c[6] = format("%llu", ull(stack_free_bytes(u)));
    c[7] = format("%u%%", static_cast<unsigned>(stack_percent_used(u)));
  }
  c[8] = record_field(u.note.c_str());
  return c;
}

std::string record_of(const StackUsage& u) {
  Cells c = cells_of(u);
  if (!c[7].empty()) {
    c[7].pop_back(); // the percent sign
  }
  std::string line = "stack\t" + c[0] + "\t" + status_word(u.status);
  for (std::size_t i = 1; i < kColumns; ++i) {
    line += "\t" + c[i];
  }
  return line + "\n";
}

// The table for users: columns as wide as their widest cell, numbers right-aligned, the note
// last and unpadded.
std::vector<std::string> table_of(const std::vector<StackUsage>& rows) {
  const Cells headers = {"STACK", "SIZE", "BASE", "DIR", "PATTERN", "USED", "FREE", "USE%", "NOTE"};
  constexpr std::array<bool, kColumns> right = {false, true, false, false, false,
                                                true,  true, true,  false};
  std::vector<Cells> lines = {headers};
  for (const StackUsage& u : rows) {
    Cells c = cells_of(u);
    for (std::size_t i = 0; i + 1 < kColumns; ++i) {
      if (c[i].empty()) {
        c[i] = "-";
      }
    }
    lines.push_back(std::move(c));
  }
  std::array<std::size_t, kColumns> widths{};
  for (const Cells& line : lines) {
    for (std::size_t i = 0; i < kColumns; ++i) {
      widths[i] = std::max(widths[i], line[i].size());
    }
  }
  std::vector<std::string> out;
  for (const Cells& line : lines) {
    std::string text;
    for (std::size_t i = 0; i < kColumns; ++i) {
      const std::string pad(widths[i] - line[i].size(), ' ');
      if (i + 1 == kColumns) {
        text += line[i];
      } else {
        text += right[i] ? pad + line[i] : line[i] + pad;
        text += "  ";
      }
    }
    while (!text.empty() && text.back() == ' ') {
      text.pop_back();
    }
    out.push_back(text + "\n");
  }
  return out;
}

} // namespace

bool command_stackusage(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args) {
  std::string_view rest;
  std::string_view word = first_word(args, &rest);
  const bool records = word == kRecordsOption;
  if (records) {
    word = first_word(rest, &rest);
  }
  if (!only_spaces(rest)) {
    osa_display(ctx, kMessageTypeUser, "usage: stackusage [--records] [NAME]\n");
    return false;
  }
  if (state.model == nullptr) {
    osa_display(ctx, kMessageTypeUser, "stackusage: no ORTI file is loaded\n");
    return false;
  }
  const std::string name(word);
  // Every row is measured before the first is shown: a host reads the lines of one command as
  // one answer, and the table's columns depend on all rows.
  const std::vector<StackUsage> rows =
      stack_usage(state, ctx, name.empty() ? nullptr : name.c_str());
  if (rows.empty() && !name.empty()) {
    osa_display(
        ctx, kMessageTypeUser,
        format("stackusage: no STACK object is named %s\n", record_field(name.c_str()).c_str()));
    return false;
  }
  if (records) {
    for (const StackUsage& u : rows) {
      osa_display(ctx, kMessageTypeOutput, record_of(u));
    }
    return true;
  }
  if (rows.empty()) {
    osa_display(ctx, kMessageTypeOutput, "stackusage: the ORTI file describes no stacks\n");
    return true;
  }
  for (const std::string& line : table_of(rows)) {
    osa_display(ctx, kMessageTypeOutput, line);
  }
  return true;
}
