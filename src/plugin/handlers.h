// The plug-in's handlers of the OSA client methods: the context life cycle (OsaInit,
// TargetInit, TargetCleanup, OsaCleanup, TargetNotify), the object lists, the task calls, the
// task registers and the commands. Each finds the plug-in state of its call, holds it for the
// call's duration and hands the work to the awareness runtime or the command table.
#pragma once

#include "osa/client_methods.h"

int32_t handle_osa_init(OsaCntx* ctx, ClientArea* area);
int32_t handle_osa_cleanup(OsaCntx* ctx, ClientArea* area);
int32_t handle_target_init(OsaCntx* ctx, ClientArea* area, TargetDataLink* target);
int32_t handle_target_cleanup(OsaCntx* ctx, ClientArea* area, TargetDataLink* target);
int32_t handle_object_list_init(OsaCntx* ctx, ClientArea* area, void* target, int32_t objTypeId,
                                const ParentRecord* parent);
int32_t handle_object_list_cleanup(OsaCntx* ctx, ClientArea* area, void* target, int32_t objTypeId,
                                   const ParentRecord* parent);
int32_t handle_object_list_next(OsaCntx* ctx, ClientArea* area, void* target, int32_t objTypeId,
                                const ParentRecord* parent);
int32_t handle_object_list_attribute(OsaCntx* ctx, ClientArea* area, void* target,
                                     int32_t objTypeId, const ParentRecord* parent,
                                     int32_t objAtrId, TypedValue* value);
int32_t handle_task_register_read(OsaCntx* ctx, ClientArea* area, void* target, uint64_t taskId,
                                  int32_t reg, uint64_t* value);
int32_t handle_task_register_write(OsaCntx* ctx, ClientArea* area, void* target, uint64_t taskId,
                                   int32_t reg, uint64_t value);
int32_t handle_task_name_get(OsaCntx* ctx, ClientArea* area, void* target, uint64_t taskId,
                             TypedValue* value);
int32_t handle_task_status_get(OsaCntx* ctx, ClientArea* area, void* target, uint64_t taskId,
                               TypedValue* value);
int32_t handle_current_task_get(OsaCntx* ctx, ClientArea* area, void* target, uint64_t core,
                                uint64_t* taskId);
int32_t handle_target_notify(OsaCntx* ctx, ClientArea* area, void* target, int32_t notice);
int32_t handle_osa_cmd_execute(OsaCntx* ctx, ClientArea* area, void* target, const char* command);
