/* MsgBox in both forms as compiled code calls it: the function form with
 * Yes and No (Yes the default) and a title, then the statement form. The
 * test answers each dialog with Return. Reports through the exit status: 42
 * when every check held, else 128 plus one bit per failed check:
 *   1  Return on the Yes/No dialog did not answer 6 (Yes) */
#include "CompiledCode.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);

int32_t VB_RuntimeMsgBox(stringStorage *text, int32_t buttons, stringStorage *title);
void RuntimeMsgBox(stringStorage *text);
void RuntimeInit(void);

void ImageEntry(void) {
  int32_t failed = 0, answer;
  KIT_ENTER();
  RuntimeInit();
  answer = VB_RuntimeMsgBox(KIT_STRING("Replace the file?\n\nIts contents will be lost."), 4 + 32,
                            KIT_STRING("Question"));
  if (answer != 6)
    failed |= KitFailedCheck(1, "Return answers Yes, the default, with 6");
  RuntimeMsgBox(KIT_STRING("Done."));
  _exit(failed ? 128 | failed : 42);
  KIT_CATCH_ALL();
  KIT_END();
}
