// The parts of the awareness state that outlive single operations.
#include "awareness/awareness_state.h"

#include "awareness/attribute_eval.h"

const char* keep_text(AwarenessState& state, std::string text) {
  state.owned_texts.push_back(std::move(text));
  return state.owned_texts.back().c_str();
}

void clear_task_record(TaskContextRecord& record) {
  record.warned = false;
  record.context = nullptr;
  record.registers.forget_all();
}

void attach_model(AwarenessState& state, OrtiModel* model) {
  state.model = model;
  state.cursors.assign(7 + model->vendor_kinds.size(), 0);
  state.list_position = 0;
  state.generation = 0;
  state.task_records.clear();
  if (model->tasks.empty()) {
    return;
  }
  state.task_records.resize(model->tasks.size());
  // A register table installed by an earlier TargetInit sizes the register caches now: the
  // usual order is TargetInit first, load_orti afterwards.
  if (state.register_table != nullptr) {
    for (TaskContextRecord& record : state.task_records) {
      record.registers.reset(static_cast<std::size_t>(state.register_table->count));
    }
  }
  invalidate_caches(state);
}
