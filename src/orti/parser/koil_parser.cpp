// The KOIL grammar: a hand-written parser that behaves as the LALR(1) parser of the grammar.
//
// Two things of an LALR(1) parser are visible from outside and are kept here exactly:
// - When a production is reduced, relative to reading the next token. In a state whose only
//   action is one reduction the parser reduces without reading a look-ahead; in every other
//   state it reads the look-ahead first. The scanner's line and token text at that moment are
//   what the nodes store and the reports print. Every production that builds a node or reports
//   ends in such a consistent state (after its ";", its INTEGER or its closing quote), so the
//   node gets the line of its last token. The exceptions are noted where they occur: the empty
//   missing_version, and an attribute name after CTYPE, which needs the next token to tell it
//   from a C type.
// - The depth of the parser stack. The lists are right-recursive, so every item stays on the
//   stack until its list ends; the parse fails with "yacc stack overflow" when the stack would
//   exceed its largest size. The parser here loops over list items (nothing recurses per item)
//   and counts the entries such a stack would hold: each shifted token is one entry, and a
//   reduction replaces the entries of its right-hand side by one.
// Errors are detected at the same token as well: at every point only the tokens that the
// LALR(1) state accepts are accepted, and in a state that both shifts and reduces the
// reduction happens only on its look-ahead tokens.
//
// Extended syntax widens a few of those states for the constructs that OS generators write
// outside the grammar (KoilDialect). Each widening sits exactly where the grammar would report
// its syntax error, so a strict parse still fails at the same token with the same report.
#include "orti/parser/koil_parser.h"

#include "orti/parser/koil_lexer.h"
#include "runtime/format.h"
#include "runtime/platform.h"

#include <limits>
#include <new>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace {

// The largest stack: it starts at 200 entries and doubles up to this size.
constexpr int64_t kMaxStackDepth = 0x500000;

// Attributes that the model builder supplies for list objects: they may be defined in the
// information section but never declared.
constexpr const char* kReservedNames[] = {"_PARENT_NODE", "_ITEM", "_NEXT_NODE", "_NODE_VALID",
                                          "_OWNER"};

bool equal_ignoring_case(const std::string& a, const char* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i] != '\0'; ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'a' && x <= 'z') {
      x = static_cast<char>(x - 'a' + 'A');
    }
    if (y >= 'a' && y <= 'z') {
      y = static_cast<char>(y - 'a' + 'A');
    }
    if (x != y) {
      return false;
    }
  }
  return i == a.size() && b[i] == '\0';
}

const char* reserved_name(const std::string& name) {
  for (const char* reserved : kReservedNames) {
    if (equal_ignoring_case(name, reserved)) {
      return reserved;
    }
  }
  return nullptr;
}

// The name and type of a typed_name, before they move into an AttributeSpec.
struct TypedName {
  std::string name;
  std::optional<AttributeType> type; // absent when its construction failed
  bool is_array = false;
};

bool is_koil_23_or_later(const OrtiVersion& version) {
  return version.major > 2 || (version.major == 2 && version.minor >= 3);
}

// Tokens that may stand inside the quotes of a KOIL version that is not a number: anything but
// what ends the line or opens another section.
bool is_version_text_token(int kind) {
  return kind != ';' && kind != '{' && kind != '}' && kind != kKoilEnd && kind != kKoilVersion &&
         kind != kKoilOsSemantics && kind != kKoilImplementation;
}

bool same_enum_value(const EnumElement& a, const EnumElement& b) {
  return a.match_formula == b.match_formula && (a.match_formula || a.value == b.value);
}

// The items of a right-recursive list as the reductions link them: an item that was not built
// cuts the list there, and the items after it are dropped with it.
template <typename T> struct BuiltList {
  std::vector<T> items;
  bool cut = false;
  void add(T&& item) {
    if (!cut) {
      items.push_back(std::move(item));
    }
  }
  // For a list that is built again and again (the attributes of every object), so that its
  // room is allocated once; the nodes get copies of exactly their size.
  void restart() {
    items.clear();
    cut = false;
  }
};

class KoilParser {
public:
  KoilParser(KoilLexer& lexer, OrtiParseTree& tree, KoilParseSettings& settings,
             const KoilReports& reports)
      : lexer_(lexer), tree_(tree), settings_(settings), reports_(reports) {}

