// Tests of the JSON value model: ownership, table growth, member order and duplicates, the
// typed accessors and their refusals, and release of deep trees.
#include "host_link/simple_json/json_parse.h"
#include "host_link/simple_json/json_value.h"
#include "host_link/simple_json/json_write.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

TEST(JsonValue, ConstructorsSetKindAndPayload) {
  EXPECT_EQ(json_new_null()->kind, JsonKind::Null);
  EXPECT_TRUE(json_new_boolean(true)->boolean);
  EXPECT_FALSE(json_new_boolean(false)->boolean);
  EXPECT_EQ(json_new_integer(INT64_MIN)->integer, INT64_MIN);
  JsonPtr text = json_new_string("abc");
  EXPECT_EQ(text->kind, JsonKind::String);
  EXPECT_EQ(text->string, "abc");
  EXPECT_FALSE(text->string_is_null);
  JsonPtr none = json_new_string(nullptr);
  EXPECT_EQ(none->kind, JsonKind::String);
  EXPECT_TRUE(none->string_is_null);
}

TEST(JsonValue, AdoptedStringStopsAtFirstNul) {
  std::string bytes("ab\0cd", 5);
  JsonPtr value = json_new_string_adopt(std::move(bytes));
  EXPECT_EQ(value->string, "ab");
}

TEST(JsonValue, TablesStartWithFourSlotsAndDouble) {
  for (JsonKind kind : {JsonKind::Array, JsonKind::Object}) {
    JsonPtr container = kind == JsonKind::Array ? json_new_array() : json_new_object();
    ASSERT_EQ(container->capacity, 4u);
    ASSERT_EQ(container->count(), 0u);
    const uint32_t expected_after[] = {4, 4, 4, 4, 8, 8, 8, 8, 16, 16};
    for (int i = 0; i < 10; ++i) {
      bool added = container->kind == JsonKind::Array
                       ? json_array_append(container.get(), json_new_integer(i))
                       : json_object_add_integer(container.get(), "k", i);
      ASSERT_TRUE(added);
      EXPECT_EQ(container->capacity, expected_after[i]) << "after element " << i + 1;
      EXPECT_EQ(container->count(), static_cast<uint32_t>(i + 1));
    }
  }
}

TEST(JsonValue, ArrayKeepsOrderAndIndexes) {
  JsonPtr array = json_new_array();
  const int32_t items[] = {-1, 0, 7};
  ASSERT_TRUE(json_array_append_int32s(array.get(), items, 3));
  ASSERT_EQ(array->count(), 3u);
  EXPECT_EQ(json_array_at(array.get(), 0)->integer, -1); // sign-extended
  EXPECT_EQ(json_array_at(array.get(), 2)->integer, 7);
  EXPECT_EQ(json_array_at(array.get(), 3), nullptr);
  EXPECT_EQ(json_array_at(nullptr, 0), nullptr);
}

TEST(JsonValue, BulkAppendersConvertEachItem) {
  JsonPtr array = json_new_array();
  const uint64_t big[] = {0xFFFFFFFFFFFFFFFFull, 0x8000000000000000ull, 5};
  ASSERT_TRUE(json_array_append_uint64s(array.get(), big, 3));
  EXPECT_EQ(json_array_at(array.get(), 0)->integer, -1);
  EXPECT_EQ(json_array_at(array.get(), 1)->integer, INT64_MIN);
  const char* texts[] = {"x", nullptr};
  ASSERT_TRUE(json_array_append_strings(array.get(), texts, 2));
  EXPECT_EQ(json_array_at(array.get(), 3)->string, "x");
  EXPECT_TRUE(json_array_at(array.get(), 4)->string_is_null);
  // An empty vector's data() may be null; appending nothing is still a success.
  EXPECT_TRUE(json_array_append_int32s(array.get(), nullptr, 0));
  EXPECT_EQ(array->count(), 5u);
}

TEST(JsonValue, AppendRefusesWrongTargetAndKeepsValueWithCaller) {
  JsonPtr object = json_new_object();
  JsonPtr element = json_new_integer(3);
  EXPECT_FALSE(json_array_append(object.get(), std::move(element)));
  ASSERT_NE(element, nullptr); // not stored, so not moved from
  EXPECT_EQ(element->integer, 3);
  EXPECT_FALSE(json_array_append(nullptr, json_new_null()));
  const int32_t one[] = {1};
  EXPECT_FALSE(json_array_append_int32s(object.get(), one, 1));
  EXPECT_FALSE(json_array_append_int32s(json_new_array().get(), nullptr, 1));
  EXPECT_EQ(object->count(), 0u);

  JsonPtr array = json_new_array();
  JsonPtr member = json_new_integer(4);
  EXPECT_FALSE(json_object_add(array.get(), "a", std::move(member)));
  ASSERT_NE(member, nullptr);
  EXPECT_FALSE(json_object_add(json_new_object().get(), nullptr, std::move(member)));
  ASSERT_NE(member, nullptr);
  EXPECT_FALSE(json_object_set(array.get(), "a", std::move(member)));
  ASSERT_NE(member, nullptr);
}

