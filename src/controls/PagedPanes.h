// The panes of page panels and tab panels. Both show one page of their
// child controls at a time: a child belongs to the page its tab-panel index
// names (1-based; 0 is on no page) and is hidden through its tab-visible
// flag while another page is current. The page panel has no look of its
// own; the tab panel is a GTK+ notebook of empty pages whose tabs choose the
// page. The children's widgets stay in the window's fixed container.
#pragma once
#include <cstdint>

#include "foundation/QVGeometry.h"
#include "foundation/String.h"
#include "graphics/FontStructure.h"
#include "windows/SubPane.h"

struct PagePanelObject;
struct TabPanelObject;

// What both panels share: which children they can hold and showing one page.
class PagedPane : public ContainerPane {
public:
  using ContainerPane::ContainerPane;

  // A child on some page (index above 0) whose bounds lie within the
  // panel's, while the panel is tab-visible.
  bool CanContain(SubPane *p, bool needVisible, bool sameTab) override;

protected:
  // Each child shows when it is on the page and visible is true; then the
  // panel's own tab-visible flag takes visible.
  void ShowPage(int32_t page, bool visible);
};

class PagePanel : public PagedPane {
public:
  PagePanel(ContainerPane *container, int32_t tabPanelIndex, const QV::Rect &bounds)
      : PagedPane(container, tabPanelIndex, bounds) {}

  int32_t CurrentPage() const { return mCurrentPage; }
  void SetCurrentPage(int32_t page) { mCurrentPage = page; }

  bool IsPagePanel() override { return true; }
  void SetTabPanelVisible(bool visible) override;
  // A closing panel is forgotten by its object.
  void Close() override;

  void SetObject(PagePanelObject *object) { mObject = object; }

private:
  int32_t mCurrentPage = 1;
  PagePanelObject *mObject = nullptr; // not counted
};

class TabPanel;

// What a tab panel reports.
class TabPanelDelegate {
public:
  virtual void tabPanelChanged(TabPanel *pane) = 0;
  virtual void TabPanelGotFocus(TabPanel *pane) = 0;
  virtual void TabPanelLostFocus(TabPanel *pane) = 0;
  virtual bool TabPanelHandleClick(TabPanel *pane, int32_t x, int32_t y, int32_t modifiers) = 0;

protected:
  ~TabPanelDelegate() = default;
};

class TabPanel : public PagedPane {
public:
  TabPanel(TabPanelDelegate *delegate, const FontStructure &font, ContainerPane *container,
           int32_t tabPanelIndex, const QV::Rect &bounds, int32_t facing);

  // 0 puts the tabs at the top, 1 at the bottom, 2 on the left, 3 on the
  // right; other values change nothing.
  virtual void setFacing(int32_t facing);
  // Kept, and applied to every tab's label.
  virtual void setFont(const FontStructure &font);
  virtual void Destroy();
  // Tab index (0-based) takes the caption, "&" markers as mnemonics.
  virtual void SetCaption(int32_t index, const string &caption);
  // Tab index's caption as UTF-8; nil when it has no text.
  virtual string GetCaption(int32_t index);
  virtual int32_t GetCount();

  // A new last page whose tab shows the caption as it is (no mnemonics).
  void addPanel(const string &caption);
  // The current page, 1-based.
  int32_t getValue();
  // Page - 1 becomes current, then the delegate hears of it, whether or not
  // the page changed.
  void setValue(int32_t page);

  bool AcceptFocus() override;
  bool CanLoseFocusOnArrowKeyPress() override { return false; }
  bool IsTabPanel() override { return true; }
  void SetTabPanelVisible(bool visible) override;
  void GainedFocus() override {}
  void LostFocus() override {}
  void HandleMouseDrag(int32_t, int32_t) override {}
  void HandleMouseUp(int32_t, int32_t) override {}
  // A closing panel is forgotten by its object.
  void Close() override;

  void SetObject(TabPanelObject *object) { mObject = object; }
  TabPanelObject *Object() const { return mObject; }
  void SetDelegate(TabPanelDelegate *delegate) { mDelegate = delegate; }
  GtkWidget *TabLabel(int32_t index);

private:
  static void SwitchPageCallBack(GtkNotebook *notebook, gpointer page, guint number,
                                 TabPanel *pane);

  FontStructure mFont;
  TabPanelDelegate *mDelegate;       // not owned
  TabPanelObject *mObject = nullptr; // not counted
};

TabPanel *newTabPanel(TabPanelDelegate *delegate, const FontStructure &font,
                      ContainerPane *container, int32_t tabPanelIndex, const QV::Rect &bounds,
                      int32_t facing, unsigned char smallTabs);