  bool parse_file();
  void report_error(const char* message) {
    if (reports_.error != nullptr) {
      reports_.error(reports_.user, message, lexer_.line(), std::string(lexer_.text()).c_str());
    }
  }

private:
  void report_warning(const char* message) {
    if (reports_.warning != nullptr) {
      reports_.warning(reports_.user, message, lexer_.line(), std::string(lexer_.text()).c_str());
    }
  }

  int peek() {
    if (lookahead_ < 0) {
      lookahead_ = lexer_.next();
    }
    return lookahead_;
  }
  bool syntax_error() {
    report_error("syntax error");
    return false;
  }
  bool extended() const { return settings_.extended_syntax != 0; }
  const char* file_name() const { return tree_.file_name ? tree_.file_name->c_str() : "(null)"; }
  // An error of extended syntax, where the grammar's "syntax error" would not say enough: the
  // message names the line and the file itself. Ends the parse like a syntax error.
  bool extended_error(const std::string& message) {
    report_error(message.c_str());
    return false;
  }
  // The first use of a construct is recorded and told; later uses only pass.
  template <class Detail> void note_dialect(KoilDialect construct, int32_t line, Detail&& detail) {
    int32_t& first = tree_.dialect_line(construct);
    if (first != 0) {
      return;
    }
    first = line;
    if (reports_.dialect != nullptr) {
      const std::string text = detail();
      reports_.dialect(reports_.user, construct, line, text.c_str());
    }
  }
  // A construct of an OS generator at the look-ahead. Extended syntax takes it; otherwise the
  // parse fails there with the grammar's report, and the tree records what it failed on.
  template <class Detail>
  bool accept_dialect(KoilDialect construct, int32_t line, Detail&& detail) {
    if (!extended()) {
      int32_t& first = tree_.dialect_line(construct);
      if (first == 0) {
        first = line;
      }
      return syntax_error();
    }
    note_dialect(construct, line, detail);
    return true;
  }
  // Arrays are the grammar's own from KOIL 2.3 on, and a dialect before it.
  template <class Detail> bool accept_array(int32_t line, Detail&& detail) {
    return arrays_in_grammar_ || accept_dialect(KoilDialect::Array, line, detail);
  }
  bool push() {
    if (depth_ >= kMaxStackDepth) {
      report_error("yacc stack overflow");
      return false;
    }
    ++depth_;
    return true;
  }
  // Shifts the look-ahead when it is of the kind the state expects. The token's text and value
  // stay readable from the scanner until the next token is read.
  bool shift(int kind) {
    if (peek() != kind) {
      return syntax_error();
    }
    lookahead_ = -1;
    return push();
  }
  // A reduction of a production with a non-empty right-hand side: its entries are replaced by
  // the one of the nonterminal, which never needs more room.
  void reduce(int64_t length) { depth_ -= length - 1; }
  // At the end of a right-recursive list of `count` items, `width` entries each (the separator
  // included), the list's reductions leave one entry for the whole list.
  void reduce_list(int64_t count, int64_t width) { depth_ -= width * (count - 1); }

  bool parse_version_section();
  bool parse_koil_version();
  bool parse_implementation_section();
  bool parse_declaration_list();
  bool parse_object_declaration();
  bool parse_attribute_decl(BuiltList<AttributeSpec>& list);
  bool parse_typed_name(TypedName& out);
  bool parse_description_tail(std::optional<std::string>& description);
  bool parse_quoted_text(std::string& out);
  bool parse_enum_list(BuiltList<EnumElement>& list);
  bool parse_enum_element(BuiltList<EnumElement>& list);
  bool parse_string_value(KoilText& out);
  bool parse_information_section();
  bool parse_object_definition();
  bool parse_attribute_def(BuiltList<AttributeDef>& list);
  bool parse_attribute_value(AttributeDef& attribute);
  void check_repeated_labels(const std::vector<EnumElement>& elements);

  void build_attribute(BuiltList<AttributeSpec>& list, bool to_trace, TypedName&& typed,
                       std::optional<std::string>&& description);
  void build_declaration(std::string&& type_name, std::optional<std::string>&& description,
                         BuiltList<AttributeSpec>&& attributes);
  void typed_ctype(TypedName& out, std::optional<std::string>&& c_type, std::string&& name);

