// The object commands: expr, getprop, getpropval and showlink.
//
// Every one of them evaluates attributes through the debugger, and while a service request
// waits the debugger may call in again: a target notification, a command (even one that adds
// register locations or names), a cleanup. So nothing here holds a reference into the state's
// vectors across a request: objects are found again by type and index (the model's object
// arrays never change once built), attributes are held by their records (which never move),
// and the flags and levels a command changes for its reads are put back on every path by
// scope guards.
#include "plugin/object_commands.h"

#include "awareness/attribute_eval.h"
#include "awareness/cores.h"
#include "awareness/name_lookup.h"
#include "awareness/object_attributes.h"
#include "awareness/object_lists.h"
#include "awareness/object_types.h"
#include "awareness/osa_trace.h"
#include "orti/model/declarations.h"
#include "osa/service_requests.h"
#include "plugin/command_args.h"
#include "runtime/format.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The longest expr argument taken; anything longer is refused before it is looked at.
inline constexpr std::size_t kMaxExprLength = 2049;

const char* text_or(const char* text, const char* fallback) {
  return text != nullptr ? text : fallback;
}

// The show-symbols flag set for the reads of one command and put back afterwards.
class ShowSymbolsScope {
public:
  ShowSymbolsScope(PluginState& state, bool show) : state_(state), saved_(state.show_symbols) {
    state_.show_symbols = show;
  }
  ~ShowSymbolsScope() { state_.show_symbols = saved_; }
  ShowSymbolsScope(const ShowSymbolsScope&) = delete;
  ShowSymbolsScope& operator=(const ShowSymbolsScope&) = delete;

private:
  PluginState& state_;
  bool saved_;
};

// Debug and log levels lowered so that the reads of a whole-object display print nothing, and
// put back afterwards.
class SilentScope {
public:
  explicit SilentScope(PluginState& state)
      : state_(state), debug_level_(state.debug_level), log_level_(state.log_level) {
    state_.debug_level = -2;
    state_.log_level = -1;
  }
  ~SilentScope() {
    state_.debug_level = debug_level_;
    state_.log_level = log_level_;
  }
  SilentScope(const SilentScope&) = delete;
  SilentScope& operator=(const SilentScope&) = delete;

private:
  PluginState& state_;
  int32_t debug_level_;
  int32_t log_level_;
};

// Makes the match the current object of its type; a list object is read at its first
// element.
void select_match(PluginState& state, OSA_ServiceCntx* ctx, const ObjectMatch& match) {
  if (match.type != kTypeOs) {
    select_object(state, ctx, match.type, match.index);
  }
  state.list_position = 0;
}

// The core a match is read for: an OS object found by its name when there is one per core is
// read as the core it serves; anything else for the call's core.
uint64_t core_of_match(const PluginState& state, OSA_ServiceCntx* ctx, const ObjectMatch& match) {
  if (match.type == kTypeOs && state.model != nullptr && os_object_count(*state.model) > 1) {
    return static_cast<uint64_t>(match.index);
  }
  return core_of_call(ctx);
}

// One attribute of the current object as text; nothing when the accessor fails.
std::optional<std::string> read_text(PluginState& state, OSA_ServiceCntx* ctx,
                                     const ObjectMatch& match, int32_t attr_id) {
  const uint64_t core = core_of_match(state, ctx, match);
  // Selected again for every read: a call nested in the previous read may have moved the
  // cursor or the list position.
  select_match(state, ctx, match);
  TypedValue value = typed_value_of(kValueText);
  ReadFlags flags;
  flags.core = core;
  if (get_object_attribute(state, ctx, match.type, attr_id, &value, nullptr, flags) != 0 ||
      value.code != kValueText) {
    return std::nullopt;
  }
  return std::move(value.text);
}

void show_line(OSA_ServiceCntx* ctx, const char* label, const std::string& value) {
  osa_display(ctx, kMessageTypeOutput, format("\t%s = %s\n", label, value.c_str()));
}

