// Tests of the word-at-a-time scans: at every position of texts shorter and longer than a word,
// and with the bytes next to a match that fool a word test (a borrow marks the byte above a
// true match), the scans find what a byte-by-byte search finds.
#include "host_link/simple_json/json_scan.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

const char* naive_string_stop(const char* p, const char* end) {
  while (p < end && *p != '"' && *p != '\\') {
    ++p;
  }
  return p;
}

const char* naive_escaped(const char* p, const char* end) {
  while (p < end) {
    const auto byte = static_cast<unsigned char>(*p);
    if (byte < 0x20 || byte == '"' || byte == '\\' || byte >= 0x7F) {
      break;
    }
    ++p;
  }
  return p;
}

void expect_scans_agree(const std::string& text) {
  const char* begin = text.data();
  const char* end = begin + text.size();
  for (const char* from = begin; from <= end; ++from) {
    ASSERT_EQ(json_scan::find_string_stop(from, end) - begin, naive_string_stop(from, end) - begin)
        << "string stop in a text of " << text.size() << " from " << (from - begin);
    ASSERT_EQ(json_scan::find_escaped(from, end) - begin, naive_escaped(from, end) - begin)
        << "escaped byte in a text of " << text.size() << " from " << (from - begin);
  }
}

TEST(JsonScan, EveryByteClassAtEveryPositionOfShortAndLongTexts) {
  // The bytes each scan stops at, the bytes just beside their classes, and the bytes a borrow
  // can turn into a false mark (0x01 above a 0x00 difference, 0x21 above 0x22).
  const unsigned char probes[] = {'"',  '\\', 0x01, 0x1F, 0x20, 0x21, 0x23, 0x5B,
                                  0x5D, 0x7E, 0x7F, 0x80, 0xC3, 0xFF, '/',  'a'};
  for (std::size_t length = 0; length <= 24; ++length) {
    for (std::size_t at = 0; at < length; ++at) {
      for (const unsigned char probe : probes) {
        std::string text(length, 'x');
        text[at] = static_cast<char>(probe);
        expect_scans_agree(text);
        // A second, different byte just above the first: the one a borrow could mark falsely.
        if (at + 1 < length) {
          text[at + 1] = static_cast<char>(probe == 0x01 ? '"' : 0x01);
          expect_scans_agree(text);
        }
      }
    }
  }
}

TEST(JsonScan, RandomTextsAgreeWithTheByteSearch) {
  std::mt19937 random(7u);
  std::uniform_int_distribution<int> length(0, 40);
  std::uniform_int_distribution<int> byte(1, 255);
  std::bernoulli_distribution plain(0.9);
  for (int i = 0; i < 2000; ++i) {
    std::string text(static_cast<std::size_t>(length(random)), 'q');
    for (char& c : text) {
      if (!plain(random)) {
        c = static_cast<char>(byte(random));
      }
    }
    expect_scans_agree(text);
    if (testing::Test::HasFatalFailure()) {
      return;
    }
  }
}

} // namespace