  KoilLexer& lexer_;
  OrtiParseTree& tree_;
  KoilParseSettings& settings_;
  const KoilReports& reports_;
  int lookahead_ = -1;                     // none read
  BuiltList<AttributeDef> attribute_defs_; // of the object being parsed
  BuiltList<EnumElement> enum_elements_;   // of the ENUM type being parsed
  int64_t depth_ = 0;
  bool arrays_in_grammar_ = false; // KOIL 2.3 or later
  // The line of an attribute definition whose ";" was missing, while the next one is parsed:
  // if that one does not begin as a definition, the missing ";" left the text ambiguous.
  int32_t unterminated_line_ = 0;
};

bool KoilParser::parse_file() {
  depth_ = 1; // the start state
  const int first = peek();
  if (first == kKoilVersion) {
    if (!parse_version_section()) {
      return false;
    }
  } else if (first == kKoilImplementation) {
    // The start state shifts VERSION and reduces the empty missing_version only on
    // IMPLEMENTATION, so that token has been read: the warning shows it and its line.
    if (settings_.extended_syntax == 0) {
      report_warning("This file appears to be for an older ORTI file specification\n"
                     "Auto-enabling old-style extended syntax support");
      settings_.extended_syntax = 1;
    }
    if (!push()) {
      return false;
    }
  } else {
    return syntax_error();
  }
  if (!parse_implementation_section() || !parse_information_section()) {
    return false;
  }
  reduce(3);
  return true; // the look-ahead that ended the information section is the end of input
}

bool KoilParser::parse_version_section() {
  if (!shift(kKoilVersion) || !shift('{')) {
    return false;
  }
  if (!shift(kKoilKoil) || !shift('=') || !shift('"') || !parse_koil_version()) {
    return false;
  }
  if (!shift(kKoilOsSemantics) || !shift('=') || !shift('"') || !shift(kKoilOrti) || !shift('"') ||
      !shift(',') || !shift('"') || !shift(kKoilVersionNumber)) {
    return false;
  }
  const OrtiVersion orti = lexer_.version();
  if (!shift('"') || !shift(';')) {
    return false;
  }
  tree_.orti_version = orti;
  reduce(10);
  if (!shift('}') || !shift(';')) {
    return false;
  }
  reduce(6);
  return true;
}

// The KOIL line from its version on (KOIL, "=" and the opening quote are shifted). A version
// that is not a number ("PLATFORM") is extended syntax: the KOIL version then stays 0.0.
bool KoilParser::parse_koil_version() {
  std::string text;
  int64_t shifted = 0;
  if (peek() == kKoilVersionNumber) {
    if (!shift(kKoilVersionNumber)) {
      return false;
    }
    const OrtiVersion koil = lexer_.version();
    if (peek() == '"') {
      if (!shift('"') || !shift(';')) {
        return false;
      }
      tree_.koil_version = koil;
      arrays_in_grammar_ = is_koil_23_or_later(koil);
      reduce(6);
      return true;
    }
    // A number with more text after it ("2.2a") is no number either.
    text = format("%u.%u", koil.major, koil.minor);
    shifted = 1;
  }
  if (!is_version_text_token(peek())) {
    return syntax_error();
  }
  const int32_t line = lexer_.line();
  if (!extended()) {
    return accept_dialect(KoilDialect::KoilVersionText, line, [] { return std::string(); });
  }
  while (peek() != '"') {
    if (!is_version_text_token(peek())) {
      return extended_error(
          format("Syntax Error: the KOIL version at line %d of %s has no closing quote",
                 static_cast<int>(line), file_name()));
    }
    if (!text.empty()) {
      text += ' ';
    }
    text += lexer_.text();
    if (!shift(peek())) {
      return false;
    }
    ++shifted;
  }
  if (!shift('"') || !shift(';')) {
    return false;
  }
  note_dialect(KoilDialect::KoilVersionText, line, [&] { return "\"" + text + "\""; });
  reduce(5 + shifted);
  return true;
}

bool KoilParser::parse_implementation_section() {
  if (!shift(kKoilImplementation) || !shift(kKoilIdentifier)) {
    return false;
  }
  tree_.implementation_name = std::string(lexer_.text());
  reduce(1);
  if (!shift('{') || !parse_declaration_list() || !shift('}') || !shift(';')) {
    return false;
  }
  reduce(6);
  return true;
}