// The whole-object display of expr: a header, one line per attribute that reads, a closing
// brace.
void show_object(PluginState& state, OSA_ServiceCntx* ctx, const ObjectMatch& match) {
  const OrtiObject* object = object_at(state, match.type, match.index);
  if (object == nullptr) {
    return;
  }
  osa_display(ctx, kMessageTypeOutput,
              format("%s %s : %s\n{\n", text_or(object->type_name, "none"),
                     text_or(object->name, ""), text_or(object->description, "none")));
  {
    SilentScope silent(state);
    WalkStateScope selection(state, match.type);
    if (auto id = read_text(state, ctx, match, kAttributeObjectNumber)) {
      show_line(ctx, "ID", *id);
    }
    if (auto name = read_text(state, ctx, match, kAttributeName)) {
      show_line(ctx, "NAME", *name);
    }
    for (int32_t id = kAttributeFirstStandard; id <= kAttributeLastStandard; ++id) {
      const char* label = standard_attribute_label(match.type, id);
      if (label == nullptr) {
        break;
      }
      if (auto value = read_text(state, ctx, match, id)) {
        show_line(ctx, label, *value);
      }
    }
    // The count is asked anew on every step: a nested mapregloc may add a location to this
    // very object while a read waits.
    for (int32_t n = 0; n < object->custom_attribute_count(); ++n) {
      const int32_t id = kAttributeFirstCustom + n;
      if (auto value = read_text(state, ctx, match, id)) {
        const AttributeDecl* attr =
            object->custom_attributes[static_cast<std::size_t>(n)].attribute.get();
        show_line(ctx, attr != nullptr ? text_or(attr->name(), "") : "", *value);
      }
    }
  }
  osa_display(ctx, kMessageTypeOutput, "}\n");
}

// The formula after the first "=" of text, white space around it and one pair of enclosing
// double quotes removed; nothing when there is no "=" or nothing is left.
std::optional<std::string> replacement_formula(std::string_view text) {
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) {
    return std::nullopt;
  }
  std::string_view formula = skip_spaces(text.substr(equals + 1));
  while (!formula.empty() && is_command_space(formula.back())) {
    formula.remove_suffix(1);
  }
  if (formula.size() >= 2 && formula.front() == '"' && formula.back() == '"') {
    formula = formula.substr(1, formula.size() - 2);
  }
  if (formula.empty()) {
    return std::nullopt;
  }
  return std::string(formula);
}

// expr OBJECT.ATTRIBUTE [= FORMULA] for one found object. False when the object has no such
// attribute.
bool show_attribute(PluginState& state, OSA_ServiceCntx* ctx, const ObjectMatch& match,
                    const std::string& attribute_name, const std::optional<std::string>& formula,
                    const char** kept_formula) {
  const OrtiObject* object = object_at(state, match.type, match.index);
  if (object == nullptr) {
    return false;
  }
  int32_t attr_id = 0;
  AttributeDecl* attr =
      find_attribute_by_name(*object, match.type, attribute_name.c_str(), &attr_id);
  if (attr == nullptr) {
    return false;
  }
  const uint64_t core = core_of_match(state, ctx, match);
  if (formula) {
    // The model's own text stays as it is (it belongs to the parse tree); the record points at
    // a copy that the state owns, made once for all objects of the name. An array gets it for
    // the element of the core.
    if (*kept_formula == nullptr) {
      *kept_formula = keep_text(state, *formula);
    }
    if (!replace_formula_of_core(*attr, core, *kept_formula)) {
      report_no_element(state, ctx, *attr, core);
      return true;
    }
    invalidate_caches(state);
  }
  std::optional<std::string> value;
  {
    WalkStateScope selection(state, match.type);
    value = read_text(state, ctx, match, attr_id);
  }
  if (!value) {
    return true;
  }
  osa_display(ctx, kMessageTypeOutput,
              format("%s %s [%s]<%s> = \"%s\" := %s", attribute_kind_name(attr->kind()),
                     text_or(attr->name(), ""), text_or(attr->description(), "none"),
                     text_or(attr->c_type(), "none"), text_or(formula_of_core(*attr, core), ""),
                     value->c_str()));
  return true;
}

// Three or four base-10 integers, each after optional white space.
bool integer_arguments(std::string_view args, int32_t* out, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const std::optional<int32_t> n = leading_integer(args, &args);
    if (!n) {
      return false;
    }
    out[i] = *n;
  }
  return true;
}

