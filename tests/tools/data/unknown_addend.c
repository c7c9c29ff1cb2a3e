/* An address 8 bytes past an imported name: an import site receives the
 * entry point's address exactly. */
extern char RuntimeSomeTable[];
char *ImageEntry(void) { return RuntimeSomeTable + 8; }
