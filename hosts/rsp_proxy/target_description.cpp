#include "target_description.h"

#include <algorithm>
#include <cstdlib>
#include <set>

namespace rsp {

namespace {

// Includes nest rarely and shallowly; a description that includes itself must still end.
constexpr int kMaxIncludeDepth = 8;

bool is_name_char(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '-' || c == ':' || c == '.';
}

std::string xml_unescape(const std::string& text) {
  static const std::pair<const char*, char> kEntities[] = {
      {"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&quot;", '"'}, {"&apos;", '\''}};
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    bool replaced = false;
    if (text[i] == '&') {
      for (const auto& [entity, c] : kEntities) {
        if (text.compare(i, std::char_traits<char>::length(entity), entity) == 0) {
          out += c;
          i += std::char_traits<char>::length(entity);
          replaced = true;
          break;
        }
      }
    }
    if (!replaced) {
      out += text[i++];
    }
  }
  return out;
}

struct Walk {
  const AnnexReader& fetch;
  std::vector<RegisterInfo> registers;
  std::string architecture;
  long next_number = 0;
  std::string error;
};

bool walk_annex(Walk& walk, const std::string& annex, int depth) {
  if (depth > kMaxIncludeDepth) {
    walk.error = "target description includes nest deeper than 8";
    return false;
  }
  std::string text;
  if (!walk.fetch(annex, text)) {
    walk.error = "cannot read the target description " + annex;
    return false;
  }
  // The architecture is an element's text, not an attribute.
  const std::size_t arch = text.find("<architecture>");
  if (arch != std::string::npos && walk.architecture.empty()) {
    const std::size_t start = arch + 14;
    const std::size_t end = text.find('<', start);
    if (end != std::string::npos) {
      walk.architecture = text.substr(start, end - start);
    }
  }
  for (const XmlElement& e : xml_elements(text)) {
    if (e.tag == "xi:include") {
      const std::string* href = e.attribute("href");
      if (href != nullptr && !walk_annex(walk, *href, depth + 1)) {
        return false;
      }
      continue;
    }
    if (e.tag != "reg") {
      continue;
    }
    const std::string* name = e.attribute("name");
    const std::string* bits = e.attribute("bitsize");
    if (name == nullptr || bits == nullptr) {
      continue;
    }
    RegisterInfo r;
    r.name = *name;
    r.bits = static_cast<unsigned>(std::strtoul(bits->c_str(), nullptr, 10));
    const std::string* number = e.attribute("regnum");
    r.number = number != nullptr ? std::strtol(number->c_str(), nullptr, 10) : walk.next_number;
    walk.next_number = r.number + 1;
    if (r.bits == 0 || r.bits % 8 != 0) {
      continue;
    }
    walk.registers.push_back(std::move(r));
  }
  return true;
}

void lay_out(std::vector<RegisterInfo>& registers) {
  std::stable_sort(
      registers.begin(), registers.end(),
      [](const RegisterInfo& a, const RegisterInfo& b) { return a.number < b.number; });
  std::size_t offset = 0;
  for (RegisterInfo& r : registers) {
    r.offset = offset;
    offset += r.bits / 8;
  }
}

} // namespace

const std::string* XmlElement::attribute(const std::string& name) const {
  for (const auto& [key, value] : attributes) {
    if (key == name) {
      return &value;
    }
  }
  return nullptr;
}

std::vector<XmlElement> xml_elements(const std::string& text) {
  std::vector<XmlElement> out;
  std::size_t i = 0;
  while ((i = text.find('<', i)) != std::string::npos) {
    if (text.compare(i, 4, "<!--") == 0) {
      const std::size_t end = text.find("-->", i + 4);
      i = end == std::string::npos ? text.size() : end + 3;
      continue;
    }
    if (i + 1 < text.size() && (text[i + 1] == '?' || text[i + 1] == '!' || text[i + 1] == '/')) {
      const std::size_t end = text.find('>', i);
      i = end == std::string::npos ? text.size() : end + 1;
      continue;
    }
    ++i;
    XmlElement e;
    while (i < text.size() && is_name_char(text[i])) {
      e.tag += text[i++];
    }
    for (;;) {
      while (i < text.size() &&
             (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r')) {
        ++i;
      }
      if (i >= text.size() || text[i] == '>' || text[i] == '/') {
        break;
      }
      std::string key;
      while (i < text.size() && is_name_char(text[i])) {
        key += text[i++];
      }
      if (key.empty() || i >= text.size() || text[i] != '=') {
        break;
      }
      ++i;
      if (i >= text.size() || (text[i] != '"' && text[i] != '\'')) {
        break;
      }
      const char quote = text[i++];
      const std::size_t end = text.find(quote, i);
      if (end == std::string::npos) {
        i = text.size();
        break;
      }
      e.attributes.emplace_back(key, xml_unescape(text.substr(i, end - i)));
      i = end + 1;
    }
    if (!e.tag.empty()) {
      out.push_back(std::move(e));
    }
  }
  return out;
}

std::string xml_escape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
    case '<':
      out += "&lt;";
      break;
    case '>':
      out += "&gt;";
      break;
    case '&':
      out += "&amp;";
      break;
    case '"':
      out += "&quot;";
      break;
    case '\'':
      out += "&apos;";
      break;
    default:
      // Control bytes are not allowed in XML 1.0 at all.
      out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    }
  }
  return out;
}

std::size_t RegisterLayout::total_bytes() const {
  return registers.empty() ? 0 : registers.back().offset + registers.back().bits / 8;
}

const RegisterInfo* RegisterLayout::by_number(long number) const {
  for (const RegisterInfo& r : registers) {
    if (r.number == number) {
      return &r;
    }
  }
  return nullptr;
}

bool read_target_description(const AnnexReader& fetch, RegisterLayout& layout, std::string& error) {
  Walk walk{fetch, {}, {}, 0, {}};
  if (!walk_annex(walk, "target.xml", 0)) {
    error = walk.error;
    return false;
  }
  if (walk.registers.empty()) {
    error = "the target description names no register";
    return false;
  }
  lay_out(walk.registers);
  layout.architecture = walk.architecture;
  layout.registers = std::move(walk.registers);
  return true;
}

RegisterLayout legacy_arm_layout() {
  RegisterLayout layout;
  layout.architecture = "arm";
  static const char* const kCore[] = {"r0", "r1", "r2",  "r3",  "r4",  "r5", "r6", "r7",
                                      "r8", "r9", "r10", "r11", "r12", "sp", "lr", "pc"};
  long n = 0;
  for (const char* name : kCore) {
    layout.registers.push_back(RegisterInfo{name, 32, n++, 0});
  }
  for (int f = 0; f < 8; ++f) {
    layout.registers.push_back(RegisterInfo{"f" + std::to_string(f), 96, n++, 0});
  }
  layout.registers.push_back(RegisterInfo{"fps", 32, n++, 0});
  layout.registers.push_back(RegisterInfo{"cpsr", 32, n++, 0});
  lay_out(layout.registers);
  return layout;
}

} // namespace rsp