struct BulkGetCase {
  const char* label;
  uint32_t first;
  uint32_t n;
  bool ok;
};

TEST(JsonValue, BulkExtractChecksRangeAndKind) {
  JsonPtr array = json_new_array();
  const uint64_t items[] = {1, 0x100000002ull, 3};
  json_array_append_uint64s(array.get(), items, 3);
  json_array_append(array.get(), json_new_string("s"));
  json_array_append(array.get(), json_new_integer(9));

  const BulkGetCase cases[] = {
      {"whole integer prefix", 0, 3, true},
      {"n is 0", 0, 0, false},
      {"one past the count", 3, 3, false},
      {"first beyond the count", 6, 1, false},
      {"string among the elements", 1, 3, false},
      {"last element alone", 4, 1, true},
      {"huge first does not wrap", 0xFFFFFFFFu, 2, false},
  };
  for (const auto& c : cases) {
    uint32_t out32[8] = {};
    uint64_t out64[8] = {};
    EXPECT_EQ(json_array_get_uint32s(array.get(), c.first, out32, c.n), c.ok) << c.label;
    EXPECT_EQ(json_array_get_uint64s(array.get(), c.first, out64, c.n), c.ok) << c.label;
  }
  uint32_t out32[3] = {};
  ASSERT_TRUE(json_array_get_uint32s(array.get(), 0, out32, 3));
  EXPECT_EQ(out32[1], 2u); // truncated to 32 bits
  uint64_t out64[3] = {};
  ASSERT_TRUE(json_array_get_uint64s(array.get(), 0, out64, 3));
  EXPECT_EQ(out64[1], 0x100000002ull);

  // Elements before a wrong-kind one stay copied.
  uint32_t partial[3] = {77, 77, 77};
  EXPECT_FALSE(json_array_get_uint32s(array.get(), 2, partial, 3));
  EXPECT_EQ(partial[0], 3u);
  EXPECT_EQ(partial[1], 77u);

  const char* texts[2] = {};
  EXPECT_TRUE(json_array_get_strings(array.get(), 3, texts, 1));
  EXPECT_STREQ(texts[0], "s");
  EXPECT_FALSE(json_array_get_strings(array.get(), 2, texts, 2));
  JsonPtr object = json_new_object();
  EXPECT_FALSE(json_array_get_uint32s(object.get(), 0, out32, 1));
}

TEST(JsonValue, DuplicateNamesFirstMemberWins) {
  JsonPtr object = json_new_object();
  ASSERT_TRUE(json_object_add_integer(object.get(), "x", 1));
  ASSERT_TRUE(json_object_add_integer(object.get(), "y", 2));
  ASSERT_TRUE(json_object_add_integer(object.get(), "x", 3));
  EXPECT_EQ(object->count(), 3u);
  EXPECT_EQ(json_object_find(object.get(), "x"), 0);
  EXPECT_EQ(json_object_find(object.get(), "y"), 1);
  EXPECT_EQ(json_object_find(object.get(), "X"), -1); // names are case-sensitive

  const JsonValue* got = nullptr;
  ASSERT_TRUE(json_object_get(object.get(), "x", &got));
  EXPECT_EQ(got->integer, 1);

  ASSERT_TRUE(json_object_set(object.get(), "x", json_new_string("new")));
  EXPECT_EQ(json_to_text(*object), "{ \"x\" : \"new\", \"y\" : 2, \"x\" : 3 }");
  ASSERT_TRUE(json_object_set(object.get(), "z", json_new_null()));
  EXPECT_EQ(json_object_find(object.get(), "z"), 3);

  JsonPtr taken;
  ASSERT_TRUE(json_object_take(object.get(), "x", &taken));
  EXPECT_EQ(taken->string, "new");
  EXPECT_EQ(json_to_text(*object), "{ \"y\" : 2, \"x\" : 3, \"z\" : null }");
  ASSERT_TRUE(json_object_take(object.get(), "x", nullptr)); // freed, not handed out
  EXPECT_EQ(json_to_text(*object), "{ \"y\" : 2, \"z\" : null }");

  JsonPtr untouched = json_new_integer(42);
  EXPECT_FALSE(json_object_take(object.get(), "x", &untouched));
  ASSERT_NE(untouched, nullptr);
  EXPECT_EQ(untouched->integer, 42);
}

