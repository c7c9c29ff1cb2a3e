/* A table of addresses in data: the loader patches only code. */
void ImageEntry(void) {}
void (*const sTable[])(void) = {ImageEntry};
