/*
 * Compiled-code kit: makes freestanding C follow the conventions of the
 * language's compiled code, so that C turned into an application image by
 * tools/imagelink behaves towards the runtime like compiled code does.
 *
 * Build with (cmake/TestImages.cmake does this):
 *   gcc -m32 -O0 -fno-pic -fno-omit-frame-pointer -fno-stack-protector
 *       -fcf-protection=none -fno-asynchronous-unwind-tables -ffreestanding
 *       -ffunction-sections -fno-jump-tables -I app/kit -I formats -c file.c
 *
 * The image
 *   - The image's entry point is `void ImageEntry(void)`; imagelink places it
 *     at code offset 0. The loader calls it once and ignores what it returns.
 *   - Every name the code uses but does not define is imported by name from
 *     the runtime export table: declare the entry point's prototype and call
 *     it (a call becomes a relative import) or take its address (an absolute
 *     import). Functions of shared libraries are imported with
 *     KIT_LIBRARY_FUNCTION.
 *   - Data may hold no addresses (no pointer initialisers, no jump tables, no
 *     tables of functions): build such tables at run time. Static
 *     constructors are refused too.
 *   - String literals of the language are KIT_STRING("text") (ASCII) or
 *     KIT_UTF8_STRING("text"): ready-made string storage, owned by the image
 *     for the whole process. The empty string is nil, never a constant.
 *
 * How a test image reports results: the entry's return value is lost, so an
 * image reports through what it makes the runtime do (calls into the
 * runtime's entry points, whose effects the test observes), or through the
 * process itself with functions of the C library:
 *     KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
 *     void _exit(int status);
 *     ...  _exit(3);   // the test reads exit status 3
 * A failed check is named on standard error too, for the test to show:
 *     if (!holds) failed |= KitFailedCheck(4, "the handler ran once");
 *
 * A compiled function
 *     int32_t Describe(RuntimeObject *self, stringStorage *text)
 *     {
 *         int32_t result = 0;
 *         RuntimeObject *error = 0;          // locals start nil
 *         stringStorage *caption = 0;
 *         KIT_ENTER();                       // slots, RuntimeStackCheck
 *         KIT_HOLD_OBJECT(self);             // references on arguments
 *         KIT_HOLD_STRING(text);
 *         KIT_CHECK_NIL(self);               // raises NilObjectException
 *         KIT_ASSIGN_STRING(caption, text);  // reference assignment
 *         if (!caption) KIT_LEAVE();         // early exit through the clean-up
 *         KIT_TRY(error) {
 *             ... protected code ...
 *         } KIT_CATCH(error) {
 *             ... error holds the exception, with a reference ...
 *         } KIT_END_TRY();
 *         KIT_CATCH_ALL();                   // the function's handler record
 *         KIT_RELEASE_OBJECT(error);         // clean-up: locals ...
 *         KIT_RELEASE_STRING(caption);
 *         KIT_RELEASE_HELD_OBJECT(self);     // ... and held arguments
 *         KIT_RELEASE_HELD_STRING(text);
 *         KIT_END();                         // re-raise what was caught
 *         return result;
 *     }
 * Rules that keep the machine code in the shape the unwinder expects:
 *   - Between KIT_ENTER and KIT_CATCH_ALL leave only with KIT_LEAVE: a plain
 *     `return` would skip the clean-up.
 *   - No alloca or variable-length arrays: a handler resets the stack pointer
 *     to the value saved by KIT_ENTER.
 *   - Only the -O0 build above: every variable lives in the frame, so code
 *     entered from the unwinder finds them there.
 * imagelink checks every call site before a handler record: the unwinder's
 * byte scan from its return address must reach the record of the region
 * around it, not an earlier false function end (bytes C9 C3 or 5D C3, such
 * as the constant 0xC35D) nor another record.
 */
#ifndef COMPILED_CODE_H
#define COMPILED_CODE_H

#include <stdint.h>

#include "ImageFormat.h"