TEST(JsonValue, TypedGettersCheckKind) {
  JsonPtr object = json_new_object();
  json_object_add_integer(object.get(), "big", 4294967297LL);
  json_object_add_string(object.get(), "name", "task");
  json_object_add_string(object.get(), "nothing", nullptr);
  json_object_add_uint32(object.get(), "u", 0xFFFFFFFFu);
  json_object_add_int32(object.get(), "i", -1);

  uint32_t u32 = 0;
  ASSERT_TRUE(json_object_get_uint32(object.get(), "big", &u32));
  EXPECT_EQ(u32, 1u);
  int64_t i64 = 0;
  ASSERT_TRUE(json_object_get_integer(object.get(), "u", &i64));
  EXPECT_EQ(i64, 4294967295LL); // zero-extended
  ASSERT_TRUE(json_object_get_integer(object.get(), "i", &i64));
  EXPECT_EQ(i64, -1); // sign-extended
  const char* text = nullptr;
  ASSERT_TRUE(json_object_get_string(object.get(), "name", &text));
  EXPECT_STREQ(text, "task");
  text = "unchanged";
  ASSERT_TRUE(json_object_get_string(object.get(), "nothing", &text));
  EXPECT_EQ(text, nullptr);

  // Refusals leave the out-parameter alone.
  i64 = 99;
  text = "keep";
  EXPECT_FALSE(json_object_get_integer(object.get(), "name", &i64));
  EXPECT_FALSE(json_object_get_integer(object.get(), "missing", &i64));
  EXPECT_FALSE(json_object_get_string(object.get(), "big", &text));
  EXPECT_FALSE(json_object_get_integer(nullptr, "big", &i64));
  EXPECT_FALSE(json_object_get_integer(object.get(), nullptr, &i64));
  EXPECT_EQ(i64, 99);
  EXPECT_STREQ(text, "keep");
  JsonPtr array = json_new_array();
  EXPECT_FALSE(json_object_add_integer(array.get(), "a", 1));
  EXPECT_EQ(json_object_find(array.get(), "a"), -1);
}

TEST(JsonValue, EqualityIsStructural) {
  auto build = [](int64_t last, const char* name) {
    JsonPtr object = json_new_object();
    json_object_add_string(object.get(), "a", "x");
    JsonPtr array = json_new_array();
    json_array_append(array.get(), json_new_boolean(true));
    json_array_append(array.get(), json_new_integer(last));
    json_object_add(object.get(), name, std::move(array));
    return object;
  };
  EXPECT_TRUE(json_equal(*build(1, "b"), *build(1, "b")));
  EXPECT_FALSE(json_equal(*build(1, "b"), *build(2, "b")));
  EXPECT_FALSE(json_equal(*build(1, "b"), *build(1, "c")));
  EXPECT_FALSE(json_equal(*json_new_null(), *json_new_boolean(false)));
  EXPECT_FALSE(json_equal(*json_new_string(nullptr), *json_new_string("(null)")));
  EXPECT_FALSE(json_equal(*json_new_string(""), *json_new_string("a")));

  JsonPtr short_array = json_new_array();
  JsonPtr long_array = json_new_array();
  json_array_append(long_array.get(), json_new_null());
  EXPECT_FALSE(json_equal(*short_array, *long_array));
}

// Deep trees must neither overflow the stack when freed, compared or written.
TEST(JsonValue, DeepTreesAreHandledWithoutRecursion) {
  constexpr int kDepth = 200000;
  auto build = [] {
    JsonPtr root = json_new_array();
    JsonValue* tip = root.get();
    for (int i = 0; i < kDepth; ++i) {
      JsonPtr next = i % 2 ? json_new_array() : json_new_object();
      JsonValue* raw = next.get();
      if (tip->kind == JsonKind::Array) {
        json_array_append(tip, std::move(next));
      } else {
        json_object_add(tip, "k", std::move(next));
      }
      tip = raw;
    }
    return root;
  };
  JsonPtr a = build();
  JsonPtr b = build();
  EXPECT_TRUE(json_equal(*a, *b));
  std::string text = json_to_text(*a);
  EXPECT_EQ(text.substr(0, 13), "[ { \"k\" : [ {");
  a.reset();
  b.reset();
}

// Containers of a few leaves are freed by their tables, others through the pending trees: a
// node freed twice would be handed out twice, so that trees built next share it and their
// texts mix (and the sanitizers report double frees and leaks).
TEST(JsonValue, TreesAroundTheFewLeavesLimitAreFreedOnceEach) {
  auto leaves = [](int n, bool named) {
    std::string text;
    for (int i = 0; i < n; ++i) {
      text += (i > 0 ? "," : "") + (named ? "\"m" + std::to_string(i) + "\":" : std::string());
      text +=
          i % 2 ? "\"text " + std::to_string(i) + " of over sixteen bytes\"" : std::to_string(i);
    }
    return text;
  };
  for (int n : {0, 1, 7, 8, 9, 17}) {
    const std::string texts[] = {
        "[" + leaves(n, false) + "]",
        "{" + leaves(n, true) + "}",
        "[[" + leaves(n, false) + "],{" + leaves(n, true) + "},[1]]",
        std::string("{\"c\":{\"d\":[]}") + (n > 0 ? "," : "") + leaves(n, true) + "}",
    };
    for (const std::string& text : texts) {
      std::string errors;
      JsonPtr first = json_parse(text.c_str(), errors);
      ASSERT_TRUE(first) << errors;
      const std::string written = json_to_text(*first);
      first.reset();
      JsonPtr again = json_parse(text.c_str(), errors);
      JsonPtr other = json_parse(text.c_str(), errors);
      ASSERT_TRUE(again && other) << errors;
      EXPECT_EQ(json_to_text(*again), written) << text;
      EXPECT_EQ(json_to_text(*other), written) << text;
    }
  }
}

} // namespace
