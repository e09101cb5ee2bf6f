// The names of the plug-in's object kinds and attributes, as its "describe" command lists
// them, one record per line:
//   kind<TAB>TYPEID<TAB>TYPENAME<TAB>OBJECTCOUNT<TAB>DESCRIPTION
//   attr<TAB>TYPEID<TAB>OBJ<TAB>ATTRID<TAB>NAME<TAB>TYPE<TAB>ELEMENTS<TAB>DESCRIPTION
// (OBJ is '*' or a 0-based object index; ids 1 and 2, number and name, are not listed).
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace rsp {

struct KindDescription {
  std::string name;
  std::string description;
};

struct PluginDescriptions {
  std::map<int, KindDescription> kinds;
  std::map<std::pair<int, int>, std::string> attribute_names; // (kind, attribute id)
  std::map<int, std::vector<int>> attributes;                 // kind -> ids, in listed order
};

// The records of the messages the command displayed; lines that are not records are skipped.
PluginDescriptions parse_descriptions(const std::vector<std::string>& messages);

} // namespace rsp
