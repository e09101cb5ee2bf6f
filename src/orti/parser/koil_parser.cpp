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
#include "orti/parser/koil_parser.h"

#include "orti/parser/koil_lexer.h"
#include "runtime/format.h"

#include <new>
#include <optional>
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
};

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
};

class KoilParser {
public:
  KoilParser(KoilLexer& lexer, OrtiParseTree& tree, KoilParseSettings& settings,
             const KoilReports& reports)
      : lexer_(lexer), tree_(tree), settings_(settings), reports_(reports) {}

  bool parse_file();
  void report_error(const char* message) {
    if (reports_.error != nullptr) {
      reports_.error(reports_.user, message, lexer_.line(), lexer_.text().c_str());
    }
  }

private:
  void report_warning(const char* message) {
    if (reports_.warning != nullptr) {
      reports_.warning(reports_.user, message, lexer_.line(), lexer_.text().c_str());
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
  bool parse_implementation_section();
  bool parse_declaration_list();
  bool parse_object_declaration();
  bool parse_attribute_decl(BuiltList<AttributeSpec>& list);
  bool parse_typed_name(TypedName& out);
  bool parse_description_tail(std::optional<std::string>& description);
  bool parse_quoted_text(std::string& out);
  bool parse_enum_list(BuiltList<EnumElement>& list);
  bool parse_enum_element(BuiltList<EnumElement>& list);
  bool parse_string_value(std::string& out);
  bool parse_information_section();
  bool parse_object_definition();
  bool parse_attribute_def(BuiltList<AttributeDef>& list);

  void build_attribute(BuiltList<AttributeSpec>& list, bool to_trace, TypedName&& typed,
                       std::optional<std::string>&& description);
  void build_declaration(std::string&& type_name, std::optional<std::string>&& description,
                         BuiltList<AttributeSpec>&& attributes);
  void typed_ctype(TypedName& out, std::optional<std::string>&& c_type, std::string&& name);

  KoilLexer& lexer_;
  OrtiParseTree& tree_;
  KoilParseSettings& settings_;
  const KoilReports& reports_;
  int lookahead_ = -1; // none read
  int64_t depth_ = 0;
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
  if (!shift(kKoilKoil) || !shift('=') || !shift('"') || !shift(kKoilVersionNumber)) {
    return false;
  }
  const OrtiVersion koil = lexer_.version();
  if (!shift('"') || !shift(';')) {
    return false;
  }
  tree_.koil_version = koil;
  reduce(6);
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

bool KoilParser::parse_implementation_section() {
  if (!shift(kKoilImplementation) || !shift(kKoilIdentifier)) {
    return false;
  }
  tree_.implementation_name = lexer_.text();
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
  std::string type_name = lexer_.text();
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
  if (!parse_typed_name(typed) || !parse_description_tail(description)) {
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
    std::string word = lexer_.text();
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
    if (third != ';' && third != ',') {
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
    BuiltList<EnumElement> elements;
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
      out.type->elements = std::move(elements.items);
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
  std::string name = lexer_.text();
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
  }
  reduce_list(count, 2);
  return true;
}

bool KoilParser::parse_string_value(std::string& out) {
  if (!shift('"')) {
    return false;
  }
  const int next = peek();
  if (next == '"') {
    if (!shift('"')) {
      return false;
    }
    out.clear();
    reduce(2);
    return true;
  }
  if (!shift(kKoilStringText)) {
    return false;
  }
  out = lexer_.text();
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
  element.label = lexer_.text();
  if (!shift('"')) {
    return false;
  }
  int64_t length = 5;
  const int next = peek();
  if (next == ':') {
    if (!shift(':') || !shift(kKoilIdentifier)) {
      return false;
    }
    element.link_name = lexer_.text();
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
  auto definition = std::make_unique<ObjectDefinition>();
  definition->type_name = lexer_.text();
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
  definition->object_name = lexer_.text();
  reduce(1);
  if (!shift('{')) {
    return false;
  }
  BuiltList<AttributeDef> attributes;
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
  if (!shift('}') || !shift(';')) {
    return false;
  }
  if (attributes.items.empty()) {
    report_error("Internal Error: attr == NULL");
  } else {
    definition->attributes = std::move(attributes.items);
    definition->line = lexer_.line();
    definition->file_index = tree_.definitions.size();
    tree_.definitions.push_back(std::move(definition));
  }
  reduce(is_list ? 7 : 6);
  return true;
}

bool KoilParser::parse_attribute_def(BuiltList<AttributeDef>& list) {
  if (!shift(kKoilIdentifier)) {
    return false;
  }
  AttributeDef attribute;
  attribute.name = lexer_.text();
  reduce(1);
  if (!shift('=') || !parse_string_value(attribute.formula) || !shift(';')) {
    return false;
  }
  attribute.line = lexer_.line();
  list.add(std::move(attribute));
  reduce(4);
  return true;
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

int run_parse(KoilLexer& lexer, OrtiParseTree& tree, KoilParseSettings& settings,
              const KoilReports& reports) {
  // The loader may record the file name before or after starting the parse; it survives.
  std::optional<std::string> file_name = std::move(tree.file_name);
  orti_tree_clear(tree);
  tree.file_name = std::move(file_name);
  KoilParser parser(lexer, tree, settings, reports);
  try {
    return parser.parse_file() ? kKoilParseAccepted : kKoilParseRejected;
  } catch (const KoilScannerFailure& failure) {
    if (reports.fatal != nullptr) {
      reports.fatal(reports.user, failure.message);
    }
    return kKoilParseScannerFailed;
  } catch (const std::bad_alloc&) {
    parser.report_error("Internal Error: out of memory");
    return kKoilParseRejected;
  }
}

} // namespace

int koil_parse(std::FILE* input, OrtiParseTree& tree, KoilParseSettings& settings,
               const KoilReports& reports) {
  KoilLexer lexer(input);
  return run_parse(lexer, tree, settings, reports);
}

int koil_parse_text(std::string_view input, OrtiParseTree& tree, KoilParseSettings& settings,
                    const KoilReports& reports) {
  KoilLexer lexer(input);
  return run_parse(lexer, tree, settings, reports);
}

std::string koil_report_text(const char* message, int32_t line, const char* token_text) {
  return format("%s parsing (line %d):\n%s\n", message, static_cast<int>(line), token_text);
}
