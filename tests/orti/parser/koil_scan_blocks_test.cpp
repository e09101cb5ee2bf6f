// Tests of the scanner's block buffer: what a token is, its text, its value and the line after
// it never depend on where the input's blocks end, nor on how long a token or a skipped run is.
#include "orti/parser/koil_lexer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct BlockCase {
  const char* name;
  std::string text;
};

// Short samples, each scanned behind every padding that puts a block's end at one of its bytes
// (and just before and after it).
const BlockCase kShortCases[] = {
    {"every_token_kind",
     "IMPLEMENTATION abc 0x1F 017 08 9 0 0x \"s\nt\" \"\" ; { } [ ] : = , * / ."},
    {"version_section", "VERSION { KOIL = \"2.1\"; OSSEMANTICS = \"ORTI\", \"2.2\"; };"},
    // The quote's text must survive the look at the byte after it.
    {"ossemantics_quote_before_digit", "OSSEMANTICS \"ORTI\", \"1"},
    {"version_digits_without_dot", "VERSION \"12 3.x 4."},
    {"comments", "a /* x ** y\n */ b // c\n d //\n e /**/ f"},
    {"nul_bytes", std::string("a\0b /* \0x */ c /* *\0y */ \"", 26)},
    {"nul_in_string", std::string("IMPLEMENTATION \"a\0b\" c", 22)},
    {"crlf_lines", "a\r\n\r\nb\r\n c"},
    {"unclosed_comment", "a /* b\n"},
    {"unclosed_string", "IMPLEMENTATION \"a\nb"},
};

class ScanAtEveryBlockEnd : public ::testing::TestWithParam<BlockCase> {};

TEST_P(ScanAtEveryBlockEnd, GivesTheTokensOfTheSampleAlone) {
  const std::string& sample = GetParam().text;
  const std::vector<KoilToken> alone = koil_tokenize(sample);
  for (std::size_t block_end : {kKoilReadBlock, 2 * kKoilReadBlock}) {
    for (std::size_t pad = block_end - sample.size() - 1; pad <= block_end + 1; ++pad) {
      // Blanks in front change no token and no line.
      const std::vector<KoilToken> padded = koil_tokenize(std::string(pad, ' ') + sample);
      ASSERT_EQ(padded.size(), alone.size()) << "padding " << pad;
      for (std::size_t i = 0; i < alone.size(); ++i) {
        ASSERT_TRUE(padded[i] == alone[i])
            << "padding " << pad << ", token " << i << ": " << koil_token_kind_name(padded[i].kind)
            << " \"" << padded[i].text << "\" line " << padded[i].line << ", alone "
            << koil_token_kind_name(alone[i].kind) << " \"" << alone[i].text << "\" line "
            << alone[i].line;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Samples, ScanAtEveryBlockEnd, ::testing::ValuesIn(kShortCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Runs longer than a block: what the scanner skips must not pile up in its buffer or lose a
// line, and what it keeps must come whole.
struct LongCase {
  const char* name;
  std::string text;
  std::vector<int> kinds; // the end included
  std::vector<int32_t> lines;
};

std::string lines_of(std::size_t count, const std::string& line) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) {
    text += line + "\n";
  }
  return text;
}

const LongCase kLongCases[] = {
    {"block_comment_over_blocks",
     "a /*" + lines_of(3000, "** comment *") + "*/ b",
     {kKoilIdentifier, kKoilIdentifier, kKoilEnd},
     {1, 3001, 3001}},
    {"line_comment_longer_than_a_block",
     "a //" + std::string(3 * kKoilReadBlock, 'c') + "\nb",
     {kKoilIdentifier, kKoilIdentifier, kKoilEnd},
     {1, 2, 2}},
    {"blank_lines_over_blocks",
     "a" + lines_of(2 * kKoilReadBlock, " \t\r") + "b",
     {kKoilIdentifier, kKoilIdentifier, kKoilEnd},
     {1, static_cast<int32_t>(2 * kKoilReadBlock + 1),
      static_cast<int32_t>(2 * kKoilReadBlock + 1)}},
    {"string_of_lines_over_blocks",
     "IMPLEMENTATION \"" + lines_of(5000, "formula") + "\" x",
     {kKoilImplementation, '"', kKoilStringText, '"', kKoilIdentifier, kKoilEnd},
     {1, 1, 5001, 5001, 5001, 5001}},
};

class ScanLongRuns : public ::testing::TestWithParam<LongCase> {};

TEST_P(ScanLongRuns, KeepsTokensAndLines) {
  const LongCase& c = GetParam();
  for (std::size_t pad : {std::size_t{0}, std::size_t{1}, kKoilReadBlock - 3, kKoilReadBlock}) {
    const std::vector<KoilToken> tokens = koil_tokenize(std::string(pad, ' ') + c.text);
    std::vector<int> kinds;
    std::vector<int32_t> lines;
    for (const KoilToken& token : tokens) {
      kinds.push_back(token.kind);
      lines.push_back(token.line);
    }
    EXPECT_EQ(kinds, c.kinds) << "padding " << pad;
    EXPECT_EQ(lines, c.lines) << "padding " << pad;
  }
}

INSTANTIATE_TEST_SUITE_P(Runs, ScanLongRuns, ::testing::ValuesIn(kLongCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScanLongRuns, AStringLongerThanManyBlocksComesWholeFromAStream) {
  std::string text(40 * kKoilReadBlock + 7, 'f');
  for (std::size_t i = 0; i < text.size(); i += 1000) {
    text[i] = '\n';
  }
  const std::string input = "IMPLEMENTATION \"" + text + "\"";
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(std::fwrite(input.data(), 1, input.size(), file), input.size());
  std::rewind(file);
  KoilLexer lexer(file);
  EXPECT_EQ(lexer.next(), kKoilImplementation);
  EXPECT_EQ(lexer.next(), '"');
  EXPECT_EQ(lexer.next(), kKoilStringText);
  EXPECT_TRUE(lexer.text() == text) << "length " << lexer.text().size();
  EXPECT_EQ(lexer.line(), static_cast<int32_t>(1 + (text.size() + 999) / 1000));
  EXPECT_EQ(lexer.next(), '"');
  EXPECT_EQ(lexer.next(), kKoilEnd);
  std::fclose(file);
}

} // namespace
