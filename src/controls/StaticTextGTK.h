// The label pane on GTK+: a GtkLabel on screen, and the same caption drawn
// by the pane itself whenever it is drawn into a Graphics (offscreen,
// printing). It fires the label's mouse events itself and can take its
// caption from a data control of its window.
#pragma once
#include <cstdint>
#include <vector>

#include "controls/DataBindingServices.h"
#include "foundation/QVColor.h"
#include "graphics/FontStructure.h"
#include "windows/SubPane.h"

struct StaticTextObject;

class StaticText : public SubPane, public DataAwareClass {
public:
  StaticText(ContainerPane *parent, int32_t tabPanelIndex, const QV::Rect &bounds);
  ~StaticText() override;

  void InitializeBinding() override;
  void RemoveBinding() override;
  virtual void SetAlignment(int16_t alignment);
  virtual void SetCaption(const string &caption);
  virtual void SetFont(const FontStructure *font);
  virtual void SetMultiline(bool on);
  virtual void SetTextColor(uint32_t colour);

  void Redraw(Graphics *g) override;
  bool HandleClick(int32_t x, int32_t y, int32_t modifiers) override;
  void HandleMouseDrag(int32_t x, int32_t y) override;
  void HandleMouseUp(int32_t x, int32_t y) override;
  void Activate() override;
  void Deactivate() override;
  bool UpdateBounds(QV::Rect *r) override;
  void ResizePane(const QV::Rect &r) override;
  void Close() override;
  using SubPane::GetBaseline;
  // The first line's baseline relative to the pane's top.
  bool GetBaseline(int32_t &y);
  void HandleAcceleratorKeyEvent();

  void SetControl(StaticTextObject *control) { mControl = control; }
  StaticTextObject *GetControl() const { return mControl; }
  void SetDataSourceName(const string &name) { mDataSource = name; }
  RuntimeObject *BoundDataControl() const { return mBoundDataControl; }
  // The object is going: no more events or binding through it.
  void ForgetControl();
  const string &Caption() const { return mCaption; }
  int16_t Alignment() const { return mAlignment; }
  bool Multiline() const { return mMultiline; }
  GtkWidget *Label() const { return GetWidget(); }

private:
  string mDataSource;
  RuntimeObject *mBoundDataControl = nullptr; // not owned
  StaticTextObject *mControl = nullptr;        // not owned
  string mCaption;
  int16_t mAlignment = 0;
  uint32_t mTextColour = 0;
  uint8_t mMultiline = 0;
  FontStructure mFont;
};

// One line of a single-line caption: its bytes and how many line pitches
// below the first baseline it is drawn.
struct CaptionLine {
  int32_t start;
  int32_t length;
  int32_t pitch;
};
// CR, LF and CR LF each end a line; empty lines take their pitch but draw
// nothing, and a final line break adds no line.
std::vector<CaptionLine> SplitCaptionLines(const string &text);
// A colour of a disabled or inactive label: a quarter of the colour over
// three quarters of mid-grey.
QV::RGBColor DimmedColour(const QV::RGBColor &c);