// Makes the index-th (1-based) object of kind current, as getprop reads it: for a list kind
// the index is the list position + 1 and the object is the kind's first. The cursor of the
// kind is left there (the debugger's own calls select before they read).
bool select_indexed(PluginState& state, OSA_ServiceCntx* ctx, int32_t kind, int32_t index) {
  if (!object_type_exists(state, kind)) {
    return false;
  }
  int64_t object_index = static_cast<int64_t>(index) - 1;
  if (object_is_list(state, ctx, kind, 0)) {
    if (!list_position_ok(object_index)) {
      return false;
    }
    state.list_position = object_index;
    object_index = 0;
  }
  return select_object(state, ctx, kind, object_index) == 0;
}

bool read_indexed_attribute(PluginState& state, OSA_ServiceCntx* ctx, int32_t kind, int32_t index,
                            int32_t attr_id, bool show_symbols, TypedValue* value,
                            AttributeDecl** attr_out) {
  if (!select_indexed(state, ctx, kind, index)) {
    return false;
  }
  ShowSymbolsScope symbols(state, show_symbols);
  return get_object_attribute(state, ctx, kind, attr_id, value, attr_out) == 0 &&
         value->code == kValueText;
}

bool property_command(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args,
                      bool show_symbols) {
  int32_t n[3] = {};
  if (!integer_arguments(args, n, 3)) {
    return false;
  }
  TypedValue value = typed_value_of(kValueText);
  if (!read_indexed_attribute(state, ctx, n[0], n[1], n[2], show_symbols, &value, nullptr)) {
    return false;
  }
  osa_display(ctx, kMessageTypeOutput, value.text);
  return true;
}

const char* not_available_text(int32_t type) {
  switch (type) {
  case kTypeTask:
    return "TASK is not available\n";
  case kTypeContext:
    return "CONTEXT is not available\n";
  case kTypeStack:
    return "STACK is not available\n";
  case kTypeAlarm:
    return "ALARM is not available\n";
  case kTypeResource:
    return "RESOURCE is not available\n";
  case kTypeMessageContainer:
    return "MESSAGECONTAINER is not available\n";
  default:
    return "Item is not available\n";
  }
}

bool open_explorer_row(OSA_ServiceCntx* ctx, int32_t link_kind, int64_t row) {
  // Rows are bounded by the object count or the list walk bound, far below INT_MAX.
  const std::string command = format("osaexplorer -tabidx %d -mslrow %d",
                                     static_cast<int>(link_kind), static_cast<int>(row));
  return OSA_Service_CommandExec(ctx, command.c_str(), 0, nullptr) == 0;
}

// The row of a plain object: the objects of its type before it that the OSA Explorer shows.
// False when the object itself is not shown (the notice has been displayed).
bool plain_object_row(PluginState& state, OSA_ServiceCntx* ctx, int32_t type, int64_t index,
                      int64_t* row) {
  if (!is_object_valid(state, ctx, object_at(state, type, index))) {
    osa_display(ctx, kMessageTypeNotice, not_available_text(type));
    return false;
  }
  *row = 0;
  for (int64_t i = 0; i < index; ++i) {
    if (is_object_valid(state, ctx, object_at(state, type, i))) {
      ++*row;
    }
  }
  return true;
}

enum class ListRow { Found, NotFound, Failed };

// The row of the element of a list object that belongs to the task whose TASK_ID is task_id:
// the list is walked as the OSA Explorer walks it, counting the elements it shows, until an
// element's _OWNER is the task. The walk is bounded like every walk over target data.
ListRow list_element_row(PluginState& state, OSA_ServiceCntx* ctx, int32_t type, uint32_t task_id,
                         int64_t* row) {
  OrtiObject* list = object_at(state, type, 0);
  if (list == nullptr || list->owner() == nullptr || is_object_list_empty(state, ctx, type, 0)) {
    return ListRow::NotFound;
  }
  *row = 0;
  for (int64_t position = 0;; ++position) {
    if (!list_position_ok(position)) {
      osa_trace(state, ctx, 0,
                "showlink: the list of object type %d has more than %d elements; the walk stops "
                "there (the list in target memory may be corrupt or cyclic)\n",
                static_cast<int>(type), static_cast<int>(kMaxListElements));
      return ListRow::Failed;
    }
    if (object_ready(state, ctx, type, position)) {
      // The position is set again before each read: a nested call may have moved it.
      state.list_position = position;
      TypedValue owner = typed_value_of(kValueUInt32);
      bool evaluated = false;
      if (get_attribute_value(state, ctx, list->owner(), &owner, list, {true, &evaluated}) != 0 ||
          !evaluated) {
        return ListRow::NotFound;
      }
      if (static_cast<uint32_t>(owner.payload) == task_id) {
        return ListRow::Found;
      }
      ++*row;
    }
    state.list_position = position;
    if (!has_next(state, ctx, type, 0)) {
      return ListRow::NotFound;
    }
  }
}

} // namespace

