// Tests of the KOIL scanner: token kinds and values per scanner state, integer literals,
// comments, strings, line counting and the block buffer.
#include "orti/parser/koil_lexer.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// A compact picture of a token stream: kind names, with the text of identifiers and strings
// and the values of numbers.
std::string describe(const std::vector<KoilToken>& tokens) {
  std::string out;
  for (const KoilToken& token : tokens) {
    if (!out.empty()) {
      out += ' ';
    }
    switch (token.kind) {
    case kKoilIdentifier:
      out += "ID(" + token.text + ")";
      break;
    case kKoilStringText:
      out += "ST(" + token.text + ")";
      break;
    case kKoilInteger:
      out += "INT(" + std::to_string(token.integer) + ")";
      break;
    case kKoilVersionNumber:
      out += "VN(" + std::to_string(token.version.major) + "," +
             std::to_string(token.version.minor) + ")";
      break;
    case kKoilEnd:
      out += "END";
      break;
    default:
      out += koil_token_kind_name(token.kind);
    }
  }
  return out;
}

std::string scan(const std::string& text) {
  return describe(koil_tokenize(text));
}

TEST(KoilLexer, VersionSectionYieldsTheExactTokenStream) {
  const std::vector<KoilToken> tokens =
      koil_tokenize("VERSION {\n  KOIL = \"2.1\";\n  OSSEMANTICS = \"ORTI\", \"2.1\";\n};\n");
  const std::vector<int> kinds = {kKoilVersion,
                                  '{',
                                  kKoilKoil,
                                  '=',
                                  '"',
                                  kKoilVersionNumber,
                                  '"',
                                  ';',
                                  kKoilOsSemantics,
                                  '=',
                                  '"',
                                  kKoilOrti,
                                  '"',
                                  ',',
                                  '"',
                                  kKoilVersionNumber,
                                  '"',
                                  ';',
                                  '}',
                                  ';',
                                  kKoilEnd};
  ASSERT_EQ(tokens.size(), kinds.size()) << describe(tokens);
  for (std::size_t i = 0; i < kinds.size(); ++i) {
    EXPECT_EQ(tokens[i].kind, kinds[i]) << "token " << i << ": " << describe(tokens);
  }
  EXPECT_EQ(tokens[5].version, (OrtiVersion{2, 1}));
  EXPECT_EQ(tokens[5].text, "2.1");
  EXPECT_EQ(tokens[15].version, (OrtiVersion{2, 1}));
  EXPECT_EQ(tokens[8].line, 3);
  EXPECT_EQ(tokens[19].line, 4);
}

struct ScanCase {
  const char* name;
  std::string input;
  const char* expected;
};

class KoilLexerTable : public ::testing::TestWithParam<ScanCase> {};

TEST_P(KoilLexerTable, Scans) {
  EXPECT_EQ(scan(GetParam().input), GetParam().expected);
}

const ScanCase kIntegerCases[] = {
    {"octal_07", "IMPLEMENTATION 07", "IMPLEMENTATION INT(7) END"},
    {"octal_010", "IMPLEMENTATION 010", "IMPLEMENTATION INT(8) END"},
    {"hex_0x10", "IMPLEMENTATION 0x10", "IMPLEMENTATION INT(16) END"},
    {"decimal_10", "IMPLEMENTATION 10", "IMPLEMENTATION INT(10) END"},
    {"upper_x_is_identifier", "IMPLEMENTATION 0X10", "IMPLEMENTATION INT(0) ID(X10) END"},
    {"upper_x_hex_digits", "IMPLEMENTATION 0X1F", "IMPLEMENTATION INT(0) ID(X1F) END"},
    {"nine_is_not_octal", "IMPLEMENTATION 08", "IMPLEMENTATION INT(0) INT(8) END"},
    {"octal_then_decimal", "IMPLEMENTATION 012389", "IMPLEMENTATION INT(83) INT(89) END"},
    {"lone_zero", "IMPLEMENTATION 0;", "IMPLEMENTATION INT(0) ';' END"},
    {"x_without_digit", "IMPLEMENTATION 0x", "IMPLEMENTATION INT(0) ID(x) END"},
    {"x_then_non_hex", "IMPLEMENTATION 0xg1", "IMPLEMENTATION INT(0) ID(xg1) END"},
    {"mixed_case_hex", "IMPLEMENTATION 0xAbC", "IMPLEMENTATION INT(2748) END"},
    {"digits_then_letters", "IMPLEMENTATION 12abc", "IMPLEMENTATION INT(12) ID(abc) END"},
    {"largest_decimal", "IMPLEMENTATION 9223372036854775807",
     "IMPLEMENTATION INT(9223372036854775807) END"},
    {"decimal_clamped", "IMPLEMENTATION 9223372036854775808",
     "IMPLEMENTATION INT(9223372036854775807) END"},
    {"long_decimal_clamped", "IMPLEMENTATION 123456789012345678901234567890",
     "IMPLEMENTATION INT(9223372036854775807) END"},
    {"hex_clamped", "IMPLEMENTATION 0xFFFFFFFFFFFFFFFF",
     "IMPLEMENTATION INT(9223372036854775807) END"},
    {"hex_32_bits", "IMPLEMENTATION 0xFFFFFFFF", "IMPLEMENTATION INT(4294967295) END"},
    {"octal_clamped", "IMPLEMENTATION 01777777777777777777777",
     "IMPLEMENTATION INT(9223372036854775807) END"},
    {"no_sign", "IMPLEMENTATION -5", "IMPLEMENTATION '-' INT(5) END"},
};
INSTANTIATE_TEST_SUITE_P(Integers, KoilLexerTable, ::testing::ValuesIn(kIntegerCases),
                         [](const auto& info) { return std::string(info.param.name); });