/* Layouts shared with the runtime. */

typedef struct stringStorage {
  int32_t referenceCount;
  unsigned char *buffer; /* length byte, the text, a zero byte */
  int32_t bufferSize;    /* length + 2 */
  int32_t length;
  uint32_t encoding;
} stringStorage;

/* The image format's string storage, which the runtime's matches too. */
_Static_assert(sizeof(stringStorage) == IMAGE_STRING_STORAGE_SIZE, "stringStorage size");
_Static_assert(__builtin_offsetof(stringStorage, referenceCount) ==
                   IMAGE_STRING_REFERENCE_COUNT_OFFSET,
               "stringStorage layout");
_Static_assert(__builtin_offsetof(stringStorage, buffer) == IMAGE_STRING_BUFFER_OFFSET,
               "stringStorage layout");
_Static_assert(__builtin_offsetof(stringStorage, bufferSize) == IMAGE_STRING_BUFFER_SIZE_OFFSET,
               "stringStorage layout");
_Static_assert(__builtin_offsetof(stringStorage, length) == IMAGE_STRING_LENGTH_OFFSET,
               "stringStorage layout");
_Static_assert(__builtin_offsetof(stringStorage, encoding) == IMAGE_STRING_ENCODING_OFFSET,
               "stringStorage layout");

typedef struct RuntimeObject {
  void *vtable;
  void *classPtr;
  void *eventTable;
  int32_t refCount;
  struct RuntimeObject *previous;
  struct RuntimeObject *next;
} RuntimeObject;

_Static_assert(sizeof(RuntimeObject) == 24, "the object header is 24 bytes");
_Static_assert(__builtin_offsetof(RuntimeObject, eventTable) == 8, "object header layout");
_Static_assert(__builtin_offsetof(RuntimeObject, refCount) == 12, "object header layout");

enum { kEncodingASCII = IMAGE_ENCODING_ASCII, kEncodingUTF8 = IMAGE_ENCODING_UTF8 };

/* The image's entry point, placed at code offset 0. */
void ImageEntry(void);

/* Runtime entry points the conventions call. Booleans cross as int32_t. */
void RuntimeStackCheck(void);
void RuntimeLockObject(void *object);
void RuntimeUnlockObject(void *object);
void RuntimeLockUnlockObjects(void *newObject, void *oldObject);
stringStorage *RuntimeLockString(stringStorage *string);
void RuntimeUnlockString(stringStorage *string);
void RuntimeLockUnlockStrings(stringStorage *newString, stringStorage *oldString);
void RuntimeNilObject(void);
void RuntimeRaiseException(void *exception);
void RuntimeReraiseException(void *exception);

/* Function frame. KIT_ENTER clears the exception slot and saves the stack
 * pointer (both read by the handler record) before the stack check, whose
 * StackOverflowException this function's own handler catches. */
#define KIT_ENTER()                                                                                \
  RuntimeObject *kitCaught = 0;                                                                    \
  void *kitFrameStack;                                                                             \
  int32_t kitArgumentsHeld __attribute__((unused)) = 0;                                            \
  __asm__ volatile("movl %%esp, %0" : "=m"(kitFrameStack));                                        \
  RuntimeStackCheck()

/* References on object and string arguments. Arguments are released only
 * when they were held, so a stack check that raises does not release them. */
#define KIT_HOLD_OBJECT(argument) (RuntimeLockObject(argument), kitArgumentsHeld = 1)
#define KIT_HOLD_STRING(argument) (RuntimeLockString(argument), kitArgumentsHeld = 1)
#define KIT_RELEASE_HELD_OBJECT(argument)                                                          \
  do {                                                                                             \
    if (kitArgumentsHeld)                                                                          \
      RuntimeUnlockObject(argument);                                                               \
  } while (0)
#define KIT_RELEASE_HELD_STRING(argument)                                                          \
  do {                                                                                             \
    if (kitArgumentsHeld)                                                                          \
      RuntimeUnlockString(argument);                                                               \
  } while (0)

