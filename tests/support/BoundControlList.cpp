#include "support/BoundControlList.h"

#include "controls/RuntimeControl.h"
#include "database/classes/DataControlClass.h"
#include "foundation/String.h"

std::vector<std::string> BoundControls(RuntimeObject *dataControl) {
  std::vector<std::string> names;
  if (!dataControl)
    return names;
  for (const BoundControlEntry *e = reinterpret_cast<DataControlObject *>(dataControl)->bound; e; e = e->next) {
    stringStorage *name = e->control ? reinterpret_cast<RuntimeControl *>(e->control)->name : nullptr;
    names.push_back(std::to_string(e->kind) + " " + (name ? stringStorage::CString(name) : "?"));
  }
  return names;
}
