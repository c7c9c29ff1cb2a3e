/* A 16-bit address operand (R_386_16), which no fix-up can express. */
void ImageEntry(void) { __asm__ volatile(".byte 0x66, 0xB8\n\t.word SomeRuntimeName"); }
