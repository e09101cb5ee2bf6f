// Tests of the reuse of freed values, members and text buffers: a tree built from reused memory
// holds exactly its own texts, whatever was freed before; trees may be freed by another thread
// than the one that built them, also after that thread has ended; and under AddressSanitizer a
// use of a freed value or of its text is still reported.
#include "host_link/simple_json/json_node_pool.h"
#include "host_link/simple_json/json_parse.h"
#include "host_link/simple_json/json_write.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string parsed_and_written(const std::string& text) {
  std::string errors;
  JsonPtr value = json_parse(text.c_str(), errors);
  return value ? json_to_text(*value) : "FAIL:" + errors;
}

struct ReuseCase {
  const char* label;
  std::string freed_first; // parsed and freed, leaving its nodes and buffers to be reused
  std::string text;
  std::string written;
};

TEST(JsonPool, TreesOfReusedMemoryHoldOnlyTheirOwnTexts) {
  const std::string long_a(40, 'a');
  const std::string long_b(18, 'b');
  const std::string huge(3000, 'h');
  const ReuseCase cases[] = {
      {"a shorter text in a longer one's buffer", "[\"" + long_a + "\",\"" + long_a + "\"]",
       "[\"" + long_b + "\"]", "[ \"" + long_b + "\" ]"},
      {"a text longer than every kept buffer", "[\"" + long_b + "\"]", "[\"" + huge + "\"]",
       "[ \"" + huge + "\" ]"},
      {"a name that outgrows its string's room through escapes", "{\"" + long_a + "\":1}",
       R"({"ab\u0063\u0064efghijklmnopqrstu":2,"x":"y\u007a\u007a\u007a\u007a\u007a\u007a\u007a\u007a\u007a\u007a\u007a\u007a\u007a\u007a\u007a"})",
       R"({ "abcdefghijklmnopqrstu" : 2, "x" : "yzzzzzzzzzzzzzzz" })"},
      {"a text cut at an escaped NUL", "[\"" + long_a + "\"]",
       "[\"" + long_b + "\\u0000" + long_a + "\"]", "[ \"" + long_b + "\" ]"},
      {"members replaced by a later one of the same name", "{\"" + long_a + "\":[1,2,3]}",
       "{\"" + long_b + "\":\"" + long_a + "\",\"" + long_b + "\":\"c\"}",
       "{ \"" + long_b + "\" : \"c\" }"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parsed_and_written(c.freed_first).rfind("FAIL:", 0), std::string::npos) << c.label;
    EXPECT_EQ(parsed_and_written(c.text), c.written) << c.label;
  }
}

TEST(JsonPool, BuiltTreesCopyTheirTextsIntoReusedBuffers) {
  const std::string name(30, 'n');
  const std::string text(25, 't');
  parsed_and_written("{\"" + std::string(50, 'z') + "\":\"" + std::string(60, 'z') + "\"}");
  JsonPtr object = json_new_object();
  json_object_add_string(object.get(), name.c_str(), text.c_str());
  json_object_add_string(object.get(), "short", "s");
  EXPECT_EQ(json_to_text(*object), "{ \"" + name + "\" : \"" + text + "\", \"short\" : \"s\" }");
}

TEST(JsonPool, TreesMayBeFreedByAnotherThreadAlsoAfterItEnded) {
  // Each thread keeps the nodes it frees; what one thread built and another frees must neither
  // be lost nor freed twice, and a thread that ends gives its kept memory back.
  const std::string text = R"({"a long member name":["a text of some length",1,{"b":[]}]})";
  std::vector<JsonPtr> handed_over;
  std::thread builder([&] {
    for (int i = 0; i < 200; ++i) {
      std::string errors;
      JsonPtr value = json_parse(text.c_str(), errors);
      ASSERT_NE(value, nullptr) << errors;
      if (i % 2 == 0) {
        handed_over.push_back(std::move(value));
      }
    }
  });
  builder.join();
  ASSERT_EQ(handed_over.size(), 100u);
  const std::string expected = parsed_and_written(text);
  for (const JsonPtr& value : handed_over) {
    EXPECT_EQ(json_to_text(*value), expected);
  }
  handed_over.clear();
  EXPECT_EQ(parsed_and_written(text), expected);
}