const ScanCase kStateCases[] = {
    {"digits_outside_declarations", "12", "'1' '2' END"},
    {"digits_after_version_keyword", "VERSION 12", "VERSION '1' '2' END"},
    {"totrace_before_implementation", "TOTRACE CTYPE ENUM STRING",
     "ID(TOTRACE) ID(CTYPE) ID(ENUM) ID(STRING) END"},
    {"totrace_after_implementation", "IMPLEMENTATION TOTRACE CTYPE ENUM STRING",
     "IMPLEMENTATION TOTRACE CTYPE ENUM STRING END"},
    {"orti_only_after_ossemantics", "ORTI OSSEMANTICS ORTI IMPLEMENTATION ORTI",
     "ID(ORTI) OSSEMANTICS ORTI IMPLEMENTATION ID(ORTI) END"},
    {"koil_only_after_version", "KOIL VERSION KOIL OSSEMANTICS KOIL",
     "ID(KOIL) VERSION KOIL OSSEMANTICS ID(KOIL) END"},
    {"keywords_case_sensitive_whole_words", "version Koil KOILX VERSIONS IMPLEMENTATION_",
     "ID(version) ID(Koil) ID(KOILX) ID(VERSIONS) ID(IMPLEMENTATION_) END"},
    {"keyword_inside_string", "IMPLEMENTATION \"VERSION 12\" VERSION",
     "IMPLEMENTATION '\"' ST(VERSION 12) '\"' VERSION END"},
    {"section_keyword_leaves_declarations", "IMPLEMENTATION 1 VERSION 1",
     "IMPLEMENTATION INT(1) VERSION '1' END"},
    {"quote_skipped_in_initial", "\"A\"", "ID(A) END"},
    {"version_number_three_parts", "VERSION \"1.5.3\"", "VERSION '\"' VN(1,5) '.' '3' '\"' END"},
    {"version_digits_without_dot", "VERSION \"12\"", "VERSION '\"' '1' '2' '\"' END"},
    {"version_dot_without_digits", "VERSION \"12.\"", "VERSION '\"' '1' '2' '.' '\"' END"},
    {"version_part_clamped", "VERSION \"99999999999.4294967295\"",
     "VERSION '\"' VN(4294967295,4294967295) '\"' END"},
    {"ossemantics_quote_before_digit", "OSSEMANTICS \"ORTI\", \"2.1\"",
     "OSSEMANTICS '\"' ORTI '\"' ',' '\"' VN(2,1) '\"' END"},
    {"ossemantics_quote_before_letter", "OSSEMANTICS \"2.1\" \"x\"",
     "OSSEMANTICS '\"' VN(2,1) '\"' ID(x) END"},
    {"identifier_ends_at_dot", "a.b_1", "ID(a) '.' ID(b_1) END"},
    {"form_feed_and_vertical_tab_are_tokens", "a\f\vb", "ID(a) char 12 char 11 ID(b) END"},
    {"high_bytes_are_tokens", "\xC3\xA9", "char 195 char 169 END"},
    {"empty_string", "IMPLEMENTATION \"\"", "IMPLEMENTATION '\"' '\"' END"},
    {"string_keeps_everything", "IMPLEMENTATION \"a /* b */ // c\n0x1\"",
     "IMPLEMENTATION '\"' ST(a /* b */ // c\n0x1) '\"' END"},
    {"unterminated_string", "IMPLEMENTATION \"abc", "IMPLEMENTATION '\"' ST(abc) END"},
};
INSTANTIATE_TEST_SUITE_P(States, KoilLexerTable, ::testing::ValuesIn(kStateCases),
                         [](const auto& info) { return std::string(info.param.name); });

