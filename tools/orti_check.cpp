// orti-check: loads an ORTI file the way the plug-in does (scanner, parser, object model)
// without a debugger, so that a user can see at once whether the plug-in will accept a file
// their OS build wrote, what it complains about and which objects it will show.
#include "orti/model/declarations.h"
#include "orti/model/load_trace.h"
#include "orti/model/orti_model.h"
#include "orti/orti_load.h"
#include "runtime/format.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int kExitLoaded = 0;
constexpr int kExitNotLoaded = 1;
constexpr int kExitUsage = 2;
constexpr int kExitScannerFailed = 2; // the stream could not be read, as a scanner reports it

const char kUsage[] =
    "usage: orti-check [--extended_syntax] [--trace LEVEL] FILE\n"
    "\n"
    "Loads the ORTI file FILE as the plug-in's load_orti command does and, when a model\n"
    "could be built, prints its objects and attributes on standard output. Errors and\n"
    "warnings of the object model always go to standard error.\n"
    "\n"
    "  --extended_syntax  accept the extended syntax (bare C types, non-standard types,\n"
    "                     and the constructs of OS generators outside the ORTI grammar)\n"
    "  --trace LEVEL      also show the loader's leveled messages up to LEVEL, as the\n"
    "                     plug-in's debug level would: 0 (the default) shows parse errors\n"
    "                     and the hint after a failure that --extended_syntax would have\n"
    "                     loaded, 100 adds parser warnings, 101 to 110 add\n"
    "                     the object model's load traces (100 + their detail)\n"
    "\n"
    "Exit status: 0 when a model was built, 1 when the file could not be loaded,\n"
    "2 for a usage error or a file that could not be read.\n";

// The hint after a failed strict load is shown at every trace level: a user who runs the
// checker on a generator's file first needs to learn that extended syntax exists.
void leveled_message(void* user, int32_t level, const char* text) {
  const int32_t trace_level = *static_cast<const int32_t*>(user);
  if (level > trace_level && level != kOrtiDialectHintLevel) {
    return;
  }
  std::fflush(stdout);
  std::fputs(text, stderr);
  std::fflush(stderr);
}

bool parse_level(const char* text, int32_t& level) {
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || errno != 0 || value < -1 || value > 100000) {
    return false;
  }
  level = static_cast<int32_t>(value);
  return true;
}

std::string quoted(const char* text) {
  return text != nullptr ? "\"" + std::string(text) + "\"" : std::string("(none)");
}

// The kind and name of an object an ENUM element links to.
std::string object_label(const OrtiObject& object) {
  const char* kind =
      object.kind == kObjectKindVendor ? object.type_name : object_kind_name(object.kind);
  return format("%s %s", kind != nullptr ? kind : "(null)", text_or_null(object.name));
}

void print_attribute(const char* role, const char* slot_name, const AttributeDecl& attr) {
  std::string line = format("    %s %s: %s", role, slot_name != nullptr ? slot_name : attr.name(),
                            attribute_kind_name(attr.kind()));
  if (slot_name != nullptr && attr.name() != nullptr && std::strcmp(slot_name, attr.name()) != 0) {
    line += format(" (declared as %s)", attr.name());
  }
  if (attr.c_type() != nullptr) {
    line += format(" ctype %s", quoted(attr.c_type()).c_str());
  }
  const std::vector<const char*>* elements = attribute_element_formulas(attr);
  if (elements != nullptr) {
    line += format(" array of %d", static_cast<int>(attribute_element_count(attr)));
  } else {
    line += format(" formula %s", quoted(attr.formula).c_str());
  }
  if (attr.to_trace()) {
    line += " TOTRACE";
  }
  if (attr.is_name_attribute()) {
    line += " (name formula)";
  }
  if (attr.description() != nullptr) {
    line += format(" -- %s", attr.description());
  }
  std::printf("%s\n", line.c_str());
  for (std::size_t i = 0; elements != nullptr && i < elements->size(); ++i) {
    const char* formula = (*elements)[i];
    std::printf("      [%zu] %s\n", i,
                formula != nullptr ? format("formula %s", quoted(formula).c_str()).c_str()
                                   : "(not defined)");
  }
  if (attr.elements() == nullptr) {
    return;
  }
  for (const EnumElement& element : *attr.elements()) {
    std::string text = format("      \"%s\" = ", element.label.c_str());
    if (element.match_formula) {
      text += format("match \"%s\"", element.match_formula->c_str());
    } else {
      text += format("%lld", static_cast<long long>(element.value));
    }
    if (element.link_name) {
      text += format(" : %s -> %s", element.link_name->c_str(),
                     element.linked_object != nullptr ? object_label(*element.linked_object).c_str()
                                                      : "(not linked)");
    }
    std::printf("%s\n", text.c_str());
  }
}