/* Locals: start nil, released at the end. */
#define KIT_RELEASE_OBJECT(variable) RuntimeUnlockObject(variable)
#define KIT_RELEASE_STRING(variable) RuntimeUnlockString(variable)

/* Reference assignment: the new value is retained, the old one released. */
#define KIT_ASSIGN_REFERENCE(lockUnlock, type, variable, value)                                    \
  do {                                                                                             \
    type kitNewValue = (value);                                                                    \
    lockUnlock(kitNewValue, (variable));                                                           \
    (variable) = kitNewValue;                                                                      \
  } while (0)
#define KIT_ASSIGN_OBJECT(variable, value)                                                         \
  KIT_ASSIGN_REFERENCE(RuntimeLockUnlockObjects, void *, variable, value)
#define KIT_ASSIGN_STRING(variable, value)                                                         \
  KIT_ASSIGN_REFERENCE(RuntimeLockUnlockStrings, stringStorage *, variable, value)

/* A runtime result that carries one reference: assigned, then the
 * temporary's reference dropped. */
#define KIT_TAKE_REFERENCE(assign, unlock, type, variable, result)                                 \
  do {                                                                                             \
    type kitTemporary = (result);                                                                  \
    assign(variable, kitTemporary);                                                                \
    unlock(kitTemporary);                                                                          \
  } while (0)
#define KIT_TAKE_OBJECT(variable, result)                                                          \
  KIT_TAKE_REFERENCE(KIT_ASSIGN_OBJECT, RuntimeUnlockObject, void *, variable, result)
#define KIT_TAKE_STRING(variable, result)                                                          \
  KIT_TAKE_REFERENCE(KIT_ASSIGN_STRING, RuntimeUnlockString, stringStorage *, variable, result)

/* Before using an object reference: nil raises NilObjectException, which
 * arrives at this function's handler. */
#define KIT_CHECK_NIL(object)                                                                      \
  do {                                                                                             \
    if (!(object))                                                                                 \
      RuntimeNilObject();                                                                          \
  } while (0)

/* Leaves the body through the clean-up. */
#define KIT_LEAVE() goto kitCleanUp

/* A handler record (ImageFormat.h): a jump over the rest of the record and
 * the handler's first instruction, the marker, a zero word, the 16-bit
 * exception-slot offset, then that first instruction, a 6-byte reset of the
 * stack pointer from the slot KIT_ENTER filled. The slot offset is written
 * by imagelink from the note in .kit.handlers (the record's address and the
 * slot as the compiler prints it, "-12(%ebp)"). */
#define KIT_HANDLER_RECORD(slot)                                                                   \
  __asm__ volatile("1:\n\t"                                                                        \
                   ".byte %c2\n\t"                                                                 \
                   ".long %c3\n\t"                                                                 \
                   ".long %c4\n\t"                                                                 \
                   ".short 0, 0\n\t"                                                               \
                   "%{disp32%} movl %1, %%esp\n\t"                                                 \
                   ".pushsection .kit.handlers,\"\",@progbits\n\t"                                 \
                   ".long 1b\n\t"                                                                  \
                   ".asciz \"%0\"\n\t"                                                             \
                   ".popsection"                                                                   \
                   :                                                                               \
                   : "m"(slot), "m"(kitFrameStack), "i"(IMAGE_NEAR_JUMP),                          \
                     "i"(IMAGE_HANDLER_JUMP_DISTANCE), "i"(IMAGE_HANDLER_MARKER)                   \
                   : "memory")

/* A region start or end: a jump over the marker word. */
#define KIT_REGION_MARKER(marker)                                                                  \
  __asm__ volatile(".byte %c0\n\t"                                                                 \
                   ".long %c1\n\t"                                                                 \
                   ".long %c2"                                                                     \
                   :                                                                               \
                   : "i"(IMAGE_NEAR_JUMP), "i"(IMAGE_REGION_JUMP_DISTANCE), "i"(marker)            \
                   : "memory")

