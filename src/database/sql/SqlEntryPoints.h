// Registers the SQL's entry points in the export table under their export
// names, for images and plug-ins that bind them by name until the database
// classes' member tables list them.
#pragma once

void RegisterSqlEntryPoints();
