/* Both functions share one section and the entry is the second: the image
 * must still start with the entry. */
__attribute__((section(".text.shared"))) int Before(void) { return 1; }
__attribute__((section(".text.shared"))) int ImageEntry(void) { return Before(); }
