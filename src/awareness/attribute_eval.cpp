// Attribute evaluation through the debugger, the value cache and its invalidation.
#include "awareness/attribute_eval.h"

#include "awareness/cores.h"
#include "awareness/osa_trace.h"
#include "orti/model/load_trace.h"
#include "osa/service_requests.h"
#include "runtime/format.h"

#include <cstdlib>
#include <cstring>

namespace {

const char* formula_of(const AttributeDecl* attr) {
  return attr != nullptr && attr->formula != nullptr ? attr->formula : "";
}

// The formula one read evaluates, after the list substitution. too_long: the text passed the
// limit, so it must not be sent.
struct Formula {
  std::string text;
  bool too_long = false;
};

bool fits(const std::string& text) {
  return text.size() <= kTextLimit;
}

bool is_list_read(const OrtiObject* list_context) {
  return list_context != nullptr && list_context->is_list;
}

// formula: the attribute's own, or its element's for an array.
Formula substituted_formula(const char* formula, const OrtiObject* list_context, int64_t position) {
  Formula f;
  if (!is_list_read(list_context)) {
    f.text = formula;
    f.too_long = !fits(f.text);
    return f;
  }
  std::string element;
  if (!list_element_expression(*list_context, position, &element)) {
    f.text = std::move(element);
    f.too_long = true;
    return f;
  }
  f.text = replace_all(formula, "$ITEM", element);
  f.too_long = !fits(f.text);
  return f;
}

// The formula of one read, built when it is first needed: a cached value needs none, and a list
// element's expression costs a walk over the nodes before it.
class LazyFormula {
public:
  LazyFormula(const char* formula, const OrtiObject* list, int64_t position)
      : own_(formula), list_(list), position_(position) {}
  explicit LazyFormula(std::string text) : built_(true) {
    formula_.too_long = !fits(text);
    formula_.text = std::move(text);
  }
  const Formula& get() {
    if (!built_) {
      formula_ = substituted_formula(own_, list_, position_);
      built_ = true;
    }
    return formula_;
  }

private:
  const char* own_ = "";
  const OrtiObject* list_ = nullptr;
  int64_t position_ = 0;
  bool built_ = false;
  Formula formula_;
};

std::string error_text(const std::string& formula) {
  std::string text = "Error evaluating: " + formula;
  if (text.size() > kTextLimit) {
    text.resize(kTextLimit);
  }
  return text;
}

std::string hex_text(uint64_t number) {
  return format("0x%llx", static_cast<unsigned long long>(number));
}

void clear_low_32(TypedValue* value) {
  value->payload &= 0xFFFFFFFF00000000ull;
}

// Evaluates text as a 32-bit unsigned number. A text too long to send fails like a refused
// evaluation.
bool eval_u32(OSA_ServiceCntx* ctx, const std::string& text, uint32_t* out) {
  if (!fits(text)) {
    return false;
  }
  TypedValue v = typed_value_of(kValueUInt32);
  if (OSA_Service_ExpressionEval(ctx, text.c_str(), &v) != 0) {
    return false;
  }
  *out = static_cast<uint32_t>(v.payload);
  return true;
}

// One read of a cached attribute: the list position and the element it reads (together its
// cache entry) and the generation it began in, all taken before the first request, during which
// a nested call may move the position, the call's core and the generation.
struct AttributeRead {
  int64_t position = 0;
  int32_t element = 0;
  bool list_read = false;
  CacheRead cache;
};

// The cache entry of a read. A plain attribute keeps one entry per list position; an array one
// per element, times the positions when it is read for list elements.
int64_t cache_slot(const AttributeDecl& attr, const AttributeRead& read) {
  if (attribute_element_formulas(attr) == nullptr) {
    return read.position;
  }
  if (!read.list_read) {
    return read.element;
  }
  return read.position * attribute_element_count(attr) + read.element;
}

bool cache_lookup(const AwarenessState& state, const AttributeDecl& attr, const AttributeRead& read,
                  TypedValue* value, bool* evaluated) {
  if (read.position < 0 || read.position > kMaxListElements) {
    return false;
  }
  const int64_t k = cache_slot(attr, read);
  if (k < 0 || static_cast<std::size_t>(k) >= attr.value_cache.size()) {
    return false;
  }
  const AttributeCacheEntry& entry = attr.value_cache[static_cast<std::size_t>(k)];
  if (entry.generation == 0 || entry.generation != state.generation ||
      entry.value.code != value->code) {
    return false;
  }
  *value = entry.value;
  if (evaluated != nullptr) {
    *evaluated = !entry.failed;
  }
  return true;
}

void cache_store(const AwarenessState& state, const AttributeRead& read, AttributeDecl& attr,
                 const TypedValue& value, bool failed) {
  // The position is bounded where it enters; a stray one must not size the cache. A node test
  // looks one node ahead of the last position.
  if (read.position < 0 || read.position > kMaxListElements) {
    return;
  }
  const int64_t k = cache_slot(attr, read);
  keep_if_current(state, read.cache, [&] {
    if (static_cast<std::size_t>(k) >= attr.value_cache.size()) {
      attr.value_cache.resize(static_cast<std::size_t>(k) + 1);
    }
    AttributeCacheEntry& entry = attr.value_cache[static_cast<std::size_t>(k)];
    entry.value = value;
    entry.generation = read.cache.generation;
    entry.failed = failed;
  });
}

void set_evaluated(const ReadFlags& flags, bool evaluated) {
  if (flags.evaluated != nullptr) {
    *flags.evaluated = evaluated;
  }
}

// A CTYPE evaluation into the requested type. false: the debugger refused it.
bool evaluate_ctype(OSA_ServiceCntx* ctx, const Formula& f, TypedValue* value) {
  if (value->code == kValueText) {
    uint32_t number = 0;
    if (f.too_long || !eval_u32(ctx, f.text, &number)) {
      typed_value_store_text(*value, error_text(f.text));
      return false;
    }
    typed_value_store_text(*value, hex_text(number));
    return true;
  }
  if (f.too_long || OSA_Service_ExpressionEval(ctx, f.text.c_str(), value) != 0) {
    clear_low_32(value);
    return false;
  }
  return true;
}

// The number written in an ENUM label: hexadecimal after "0x", else decimal; 0 without digits.
uint32_t label_number(const char* label) {
  if (label[0] == '0' && label[1] == 'x' && label[2] != '\0') {
    return static_cast<uint32_t>(std::strtoul(label + 2, nullptr, 16));
  }
  return static_cast<uint32_t>(std::strtoll(label, nullptr, 10));
}

int32_t unexpected_type(AwarenessState& state, OSA_ServiceCntx* ctx, uint32_t code) {
  osa_trace(state, ctx, 0, "Unexpected return type: %d\n", static_cast<int>(code));
  return 1;
}

// Steps 8.2 to 8.6 of an ENUM read: the label of v into value. 1 without caching for a type
// that an ENUM cannot give.
int32_t map_enum_value(AwarenessState& state, OSA_ServiceCntx* ctx, const AttributeDecl& attr,
                       const std::string& formula, uint32_t v, TypedValue* value) {
  osa_trace(state, ctx, 50, "Mapping ENUM value from \"%s\" = %d\n", formula.c_str(),
            static_cast<int>(v));
  const EnumElement* match = nullptr;
  if (attr.elements() != nullptr) {
    for (std::size_t i = 0; i < attr.elements()->size() && match == nullptr; ++i) {
      const EnumElement& element = (*attr.elements())[i];
      if (!element.match_formula) {
        if (static_cast<uint32_t>(element.value) == v) {
          match = &element;
        }
        continue;
      }
      const std::string match_formula(*element.match_formula); // outlives the request
      uint32_t number = 0;
      if (!eval_u32(ctx, match_formula, &number)) {
        osa_trace(state, ctx, 4, "Could not evaluate ENUM match formula: %s\n",
                  match_formula.c_str());
        continue;
      }
      if (number == v) {
        match = &(*attr.elements())[i];
      }
    }
  }
  if (match == nullptr) {
    switch (value->code) {
    case kValueText:
      typed_value_store_text(*value, format("<UNKNOWN %d>", static_cast<int>(v)));
      return 0;
    case kValueUInt32:
      typed_value_store_u64(*value, v);
      return 0;
    case kValueFloat:
      typed_value_store_float(*value, static_cast<float>(v));
      return 0;
    default:
      return unexpected_type(state, ctx, value->code);
    }
  }
  switch (value->code) {
  case kValueText:
    typed_value_store_text(*value, std::string(match->label));
    return 0;
  case kValueUInt32:
    typed_value_store_u64(*value, label_number(match->label.c_str()));
    return 0;
  case kValueFloat:
    typed_value_store_float(*value, std::strtof(match->label.c_str(), nullptr));
    return 0;
  default:
    return unexpected_type(state, ctx, value->code);
  }
}

int32_t evaluate(AwarenessState& state, OSA_ServiceCntx* ctx, AttributeDecl* attr,
                 const char* own_formula, LazyFormula& formula, const AttributeRead& read,
                 TypedValue* value, const ReadFlags& flags) {
  // 4: formulas instead of values.
  if (state.show_symbols && !flags.values_only && value->code == kValueText) {
    typed_value_store_text(*value, formula.get().text);
    set_evaluated(flags, true);
    return 0;
  }
  // 5: STRING.
  if (attr->kind() == kKindString) {
    if (value->code != kValueText) {
      return 1;
    }
    if (!attr->is_name_attribute()) {
      typed_value_store_text(*value, own_formula);
      set_evaluated(flags, true);
      return 0;
    }
    const Formula& f = formula.get();
    std::string text;
    if (!f.too_long && OSA_Service_StringEval(ctx, ("print /n " + f.text).c_str(), &text) == 0) {
      typed_value_store_text(*value, std::move(text));
      set_evaluated(flags, true);
      return 0;
    }
    osa_trace(state, ctx, 4, "Could not evaluate CTYPE expression: %s\n", f.text.c_str());
    typed_value_store_text(*value, error_text(f.text));
    set_evaluated(flags, false);
    return 0;
  }
  if (attr->kind() != kKindCtype && attr->kind() != kKindEnum) {
    osa_trace(state, ctx, 0, "Unrecognize Attribute type: %d\n", static_cast<int>(attr->kind()));
    return 1;
  }
  // 6: the cache.
  bool cached_evaluated = true;
  if (cache_lookup(state, *attr, read, value, &cached_evaluated)) {
    set_evaluated(flags, cached_evaluated);
    return 0;
  }
  const Formula& f = formula.get();
  // 7: CTYPE.
  if (attr->kind() == kKindCtype) {
    const bool ok = evaluate_ctype(ctx, f, value);
    if (!ok) {
      osa_trace(state, ctx, 4, "Could not evaluate CTYPE expression: %s\n", f.text.c_str());
    }
    cache_store(state, read, *attr, *value, !ok);
    set_evaluated(flags, ok);
    return 0;
  }
  // 8: ENUM.
  uint32_t v = 0;
  if (f.too_long || !eval_u32(ctx, f.text, &v)) {
    osa_trace(state, ctx, 4, "Could not evaluate ENUM expression: %s\n", f.text.c_str());
    if (value->code == kValueText) {
      typed_value_store_text(*value, error_text(f.text));
    } else {
      clear_low_32(value);
    }
    cache_store(state, read, *attr, *value, true);
    set_evaluated(flags, false);
    return 0;
  }
  if (map_enum_value(state, ctx, *attr, f.text, v, value) != 0) {
    return 1;
  }
  cache_store(state, read, *attr, *value, false);
  set_evaluated(flags, true);
  return 0;
}

void trace_entry(AwarenessState& state, OSA_ServiceCntx* ctx, const char* operation,
                 const AttributeDecl* attr, const char* formula) {
  if (osa_trace_wanted(state, 50)) {
    osa_trace(state, ctx, 50, "%s(%s -> %s)\n", operation,
              text_or_null(attr != nullptr ? attr->name() : nullptr), text_or_null(formula));
  }
}

// The formula attr gives the call's core, once the call is traced; null when the call cannot
// go on: no attribute or value, or no formula for that core (reported where the attribute
// lacks the core's element).
const char* formula_for_call(AwarenessState& state, OSA_ServiceCntx* ctx, const char* operation,
                             const AttributeDecl* attr, const TypedValue* value, uint64_t core) {
  const char* own = attr != nullptr ? formula_of_core(*attr, core) : nullptr;
  trace_entry(state, ctx, operation, attr, own != nullptr || attr == nullptr ? own : attr->formula);
  if (attr == nullptr || value == nullptr) {
    return nullptr;
  }
  if (own == nullptr && element_of_core(*attr, core) < 0) {
    report_no_element(state, ctx, *attr, core);
  }
  return own;
}

} // namespace

