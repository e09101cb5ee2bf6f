// Stack coverage from the fill pattern in target memory.
#include "awareness/stack_usage.h"

#include "awareness/attribute_eval.h"
#include "awareness/object_attributes.h"
#include "awareness/object_lists.h"
#include "awareness/object_types.h"
#include "awareness/osa_trace.h"
#include "orti/model/load_trace.h"
#include "osa/service_requests.h"
#include "runtime/format.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace {

// The STACK's standard attribute ids of the per-kind accessor.
constexpr int32_t kSizeId = 3;
constexpr int32_t kBaseAddressId = 4;
constexpr int32_t kDirectionId = 5;
constexpr int32_t kFillPatternId = 6;

constexpr uint32_t kMaxPatternWidth = 4;

unsigned long long ull(uint64_t n) {
  return static_cast<unsigned long long>(n);
}

// Where one stack is found among the objects: its index and, for an element of a list object,
// its list position.
struct StackPlace {
  int64_t index = 0;
  int64_t position = 0;
};

// The accessors read the current object of the type, for a list at the list position. Both
// are set again before every read: a call nested in the previous read may have moved them.
void select_stack(AwarenessState& state, OSA_ServiceCntx* ctx, const StackPlace& place) {
  select_object(state, ctx, kTypeStack, place.index);
  state.list_position = place.position;
}

enum class Got { Value, Absent, Refused };

// One attribute of the stack, read as a value whatever togglesymbols says. formula receives
// the attribute's formula for the notes.
Got read_attribute(AwarenessState& state, OSA_ServiceCntx* ctx, const StackPlace& place,
                   int32_t attr_id, TypedValue* value, std::string* formula) {
  select_stack(state, ctx, place);
  AttributeDecl* attr = nullptr;
  bool evaluated = false;
  const int32_t status = get_object_attribute(state, ctx, kTypeStack, attr_id, value, &attr,
                                              ReadFlags{true, &evaluated});
  if (attr == nullptr) {
    return Got::Absent;
  }
  *formula = attr->formula != nullptr ? attr->formula : "";
  return status == 0 && evaluated ? Got::Value : Got::Refused;
}

std::string trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
    text.remove_prefix(1);
  }
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
    text.remove_suffix(1);
  }
  return std::string(text);
}

bool equal_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

uint32_t whole_word_width(uint64_t bytes) {
  return bytes <= 1 ? 1 : bytes <= 2 ? 2 : bytes <= 4 ? 4 : static_cast<uint32_t>(bytes);
}

// The bytes a value needs: 1, 2 or 4 (more for a wider one). A value whose upper bits are all
// ones is a narrower one that the debugger sign-extended (a pattern held in an int), and needs
// only the bytes it was extended from.
uint32_t value_width(uint64_t value) {
  for (const uint32_t width : {1u, 2u, 4u}) {
    const uint64_t upper = value >> (8 * width);
    const bool sign_extended =
        upper == (~uint64_t{0} >> (8 * width)) && ((value >> (8 * width - 1)) & 1) != 0;
    if (upper == 0 || sign_extended) {
      return width;
    }
  }
  uint32_t bytes = 5;
  while (bytes < 8 && (value >> (8 * bytes)) != 0) {
    ++bytes;
  }
  return bytes;
}

// The width of the fill pattern: from the digits of a hexadecimal number (the file's way of
// saying how wide the pattern is, leading zeros included), else from the value. 0 for an empty
// formula.
uint32_t pattern_width(const std::string& formula, uint64_t value) {
  const std::string text = trimmed(formula);
  if (text.empty()) {
    return 0;
  }
  const uint32_t from_value = value_width(value);
  if (text.size() < 2 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) {
    return from_value;
  }
  std::size_t digits = 0;
  while (2 + digits < text.size() && std::isxdigit(static_cast<unsigned char>(text[2 + digits]))) {
    ++digits;
  }
  for (std::size_t i = 2 + digits; i < text.size(); ++i) {
    if (std::string_view("uUlL").find(text[i]) == std::string_view::npos) {
      return from_value; // an expression that begins with a number
    }
  }
  if (digits == 0) {
    return 0;
  }
  const uint32_t from_digits = whole_word_width((digits + 1) / 2);
  return from_digits > from_value ? from_digits : from_value;
}

// The end of the address space: 2^(8 * cpuAddressSize) when the debugger gave an address size
// of 1 to 8 bytes, else 2^64 (returned as 0, meaning no bound below it).
uint64_t address_space_end(const OSA_ServiceCntx* ctx) {
  const uint32_t bytes = ctx != nullptr ? ctx->cpuAddressSize : 0;
  return bytes >= 1 && bytes < 8 ? uint64_t{1} << (8 * bytes) : 0;
}