bool command_expr(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args) {
  const std::string_view text = skip_spaces(args);
  if (text.empty()) {
    osa_display(ctx, kMessageTypeOutput, "error: missing expression\n");
    return false;
  }
  if (text.size() > kMaxExprLength) {
    osa_display(ctx, kMessageTypeOutput, "error: expression is too long\n");
    return false;
  }
  std::string_view rest;
  const std::string_view word = first_word(text, &rest);
  const std::size_t dot = word.find('.');
  const std::string object_name(word.substr(0, dot));
  std::vector<ObjectMatch> matches;
  if (!getobj(state, ctx, object_name.c_str(), &matches)) {
    osa_display(ctx, kMessageTypeOutput, format("error: %s not found\n", object_name.c_str()));
    return false;
  }
  if (dot == std::string_view::npos) {
    for (const ObjectMatch& match : matches) {
      show_object(state, ctx, match);
    }
    return true;
  }
  const std::string attribute_name(word.substr(dot + 1));
  const std::optional<std::string> formula = replacement_formula(rest);
  const char* kept_formula = nullptr;
  bool found = false;
  for (const ObjectMatch& match : matches) {
    if (show_attribute(state, ctx, match, attribute_name, formula, &kept_formula)) {
      found = true;
    }
  }
  if (!found) {
    osa_display(ctx, kMessageTypeOutput,
                format("error: %s.%s not found\n", object_name.c_str(), attribute_name.c_str()));
    return false;
  }
  return true;
}

bool command_getprop(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args) {
  return property_command(ctx, state, args, true);
}

bool command_getpropval(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args) {
  return property_command(ctx, state, args, false);
}

bool command_showlink(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args) {
  int32_t n[4] = {};
  if (!integer_arguments(args, n, 4)) {
    return false;
  }
  const int32_t kind = n[0];
  const int32_t link_kind = n[3];
  TypedValue label = typed_value_of(kValueText);
  AttributeDecl* attr = nullptr;
  if (!read_indexed_attribute(state, ctx, kind, n[1], n[2], false, &label, &attr) ||
      attr == nullptr || attr->kind() != kKindEnum) {
    return false;
  }
  const EnumElement* element = find_enum_element(*attr, label.text.c_str());
  if (element == nullptr || element->linked_object == nullptr) {
    return false;
  }
  const OrtiObject* linked = element->linked_object;
  int32_t linked_type = -1;
  int64_t linked_index = 0;
  if (!locate_object(state, linked, &linked_type, &linked_index) || linked_type != link_kind) {
    return false;
  }
  int64_t row = 0;
  if (linked->is_list) {
    // Only a task owns list elements (through _OWNER and its TASK_ID).
    if (kind != kTypeTask) {
      return false;
    }
    TypedValue task_id = typed_value_of(kValueUInt32);
    bool evaluated = false;
    // Selected again: a call nested in the link's read may have moved the task cursor.
    if (!select_indexed(state, ctx, kind, n[1]) ||
        get_task_attribute(state, ctx, kTaskIdAttribute, &task_id, nullptr, {true, &evaluated}) !=
            0 ||
        !evaluated) {
      osa_display(ctx, kMessageTypeNotice, "Object is not available\n");
      return true;
    }
    switch (list_element_row(state, ctx, link_kind, static_cast<uint32_t>(task_id.payload), &row)) {
    case ListRow::Failed:
      return false;
    case ListRow::NotFound:
      osa_display(ctx, kMessageTypeNotice, "Object is not available\n");
      return true;
    case ListRow::Found:
      break;
    }
  } else if (!plain_object_row(state, ctx, link_kind, linked_index, &row)) {
    return true;
  }
  return open_explorer_row(ctx, link_kind, row);
}