std::string replace_all(std::string_view text, std::string_view pattern,
                        std::string_view replacement) {
  if (pattern.empty()) {
    return std::string(text);
  }
  std::string out;
  std::size_t from = 0;
  for (;;) {
    const std::size_t at = text.find(pattern, from);
    if (at == std::string_view::npos) {
      out.append(text.substr(from));
      return out;
    }
    out.append(text.substr(from, at - from));
    out.append(replacement);
    from = at + pattern.size();
  }
}

bool list_node_expression(const OrtiObject& list, int64_t k, std::string* out) {
  *out = formula_of(list.parent_node());
  if (!fits(*out)) {
    return false;
  }
  const char* next = formula_of(list.next_node());
  for (int64_t i = 0; i < k; ++i) {
    std::string node = replace_all(next, "$NODE", *out);
    *out = std::move(node);
    if (!fits(*out)) {
      return false;
    }
  }
  return true;
}

bool list_element_expression(const OrtiObject& list, int64_t k, std::string* out) {
  std::string node;
  if (!list_position_ok(k) || !list_node_expression(list, k, &node)) {
    *out = std::move(node);
    return false;
  }
  *out = replace_all(formula_of(list.item()), "$NODE", node);
  return fits(*out);
}

int32_t get_attribute_value(AwarenessState& state, OSA_ServiceCntx* ctx, AttributeDecl* attr,
                            TypedValue* value, const OrtiObject* list_context,
                            const ReadFlags& flags) {
  // Taken before the first request (the trace may be one), which may let in a call that moves
  // the list position or changes the call's core.
  AttributeRead read;
  read.position = state.list_position;
  read.list_read = is_list_read(list_context);
  read.cache = begin_cache_read(state);
  const uint64_t core = core_of_call(ctx, flags.core);
  const char* own = formula_for_call(state, ctx, "get_attribute_value", attr, value, core);
  if (own == nullptr) {
    return 1;
  }
  read.element = element_of_core(*attr, core);
  // The substituted text lives in this call alone; the attribute's formula is never touched,
  // so a nested call can neither see nor free it.
  LazyFormula formula(own, list_context, read.position);
  return evaluate(state, ctx, attr, own, formula, read, value, flags);
}

