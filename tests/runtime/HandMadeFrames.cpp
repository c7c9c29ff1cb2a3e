#include "HandMadeFrames.h"

#include "ImageFormat.h"
#include "runtime/exceptions/Unwinder.h"

#define ASSEMBLER_NUMBER(value) #value
#define ASSEMBLER_SYMBOL(name, value) ".equ " #name ", " ASSEMBLER_NUMBER(value) "\n"

extern "C" const uint8_t __start_hand_made_code[];
extern "C" const uint8_t __stop_hand_made_code[];

void RegisterHandMadeFramesAsImageCode() {
  SetImageCodeRange(__start_hand_made_code, __stop_hand_made_code - __start_hand_made_code);
}

// Calls keep the stack 16-byte aligned, as the C++ callees expect.
asm(ASSEMBLER_SYMBOL(HANDLER_MARKER, IMAGE_HANDLER_MARKER)
        ASSEMBLER_SYMBOL(REGION_START_MARKER, IMAGE_REGION_START_MARKER)
            ASSEMBLER_SYMBOL(REGION_END_MARKER, IMAGE_REGION_END_MARKER) R"(
.section hand_made_code,"ax",@progbits

.macro PROLOGUE frame
  push %ebp
  mov %esp, %ebp
  sub $\frame, %esp
  mov %esp, -4(%ebp)
  movl $0, -8(%ebp)
  movl $0, -12(%ebp)
.endm

.macro CALL1 target, arg
  sub $12, %esp
  pushl \arg
  call \target
  add $16, %esp
.endm

# The handler record: a jump over it and the handler's first instruction,
# the marker, zero, the slot offset; then mov -4(%ebp),%esp with a 32-bit
# displacement, the 6-byte instruction the compiler emits.
.macro HANDLER slot
  .byte 0xE9
  .long 14
  .long HANDLER_MARKER
  .word 0
  .word \slot
  .byte 0x8B, 0xA5
  .long -4
.endm

.macro REGION marker
  .byte 0xE9
  .long 4
  .long \marker
.endm

.macro PROTECTED name, frame, slot
.globl \name
.type \name, @function
\name:
  PROLOGUE \frame
  CALL1 *8(%ebp), 12(%ebp)
  mov 16(%ebp), %eax
  movl $1, (%eax)
  HANDLER \slot
  mov -8(%ebp), %eax
  leave
  ret
.size \name, .-\name
.endm

PROTECTED HandMadeProtected, 40, -8
PROTECTED HandMadeProtectedNoSlot, 40, 0
PROTECTED HandMadeProtectedBigFrame, 5016, -8

.globl HandMadeNested
.type HandMadeNested, @function
HandMadeNested:
  PROLOGUE 40
  CALL1 *8(%ebp), 16(%ebp)
  REGION REGION_START_MARKER
  CALL1 *12(%ebp), 16(%ebp)
  HANDLER -12
  REGION REGION_END_MARKER
  HANDLER -8
  mov 20(%ebp), %eax
  mov -8(%ebp), %ecx
  mov %ecx, (%eax)
  mov -12(%ebp), %ecx
  mov %ecx, 4(%eax)
  leave
  ret
.size HandMadeNested, .-HandMadeNested

.globl HandMadeCatchAll
.type HandMadeCatchAll, @function
HandMadeCatchAll:
  PROLOGUE 40
  mov 8(%ebp), %edx
  CALL1 *0(%edx), 20(%ebp)
  CALL1 *12(%ebp), 16(%ebp)
  HANDLER -8
  mov 8(%ebp), %edx
  CALL1 *4(%edx), 20(%ebp)
  mov -8(%ebp), %eax
  test %eax, %eax
  jz 1f
  mov 8(%ebp), %edx
  CALL1 *8(%edx), -8(%ebp)
  mov 8(%ebp), %edx
  CALL1 *4(%edx), -8(%ebp)
1:
  leave
  ret
.size HandMadeCatchAll, .-HandMadeCatchAll

.text
)");