const ScanCase kCommentCases[] = {
    {"slashes_before_newline", "a//\nb", "ID(a) '/' '/' ID(b) END"},
    {"slashes_at_end", "a//", "ID(a) '/' '/' END"},
    {"line_comment", "a// x y\nb", "ID(a) ID(b) END"},
    {"line_comment_of_cr", "a//\r\nb", "ID(a) ID(b) END"},
    {"line_comment_to_end", "a// x", "ID(a) END"},
    {"block_comment", "a/* x */b", "ID(a) ID(b) END"},
    {"two_stars_before_slash", "a/* x **/b", "ID(a) ID(b) END"},
    {"star_slash_not_nested", "a/* /* x */b */", "ID(a) ID(b) '*' '/' END"},
    {"empty_block_comment", "a/**/b", "ID(a) ID(b) END"},
    {"unterminated_block_comment", "a/* b", "ID(a) END"},
    {"star_at_end_of_comment", "a/* b *", "ID(a) END"},
    {"nul_ends_comment_with_next_byte", std::string("a/* \0xb */", 10), "ID(a) ID(b) '*' '/' END"},
    {"nul_after_star", std::string("a/* *\0xb", 8), "ID(a) ID(b) END"},
    {"nul_at_end_of_comment", std::string("a/* \0", 5), "ID(a) END"},
    {"comment_in_declarations", "IMPLEMENTATION 1/*2*/3//4\n5",
     "IMPLEMENTATION INT(1) INT(3) INT(5) END"},
    {"single_slash", "a/b", "ID(a) '/' ID(b) END"},
    {"nul_outside_comment_is_a_token", std::string("a\0b", 3), "ID(a) char 0 ID(b) END"},
};
INSTANTIATE_TEST_SUITE_P(Comments, KoilLexerTable, ::testing::ValuesIn(kCommentCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct LineCase {
  const char* name;
  std::string input;
  std::vector<int32_t> lines; // the line after each token, the end included
};

class KoilLexerLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(KoilLexerLines, CountsEveryConsumedNewlineOnce) {
  std::vector<int32_t> lines;
  for (const KoilToken& token : koil_tokenize(GetParam().input)) {
    lines.push_back(token.line);
  }
  EXPECT_EQ(lines, GetParam().lines);
}

const LineCase kLineCases[] = {
    // The line is taken when the token has been scanned: blanks after it are not yet read.
    {"blanks_after_token_not_counted", "a\n\nb\n", {1, 3, 4}},
    {"string_over_three_lines", "IMPLEMENTATION \"a\nb\nc\" x", {1, 1, 3, 3, 3, 3}},
    {"block_comment_lines", "a /*\n*\n**/ b", {1, 3, 3}},
    {"star_before_newline_in_comment", "a /* *\n*/ b", {1, 2, 2}},
    {"line_comment_keeps_its_newline", "a // c\nb", {1, 2, 2}},
    {"slashes_before_newline", "//\nb", {1, 1, 2, 2}},
    {"crlf", "a\r\nb\r\n", {1, 2, 3}},
    {"nul_in_comment_then_newline", std::string("a/*\0\nb", 6), {1, 2, 2}},
    // Looking at the byte after a quote in OSSEMANTICS does not count it.
    {"ossemantics_lookahead", "OSSEMANTICS \"\nx", {1, 1, 2, 2}},
    {"version_lookahead", "VERSION \"1\n.2", {1, 1, 1, 2, 2, 2}},
};
INSTANTIATE_TEST_SUITE_P(Lines, KoilLexerLines, ::testing::ValuesIn(kLineCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(KoilLexer, TokensLongerThanTheReadBlockScan) {
  const std::string name(3 * kKoilReadBlock + 17, 'n');
  std::string text(2 * kKoilReadBlock + 5, 's');
  text[kKoilReadBlock] = '\n';
  text[kKoilReadBlock * 2] = '\n';
  const std::string digits(kKoilReadBlock + 3, '7');
  const std::vector<KoilToken> tokens =
      koil_tokenize("IMPLEMENTATION " + name + " \"" + text + "\" 0" + digits + " x");
  ASSERT_EQ(tokens.size(), 8u) << describe(tokens);
  EXPECT_EQ(tokens[1].kind, kKoilIdentifier);
  EXPECT_EQ(tokens[1].text, name);
  EXPECT_EQ(tokens[3].kind, kKoilStringText);
  EXPECT_EQ(tokens[3].text, text);
  EXPECT_EQ(tokens[3].line, 3);
  EXPECT_EQ(tokens[5].kind, kKoilInteger);
  EXPECT_EQ(tokens[5].text, "0" + digits);
  EXPECT_EQ(tokens[5].integer, INT64_MAX);
  EXPECT_EQ(tokens[6].text, "x");
}

TEST(KoilLexer, TokensAcrossBlockBoundariesMatchTheSameTokensInOneBlock) {
  // Every token kind at every offset around the first block boundary.
  const std::string sample = "IMPLEMENTATION abc 0x1F 017 9 \"s\nt\" /* c */ // d\n; \"\" 0X1 /";
  const std::vector<KoilToken> alone = koil_tokenize(sample);
  for (std::size_t pad = kKoilReadBlock - sample.size() - 2; pad <= kKoilReadBlock + 2; ++pad) {
    std::vector<KoilToken> padded = koil_tokenize(std::string(pad, ' ') + sample);
    ASSERT_EQ(describe(padded), describe(alone)) << "padding " << pad;
    for (std::size_t i = 0; i < alone.size(); ++i) {
      EXPECT_EQ(padded[i].line, alone[i].line);
    }
  }
}

TEST(KoilLexer, LongDigitRunInAVersionNumberStaysLinear) {
  // Every digit is a character token; a quadratic rescan of the run would make this crawl.
  const std::string run(200000, '5');
  const std::vector<KoilToken> tokens = koil_tokenize("VERSION \"" + run + "x");
  ASSERT_EQ(tokens.size(), run.size() + 4);
  EXPECT_EQ(tokens[2].kind, '5');
  EXPECT_EQ(tokens[run.size() + 1].kind, '5');
  EXPECT_EQ(tokens[run.size() + 2].text, "x");
}

TEST(KoilLexer, EndOfInputRepeatsWithEmptyText) {
  KoilLexer lexer(std::string_view("a"));
  EXPECT_EQ(lexer.next(), kKoilIdentifier);
  EXPECT_EQ(lexer.next(), kKoilEnd);
  EXPECT_EQ(lexer.text(), "");
  EXPECT_EQ(lexer.next(), kKoilEnd);
}

TEST(KoilLexer, StreamInputGivesTheSameTokensAsMemory) {
  std::string text = "VERSION { KOIL = \"2.1\"; };\nIMPLEMENTATION X { \"a\nb\" 0x7 };\n";
  for (int i = 0; i < 3000; ++i) {
    text += "OBJ_" + std::to_string(i) + " = \"" + std::to_string(i) + "\";\n";
  }
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(std::fwrite(text.data(), 1, text.size(), file), text.size());
  std::rewind(file);
  std::vector<KoilToken> from_file;
  KoilLexer lexer(file);
  do {
    KoilToken token;
    token.kind = lexer.next();
    token.text = lexer.text();
    token.line = lexer.line();
    if (token.kind == kKoilVersionNumber) {
      token.version = lexer.version();
    }
    if (token.kind == kKoilInteger) {
      token.integer = lexer.integer();
    }
    from_file.push_back(token);
  } while (from_file.back().kind != kKoilEnd);
  std::fclose(file);
  EXPECT_TRUE(from_file == koil_tokenize(text));
}

TEST(KoilLexerTest, ReadFailureIsThrownNotFatal) {
  const TempFolder dir("koil_lexer");
  const std::string path = dir.file("write_only.ort");
  std::FILE* file = std::fopen(path.c_str(), "w"); // reading it fails
  ASSERT_NE(file, nullptr);
  KoilLexer lexer(file);
  try {
    lexer.next();
    ADD_FAILURE() << "a failed read must not look like the end of the input";
  } catch (const KoilScannerFailure& failure) {
    EXPECT_STREQ(failure.message, "input in flex scanner failed");
  }
  std::fclose(file);
}

} // namespace
