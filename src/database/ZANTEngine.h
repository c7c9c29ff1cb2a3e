// The built-in engine as the runtime and the language see it: its engine
// definition, the functions that create and open database files, and the
// members of the class ZANTDatabaseOldFormat.
#pragma once
#include <cstdint>

#include "database/DatabaseEngine.h"
#include "foundation/String.h"
#include "runtime/objects/RuntimeObject.h"

extern dbEngineDefinition gZANTEngineDefinition;

// The engine's answer to connectDatabase: nil for every input.
RuntimeObject *connectZANTDatabase(void *data, int32_t length);

extern "C" {
// NewZANTDatabaseOldFormat and OpenZANTDatabaseOldFormat: a Database over a
// new or an existing file named by the folder item, or nil.
RuntimeObject *newZANTDatabase(RuntimeObject *file);
RuntimeObject *openZANTDatabase(RuntimeObject *file);

RuntimeObject *ZANTDatabaseFolderItemGetter(RuntimeObject *object, int32_t param);
void ZANTDatabaseFolderItemSetter(RuntimeObject *object, int32_t param, RuntimeObject *value);
int32_t ZANTDatabaseConnect(RuntimeObject *object);
int32_t ZANTDatabaseCreateDatabaseFile(RuntimeObject *object);
}

// Constructor and destructor of ZANTDatabaseOldFormat objects.
void ZANTDatabaseConstructor(RuntimeObject *object);
void ZANTDatabaseDestructor(RuntimeObject *object);

struct dbDatabase;
// Handles over files named by folder items; nil when the file cannot be
// created or opened (another handle holding it, damage, I/O), with the
// reason in *failure when it is given. FreeZANTHandle closes the file and
// frees the record.
dbDatabase *OpenZANTHandle(RuntimeObject *file, string *failure = nullptr);
dbDatabase *CreateZANTHandle(RuntimeObject *file, string *failure = nullptr);
dbDatabase *OpenZANTPath(const string &path, string *failure = nullptr);
dbDatabase *CreateZANTPath(const string &path, string *failure = nullptr);
void FreeZANTHandle(dbDatabase *db);
