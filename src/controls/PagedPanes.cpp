#include "controls/PagedPanes.h"

#include "controls/PagePanelClass.h"

bool PagedPane::CanContain(SubPane *p, bool, bool) {
  return p->GetTabPanelIndex() > 0 && mTabPanelVisible && InRect(&p->Bounds(), &mBounds);
}

void PagedPane::ShowPage(int32_t page, bool visible) {
  for (int32_t i = 0; i < CountChildren(); ++i) {
    SubPane *child = ChildAt(i);
    child->SetTabPanelVisible(visible && child->GetTabPanelIndex() == page);
  }
  StoreTabPanelVisible(visible);
}

void PagePanel::SetTabPanelVisible(bool visible) { ShowPage(mCurrentPage, visible); }

void PagePanel::Close() {
  if (mObject && mObject->control.pane == this)
    mObject->control.pane = nullptr;
  PagedPane::Close();
}