// "[0,1,...]" or "{"m0":0,...}" with n entries, as parsed and as written.
std::string container_text(bool object, int n, bool written) {
  std::string text = object ? "{" : "[";
  for (int i = 0; i < n; ++i) {
    text += i > 0 ? (written ? ", " : ",") : (written ? " " : "");
    if (object) {
      text += "\"m" + std::to_string(i) + (written ? "\" : " : "\":");
    }
    text += std::to_string(i * 7);
  }
  if (written) {
    text += " ";
  }
  text += object ? "}" : "]";
  return text;
}

TEST(JsonPool, ContainersAroundEveryKeptTableSizeHoldTheirOwnEntries) {
  // Tables of 4 to 32 entries are kept for reuse, larger ones are not: a container whose table
  // grows across those sizes, built in tables another container freed, holds its own entries.
  const int counts[] = {1, 4, 5, 8, 9, 16, 17, 32, 33, 64, 65, 200};
  for (const bool object : {false, true}) {
    for (const int freed : counts) {
      for (const int n : counts) {
        const std::string label = std::string(object ? "object" : "array") + " of " +
                                  std::to_string(n) + " after " + std::to_string(freed);
        ASSERT_EQ(parsed_and_written(container_text(object, freed, false)),
                  container_text(object, freed, true))
            << label;
        std::string errors;
        JsonPtr kept = json_parse(container_text(!object, freed, false).c_str(), errors);
        ASSERT_NE(kept, nullptr) << errors;
        EXPECT_EQ(parsed_and_written(container_text(object, n, false)),
                  container_text(object, n, true))
            << label;
        // A tree still alive while others reuse what is freed keeps its entries too.
        EXPECT_EQ(json_to_text(*kept), container_text(!object, freed, true)) << label;
      }
    }
  }
}

TEST(JsonPool, TablesOfEverySizeGoBackWhereTheyCameFrom) {
  // Kept sizes and their neighbours, which come from the heap: each table is usable over its
  // whole size, and a kept one is handed out again before new memory is taken.
  const std::size_t sizes[] = {8, 24, 31, 32, 33, 48, 64, 96, 128, 255, 256, 257, 512, 4096};
  for (const std::size_t size : sizes) {
    auto* table = static_cast<unsigned char*>(json_node_pool::take_table(size));
    ASSERT_NE(table, nullptr) << size;
    std::memset(table, 0xA5, size);
    EXPECT_EQ(table[size - 1], 0xA5) << size;
    json_node_pool::give_table(table, size);
  }
  json_node_pool::give_table(nullptr, 32);
  std::vector<void*> taken;
  for (int i = 0; i < 3; ++i) {
    taken.push_back(json_node_pool::take_table(64));
  }
  for (void* table : taken) {
    json_node_pool::give_table(table, 64);
  }
  // A table given back once is handed out at most once.
  std::vector<void*> again;
  for (int i = 0; i < 3; ++i) {
    again.push_back(json_node_pool::take_table(64));
  }
  for (std::size_t i = 0; i < again.size(); ++i) {
    for (std::size_t j = i + 1; j < again.size(); ++j) {
      EXPECT_NE(again[i], again[j]);
    }
  }
  for (void* table : again) {
    json_node_pool::give_table(table, 64);
  }
}

#if defined(__SANITIZE_ADDRESS__)
#define OSA_TEST_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define OSA_TEST_UNDER_ASAN 1
#endif
#endif

#if defined(OSA_TEST_UNDER_ASAN)
TEST(JsonPoolDeathTest, UsesOfFreedValuesAndTextsAreReported) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
      {
        std::string errors;
        JsonPtr value = json_parse("[\"a text longer than its string's own room\"]", errors);
        const JsonValue* element = json_array_at(value.get(), 0);
        const char* bytes = element->string.c_str();
        value.reset();
        volatile char first = bytes[0];
        static_cast<void>(first);
      },
      "use-after-poison");
  EXPECT_DEATH(
      {
        JsonPtr value = json_new_integer(5);
        const JsonValue* raw = value.get();
        value.reset();
        volatile int64_t number = raw->integer;
        static_cast<void>(number);
      },
      "use-after-poison");
}
#endif

} // namespace