/* The function's catch-all, just before its clean-up. The normal path jumps
 * over the record; the handler path arrives with the exception in kitCaught. */
#define KIT_CATCH_ALL()                                                                            \
  kitCleanUp:                                                                                      \
  __attribute__((unused));                                                                         \
  KIT_HANDLER_RECORD(kitCaught)

/* After the clean-up: an exception caught by the catch-all travels on to the
 * next compiled frame, and this frame's reference to it is dropped. */
#define KIT_END()                                                                                  \
  do {                                                                                             \
    if (kitCaught) {                                                                               \
      RuntimeReraiseException(kitCaught);                                                          \
      RuntimeUnlockObject(kitCaught);                                                              \
    }                                                                                              \
  } while (0)

/* A protected region (the language's Try). Every region lies inside the
 * function's catch-all region, so each is bracketed by a region start and
 * end: a scan from before the region passes over its handler. The variable
 * is released and cleared first (the unwinder stores into it without
 * releasing), receives the exception with a reference, and is released with
 * the other locals. */
#define KIT_TRY(variable)                                                                          \
  KIT_ASSIGN_OBJECT(variable, 0);                                                                  \
  KIT_REGION_MARKER(IMAGE_REGION_START_MARKER);
#define KIT_CATCH(variable)                                                                        \
  KIT_HANDLER_RECORD(variable);                                                                    \
  if (variable)
#define KIT_END_TRY() KIT_REGION_MARKER(IMAGE_REGION_END_MARKER)

/* A string constant laid out as ready-made string storage: count 1, buffer
 * address 0 (the loader points it at the buffer), buffer size length + 2,
 * length, encoding, then the length byte (255 when longer), text and 0. */
#define KIT_STRING_CONSTANT(text, encodingTag)                                                     \
  (__extension__({                                                                                 \
    _Static_assert(sizeof(text) > 1, "the empty string is nil");                                   \
    static struct {                                                                                \
      stringStorage storage;                                                                       \
      unsigned char lengthByte;                                                                    \
      char bytes[sizeof(text)];                                                                    \
    } kitConstant __attribute__((section(".kit.strings"), aligned(IMAGE_STRING_ALIGNMENT))) = {    \
        {1, 0, sizeof(text) + 1, sizeof(text) - 1, (encodingTag)},                                 \
        sizeof(text) - 1 > 255 ? 255 : sizeof(text) - 1,                                           \
        text};                                                                                     \
    &kitConstant.storage;                                                                          \
  }))
#define KIT_STRING(text) KIT_STRING_CONSTANT(text, kEncodingASCII)
#define KIT_UTF8_STRING(text) KIT_STRING_CONSTANT(text, kEncodingUTF8)

/* Imports `function` from a shared library (at file scope; declare its
 * prototype as usual). The image only calls it: its address cannot be taken. */
#define KIT_LIBRARY_FUNCTION(function, library)                                                    \
  __asm__(".pushsection .kit.libraries,\"\",@progbits\n\t"                                         \
          ".asciz \"" #function "\"\n\t"                                                           \
          ".asciz \"" library "\"\n\t"                                                             \
          ".popsection")

/* Writes the zero-terminated text to standard error through the write
 * system call itself, so that it needs no import and works whatever the
 * loader bound. */
static inline void KitWriteError(const char *text) {
  enum { kWriteSystemCall = 4, kStandardError = 2 };
  int32_t length = 0, written;
  while (text[length])
    ++length;
  __asm__ volatile("int $0x80"
                   : "=a"(written)
                   : "a"(kWriteSystemCall), "b"(kStandardError), "c"(text), "d"(length)
                   : "memory");
  (void)written;
}

/* A test image's failed check: "failed check: <what>" on standard error;
 * answers `code`, the check's share of the exit status. */
static inline int32_t KitFailedCheck(int32_t code, const char *what) {
  KitWriteError("failed check: ");
  KitWriteError(what);
  KitWriteError("\n");
  return code;
}

#endif
