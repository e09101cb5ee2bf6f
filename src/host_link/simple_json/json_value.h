// JSON values: the in-memory form of every message exchanged with the debugger.
//
// The model is deliberately small: six kinds, no floating point, 64-bit signed integers, byte
// strings without NUL, and objects that keep their members in insertion order (duplicate names
// allowed; lookups find the first). A container owns everything under it. Accessors never
// throw: they return false, and change nothing, when an argument is null or has the wrong
// kind. Functions that take a value by rvalue reference move from it only when they store it,
// so a value that was not stored still belongs to the caller.
#pragma once

#include "host_link/simple_json/json_node_pool.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum class JsonKind : uint32_t {
  Null = 0,
  Boolean = 1,
  Integer = 2,
  String = 3,
  Object = 4,
  Array = 5,
};

struct JsonValue;
using JsonPtr = std::unique_ptr<JsonValue>;

struct JsonMember {
  std::string name;
  JsonPtr value;

  // Members and values come from a per-thread pool of freed nodes (json_node_pool.h), which
  // also keeps the buffers of long names.
  static void* operator new(std::size_t size);
  static void operator delete(void* node, std::size_t size) noexcept;
  ~JsonMember();
};

struct JsonValue {
  JsonKind kind = JsonKind::Null;
  // Slots of the element table of an Array or Object: 4 when created, doubled whenever an
  // append finds it full, never shrunk.
  uint32_t capacity = 0;
  bool boolean = false;        // Boolean
  bool string_is_null = false; // String built from a null text (written as "(null)")
  int64_t integer = 0;         // Integer
  std::string string;          // String: its bytes, never a NUL among them
  // Object, in insertion order
  std::vector<std::unique_ptr<JsonMember>,
              json_node_pool::TableAllocator<std::unique_ptr<JsonMember>>>
      members;
  std::vector<JsonPtr, json_node_pool::TableAllocator<JsonPtr>> elements; // Array

  static void* operator new(std::size_t size);
  static void operator delete(void* node, std::size_t size) noexcept;

  JsonValue() = default;
  JsonValue(const JsonValue&) = delete;
  JsonValue& operator=(const JsonValue&) = delete;
  // Frees deep trees without recursing once per level.
  ~JsonValue();

  // Number of elements or members (0 for scalars).
  uint32_t count() const;
};

// Constructors. They never return null.
JsonPtr json_new_null();
JsonPtr json_new_boolean(bool flag);
JsonPtr json_new_integer(int64_t value);
// A copy of text up to its NUL; a null text gives a String marked string_is_null.
JsonPtr json_new_string(const char* text);
// Takes over text; the bytes after a NUL in it, if any, are dropped.
JsonPtr json_new_string_adopt(std::string&& text);
JsonPtr json_new_object();
JsonPtr json_new_array();

// Arrays.
bool json_array_append(JsonValue* array, JsonPtr&& value);
bool json_array_append_int32s(JsonValue* array, const int32_t* items, std::size_t n);
bool json_array_append_uint64s(JsonValue* array, const uint64_t* items, std::size_t n);
bool json_array_append_strings(JsonValue* array, const char* const* items, std::size_t n);
// Copy elements first .. first+n-1 into out. False when array is not an Array, n is 0,
// first+n exceeds the count, or an element has the wrong kind (elements copied before it stay
// copied). Numbers are truncated to the width of out; strings are borrowed pointers.
bool json_array_get_uint32s(const JsonValue* array, uint32_t first, uint32_t* out, uint32_t n);
bool json_array_get_uint64s(const JsonValue* array, uint32_t first, uint64_t* out, uint32_t n);
bool json_array_get_strings(const JsonValue* array, uint32_t first, const char** out, uint32_t n);
// The element at index, or null when out of range or not an Array.
const JsonValue* json_array_at(const JsonValue* array, uint32_t index);

// Objects.
// Index of the first member named name, or -1.
int json_object_find(const JsonValue* object, const char* name);
// Appends a member without looking for an existing one of that name.
bool json_object_add(JsonValue* object, const char* name, JsonPtr&& value);
// Replaces the value of the first member named name in place, or appends a new member.
bool json_object_set(JsonValue* object, const char* name, JsonPtr&& value);
// Borrowed pointer to the first member's value.
bool json_object_get(const JsonValue* object, const char* name, const JsonValue** out);
// Removes the first member of that name; its value goes to out when out is given, else it is
// freed. out is untouched when there is no such member.
bool json_object_take(JsonValue* object, const char* name, JsonPtr* out);
bool json_object_get_integer(const JsonValue* object, const char* name, int64_t* out);
// The low 32 bits of an Integer member, without a range check.
bool json_object_get_uint32(const JsonValue* object, const char* name, uint32_t* out);
// A borrowed pointer to the text of a String member.
bool json_object_get_string(const JsonValue* object, const char* name, const char** out);
bool json_object_add_integer(JsonValue* object, const char* name, int64_t value);
bool json_object_add_uint32(JsonValue* object, const char* name, uint32_t value);
bool json_object_add_int32(JsonValue* object, const char* name, int32_t value);
bool json_object_add_string(JsonValue* object, const char* name, const char* text);

// Deep structural equality: same kinds, values, member names and order.
bool json_equal(const JsonValue& a, const JsonValue& b);
