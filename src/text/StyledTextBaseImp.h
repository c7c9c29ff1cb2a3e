// The body of a StyledText object that no edit field holds: a list of style
// runs in memory. Setters split runs where a range begins or ends inside
// one; readers first merge neighbours whose attributes have become equal.
#pragma once
#include <cstdint>

#include "foundation/SimpleVector.h"
#include "text/StyledTextDelegate.h"

struct StyleRunData;

// One entry of the list: a counted StyleRun object with the run's
// attributes and text, where it starts and how many characters it covers
// (counted from 0), and its paragraph alignment.
struct InternalStyleRunData {
  RuntimeObject *run = nullptr;
  int32_t start = 0;
  int32_t length = 0;
  int32_t alignment = 0;
};

// The attributes a range operation names.
enum class StyleRunAttribute : int32_t {
  kBold,
  kItalic,
  kUnderline,
  kTextColor,
  kFont,
  kSize,
  kText
};

class StyledTextBaseImp : public StyledTextDelegate {
public:
  // Starts with one empty run.
  StyledTextBaseImp();
  ~StyledTextBaseImp() override;
  StyledTextBaseImp(const StyledTextBaseImp &) = delete;
  StyledTextBaseImp &operator=(const StyledTextBaseImp &) = delete;

  void SetBoldRange(int32_t start, int32_t length, bool on) override;
  void SetItalicRange(int32_t start, int32_t length, bool on) override;
  void SetUnderlineRange(int32_t start, int32_t length, bool on) override;
  void SetFontRange(int32_t start, int32_t length, const string &font) override;
  void SetSizeRange(int32_t start, int32_t length, int32_t size) override;
  void SetColorRange(int32_t start, int32_t length, int32_t rrggbb) override;
  bool GetBoldRange(int32_t start, int32_t length, bool *mixed) override;
  bool GetItalicRange(int32_t start, int32_t length, bool *mixed) override;
  bool GetUnderlineRange(int32_t start, int32_t length, bool *mixed) override;
  string GetFontRange(int32_t start, int32_t length, bool *mixed) override;
  int32_t GetSizeRange(int32_t start, int32_t length, bool *mixed) override;
  int32_t GetColorRange(int32_t start, int32_t length, bool *mixed) override;
  int32_t StyleRunCount() override;
  RuntimeObject *GetStyleRun(int32_t index) override;
  void InsertStyleRun(RuntimeObject *run, int32_t index) override;
  void AppendStyleRun(RuntimeObject *run) override;
  void RemoveStyleRun(int32_t index) override;
  RuntimeObject *MakeTextRangeForStyle(int32_t index) override;
  int32_t GetAlignmentRange(int32_t start, int32_t length) override;
  void SetAlignmentRange(int32_t start, int32_t length, int32_t alignment) override;

  // The entries as they stand, split and not yet merged.
  int32_t EntryCount() const { return mRuns.count(); }
  const InternalStyleRunData &Entry(int32_t index) const { return mRuns.begin()[index]; }

  // The value a range setter gives: a number for styles, colour and size,
  // a name for the font.
  struct Value {
    int32_t number = 0;
    string text;
  };
  void SetVoidRange(int32_t start, int32_t length, const Value &value,
                    StyleRunAttribute attribute);
  bool GetBoolRange(int32_t start, int32_t length, bool *mixed, StyleRunAttribute attribute);
  int32_t GetUInt32Range(int32_t start, int32_t length, bool *mixed,
                         StyleRunAttribute attribute);
  string GetStringRange(int32_t start, int32_t length, bool *mixed, StyleRunAttribute attribute);
  // Merges neighbours with equal attributes and drops empty runs that are
  // followed by another.
  void CatRuns();

private:
  // The first and last entry of the characters from start, length long:
  // first 0 and last -1 for a negative start or length; last is one past
  // the last entry when the range reaches past the text.
  void SpanLookup(int32_t start, int32_t length, int32_t &first, int32_t &last);
  // Range operations on a list whose runs were all removed act on one empty
  // run at 0.
  void EnsureOneRun();
  void RecomputeStarts(int32_t from, int32_t start);
  InternalStyleRunData &At(int32_t index) { return mRuns.begin()[index]; }
  // Walks the entries of the span up to the last run: the first entry's
  // value is the answer unless a later one differs, which answers the mixed
  // value with the mixed flag left set.
  template <typename T, typename Read, typename Same>
  T ReadSpan(int32_t start, int32_t length, bool *mixed, T empty, T whenMixed, Read read,
             Same same);

  SimpleVector<InternalStyleRunData> mRuns;
};