bool KoilParser::parse_declaration_list() {
  int64_t count = 0;
  for (;;) {
    if (!parse_object_declaration()) {
      return false;
    }
    ++count;
    const int next = peek();
    if (next == '}') {
      break;
    }
    if (next != kKoilIdentifier) {
      return syntax_error();
    }
  }
  reduce_list(count, 1);
  return true;
}

bool KoilParser::parse_object_declaration() {
  if (!shift(kKoilIdentifier)) {
    return false;
  }
  std::string type_name(lexer_.text());
  reduce(1);
  if (!shift('{')) {
    return false;
  }
  BuiltList<AttributeSpec> attributes;
  int64_t count = 0;
  for (;;) {
    if (!parse_attribute_decl(attributes)) {
      return false;
    }
    ++count;
    const int next = peek();
    if (next == '}') {
      break;
    }
    if (next != kKoilToTrace && next != kKoilCtype && next != kKoilEnum && next != kKoilString &&
        next != '"' && next != kKoilIdentifier) {
      return syntax_error();
    }
  }
  reduce_list(count, 1);
  std::optional<std::string> description;
  if (!shift('}') || !parse_description_tail(description)) {
    return false;
  }
  const int64_t length = description ? 7 : 5;
  build_declaration(std::move(type_name), std::move(description), std::move(attributes));
  reduce(length);
  return true;
}

bool KoilParser::parse_attribute_decl(BuiltList<AttributeSpec>& list) {
  const bool to_trace = peek() == kKoilToTrace;
  if (to_trace && !shift(kKoilToTrace)) {
    return false;
  }
  const int64_t head = to_trace ? 1 : 0;
  TypedName typed;
  std::optional<std::string> description;
  if (!parse_typed_name(typed)) {
    return false;
  }
  if (peek() == '[') {
    // NAME[]: the declaration of an array, whose elements the definitions index.
    if (!accept_array(lexer_.line(), [&] { return typed.name + "[]"; }) || !shift('[') ||
        !shift(']')) {
      return false;
    }
    typed.is_array = true;
    reduce(3);
  }
  if (!parse_description_tail(description)) {
    return false;
  }
  const int64_t length = head + (description ? 4 : 2);
  build_attribute(list, to_trace, std::move(typed), std::move(description));
  reduce(length);
  return true;
}

// The end that object and attribute declarations share: ";" alone, or "," and a quoted
// description before it. Returns with the ";" shifted and nothing read after it, because the
// state after the ";" reduces without a look-ahead: the node is built with that token's line
// and text.
bool KoilParser::parse_description_tail(std::optional<std::string>& description) {
  if (peek() == ';') {
    return shift(';');
  }
  std::string text;
  if (!shift(',') || !parse_quoted_text(text) || !shift(';')) {
    return false;
  }
  description = std::move(text);
  return true;
}

// quote STRING_TEXT quote, reduced to one entry: a quoted C type or a description. (A string
// value differs: it may be empty.)
bool KoilParser::parse_quoted_text(std::string& out) {
  if (!shift('"') || !shift(kKoilStringText)) {
    return false;
  }
  out = lexer_.text();
  if (!shift('"')) {
    return false;
  }
  reduce(3);
  return true;
}

void KoilParser::typed_ctype(TypedName& out, std::optional<std::string>&& c_type,
                             std::string&& name) {
  out.name = std::move(name);
  out.type.emplace();
  out.type->kind = kKindCtype;
  out.type->c_type = std::move(c_type);
}