// core: the core an OS object serves in a file with one OS object per core, else negative.
void print_object(std::size_t index, const OrtiObject& object, long core = -1) {
  std::printf("  [%zu] %s (type %s%s%s)%s\n", index, text_or_null(object.name),
              text_or_null(object.type_name), object.is_list ? ", list" : "",
              core >= 0 ? format(", serves core %ld", core).c_str() : "",
              object.description != nullptr ? format(" -- %s", object.description).c_str() : "");
  for (int slot = 0; slot < standard_slot_count(object.kind); ++slot) {
    const auto& attr = object.standard[static_cast<std::size_t>(slot)];
    if (attr) {
      print_attribute("standard", standard_attribute_name(object.kind, slot), *attr);
    }
  }
  if (object.valid) {
    print_attribute("standard", "VALID", *object.valid);
  }
  const struct {
    const char* name;
    const AttributeDecl* attr;
  } list_attributes[] = {
      {"_PARENT_NODE", object.parent_node()}, {"_ITEM", object.item()},
      {"_NEXT_NODE", object.next_node()},     {"_NODE_VALID", object.node_valid()},
      {"_NAME", object.name_attribute()},     {"_OWNER", object.owner()}};
  for (const auto& list : list_attributes) {
    if (list.attr) {
      print_attribute("list", list.name, *list.attr);
    }
  }
  for (const CustomAttribute& custom : object.custom_attributes) {
    print_attribute("custom", nullptr, *custom.attribute);
  }
}

void print_kind(const char* title, const std::vector<OrtiObject>& objects) {
  std::printf("\n%s: %zu object%s\n", title, objects.size(), objects.size() == 1 ? "" : "s");
  for (std::size_t i = 0; i < objects.size(); ++i) {
    print_object(i, objects[i]);
  }
}

void print_summary(const OrtiParseTree& tree, const OrtiModel& model, int extended_syntax) {
  std::printf("ORTI file %s\n", text_or_null(tree.file_name ? tree.file_name->c_str() : nullptr));
  std::printf("KOIL version %u.%u, ORTI version %u.%u, implementation %s, extended syntax %s\n",
              tree.koil_version.major, tree.koil_version.minor, model.orti_version.major,
              model.orti_version.minor,
              text_or_null(tree.implementation_name ? tree.implementation_name->c_str() : nullptr),
              extended_syntax != 0 ? "on" : "off");
  std::printf("\nOS:\n");
  const std::size_t os_count = os_object_count(model);
  for (std::size_t core = 0; core < os_count; ++core) {
    print_object(core, *os_for_core(model, static_cast<uint32_t>(core)),
                 os_count > 1 ? static_cast<long>(core) : -1);
  }
  print_kind("TASK", model.tasks);
  print_kind("STACK", model.stacks);
  print_kind("CONTEXT", model.contexts);
  print_kind("ALARM", model.alarms);
  print_kind("RESOURCE", model.resources);
  print_kind("MESSAGECONTAINER", model.message_containers);
  for (std::size_t k = 0; k < model.vendor_kinds.size(); ++k) {
    const std::vector<OrtiObject>& objects = model.vendor_kinds[k].objects;
    const std::string title =
        format("vendor kind %zu, %s", k,
               objects.empty() ? "(empty)" : text_or_null(objects.front().type_name));
    print_kind(title.c_str(), objects);
  }
}

int usage_error(const char* problem) {
  std::fprintf(stderr, "orti-check: %s\n%s", problem, kUsage);
  return kExitUsage;
}

} // namespace

int main(int argc, char** argv) {
  int extended_syntax = 0;
  int32_t trace_level = 0;
  const char* path = nullptr;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--extended_syntax") {
      extended_syntax = 1;
    } else if (arg == "--trace") {
      if (i + 1 >= argc || !parse_level(argv[i + 1], trace_level)) {
        return usage_error("--trace needs a level (an integer)");
      }
      ++i;
    } else if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return kExitLoaded;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return usage_error(format("unknown option %s", arg.c_str()).c_str());
    } else if (path != nullptr) {
      return usage_error("only one FILE can be checked");
    } else {
      path = argv[i];
    }
  }
  if (path == nullptr) {
    return usage_error("no FILE given");
  }

  OrtiLoadSink sink;
  sink.message = leveled_message;
  sink.user = &trace_level;
  sink.max_level = std::max(trace_level, kOrtiDialectHintLevel);
  LoadedOrti loaded;
  const OrtiLoadStatus status = orti_load_file(path, extended_syntax, sink, loaded);
  if (status == OrtiLoadStatus::ScannerFailed) {
    return kExitScannerFailed;
  }
  if (status != OrtiLoadStatus::Loaded) {
    return kExitNotLoaded;
  }
  print_summary(loaded.tree, *loaded.model, loaded.extended_syntax);
  std::fflush(stdout);
  return kExitLoaded;
}