int32_t get_attribute_value_of_formula(AwarenessState& state, OSA_ServiceCntx* ctx,
                                       AttributeDecl* attr, const std::string& formula,
                                       TypedValue* value, const ReadFlags& flags) {
  // A node test belongs to one list position, whatever the core: it is kept as a list read of
  // element 0.
  AttributeRead read;
  read.position = state.list_position;
  read.list_read = true;
  read.cache = begin_cache_read(state);
  trace_entry(state, ctx, "get_attribute_value", attr, formula.c_str());
  if (attr == nullptr || value == nullptr) {
    return 1;
  }
  LazyFormula text(formula);
  return evaluate(state, ctx, attr, formula.c_str(), text, read, value, flags);
}

int32_t set_attribute_value(AwarenessState& state, OSA_ServiceCntx* ctx, AttributeDecl* attr,
                            TypedValue* value, const OrtiObject* list_context) {
  const int64_t position = state.list_position;
  const uint64_t core = core_of_call(ctx);
  const char* own = formula_for_call(state, ctx, "set_attribute_value", attr, value, core);
  if (own == nullptr) {
    return 1;
  }
  const Formula f = substituted_formula(own, list_context, position);
  if (attr->kind() == kKindString || attr->kind() == kKindEnum) {
    return 1;
  }
  if (attr->kind() != kKindCtype) {
    osa_trace(state, ctx, 0, "Unrecognize Attribute type: %d\n", static_cast<int>(attr->kind()));
    return 1;
  }
  const bool is_text = value->code == kValueText;
  std::string assignment = "(" + f.text + ")=";
  if (is_text) {
    assignment += value->text;
  } else if ((value->payload >> 32) == 0 || typed_value_width(value->code) <= 4) {
    assignment += format("%d", static_cast<int>(static_cast<uint32_t>(value->payload)));
  } else {
    // A value wider than 32 bits is written whole.
    assignment += hex_text(value->payload);
  }
  TypedValue result = typed_value_of(is_text ? kValueUInt32 : value->code);
  if (!f.too_long && fits(assignment) &&
      OSA_Service_ExpressionEval(ctx, assignment.c_str(), &result) == 0) {
    invalidate_caches(state);
    return 0;
  }
  osa_trace(state, ctx, 4, "Attempt to write CTYPE expression failed: %s\n", assignment.c_str());
  return 1;
}

void invalidate_caches(AwarenessState& state) {
  for (TaskContextRecord& record : state.task_records) {
    clear_task_record(record);
  }
  state.current_tasks.clear();
  state.reference_cache = ReferenceListCache{};
  ++state.generation;
}