bool KoilParser::parse_typed_name(TypedName& out) {
  const int first = peek();
  if (first == kKoilCtype) {
    if (!shift(kKoilCtype)) {
      return false;
    }
    const int second = peek();
    if (second == '"') {
      std::string c_type;
      if (!parse_quoted_text(c_type) || !shift(kKoilIdentifier)) {
        return false;
      }
      typed_ctype(out, std::move(c_type), std::string(lexer_.text()));
      reduce(1);
      reduce(3);
      return true;
    }
    if (!shift(kKoilIdentifier)) {
      return false;
    }
    std::string word(lexer_.text());
    // After CTYPE an identifier is either the C type or the attribute name: the state must
    // read the next token to choose (another identifier: it was the C type).
    const int third = peek();
    if (third == kKoilIdentifier) {
      reduce(1);
      if (!shift(kKoilIdentifier)) {
        return false;
      }
      typed_ctype(out, std::move(word), std::string(lexer_.text()));
      reduce(1);
      reduce(3);
      return true;
    }
    if (third != ';' && third != ',' && third != '[') {
      return syntax_error();
    }
    reduce(1);
    typed_ctype(out, std::nullopt, std::move(word));
    reduce(2);
    return true;
  }
  if (first == kKoilEnum) {
    if (!shift(kKoilEnum)) {
      return false;
    }
    std::optional<std::string> c_type;
    int64_t length = 5;
    const int second = peek();
    if (second == '"') {
      c_type.emplace();
      if (!parse_quoted_text(*c_type)) {
        return false;
      }
      length = 6;
    } else if (second == kKoilIdentifier) {
      if (!shift(kKoilIdentifier)) {
        return false;
      }
      c_type = lexer_.text();
      reduce(1);
      length = 6;
    } else if (second != '[') {
      return syntax_error();
    }
    BuiltList<EnumElement>& elements = enum_elements_;
    elements.restart();
    if (!shift('[') || !parse_enum_list(elements) || !shift(']') || !shift(kKoilIdentifier)) {
      return false;
    }
    out.name = lexer_.text();
    reduce(1);
    if (elements.items.empty()) {
      report_error("Internal Error: elements == NULL");
    } else {
      out.type.emplace();
      out.type->kind = kKindEnum;
      out.type->c_type = std::move(c_type);
      out.type->elements.assign(elements.items.begin(), elements.items.end());
    }
    reduce(length);
    return true;
  }
  if (first == kKoilString) {
    if (!shift(kKoilString) || !shift(kKoilIdentifier)) {
      return false;
    }
    out.name = lexer_.text();
    out.type.emplace();
    out.type->kind = kKindString;
    reduce(1);
    reduce(2);
    return true;
  }
  // A bare C type: the extended syntax of old-style files.
  std::string c_type;
  if (first == '"') {
    if (!parse_quoted_text(c_type)) {
      return false;
    }
  } else if (first == kKoilIdentifier) {
    if (!shift(kKoilIdentifier)) {
      return false;
    }
    c_type = lexer_.text();
    reduce(1);
  } else {
    return syntax_error();
  }
  if (!shift(kKoilIdentifier)) {
    return false;
  }
  std::string name(lexer_.text());
  reduce(1);
  if (settings_.extended_syntax == 0) {
    // Counted as an error, but not a syntax error of the parser: the parse goes on.
    report_error("syntax error");
  }
  typed_ctype(out, std::move(c_type), std::move(name));
  reduce(2);
  return true;
}

bool KoilParser::parse_enum_list(BuiltList<EnumElement>& list) {
  int64_t count = 0;
  for (;;) {
    if (!parse_enum_element(list)) {
      return false;
    }
    ++count;
    const int next = peek();
    if (next == ']') {
      break;
    }
    if (next != ',') {
      return syntax_error();
    }
    if (!shift(',')) {
      return false;
    }
    if (peek() == ']') {
      if (!accept_dialect(KoilDialect::TrailingComma, lexer_.line(), [&] {
            return list.items.empty() ? std::string() : std::string(list.items.back().label);
          })) {
        return false;
      }
      reduce(2); // the last element with its comma
      break;
    }
  }
  reduce_list(count, 2);
  if (extended()) {
    check_repeated_labels(list.items);
  }
  return true;
}

// Generators that list one label per value of a state repeat the label. Only the first use in
// a file is told, so once told the lists are not looked at again.
void KoilParser::check_repeated_labels(const std::vector<EnumElement>& elements) {
  if (tree_.dialect_line(KoilDialect::RepeatedLabel) != 0 || elements.size() < 2) {
    return;
  }
  std::unordered_map<std::string_view, std::size_t> first_of_label;
  first_of_label.reserve(elements.size());
  for (std::size_t i = 0; i < elements.size(); ++i) {
    const auto [it, inserted] = first_of_label.try_emplace(elements[i].label, i);
    if (!inserted && !same_enum_value(elements[it->second], elements[i])) {
      note_dialect(KoilDialect::RepeatedLabel, elements[i].line,
                   [&] { return std::string(elements[i].label); });
      return;
    }
  }
}

