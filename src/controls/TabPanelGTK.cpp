#include <gtk/gtk.h>

#include <cstring>

#include "controls/PagePanelClass.h"
#include "foundation/TextEncodings.h"
#include "windows/GTKHelper.h"

namespace {

// Set while a page switch runs its setValue: the switch that setValue
// itself causes is not handled again. One flag for every tab panel.
bool sSwitching = false;

class SwitchGuard {
public:
  SwitchGuard() : mWas(sSwitching) { sSwitching = true; }
  ~SwitchGuard() { sSwitching = mWas; }
  SwitchGuard(const SwitchGuard &) = delete;
  SwitchGuard &operator=(const SwitchGuard &) = delete;

private:
  bool mWas;
};

GtkNotebook *Notebook(SubPane *pane) { return GTK_NOTEBOOK(pane->GetWidget()); }

} // namespace

TabPanel::TabPanel(TabPanelDelegate *delegate, const FontStructure &font,
                   ContainerPane *container, int32_t tabPanelIndex, const QV::Rect &bounds,
                   int32_t facing)
    : PagedPane(container, tabPanelIndex, bounds), mFont(font), mDelegate(delegate) {
  SetWidget(gtk_notebook_new());
  GTKHelper::SetupWidget(this, true);
  setFacing(facing);
  g_signal_connect(GetWidget(), "switch-page", G_CALLBACK(SwitchPageCallBack), this);
}

TabPanel *newTabPanel(TabPanelDelegate *delegate, const FontStructure &font,
                      ContainerPane *container, int32_t tabPanelIndex, const QV::Rect &bounds,
                      int32_t facing, unsigned char) {
  return new TabPanel(delegate, font, container, tabPanelIndex, bounds, facing);
}

void TabPanel::setFacing(int32_t facing) {
  static const GtkPositionType kSides[] = {GTK_POS_TOP, GTK_POS_BOTTOM, GTK_POS_LEFT,
                                           GTK_POS_RIGHT};
  if (facing >= 0 && facing < 4)
    gtk_notebook_set_tab_pos(Notebook(this), kSides[facing]);
}

GtkWidget *TabPanel::TabLabel(int32_t index) {
  GtkNotebook *book = Notebook(this);
  GtkWidget *page = gtk_notebook_get_nth_page(book, index);
  return page ? gtk_notebook_get_tab_label(book, page) : nullptr;
}

void TabPanel::setFont(const FontStructure &font) {
  mFont = font;
  for (int32_t i = 0; i < GetCount(); ++i)
    if (GtkWidget *label = TabLabel(i))
      GTKHelper::SetupFont(label, &mFont);
}

void TabPanel::Destroy() {}

void TabPanel::SetCaption(int32_t index, const string &caption) {
  if (GtkWidget *label = TabLabel(index))
    GTKHelper::SetCaption(label, caption, &mFont);
}

string TabPanel::GetCaption(int32_t index) {
  GtkWidget *label = TabLabel(index);
  const char *text = label ? gtk_label_get_text(GTK_LABEL(label)) : nullptr;
  if (!text || !*text)
    return string();
  string caption;
  caption.ConstructFromBuffer(text, static_cast<int>(strlen(text)), kEncodingUTF8);
  return caption;
}

int32_t TabPanel::GetCount() { return gtk_notebook_get_n_pages(Notebook(this)); }

// The first page becomes current as it is added: that switch is not
// reported, since the panel is still being built.
void TabPanel::addPanel(const string &caption) {
  GtkWidget *page = gtk_fixed_new();
  gtk_widget_show(page);
  GtkWidget *label = gtk_label_new(GTKHelper::ToUTF8(caption).CString());
  GTKHelper::SetupFont(label, &mFont);
  gtk_widget_show(label);
  SwitchGuard guard;
  gtk_notebook_append_page(Notebook(this), page, label);
}

int32_t TabPanel::getValue() { return gtk_notebook_get_current_page(Notebook(this)) + 1; }

// The pane is locked throughout: a Change handler of the page switch may
// close it.
void TabPanel::setValue(int32_t page) {
  Lock();
  gtk_notebook_set_current_page(Notebook(this), page - 1);
  if (mDelegate && !mClosing)
    mDelegate->tabPanelChanged(this);
  Unlock();
}

void TabPanel::SwitchPageCallBack(GtkNotebook *, gpointer, guint number, TabPanel *pane) {
  if (sSwitching)
    return;
  SwitchGuard guard;
  pane->setValue(static_cast<int32_t>(number) + 1);
}

bool TabPanel::AcceptFocus() { return mEnabled && mVisible && mTabPanelVisible; }

void TabPanel::SetTabPanelVisible(bool visible) { ShowPage(getValue(), visible); }

void TabPanel::Close() {
  if (mObject && mObject->page.control.pane == this)
    mObject->page.control.pane = nullptr;
  PagedPane::Close();
}
