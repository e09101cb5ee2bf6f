#include "descriptions.h"

#include <cstdlib>

namespace rsp {

namespace {

std::vector<std::string> fields_of(const std::string& line) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', start);
    out.push_back(line.substr(start, tab == std::string::npos ? tab : tab - start));
    if (tab == std::string::npos) {
      return out;
    }
    start = tab + 1;
  }
}

bool number(const std::string& text, int& value) {
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0') {
    return false;
  }
  value = static_cast<int>(v);
  return true;
}

} // namespace

PluginDescriptions parse_descriptions(const std::vector<std::string>& messages) {
  PluginDescriptions out;
  for (const std::string& message : messages) {
    std::size_t start = 0;
    while (start < message.size()) {
      std::size_t end = message.find('\n', start);
      if (end == std::string::npos) {
        end = message.size();
      }
      std::string line = message.substr(start, end - start);
      start = end + 1;
      if (!line.empty() && line.back() == '\r') {
        line.pop_back();
      }
      const std::vector<std::string> f = fields_of(line);
      int kind = 0;
      int id = 0;
      if (f.size() >= 5 && f[0] == "kind" && number(f[1], kind)) {
        out.kinds[kind] = KindDescription{f[2], f[4]};
      } else if (f.size() >= 5 && f[0] == "attr" && number(f[1], kind) && number(f[3], id) &&
                 out.attribute_names.emplace(std::make_pair(kind, id), f[4]).second) {
        out.attributes[kind].push_back(id);
      }
    }
  }
  return out;
}

} // namespace rsp