bool KoilParser::parse_string_value(KoilText& out) {
  if (!shift('"')) {
    return false;
  }
  const int next = peek();
  if (next == '"') {
    if (!shift('"')) {
      return false;
    }
    out = KoilText();
    reduce(2);
    return true;
  }
  if (!shift(kKoilStringText)) {
    return false;
  }
  out = tree_.store.copy(lexer_.text());
  if (!shift('"')) {
    return false;
  }
  reduce(3);
  return true;
}

bool KoilParser::parse_enum_element(BuiltList<EnumElement>& list) {
  if (!shift('"') || !shift(kKoilStringText)) {
    return false;
  }
  EnumElement element;
  element.label = tree_.store.copy(lexer_.text());
  if (!shift('"')) {
    return false;
  }
  int64_t length = 5;
  const int next = peek();
  if (next == ':') {
    if (!shift(':') || !shift(kKoilIdentifier)) {
      return false;
    }
    element.link_name = tree_.store.copy(lexer_.text());
    length = 7;
  } else if (next != '=') {
    return syntax_error();
  }
  if (!shift('=')) {
    return false;
  }
  const int value = peek();
  if (value == kKoilInteger) {
    if (!shift(kKoilInteger)) {
      return false;
    }
    // Enum values are 32-bit: the low 32 bits, sign-extended.
    element.value = static_cast<int32_t>(static_cast<uint32_t>(lexer_.integer()));
    reduce(1);
  } else if (value == '"') {
    element.match_formula.emplace();
    if (!parse_string_value(*element.match_formula)) {
      return false;
    }
  } else {
    return syntax_error();
  }
  element.line = lexer_.line();
  list.add(std::move(element));
  reduce(length);
  return true;
}

bool KoilParser::parse_information_section() {
  int64_t count = 0;
  for (;;) {
    if (!parse_object_definition()) {
      return false;
    }
    ++count;
    const int next = peek();
    if (next == kKoilEnd) {
      break;
    }
    if (next != kKoilIdentifier) {
      return syntax_error();
    }
  }
  reduce_list(count, 1);
  return true;
}

bool KoilParser::parse_object_definition() {
  if (!shift(kKoilIdentifier)) {
    return false;
  }
  std::unique_ptr<ObjectDefinition> definition = ObjectDefinition::make_in(tree_.store);
  definition->type_name = tree_.store.intern(lexer_.text());
  reduce(1);
  const int next = peek();
  const bool is_list = next == '*';
  if (is_list) {
    if (!shift('*')) {
      return false;
    }
    definition->is_list = true;
  } else if (next != kKoilIdentifier) {
    return syntax_error();
  }
  if (!shift(kKoilIdentifier)) {
    return false;
  }
  definition->object_name = tree_.store.copy(lexer_.text());
  reduce(1);
  if (!shift('{')) {
    return false;
  }
  BuiltList<AttributeDef>& attributes = attribute_defs_;
  attributes.restart();
  int64_t count = 0;
  for (;;) {
    if (!parse_attribute_def(attributes)) {
      return false;
    }
    ++count;
    const int after = peek();
    if (after == '}') {
      break;
    }
    if (after != kKoilIdentifier) {
      return syntax_error();
    }
  }
  reduce_list(count, 1);
  if (!shift('}')) {
    return false;
  }
  int64_t length = is_list ? 7 : 6;
  const int32_t close_line = lexer_.line();
  bool terminated = true;
  const int after = peek();
  if (after == ';') {
    if (!shift(';')) {
      return false;
    }
  } else if (after == kKoilIdentifier || after == kKoilEnd) {
    // The next object, or the end of the file: the object has ended all the same.
    if (!accept_dialect(KoilDialect::MissingSemicolon, close_line,
                        [&] { return "object " + std::string(definition->object_name); })) {
      return false;
    }
    terminated = false;
    --length;
  } else if (extended()) {
    return extended_error(format("Syntax Error: \";\" expected after object %s at line %d of %s",
                                 definition->object_name.c_str(), static_cast<int>(close_line),
                                 file_name()));
  } else {
    return syntax_error();
  }
  if (attributes.items.empty()) {
    report_error("Internal Error: attr == NULL");
  } else {
    definition->attributes.assign(attributes.items.data(),
                                  attributes.items.data() + attributes.items.size(),
                                  tree_.store.arrays());
    definition->line = terminated ? lexer_.line() : close_line;
    definition->file_index = tree_.definitions.size();
    tree_.definitions.push_back(std::move(definition));
  }
  reduce(length);
  return true;
}

