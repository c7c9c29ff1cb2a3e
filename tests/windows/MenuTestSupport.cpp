#include "MenuTestSupport.h"

#include "runtime/objects/ClassLookup.h"

RunMenuItem *MakeItem(const char *name, const char *text, int32_t index, ObjectDefinition *cls) {
  RunMenuItem *item = AsMenuItem(CreateInstance(cls ? cls : MenuItemClass()));
  item->mImp->SetName(string(name));
  item->mImp->SetText(string(text ? text : name));
  item->mImp->SetIndex(index);
  return item;
}

RunMenuItem *AddItem(RunMenuItem *parent, const char *name, const char *text, int32_t index) {
  RunMenuItem *item = MakeItem(name, text, index);
  parent->mImp->AddChild(item);
  Release(item);
  return item;
}

void Release(RunMenuItem *item) {
  if (item)
    RuntimeUnlockObject(&item->header);
}

std::string NameOf(RunMenuItem *item) {
  return item ? std::string(item->mImp->GetName().CString()) : "(nil)";
}

std::string LabelOf(RunMenuItem *item) {
  GtkWidget *widget = GTKNodeOf(item)->ItemWidget();
  GtkWidget *child = widget ? gtk_bin_get_child(GTK_BIN(widget)) : nullptr;
  return child && GTK_IS_LABEL(child) ? gtk_label_get_label(GTK_LABEL(child)) : "";
}

bool LabelSensitive(RunMenuItem *item) {
  GtkWidget *label = gtk_bin_get_child(GTK_BIN(GTKNodeOf(item)->ItemWidget()));
  return gtk_widget_is_sensitive(label);
}

bool HasAccelerator(RunMenuItem *item, guint key, GdkModifierType mods) {
  guint n = 0;
  GtkAccelGroupEntry *entries = gtk_accel_group_query(MenuAcceleratorGroup(), key, mods, &n);
  GList *closures = gtk_widget_list_accel_closures(GTKNodeOf(item)->ItemWidget());
  bool found = false;
  for (guint i = 0; i < n; ++i)
    found = found || g_list_find(closures, entries[i].closure) != nullptr;
  g_list_free(closures);
  return found;
}

namespace {
int sCriticals = 0;
std::string sLast;

void CountCritical(const gchar *domain, GLogLevelFlags level, const gchar *message, gpointer) {
  if (level & (G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING)) {
    ++sCriticals;
    sLast = std::string(domain ? domain : "") + ": " + (message ? message : "");
  }
}
} // namespace

CriticalCounter::CriticalCounter() {
  sCriticals = 0;
  sLast.clear();
  mPrevious = g_log_set_default_handler(CountCritical, nullptr);
  mPreviousData = nullptr;
}

CriticalCounter::~CriticalCounter() { g_log_set_default_handler(mPrevious, mPreviousData); }
int CriticalCounter::count() const { return sCriticals; }
const std::string &CriticalCounter::last() const { return sLast; }
