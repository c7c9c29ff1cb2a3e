/* A static constructor: nothing in an image would run it. */
__attribute__((constructor)) static void Prepare(void) {}
void ImageEntry(void) {}