bool KoilParser::parse_attribute_def(BuiltList<AttributeDef>& list) {
  if (!shift(kKoilIdentifier)) {
    return false;
  }
  AttributeDef attribute;
  attribute.name = tree_.store.intern(lexer_.text());
  reduce(1);
  int64_t length = 4;
  const int next = peek();
  if (next == '[') {
    // NAME[i]: one element of an array attribute.
    if (!accept_array(lexer_.line(), [&] { return std::string(attribute.name) + "[]"; }) ||
        !shift('[') || !shift(kKoilInteger)) {
      return false;
    }
    const int64_t index = lexer_.integer();
    // Clamped: the model refuses every index above kMaxArrayIndex, however large.
    attribute.index = index > std::numeric_limits<int32_t>::max()
                          ? std::numeric_limits<int32_t>::max()
                          : static_cast<int32_t>(index);
    if (!shift(']')) {
      return false;
    }
    length += 3;
  } else if (next != '=' && unterminated_line_ != 0 && extended()) {
    return extended_error(
        format("Syntax Error: \";\" missing at line %d of %s, and the text after it is no "
               "attribute definition",
               static_cast<int>(unterminated_line_), file_name()));
  }
  unterminated_line_ = 0;
  if (!shift('=') || !parse_attribute_value(attribute)) {
    return false;
  }
  const int32_t value_line = lexer_.line();
  const int after = peek();
  if (after == ';') {
    if (!shift(';')) {
      return false;
    }
    attribute.line = lexer_.line();
  } else if (after == kKoilIdentifier || after == '}') {
    // The next definition, or the end of the object: the definition has ended all the same.
    if (!accept_dialect(KoilDialect::MissingSemicolon, value_line,
                        [&] { return "attribute " + std::string(attribute.name); })) {
      return false;
    }
    attribute.line = value_line;
    unterminated_line_ = after == kKoilIdentifier ? value_line : 0;
    --length;
  } else if (extended()) {
    return extended_error(
        format("Syntax Error: \";\" expected after the definition of %s at line %d of %s",
               attribute.name.c_str(), static_cast<int>(value_line), file_name()));
  } else {
    return syntax_error();
  }
  list.add(std::move(attribute));
  reduce(length);
  return true;
}

// The formula of a definition: a quoted text, or with extended syntax an identifier or a
// number, whose text as written is the formula.
bool KoilParser::parse_attribute_value(AttributeDef& attribute) {
  const int value = peek();
  if (value == '"') {
    return parse_string_value(attribute.formula);
  }
  if (value == kKoilIdentifier || value == kKoilInteger) {
    if (!accept_dialect(
            KoilDialect::BareValue, lexer_.line(),
            [&] { return std::string(attribute.name) + " = " + std::string(lexer_.text()); }) ||
        !shift(value)) {
      return false;
    }
    attribute.formula = tree_.store.copy(lexer_.text());
    reduce(1);
    return true;
  }
  if (extended()) {
    return extended_error(format("Syntax Error: the value of %s at line %d of %s is neither a "
                                 "quoted text, an identifier nor a number",
                                 attribute.name.c_str(), static_cast<int>(lexer_.line()),
                                 file_name()));
  }
  return syntax_error();
}

void KoilParser::build_attribute(BuiltList<AttributeSpec>& list, bool to_trace, TypedName&& typed,
                                 std::optional<std::string>&& description) {
  if (const char* reserved = reserved_name(typed.name)) {
    report_error(format("Syntax Error: %s is a reserved attribute name", reserved).c_str());
    list.cut = true;
    return;
  }
  if (!typed.type) {
    report_error("Internal Error: type == NULL");
    list.cut = true;
    return;
  }
  AttributeSpec spec;
  spec.to_trace = to_trace;
  spec.is_array = typed.is_array;
  spec.type = std::move(*typed.type);
  spec.name = std::move(typed.name);
  spec.description = std::move(description);
  spec.line = lexer_.line();
  list.add(std::move(spec));
}

