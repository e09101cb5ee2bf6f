// The plug-in's handler registration.
#include "plugin/plugin_registration.h"

#include "plugin/handlers.h"

void plugin_register_handlers(int /*argc*/, char** /*argv*/, ClientHandlerTable& table) {
  table.clear();
  table.set<kOsaInit>(handle_osa_init);
  table.set<kOsaCleanup>(handle_osa_cleanup);
  table.set<kTargetInit>(handle_target_init);
  table.set<kTargetCleanup>(handle_target_cleanup);
  table.set<kObjectListInit>(handle_object_list_init);
  table.set<kObjectListCleanup>(handle_object_list_cleanup);
  table.set<kObjectListNext>(handle_object_list_next);
  table.set<kObjectListAttribute>(handle_object_list_attribute);
  table.set<kTaskRegisterRead>(handle_task_register_read);
  table.set<kTaskRegisterWrite>(handle_task_register_write);
  table.set<kTaskNameGet>(handle_task_name_get);
  table.set<kTaskStatusGet>(handle_task_status_get);
  table.set<kCurrentTaskGet>(handle_current_task_get);
  table.set<kTargetNotify>(handle_target_notify);
  table.set<kOsaCmdExecute>(handle_osa_cmd_execute);
}
