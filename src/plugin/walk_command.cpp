// The walk command.
#include "plugin/walk_command.h"

#include "awareness/object_attributes.h"
#include "awareness/object_lists.h"
#include "awareness/object_types.h"
#include "awareness/osa_trace.h"
#include "plugin/command_args.h"
#include "runtime/format.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kNotesOption = "--notes";
constexpr const char* kUsage = "usage: walk [--notes] TYPEID MAX [ATTRID...]\n";
// More ids than any kind has attributes; a longer list is a mistake, not a table.
constexpr std::size_t kMaxAttributeIds = 256;
// Pieces of this size keep each message far below what a host frames as one message.
constexpr std::size_t kPiece = 8192;

// Sends what is complete of the records, in pieces that end before a UTF-8 continuation byte
// so that each piece is valid text on its own; with all, the rest too.
void flush(OSA_ServiceCntx* ctx, std::string& out, bool all) {
  while (out.size() >= kPiece || (all && !out.empty())) {
    std::size_t cut = std::min(out.size(), kPiece);
    while (cut < out.size() && cut > 1 && (static_cast<unsigned char>(out[cut]) & 0xC0) == 0x80) {
      --cut;
    }
    osa_display(ctx, kMessageTypeOutput, out.substr(0, cut));
    out.erase(0, cut);
  }
}

void append_escaped(std::string& out, const std::string& text) {
  for (char c : text) {
    switch (c) {
    case '\\':
      out += "\\\\";
      break;
    case '\t':
      out += "\\t";
      break;
    case '\n':
      out += "\\n";
      break;
    case '\r':
      out += "\\r";
      break;
    default:
      out += c;
    }
  }
}

// Holds back the messages of the current call while it lives.
class HoldMessages {
public:
  HoldMessages(OSA_ServiceCntx* ctx, std::vector<HeldMessage>* held)
      : ctx_(ctx), outer_(ctx->held_messages), outer_depth_(ctx->held_depth) {
    ctx_->held_messages = held;
    ctx_->held_depth = ctx_->calls_in_progress;
  }
  ~HoldMessages() {
    ctx_->held_messages = outer_;
    ctx_->held_depth = outer_depth_;
  }
  HoldMessages(const HoldMessages&) = delete;
  HoldMessages& operator=(const HoldMessages&) = delete;

private:
  OSA_ServiceCntx* ctx_;
  std::vector<HeldMessage>* outer_;
  uint32_t outer_depth_;
};

// One attribute of the current object as the ObjectListAttribute call reads it, its value
// record appended to out.
void read_value(OSA_ServiceCntx* ctx, PluginState& state, int32_t type, int32_t attr_id, bool notes,
                std::string& out) {
  TypedValue value = typed_value_of(attr_id == kAttributeObjectNumber ? kValueUInt64 : kValueText);
  std::vector<HeldMessage> held;
  int32_t status = 0;
  {
    HoldMessages hold(ctx, &held);
    status = object_list_attribute(state, ctx, type, attr_id, &value);
  }
  if (status == 0 || notes) {
    for (const HeldMessage& m : held) {
      osa_display(ctx, m.type, m.text);
    }
  }
  if (status != 0) {
    return;
  }
  if (value.code != kValueText) {
    out += format("value\t%d\tn\t%lld\n", static_cast<int>(attr_id),
                  static_cast<long long>(typed_value_as_i64(value)));
    return;
  }
  out += format("value\t%d\ts\t", static_cast<int>(attr_id));
  append_escaped(out, value.text);
  out += '\n';
}

} // namespace

bool command_walk(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args) {
  std::vector<std::string_view> words;
  for (std::string_view rest = args; !only_spaces(rest);) {
    words.push_back(first_word(rest, &rest));
  }
  const bool notes = !words.empty() && words.front() == kNotesOption;
  const std::size_t first = notes ? 1 : 0;
  std::vector<int32_t> numbers;
  for (std::size_t i = first; i < words.size(); ++i) {
    std::string_view tail;
    const std::optional<int32_t> n = leading_integer(words[i], &tail);
    if (!n || !tail.empty()) {
      break;
    }
    numbers.push_back(*n);
  }
  if (numbers.size() != words.size() - first || numbers.size() < 2 || numbers[1] < 1 ||
      numbers.size() - 2 > kMaxAttributeIds) {
    osa_display(ctx, kMessageTypeUser, kUsage);
    return false;
  }
  const int32_t type = numbers[0];
  const int32_t max = numbers[1];
  std::vector<int32_t> ids = {kAttributeObjectNumber, kAttributeName};
  for (std::size_t i = 2; i < numbers.size(); ++i) {
    if (numbers[i] != kAttributeObjectNumber && numbers[i] != kAttributeName) {
      ids.push_back(numbers[i]);
    }
  }
  if (state.model == nullptr) {
    osa_display(ctx, kMessageTypeUser, "walk: no ORTI file is loaded\n");
    return false;
  }
  if (!object_type_exists(state, type)) {
    osa_display(ctx, kMessageTypeUser, format("walk: no object type %d\n", static_cast<int>(type)));
    return false;
  }
  WalkStateScope keep(state, type);
  std::string out;
  int32_t status = object_list_init(state, ctx, type, nullptr);
  int32_t walked = 0;
  bool cut = false;
  while (status == 0) {
    out += "object\n";
    for (int32_t id : ids) {
      read_value(ctx, state, type, id, notes, out);
    }
    flush(ctx, out, false);
    if (type == kTypeOs) {
      break;
    }
    if (++walked >= max) {
      cut = true;
      break;
    }
    status = object_list_next(state, ctx, type, nullptr);
  }
  out += cut ? "end\tcut\n" : "end\tdone\n";
  flush(ctx, out, true);
  return true;
}
