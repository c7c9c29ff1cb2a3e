// The popup menu and combo box on GTK+: a GtkCombo whose entry is read-only
// for a popup menu. Row texts (UTF-8 copies) and tags are kept in parallel;
// the combo's list is rebuilt from the texts once per batch of changes,
// before the selection is read or set and otherwise from the main loop, with
// the pane's own "changed" handler blocked.
#pragma once
#include <cstdint>
#include <vector>

#include <gtk/gtk.h>

#include "controls/ComboBox.h"
#include "windows/SubPane.h"

class PopupMenu : public SubPane, public ComboBox {
public:
  PopupMenu(ComboBoxControl *control, const FontStructure &font, ContainerPane *container,
            int32_t tabPanelIndex, const QV::Rect &bounds, bool editable);
  ~PopupMenu() override;

  void Change() override;
  void AddItem(const string &text, RuntimeObject *data) override;
  int32_t Selection() override;
  void SetSelection(int32_t index, bool fireEvents) override;
  RuntimeObject *GetItemData(int32_t index) override;
  void SetItemData(int32_t index, RuntimeObject *data) override;
  string GetPopupItem(int32_t index) override;
  void AddSeparator() override;
  void ChangeItem(int32_t index, const string &text) override;
  void ResetContent() override;
  void RemoveItem(int32_t index) override;
  void InsertItem(int32_t index, const string &text, RuntimeObject *data) override;
  int32_t GetCount() override;
  int32_t FindRowByData(RuntimeObject *data) override;
  void FontChanged() override;
  string GetText() override;
  void SetText(const string &text) override;

  virtual string GetEditText();
  virtual void SetEditText(const string &text);
  virtual bool MouseDown(int32_t x, int32_t y);
  virtual bool MouseUp(int32_t x, int32_t y);

  bool HandleClick(int32_t x, int32_t y, int32_t modifiers) override;
  void HandleMouseUp(int32_t x, int32_t y) override;
  bool CanLoseFocusOnArrowKeyPress() override;
  void LostFocus() override;
  void GainedFocus() override;
  bool AcceptFocus() override;
  void HandleAction(int32_t action) override;
  void Close() override;
  bool GetBaseline() override;
  // The text's baseline in the pane's font, relative to the pane's top.
  bool GetBaseline(int32_t &y);
  bool UpdateBounds(QV::Rect *r) override;

  // Hands the rows to the combo now when they changed since it last had them.
  void Flush();
  GtkWidget *Entry() const;
  bool IsEditable() const { return mEditable; }
  int32_t LastSelection() const { return mLastSelection; }

protected:
  SubPane *AsPane() override { return this; }

private:
  static void ChangedCallBack(GtkEditable *entry, PopupMenu *pane);
  static gboolean RebuildCallBack(gpointer pane);
  void DisableEvents();
  void EnableEvents();
  void Rebuild();
  void Invalidate();
  void EmptyComboList();
  void DropItemData();
  bool IsRow(int32_t index) const;

  int32_t mOwnsItemData = 1; // tags are language objects the pane holds
  int32_t mLastSelection = -1;
  uint8_t mEditable;
  std::vector<string> mTexts;          // UTF-8
  std::vector<RuntimeObject *> mData; // counted, parallel to mTexts
  gulong mChangedHandler = 0;
  guint mRebuildSource = 0;
  uint8_t mDirty = 0;
  uint8_t mGrabbing = 0;   // giving the entry the focus
  uint32_t mSelecting = 0; // counts SetSelection calls, nested ones too
};
