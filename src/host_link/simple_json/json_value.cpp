// JSON values: construction, the typed accessors, release of deep trees and structural
// equality.
#include "host_link/simple_json/json_value.h"

#include "host_link/simple_json/json_build.h"
#include "host_link/simple_json/json_node_pool.h"

#include <cstring>
#include <string_view>
#include <utility>

namespace {

constexpr uint32_t kInitialSlots = 4;

// A hint that memory is about to be read: freeing and writing a long array touch one node per
// element, at addresses the processor cannot guess.
inline void prefetch(const void* address) {
#if defined(__GNUC__) || defined(__clang__)
  __builtin_prefetch(address);
#else
  static_cast<void>(address);
#endif
}

void keep_text_buffer(std::string& text) {
  if (text.capacity() >= json_node_pool::kMinKeptBuffer) {
    json_node_pool::keep_buffer(text);
  }
}

// text copied into an empty string, in a kept buffer when it needs one.
void copy_text(std::string& into, const char* text) {
  const std::size_t length = std::strlen(text);
  if (length > into.capacity()) {
    json_node_pool::reuse_buffer(into);
  }
  into.assign(text, length);
}

// Default-initialized: every member has its own initializer. make_unique would value-initialize,
// which clears the whole node (a block store, slow to start) before the initializers run anyway.
JsonPtr new_value() {
  return JsonPtr(new JsonValue);
}

bool has_children(const JsonValue& value) {
  return !value.elements.empty() || !value.members.empty();
}

// The slot table doubles when an append finds it full. The vectors reserve the same room, but
// only once something is stored: many containers stay empty ("params" : { }), and reserving
// for them would cost an allocation each.
template <typename Items> void make_room_for_one(JsonValue& container, Items& items) {
  if (items.size() >= container.capacity) {
    if (container.capacity == 0) {
      container.capacity = kInitialSlots;
    }
    while (items.size() >= container.capacity) {
      container.capacity *= 2;
    }
  }
  if (items.capacity() < container.capacity) {
    items.reserve(container.capacity);
  }
}

JsonPtr new_container(JsonKind kind) {
  JsonPtr value = new_value();
  value->kind = kind;
  value->capacity = kInitialSlots;
  return value;
}

int find_index(const JsonValue& object, std::string_view name) {
  for (std::size_t i = 0; i < object.members.size(); ++i) {
    const std::string& candidate = object.members[i]->name;
    // Member names mostly differ in their first byte; the comparison of the rest is a call.
    if (candidate.size() == name.size() && (name.empty() || candidate[0] == name[0]) &&
        std::memcmp(candidate.data(), name.data(), name.size()) == 0) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

JsonMember* find_member(const JsonValue* object, const char* name) {
  int index = json_object_find(object, name);
  return index < 0 ? nullptr : object->members[static_cast<std::size_t>(index)].get();
}

void add_member(JsonValue& object, std::string&& name, JsonPtr&& value) {
  make_room_for_one(object, object.members);
  std::unique_ptr<JsonMember> member(new JsonMember); // see new_value()
  member->name = std::move(name);
  member->value = std::move(value);
  object.members.push_back(std::move(member));
}

const char* string_text(const JsonValue& value) {
  return value.string_is_null ? nullptr : value.string.c_str();
}

} // namespace

void* JsonValue::operator new(std::size_t size) {
  return json_node_pool::take(json_node_pool::Node::Value, size);
}

void JsonValue::operator delete(void* node, std::size_t size) noexcept {
  json_node_pool::give(json_node_pool::Node::Value, node, size);
}

void* JsonMember::operator new(std::size_t size) {
  return json_node_pool::take(json_node_pool::Node::Member, size);
}

void JsonMember::operator delete(void* node, std::size_t size) noexcept {
  json_node_pool::give(json_node_pool::Node::Member, node, size);
}

JsonMember::~JsonMember() {
  keep_text_buffer(name);
}

namespace {

// Containers waiting to be freed: the first ones in place, more on the heap. They are held as
// released pointers, so that the room in place needs neither clearing nor a check when it goes.
class PendingTrees {
public:
  PendingTrees() = default;
  PendingTrees(const PendingTrees&) = delete;
  PendingTrees& operator=(const PendingTrees&) = delete;
  void push(JsonPtr&& value) {
    if (in_place_count_ < kInPlace) {
      in_place_[in_place_count_++] = value.release();
    } else {
      more_.push_back(value.release());
    }
  }
  JsonPtr pop() {
    if (!more_.empty()) {
      JsonPtr value(more_.back());
      more_.pop_back();
      return value;
    }
    if (in_place_count_ > 0) {
      return JsonPtr(in_place_[--in_place_count_]);
    }
    return nullptr;
  }

private:
  static constexpr std::size_t kInPlace = 16;
  JsonValue* in_place_[kInPlace];
  std::size_t in_place_count_ = 0;
  std::vector<JsonValue*> more_;
};

// Frees the leaves among the children of value at once and moves the containers among them
// to pending, so that no destructor that runs below sees more than leaves.
void release_children(JsonValue& value, PendingTrees& pending) {
  const std::size_t n = value.elements.size();
  for (std::size_t i = 0; i < n; ++i) {
    JsonPtr& element = value.elements[i];
    if (i + 4 < n) {
      prefetch(value.elements[i + 4].get());
    }
    if (element && has_children(*element)) {
      pending.push(std::move(element));
    } else {
      element.reset();
    }
  }
  for (auto& member : value.members) {
    if (member && member->value && has_children(*member->value)) {
      pending.push(std::move(member->value));
    }
  }
}

// Containers of this many children or fewer whose children are all leaves are left to the
// destructors of their tables, which then recurse one level only; larger ones are freed
// through release_children(), which looks ahead in memory.
constexpr std::size_t kFewChildren = 8;

bool holds_only_few_leaves(const JsonValue& value) {
  if (value.elements.size() + value.members.size() > kFewChildren) {
    return false;
  }
  for (const JsonPtr& element : value.elements) {
    if (element && has_children(*element)) {
      return false;
    }
  }
  for (const auto& member : value.members) {
    if (member && member->value && has_children(*member->value)) {
      return false;
    }
  }
  return true;
}

} // namespace

JsonValue::~JsonValue() {
  keep_text_buffer(string);
  if (!has_children(*this) || holds_only_few_leaves(*this)) {
    return;
  }
  // A tree of any depth is freed with constant stack.
  PendingTrees pending;
  release_children(*this, pending);
  while (JsonPtr value = pending.pop()) {
    release_children(*value, pending);
  }
}

uint32_t JsonValue::count() const {
  if (kind == JsonKind::Array) {
    return static_cast<uint32_t>(elements.size());
  }
  if (kind == JsonKind::Object) {
    return static_cast<uint32_t>(members.size());
  }
  return 0;
}

JsonPtr json_new_null() {
  return new_value();
}

JsonPtr json_new_boolean(bool flag) {
  JsonPtr value = new_value();
  value->kind = JsonKind::Boolean;
  value->boolean = flag;
  return value;
}

JsonPtr json_new_integer(int64_t number) {
  JsonPtr value = new_value();
  value->kind = JsonKind::Integer;
  value->integer = number;
  return value;
}

JsonPtr json_new_string(const char* text) {
  JsonPtr value = new_value();
  value->kind = JsonKind::String;
  if (text == nullptr) {
    value->string_is_null = true;
  } else {
    copy_text(value->string, text);
  }
  return value;
}

JsonPtr json_new_string_adopt(std::string&& text) {
  JsonPtr value = new_value();
  value->kind = JsonKind::String;
  value->string = std::move(text);
  std::size_t nul = value->string.find('\0');
  if (nul != std::string::npos) {
    value->string.resize(nul);
  }
  return value;
}

JsonPtr json_new_object() {
  return new_container(JsonKind::Object);
}

JsonPtr json_new_array() {
  return new_container(JsonKind::Array);
}

bool json_array_append(JsonValue* array, JsonPtr&& value) {
  if (array == nullptr || array->kind != JsonKind::Array || !value) {
    return false;
  }
  json_build_append(*array, std::move(value));
  return true;
}

void json_build_append(JsonValue& array, JsonPtr&& value) {
  make_room_for_one(array, array.elements);
  array.elements.push_back(std::move(value));
}

void json_build_set(JsonValue& object, std::string&& name, JsonPtr&& value) {
  const int index = find_index(object, name);
  if (index >= 0) {
    object.members[static_cast<std::size_t>(index)]->value = std::move(value);
  } else {
    add_member(object, std::move(name), std::move(value));
  }
}

namespace {

// The bulk appenders accept a null items pointer only together with n == 0, so that an empty
// std::vector's data() can be passed as it is.
template <typename Item, typename Make>
bool append_each(JsonValue* array, const Item* items, std::size_t n, Make make) {
  if (array == nullptr || array->kind != JsonKind::Array || (items == nullptr && n != 0)) {
    return false;
  }
  for (std::size_t i = 0; i < n; ++i) {
    json_array_append(array, make(items[i]));
  }
  return true;
}

bool range_is_valid(const JsonValue* array, uint32_t first, uint32_t n, const void* out) {
  return array != nullptr && out != nullptr && array->kind == JsonKind::Array && n != 0 &&
         static_cast<uint64_t>(first) + n <= array->elements.size();
}

// The bulk extractors differ only in the element kind they accept and in how an element
// becomes an item of out.
template <typename Item, typename Convert>
bool copy_range(const JsonValue* array, uint32_t first, Item* out, uint32_t n, JsonKind kind,
                Convert convert) {
  if (!range_is_valid(array, first, n, out)) {
    return false;
  }
  for (uint32_t i = 0; i < n; ++i) {
    const JsonValue& element = *array->elements[first + i];
    if (element.kind != kind) {
      return false;
    }
    out[i] = convert(element);
  }
  return true;
}

// Integer elements truncated to the width of Unsigned.
template <typename Unsigned>
bool copy_unsigned_range(const JsonValue* array, uint32_t first, Unsigned* out, uint32_t n) {
  return copy_range(array, first, out, n, JsonKind::Integer, [](const JsonValue& element) {
    return static_cast<Unsigned>(element.integer);
  });
}

} // namespace

bool json_array_append_int32s(JsonValue* array, const int32_t* items, std::size_t n) {
  return append_each(array, items, n, [](int32_t item) { return json_new_integer(item); });
}

bool json_array_append_uint64s(JsonValue* array, const uint64_t* items, std::size_t n) {
  return append_each(array, items, n, [](uint64_t item) {
    return json_new_integer(static_cast<int64_t>(item)); // two's-complement pattern
  });
}

bool json_array_append_strings(JsonValue* array, const char* const* items, std::size_t n) {
  return append_each(array, items, n, json_new_string);
}

bool json_array_get_uint32s(const JsonValue* array, uint32_t first, uint32_t* out, uint32_t n) {
  return copy_unsigned_range(array, first, out, n);
}

bool json_array_get_uint64s(const JsonValue* array, uint32_t first, uint64_t* out, uint32_t n) {
  return copy_unsigned_range(array, first, out, n);
}

bool json_array_get_strings(const JsonValue* array, uint32_t first, const char** out, uint32_t n) {
  return copy_range(array, first, out, n, JsonKind::String, string_text);
}

const JsonValue* json_array_at(const JsonValue* array, uint32_t index) {
  if (array == nullptr || array->kind != JsonKind::Array || index >= array->elements.size()) {
    return nullptr;
  }
  return array->elements[index].get();
}

int json_object_find(const JsonValue* object, const char* name) {
  if (object == nullptr || name == nullptr || object->kind != JsonKind::Object) {
    return -1;
  }
  return find_index(*object, name);
}

bool json_object_add(JsonValue* object, const char* name, JsonPtr&& value) {
  if (object == nullptr || name == nullptr || !value || object->kind != JsonKind::Object) {
    return false;
  }
  std::string copy;
  copy_text(copy, name);
  add_member(*object, std::move(copy), std::move(value));
  return true;
}

bool json_object_set(JsonValue* object, const char* name, JsonPtr&& value) {
  if (object == nullptr || name == nullptr || !value || object->kind != JsonKind::Object) {
    return false;
  }
  if (JsonMember* member = find_member(object, name)) {
    member->value = std::move(value);
    return true;
  }
  return json_object_add(object, name, std::move(value));
}

bool json_object_get(const JsonValue* object, const char* name, const JsonValue** out) {
  JsonMember* member = find_member(object, name);
  if (member == nullptr || out == nullptr) {
    return false;
  }
  *out = member->value.get();
  return true;
}

bool json_object_take(JsonValue* object, const char* name, JsonPtr* out) {
  int index = json_object_find(object, name);
  if (index < 0) {
    return false;
  }
  auto position = object->members.begin() + index;
  if (out != nullptr) {
    *out = std::move((*position)->value);
  }
  object->members.erase(position);
  return true;
}

namespace {

const JsonValue* member_of_kind(const JsonValue* object, const char* name, JsonKind kind) {
  JsonMember* member = find_member(object, name);
  if (member == nullptr || !member->value || member->value->kind != kind) {
    return nullptr;
  }
  return member->value.get();
}

} // namespace

bool json_object_get_integer(const JsonValue* object, const char* name, int64_t* out) {
  const JsonValue* value = member_of_kind(object, name, JsonKind::Integer);
  if (value == nullptr || out == nullptr) {
    return false;
  }
  *out = value->integer;
  return true;
}

bool json_object_get_uint32(const JsonValue* object, const char* name, uint32_t* out) {
  const JsonValue* value = member_of_kind(object, name, JsonKind::Integer);
  if (value == nullptr || out == nullptr) {
    return false;
  }
  *out = static_cast<uint32_t>(value->integer);
  return true;
}

bool json_object_get_string(const JsonValue* object, const char* name, const char** out) {
  const JsonValue* value = member_of_kind(object, name, JsonKind::String);
  if (value == nullptr || out == nullptr) {
    return false;
  }
  *out = string_text(*value);
  return true;
}

bool json_object_add_integer(JsonValue* object, const char* name, int64_t value) {
  return json_object_add(object, name, json_new_integer(value));
}

bool json_object_add_uint32(JsonValue* object, const char* name, uint32_t value) {
  return json_object_add(object, name, json_new_integer(static_cast<int64_t>(value)));
}

bool json_object_add_int32(JsonValue* object, const char* name, int32_t value) {
  return json_object_add(object, name, json_new_integer(static_cast<int64_t>(value)));
}

bool json_object_add_string(JsonValue* object, const char* name, const char* text) {
  return json_object_add(object, name, json_new_string(text));
}

bool json_equal(const JsonValue& a, const JsonValue& b) {
  // An explicit work list rather than recursion, for the same reason as the destructor.
  std::vector<std::pair<const JsonValue*, const JsonValue*>> pending;
  pending.emplace_back(&a, &b);
  while (!pending.empty()) {
    auto [x, y] = pending.back();
    pending.pop_back();
    if (x == nullptr || y == nullptr) {
      if (x != y) {
        return false;
      }
      continue;
    }
    if (x->kind != y->kind) {
      return false;
    }
    switch (x->kind) {
    case JsonKind::Null:
      break;
    case JsonKind::Boolean:
      if (x->boolean != y->boolean) {
        return false;
      }
      break;
    case JsonKind::Integer:
      if (x->integer != y->integer) {
        return false;
      }
      break;
    case JsonKind::String:
      if (x->string_is_null != y->string_is_null || x->string != y->string) {
        return false;
      }
      break;
    case JsonKind::Object:
      if (x->members.size() != y->members.size()) {
        return false;
      }
      for (std::size_t i = 0; i < x->members.size(); ++i) {
        if (x->members[i]->name != y->members[i]->name) {
          return false;
        }
        pending.emplace_back(x->members[i]->value.get(), y->members[i]->value.get());
      }
      break;
    case JsonKind::Array:
      if (x->elements.size() != y->elements.size()) {
        return false;
      }
      for (std::size_t i = 0; i < x->elements.size(); ++i) {
        pending.emplace_back(x->elements[i].get(), y->elements[i].get());
      }
      break;
    }
  }
  return true;
}