// Why a stack with these values cannot be read, or nothing.
std::vector<std::string> nonsense(const OSA_ServiceCntx* ctx, const StackUsage& u,
                                  const std::string& pattern_formula) {
  std::vector<std::string> problems;
  if (u.size && *u.size == 0) {
    problems.push_back("SIZE is 0");
  } else if (u.size && *u.size > kMaxStackScanBytes) {
    problems.push_back(format("SIZE %llu is more than the %llu bytes read of one stack",
                              ull(*u.size), ull(kMaxStackScanBytes)));
  } else if (u.size && u.base) {
    const uint64_t end = address_space_end(ctx);
    const uint64_t last = end != 0 ? end - 1 : ~uint64_t{0};
    if (*u.base > last || *u.size - 1 > last - *u.base) {
      problems.push_back(
          format("BASEADDRESS 0x%llx + SIZE %llu runs past the end of the %s address space",
                 ull(*u.base), ull(*u.size),
                 end != 0 ? format("%d-bit", 8 * static_cast<int>(ctx->cpuAddressSize)).c_str()
                          : "64-bit"));
    }
  }
  if (u.pattern && u.pattern_width == 0) {
    problems.push_back("FILLPATTERN is empty");
  } else if (u.pattern && u.pattern_width > kMaxPatternWidth) {
    problems.push_back(format("FILLPATTERN %s is wider than 4 bytes", pattern_formula.c_str()));
  } else if (u.pattern && u.size && *u.size != 0 && *u.size < u.pattern_width) {
    problems.push_back(format("SIZE %llu is less than one fill pattern word (%u bytes)",
                              ull(*u.size), static_cast<unsigned>(u.pattern_width)));
  }
  return problems;
}

// The fill pattern's bytes as they lie in target memory.
std::array<uint8_t, kMaxPatternWidth> pattern_bytes(const OSA_ServiceCntx* ctx, uint64_t pattern,
                                                    uint32_t width) {
  std::array<uint8_t, kMaxPatternWidth> bytes{};
  const bool big_endian = ctx != nullptr && target_flag(*ctx, kTargetBigEndianTarget);
  for (uint32_t i = 0; i < width; ++i) {
    const uint32_t shift = 8 * (big_endian ? width - 1 - i : i);
    bytes[i] = static_cast<uint8_t>(pattern >> shift);
  }
  return bytes;
}

// Counts the words from the far end that still hold the pattern, reading piece by piece and
// stopping at the first that does not. False with the note when a read failed.
bool untouched_words(OSA_ServiceCntx* ctx, const StackUsage& u, uint64_t* untouched,
                     std::string* note) {
  const uint32_t w = u.pattern_width;
  const uint64_t words = *u.size / w;
  const auto expected = pattern_bytes(ctx, *u.pattern, w);
  const uint64_t words_per_piece = kStackReadPiece / w;
  std::vector<uint8_t> piece(static_cast<std::size_t>(words_per_piece * w));
  *untouched = 0;
  while (*untouched < words) {
    const uint64_t n = std::min(words_per_piece, words - *untouched);
    // Word j (counted from the far end) lies at base + j * w going up, or at
    // base + (words - 1 - j) * w going down from the top.
    const uint64_t first_word =
        *u.direction == StackDirection::Down ? *untouched : words - *untouched - n;
    const uint64_t address = *u.base + first_word * w;
    if (OSA_Service_MemoryRead(ctx, 0, address, n * w, 1, piece.data(), 0, kNoCore) != 0) {
      *note = format("reading %llu bytes at 0x%llx failed (the debugger refused, or its answer "
                     "was short or malformed)",
                     ull(n * w), ull(address));
      return false;
    }
    for (uint64_t k = 0; k < n; ++k) {
      // In the piece, the far end comes first going up and last going down from the top.
      const uint64_t at = *u.direction == StackDirection::Down ? k : n - 1 - k;
      const uint8_t* word = piece.data() + at * w;
      if (!std::equal(word, word + w, expected.begin())) {
        return true;
      }
      ++*untouched;
    }
  }
  return true;
}

std::string joined(const std::vector<std::string>& parts) {
  std::string out;
  for (const std::string& part : parts) {
    out += (out.empty() ? "" : "; ") + part;
  }
  return out;
}

