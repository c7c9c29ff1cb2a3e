// The style-run interface of styled text: attributes over character ranges,
// the list of runs and per-range alignment. Edit panes and the free-standing
// run list implement it; the StyledText class works only through it.
#pragma once
#include <cstdint>

#include "foundation/String.h"

struct RuntimeObject;

class StyledTextDelegate {
public:
  virtual ~StyledTextDelegate();
  virtual void SetBoldRange(int32_t start, int32_t length, bool on) = 0;
  virtual void SetItalicRange(int32_t start, int32_t length, bool on) = 0;
  virtual void SetUnderlineRange(int32_t start, int32_t length, bool on) = 0;
  virtual void SetFontRange(int32_t start, int32_t length, const string &font) = 0;
  virtual void SetSizeRange(int32_t start, int32_t length, int32_t size) = 0;
  virtual void SetColorRange(int32_t start, int32_t length, int32_t rrggbb) = 0;
  // A getter given a mixed flag sets it true when the range holds more than
  // one value.
  virtual bool GetBoldRange(int32_t start, int32_t length, bool *mixed) = 0;
  virtual bool GetItalicRange(int32_t start, int32_t length, bool *mixed) = 0;
  virtual bool GetUnderlineRange(int32_t start, int32_t length, bool *mixed) = 0;
  virtual string GetFontRange(int32_t start, int32_t length, bool *mixed) = 0;
  virtual int32_t GetSizeRange(int32_t start, int32_t length, bool *mixed) = 0;
  virtual int32_t GetColorRange(int32_t start, int32_t length, bool *mixed) = 0;
  virtual int32_t StyleRunCount() = 0;
  // New references, released by the caller; nil when there is none.
  virtual RuntimeObject *GetStyleRun(int32_t index) = 0;
  virtual void InsertStyleRun(RuntimeObject *run, int32_t index) = 0;
  virtual void AppendStyleRun(RuntimeObject *run) = 0;
  virtual void RemoveStyleRun(int32_t index) = 0;
  virtual RuntimeObject *MakeTextRangeForStyle(int32_t index) = 0;
  virtual int32_t GetAlignmentRange(int32_t start, int32_t length) = 0;
  virtual void SetAlignmentRange(int32_t start, int32_t length, int32_t alignment) = 0;
};
