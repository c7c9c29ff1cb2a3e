/* The two processor-dependent primitives of the cooperative threads (i386,
 * System V calling convention).
 *
 * SwitchStacks(RuntimeThread *target): stores the stack pointer, frame
 * pointer, ebx, esi and edi into the current record, makes the target the
 * current record, sets the stack limit to the target's stack base, loads the
 * target's registers and returns on its stack: just after the target's own
 * last SwitchStacks call, or into the entry routine whose address a new
 * record's saved stack pointer points at.
 *
 * Record layout (RuntimeThread.h): 0 stack base, 4 saved stack pointer,
 * 8 frame pointer, 12 ebx, 16 esi, 20 edi.
 *
 * Globals are reached relative to the GOT, so the code works in position-
 * independent and fixed-address executables alike. */

        .text
        .globl  SwitchStacks
        .type   SwitchStacks, @function
SwitchStacks:
        movl    4(%esp), %eax                   /* target record */
        call    1f
1:      popl    %ecx
        addl    $_GLOBAL_OFFSET_TABLE_+[.-1b], %ecx
        movl    sCurrentThread@GOTOFF(%ecx), %edx
        movl    %esp, 4(%edx)
        movl    %ebp, 8(%edx)
        movl    %ebx, 12(%edx)
        movl    %esi, 16(%edx)
        movl    %edi, 20(%edx)
        movl    %eax, sCurrentThread@GOTOFF(%ecx)
        movl    0(%eax), %edx
        movl    %edx, sStackLimit@GOTOFF(%ecx)
        movl    8(%eax), %ebp
        movl    12(%eax), %ebx
        movl    16(%eax), %esi
        movl    20(%eax), %edi
        movl    4(%eax), %esp
        ret
        .size   SwitchStacks, .-SwitchStacks

        .globl  GetStackPointer
        .type   GetStackPointer, @function
GetStackPointer:
        leal    4(%esp), %eax                   /* the caller's stack pointer */
        ret
        .size   GetStackPointer, .-GetStackPointer

        .section .note.GNU-stack,"",@progbits
