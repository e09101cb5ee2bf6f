// The describe command.
#include "plugin/describe_command.h"

#include "awareness/object_attributes.h"
#include "awareness/object_types.h"
#include "awareness/osa_trace.h"
#include "orti/model/declarations.h"
#include "plugin/command_args.h"
#include "runtime/format.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace {

// The number of per-core values of an attribute: its elements, or for an OS attribute with one OS
// object per core, that many (each core reads its own object's). A host asks for each of them
// with the core's hostCoreId.
int attribute_elements(const PluginState& state, int32_t type, const AttributeDecl& attr) {
  const int elements = attribute_element_count(attr);
  if (type == kTypeOs && state.model != nullptr) {
    return std::max(elements, static_cast<int>(os_object_count(*state.model)));
  }
  return elements;
}

// What one object gives at one attribute id.
struct Attribute {
  int64_t object = 0;
  std::string name;
  const AttributeDecl* decl = nullptr;
};

std::vector<Attribute> attributes_at(const PluginState& state, int32_t type, int32_t attr_id) {
  std::vector<Attribute> found;
  const int64_t count = object_count(state, type);
  for (int64_t i = 0; i < count; ++i) {
    const OrtiObject* object = object_at(state, type, i);
    if (object == nullptr) {
      continue;
    }
    const AttributeDecl* decl = nullptr;
    const char* name = nullptr;
    if (attr_id < kAttributeFirstCustom) {
      decl = standard_attribute(*object, type, attr_id);
      name = standard_attribute_label(type, attr_id);
    } else {
      const int64_t n = static_cast<int64_t>(attr_id) - kAttributeFirstCustom;
      if (n < object->custom_attribute_count()) {
        decl = object->custom_attributes[static_cast<std::size_t>(n)].attribute.get();
        name = decl != nullptr ? decl->name() : nullptr;
      }
    }
    if (decl != nullptr) {
      found.push_back(Attribute{i, record_field(name), decl});
    }
  }
  return found;
}

bool all_alike(const std::vector<Attribute>& found) {
  for (const Attribute& a : found) {
    if (!orti_name_equal(a.name.c_str(), found.front().name.c_str()) ||
        a.decl->kind() != found.front().decl->kind() ||
        attribute_element_count(*a.decl) != attribute_element_count(*found.front().decl)) {
      return false;
    }
  }
  return true;
}

void attribute_records(const PluginState& state, int32_t type, int32_t attr_id,
                       std::vector<std::string>* records) {
  const std::vector<Attribute> found = attributes_at(state, type, attr_id);
  if (found.empty()) {
    return;
  }
  const bool alike = all_alike(found);
  for (const Attribute& a : found) {
    const std::string obj = alike ? std::string("*") : std::to_string(a.object);
    records->push_back(format(
        "attr\t%d\t%s\t%d\t%s\t%s\t%d\t%s\n", static_cast<int>(type), obj.c_str(),
        static_cast<int>(attr_id), a.name.c_str(), attribute_kind_name(a.decl->kind()),
        attribute_elements(state, type, *a.decl), record_field(a.decl->description()).c_str()));
    if (alike) {
      return;
    }
  }
}

void kind_records(const PluginState& state, int32_t type, std::vector<std::string>* records) {
  const int64_t count = object_count(state, type);
  const OrtiObject* first = object_at(state, type, 0);
  records->push_back(format("kind\t%d\t%s\t%lld\t%s\n", static_cast<int>(type),
                            record_field(object_type_name(state, type)).c_str(),
                            static_cast<long long>(count),
                            record_field(first != nullptr ? first->description : nullptr).c_str()));
  for (int32_t id = kAttributeFirstStandard;
       id <= kAttributeLastStandard && standard_attribute_label(type, id) != nullptr; ++id) {
    attribute_records(state, type, id, records);
  }
  int32_t customs = 0;
  for (int64_t i = 0; i < count; ++i) {
    if (const OrtiObject* object = object_at(state, type, i)) {
      customs = std::max(customs, object->custom_attribute_count());
    }
  }
  for (int32_t n = 0; n < customs; ++n) {
    attribute_records(state, type, kAttributeFirstCustom + n, records);
  }
}

std::vector<int32_t> every_type(const PluginState& state) {
  std::vector<int32_t> types;
  for (int32_t type = kTypeOs; type <= kTypeMessageContainer; ++type) {
    types.push_back(type);
  }
  for (int32_t type = kTypeVendorBase; object_type_exists(state, type); ++type) {
    types.push_back(type);
  }
  return types;
}

// A type id written in decimal digits only.
std::optional<int32_t> type_id(std::string_view word) {
  if (word.empty() || word.size() > 10) {
    return std::nullopt;
  }
  int64_t id = 0;
  for (const char c : word) {
    if (c < '0' || c > '9') {
      return std::nullopt;
    }
    id = id * 10 + (c - '0');
  }
  if (id > std::numeric_limits<int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<int32_t>(id);
}

std::optional<int32_t> named_type(const PluginState& state, std::string_view word) {
  if (const std::optional<int32_t> id = type_id(word)) {
    return object_type_exists(state, *id) ? id : std::nullopt;
  }
  const std::string name(word);
  for (const int32_t type : every_type(state)) {
    const char* type_name = object_type_name(state, type);
    if (type_name != nullptr && orti_name_equal(type_name, name.c_str())) {
      return type;
    }
  }
  return std::nullopt;
}

// The records for args, each ending with "\n"; false with the reason in *error.
bool describe_records(const PluginState& state, const std::string& args,
                      std::vector<std::string>* records, std::string* error) {
  if (state.model == nullptr) {
    *error = "describe: no ORTI file is loaded\n";
    return false;
  }
  std::string_view kind = skip_spaces(args);
  while (!kind.empty() && is_command_space(kind.back())) {
    kind.remove_suffix(1);
  }
  std::vector<int32_t> types;
  if (kind.empty()) {
    types = every_type(state);
  } else if (const std::optional<int32_t> type = named_type(state, kind)) {
    types.push_back(*type);
  } else {
    *error = format("describe: no object kind %s (a type name, or a type id: 0-6, 100 and up)\n",
                    record_field(std::string(kind).c_str()).c_str());
    return false;
  }
  for (const int32_t type : types) {
    kind_records(state, type, records);
  }
  return true;
}

} // namespace

bool command_describe(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args) {
  // Every record is made before the first is shown: each message is a service request, during
  // which a nested command may add register locations to the model.
  std::vector<std::string> records;
  std::string error;
  if (!describe_records(state, args, &records, &error)) {
    osa_display(ctx, kMessageTypeUser, error);
    return false;
  }
  for (const std::string& record : records) {
    osa_display(ctx, kMessageTypeOutput, record);
  }
  return true;
}