StackUsage measure(AwarenessState& state, OSA_ServiceCntx* ctx, const StackPlace& place) {
  StackUsage u;
  // A stop that arrives while a read waits makes the values read before it stale.
  const CacheRead began = begin_cache_read(state);
  {
    select_stack(state, ctx, place);
    TypedValue name = typed_value_of(kValueText);
    if (get_object_attribute(state, ctx, kTypeStack, kAttributeName, &name, nullptr,
                             ReadFlags{true, nullptr}) == 0) {
      u.name = name.text;
    }
  }
  const OrtiObject* object = object_at(state, kTypeStack, place.index);
  select_stack(state, ctx, place);
  if (!object_ready(state, ctx, kTypeStack, object->is_list ? place.position : place.index)) {
    u.note = "not in use (its VALID attribute is not true)";
    return u;
  }
  std::vector<std::string> absent;
  std::vector<std::string> problems;
  auto number = [&](int32_t id, const char* label, std::string* formula) {
    TypedValue value = typed_value_of(kValueUInt64);
    switch (read_attribute(state, ctx, place, id, &value, formula)) {
    case Got::Value:
      return std::optional<uint64_t>(value.payload);
    case Got::Absent:
      absent.push_back(label);
      break;
    case Got::Refused:
      problems.push_back(format("%s could not be evaluated: %s", label, formula->c_str()));
      break;
    }
    return std::optional<uint64_t>();
  };
  std::string formula;
  u.size = number(kSizeId, "SIZE", &formula);
  u.base = number(kBaseAddressId, "BASEADDRESS", &formula);
  {
    TypedValue value = typed_value_of(kValueText);
    if (read_attribute(state, ctx, place, kDirectionId, &value, &formula) == Got::Absent) {
      absent.push_back("STACKDIRECTION");
    } else {
      const std::string direction = trimmed(value.text);
      if (equal_ignoring_case(direction, "UP")) {
        u.direction = StackDirection::Up;
      } else if (equal_ignoring_case(direction, "DOWN")) {
        u.direction = StackDirection::Down;
      } else {
        problems.push_back(format("STACKDIRECTION is \"%s\", not UP or DOWN", direction.c_str()));
      }
    }
  }
  // An empty pattern is said as such: the debugger would only refuse to evaluate it.
  std::string pattern_formula;
  const AttributeDecl* pattern = standard_attribute(*object, kTypeStack, kFillPatternId);
  if (pattern != nullptr && trimmed(pattern->formula != nullptr ? pattern->formula : "").empty()) {
    problems.push_back("FILLPATTERN is empty");
  } else {
    u.pattern = number(kFillPatternId, "FILLPATTERN", &pattern_formula);
  }
  if (u.pattern) {
    u.pattern_width = pattern_width(pattern_formula, *u.pattern);
    if (u.pattern_width >= 1 && u.pattern_width <= kMaxPatternWidth) {
      *u.pattern &= ~uint64_t{0} >> (64 - 8 * u.pattern_width);
    }
  }
  if (!absent.empty()) {
    std::string text = "the ORTI file gives no " + absent.front();
    for (std::size_t i = 1; i < absent.size(); ++i) {
      text += (i + 1 == absent.size() ? " and no " : ", no ") + absent[i];
    }
    problems.insert(problems.begin(), text);
  }
  for (std::string& problem : nonsense(ctx, u, pattern_formula)) {
    problems.push_back(std::move(problem));
  }
  if (!problems.empty() || !u.size || !u.base || !u.direction || !u.pattern) {
    u.note = joined(problems);
    return u;
  }
  uint64_t untouched = 0;
  if (!untouched_words(ctx, u, &untouched, &u.note)) {
    return u;
  }
  if (state.generation != began.generation) {
    u.note = "the target changed while the stack was read; run the command again";
    return u;
  }
  u.used = *u.size - untouched * u.pattern_width;
  if (untouched == 0) {
    const uint64_t far_word = *u.direction == StackDirection::Down
                                  ? *u.base
                                  : *u.base + (*u.size / u.pattern_width - 1) * u.pattern_width;
    u.status = StackStatus::Overflowed;
    u.note = format("the word at the far end (0x%llx) no longer holds the fill pattern: the "
                    "stack has probably overflowed",
                    ull(far_word));
  } else {
    u.status = StackStatus::Measured;
  }
  return u;
}

bool named(const OrtiObject* object, const char* name) {
  return name == nullptr ||
         (object != nullptr && object->name != nullptr && std::string_view(object->name) == name);
}

} // namespace

uint64_t stack_free_bytes(const StackUsage& usage) {
  return usage.status == StackStatus::Unmeasured || !usage.size ? 0 : *usage.size - usage.used;
}

uint32_t stack_percent_used(const StackUsage& usage) {
  if (usage.status == StackStatus::Unmeasured || !usage.size || *usage.size == 0) {
    return 0;
  }
  // The size is bounded by kMaxStackScanBytes, so the product cannot overflow.
  return static_cast<uint32_t>((usage.used * 100 + *usage.size - 1) / *usage.size);
}

std::vector<StackUsage> stack_usage(AwarenessState& state, OSA_ServiceCntx* ctx, const char* name) {
  osa_trace(state, ctx, 50, "stack_usage(%s)\n", text_or_null(name));
  std::vector<StackUsage> rows;
  WalkStateScope walk(state, kTypeStack);
  const int64_t count = object_count(state, kTypeStack);
  if (count > 0 && object_is_list(state, ctx, kTypeStack, 0)) {
    // The first object decides: the type is one list in target memory.
    if (named(object_at(state, kTypeStack, 0), name) &&
        !is_object_list_empty(state, ctx, kTypeStack, 0)) {
      for (int64_t position = 0; list_position_ok(position); ++position) {
        rows.push_back(measure(state, ctx, StackPlace{0, position}));
        state.list_position = position;
        if (!has_next(state, ctx, kTypeStack, 0)) {
          break;
        }
      }
    }
  } else {
    for (int64_t i = 0; i < count; ++i) {
      if (named(object_at(state, kTypeStack, i), name)) {
        rows.push_back(measure(state, ctx, StackPlace{i, 0}));
      }
    }
  }
  osa_trace(state, ctx, 50, "stack_usage(): Success\n");
  return rows;
}