void KoilParser::build_declaration(std::string&& type_name,
                                   std::optional<std::string>&& description,
                                   BuiltList<AttributeSpec>&& attributes) {
  if (attributes.items.empty()) {
    report_error("Internal Error: attr == NULL");
    return;
  }
  auto declaration = std::make_unique<ObjectDeclaration>();
  declaration->type_name = std::move(type_name);
  declaration->description = std::move(description);
  declaration->attributes = std::move(attributes.items);
  declaration->line = lexer_.line();
  tree_.declarations.push_back(std::move(declaration));
}

// A file of generated objects holds one definition in about every hundred bytes; room for one
// in every 64 makes growing the list rare, and room that is never written costs no memory.
// Only a guess, so it stays below a size whose mere reservation could fail.
constexpr std::size_t kInputBytesPerDefinition = 64;
constexpr std::size_t kMaxReservedDefinitions = 4 * 1024 * 1024;

void reserve_definitions(OrtiParseTree& tree, std::size_t input_bytes) {
  const std::size_t expected = input_bytes / kInputBytesPerDefinition;
  try {
    tree.definitions.reserve(expected < kMaxReservedDefinitions ? expected
                                                                : kMaxReservedDefinitions);
  } catch (const std::bad_alloc&) {
    // The list grows as definitions come, as for an input of unknown length.
  }
}

// input_bytes: the input's length where it is known, else 0.
int run_parse(KoilLexer& lexer, std::size_t input_bytes, OrtiParseTree& tree,
              KoilParseSettings& settings, const KoilReports& reports) {
  // The loader may record the file name before or after starting the parse; it survives.
  std::optional<std::string> file_name = std::move(tree.file_name);
  orti_tree_clear(tree);
  tree.file_name = std::move(file_name);
  KoilParser parser(lexer, tree, settings, reports);
  int status = kKoilParseRejected;
  try {
    tree.store.expect_input(input_bytes);
    reserve_definitions(tree, input_bytes);
    status = parser.parse_file() ? kKoilParseAccepted : kKoilParseRejected;
  } catch (const KoilScannerFailure& failure) {
    if (reports.fatal != nullptr) {
      reports.fatal(reports.user, failure.message);
    }
    status = kKoilParseScannerFailed;
  } catch (const std::bad_alloc&) {
    parser.report_error("Internal Error: out of memory");
    status = kKoilParseRejected;
  }
  tree.store.release_unused();
  return status;
}

} // namespace

int koil_parse(std::FILE* input, OrtiParseTree& tree, KoilParseSettings& settings,
               const KoilReports& reports) {
  KoilLexer lexer(input);
  // A pipe's length is not known beforehand; its tree grows as it comes.
  const int64_t size = platform_stream_file_size(input);
  return run_parse(lexer, size > 0 ? static_cast<std::size_t>(size) : 0, tree, settings, reports);
}

int koil_parse_text(std::string_view input, OrtiParseTree& tree, KoilParseSettings& settings,
                    const KoilReports& reports) {
  KoilLexer lexer(input);
  return run_parse(lexer, input.size(), tree, settings, reports);
}

std::string koil_dialect_warning(KoilDialect construct, const char* detail, int32_t line,
                                 const char* file_name) {
  const char* d = detail != nullptr ? detail : "";
  std::string text;
  switch (construct) {
  case KoilDialect::Array:
    text = format("ORTI 2.3 array %s in a file of KOIL below 2.3", d);
    break;
  case KoilDialect::TrailingComma:
    text = format("Comma after the last element \"%s\" of an ENUM list", d);
    break;
  case KoilDialect::BareValue:
    text = format("Unquoted value in %s", d);
    break;
  case KoilDialect::MissingSemicolon:
    text = format("Missing \";\" after %s", d);
    break;
  case KoilDialect::KoilVersionText:
    text = format("KOIL version %s, which is not a number,", d);
    break;
  case KoilDialect::SeveralOs:
    text = format("Second OS object %s (one OS object per core)", d);
    break;
  case KoilDialect::RepeatedLabel:
    text = format("ENUM label \"%s\" repeated with another value", d);
    break;
  }
  append_format(text,
                " at line %d of %s: accepted as extended syntax; later uses are not reported\n",
                static_cast<int>(line), file_name != nullptr ? file_name : "(null)");
  return text;
}

std::string koil_report_text(const char* message, int32_t line, const char* token_text) {
  return format("%s parsing (line %d):\n%s\n", message, static_cast<int>(line), token_text);
}
