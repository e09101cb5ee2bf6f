// An ORTI file loaded once per fuzzing process instead of once per input.
//
// Parsing the file is the same work for every input and cost most of each run. The loaded
// tree and model are lent to each input's fresh plug-in state, as a successful load_orti would
// have left it, and afterwards everything an input can change in them is put back: the
// formulas that expr and mapregloc point elsewhere, the register locations mapregloc adds,
// the custom attributes' flags, the value caches, and the links that finding task contexts
// writes into ENUM elements. The state owns only the file name, so an input whose calls
// destroy the state (OsaCleanup) leaves the model alive for the next input.
//
// An input must behave as if it were the process's first. fuzz_plugin's verify mode
// (OSA_FUZZ_VERIFY_PRELOAD=1) runs each input both ways and stops at the first difference,
// which is how a change that adds state to the model is caught.
#pragma once

#include "awareness/awareness_state.h"
#include "orti/orti_load.h"
#include "plugin/plugin_state.h"

#include <array>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz_support {

class PreloadedOrti {
public:
  // Loads the file at path (or, when text is given, that text under the name path); aborts
  // when it does not load, since every input would then test nothing.
  explicit PreloadedOrti(std::string path, std::string_view text = {})
      : path_(std::move(path)), text_(text) {
    load();
  }
  PreloadedOrti(const PreloadedOrti&) = delete;
  PreloadedOrti& operator=(const PreloadedOrti&) = delete;

  // Makes state look loaded: the model attached and the file name recorded.
  void lend_to(PluginState& state) {
    state.orti.tree.file_name = loaded_.tree.file_name;
    state.orti.extended_syntax = loaded_.extended_syntax;
    state.orti.error_count = loaded_.error_count;
    attach_model(state, loaded_.model.get());
  }

  // Puts the model and tree back as they were after the load. Call it once no state uses the
  // model any more. Records that an input replaced (rather than changed) cannot be put back;
  // the file is then loaded again.
  void restore() {
    if (!put_back()) {
      load();
    }
  }

private:
  // The fields of an attribute record an input may reassign.
  struct DeclFields {
    AttributeDecl* decl;
    const AttributeFacts* facts; // read only through the record, so only the pointer can change
    const char* formula;
    std::vector<const char*> element_formulas;
  };
  struct ObjectFields {
    OrtiObject* object;
    std::array<AttributeDecl*, 7 + kStandardSlotCount> slots;
    std::vector<AttributeDecl*> custom;
    std::vector<bool> flags;
  };

  void load() {
    OrtiLoadSink quiet;
    const OrtiLoadStatus status = text_.empty() ? orti_load_file(path_, 0, quiet, loaded_)
                                                : orti_load_text(text_, path_, 0, quiet, loaded_);
    if (status != OrtiLoadStatus::Loaded) {
      std::abort();
    }
    take_snapshot();
  }

  static std::array<AttributeDecl*, 7 + kStandardSlotCount> slots_of(const OrtiObject& o) {
    std::array<AttributeDecl*, 7 + kStandardSlotCount> slots{
        o.valid.get(),  o.parent_node(),    o.item(), o.next_node(),
        o.node_valid(), o.name_attribute(), o.owner()};
    for (std::size_t i = 0; i < kStandardSlotCount; ++i) {
      slots[7 + i] = o.standard[i].get();
    }
    return slots;
  }

  template <class Visit> void each_object(Visit&& visit) {
    OrtiModel& model = *loaded_.model;
    visit(model.os);
    for (std::vector<OrtiObject>* kind :
         {&model.further_os, &model.tasks, &model.contexts, &model.stacks, &model.alarms,
          &model.resources, &model.message_containers}) {
      for (OrtiObject& object : *kind) {
        visit(object);
      }
    }
    for (VendorKind& kind : model.vendor_kinds) {
      for (OrtiObject& object : kind.objects) {
        visit(object);
      }
    }
  }

  void keep_decl(AttributeDecl* d) {
    if (d != nullptr) {
      const std::vector<const char*>* elements = attribute_element_formulas(*d);
      decls_.push_back({d, &d->facts(), d->formula,
                        elements != nullptr ? *elements : std::vector<const char*>()});
    }
  }

  void take_snapshot() {
    decls_.clear();
    objects_.clear();
    links_.clear();
    definitions_.clear();
    each_object([this](OrtiObject& object) {
      ObjectFields fields{&object, slots_of(object), {}, {}};
      for (AttributeDecl* d : fields.slots) {
        keep_decl(d);
      }
      for (CustomAttribute& custom : object.custom_attributes) {
        fields.custom.push_back(custom.attribute.get());
        fields.flags.push_back(custom.flag);
        keep_decl(custom.attribute.get());
      }
      objects_.push_back(std::move(fields));
    });
    for (auto& declaration : loaded_.tree.declarations) {
      for (AttributeSpec& spec : declaration->attributes) {
        for (EnumElement& element : spec.type.elements) {
          links_.push_back({&element, element.linked_object});
        }
      }
    }
    for (auto& definition : loaded_.tree.definitions) {
      definitions_.push_back({definition.get(), definition->instance, definition->processed});
    }
  }

  bool put_back() {
    for (ObjectFields& fields : objects_) {
      OrtiObject& object = *fields.object;
      if (slots_of(object) != fields.slots ||
          object.custom_attributes.size() < fields.custom.size()) {
        return false;
      }
      // Locations that mapregloc added go; the file's own attributes stay where they were.
      object.custom_attributes.resize(fields.custom.size());
      for (std::size_t i = 0; i < fields.custom.size(); ++i) {
        if (object.custom_attributes[i].attribute.get() != fields.custom[i]) {
          return false;
        }
        object.custom_attributes[i].flag = fields.flags[i];
      }
    }
    for (const DeclFields& f : decls_) {
      AttributeDecl& d = *f.decl;
      d.share_facts(*f.facts);
      d.formula = f.formula;
      // Same length as when loaded: assigned in place, nothing allocated.
      if (std::vector<const char*>* elements = attribute_element_formulas(d)) {
        *elements = f.element_formulas;
      }
      // Emptied and freed, as before the first evaluation, so that the next input neither finds
      // these values nor inherits their memory.
      d.value_cache.clear();
    }
    for (auto& [element, linked] : links_) {
      element->linked_object = linked;
    }
    for (auto& [definition, instance, processed] : definitions_) {
      definition->instance = instance;
      definition->processed = processed;
    }
    return true;
  }

  struct Link {
    EnumElement* element;
    OrtiObject* linked;
  };
  struct Definition {
    ObjectDefinition* definition;
    OrtiObject* instance;
    bool processed;
  };

  std::string path_;
  std::string text_;
  LoadedOrti loaded_;
  std::vector<DeclFields> decls_;
  std::vector<ObjectFields> objects_;
  std::vector<Link> links_;
  std::vector<Definition> definitions_;
};

} // namespace fuzz_support
