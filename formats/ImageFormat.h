/*
 * The application image's format, as imagelink writes it and the runtime's
 * loader and unwinder read it: the trailer, the sections, the fix-up records,
 * string constants and the handler records in compiled code. Plain C with no
 * dependency beyond <stdint.h>, so that the linker, the runtime, the
 * compiled-code kit (freestanding C) and the tests' image builders share it.
 * All values are little-endian 32-bit words unless said otherwise.
 */
#ifndef IMAGE_FORMAT_H
#define IMAGE_FORMAT_H

#include <stdint.h>

/* ---- Trailer -------------------------------------------------------------
 * An image appended behind the runtime executable is its sections in the
 * order below, each preceded by its size; then the back distance (the bytes
 * from the first section's size up to the back distance itself); then the
 * trailer text, without a zero byte, as the file's last bytes. */
#define IMAGE_TRAILER_TEXT "ZovIzaZiz"
#define IMAGE_TRAILER_LENGTH (sizeof(IMAGE_TRAILER_TEXT) - 1)
#define IMAGE_BACK_DISTANCE_SIZE 4

/* ---- Sections ------------------------------------------------------------
 * X(Name, member, description, looseFile) for each section in trailer
 * order: the member that holds it in the C++ layouts, the word messages use
 * for it, and the file that holds it when an image is loose (the runtime
 * started in a folder of section files). */
#define IMAGE_SECTIONS(X)                                                                          \
  X(Code, code, "code", "code.dat")                                                                \
  X(Data, data, "data", "data.dat")                                                                \
  X(Imports, imports, "imports", "import.dat")                                                     \
  X(Symbols, symbols, "symbols", "symbols.dat")                                                    \
  X(Resources, resources, "resources", "rsrc.dat")                                                 \
  X(Options, options, "options", "options.dat")

enum ImageSection {
#define IMAGE_SECTION_ENUMERATOR(Name, member, description, looseFile) kImageSection##Name,
  IMAGE_SECTIONS(IMAGE_SECTION_ENUMERATOR)
#undef IMAGE_SECTION_ENUMERATOR
      kImageSectionCount
};

/* ---- Fix-up records (the imports section) --------------------------------
 * Each record starts with a tag byte; tag 0 and unknown tags are a record of
 * that one byte.
 *   runtime import:  tag, mode byte, first site, name
 *   library import:  tag, first site, symbol name, library name
 *   addresses:       tag, site
 * A name is a length byte, that many bytes and a zero byte. A site is a code
 * offset; an import's sites form a chain, each holding the offset of the
 * next and the last 0. */
enum ImageImportTag {
  kImportRuntimeFunction = 1, /* an entry point of the runtime's export table */
  kFixupDataAddress = 2,      /* the site holds a data offset */
  kFixupCodeAddress = 3,      /* the site holds a code offset */
  kImportLibraryFunction = 4, /* a function of a shared library, called */
  kFixupStringConstant = 5,   /* the site holds the data offset of a string constant */
};

/* A runtime import's mode: its sites are call operands (relative), or, with
 * any other mode, absolute addresses. */
enum ImageImportMode {
  kImportAbsoluteSites = 0,
  kImportRelativeSites = 1,
};

/* ---- String constants ----------------------------------------------------
 * Ready-made string storage in the data section, at a 4-byte boundary:
 * reference count (1), buffer address (0; the loader points it at the
 * buffer that follows), buffer size (length + 2), length (1 or more),
 * encoding tag; then the buffer: a length byte (255 when longer), the text
 * and a zero byte. */
#define IMAGE_STRING_STORAGE_SIZE 20
#define IMAGE_STRING_REFERENCE_COUNT_OFFSET 0
#define IMAGE_STRING_BUFFER_OFFSET 4
#define IMAGE_STRING_BUFFER_SIZE_OFFSET 8
#define IMAGE_STRING_LENGTH_OFFSET 12
#define IMAGE_STRING_ENCODING_OFFSET 16
#define IMAGE_STRING_ALIGNMENT 4

/* The encoding tags a string constant may carry. */
#define IMAGE_ENCODING_ASCII 0x00000600u
#define IMAGE_ENCODING_UTF8 0x08000100u

/* ---- Handler records in compiled code ------------------------------------
 * The unwinder scans forward from a return address for these records. Each
 * begins with a near jump over itself (the normal path) and holds a marker
 * word 5 bytes in:
 *   handler:  E9 0E 00 00 00, marker, 16-bit zero, 16-bit offset from the
 *             frame pointer of the slot that receives the exception (0: none),
 *             then the handler's first instruction, a 6-byte reset of the
 *             stack pointer from a frame slot (8B A5 disp32);
 *   region start / end:  E9 04 00 00 00, marker.
 * Protected regions inside a function's catch-all are bracketed by a start
 * and an end, so that a scan from before a region passes over its handler.
 * The words are plain numbers so that assembler text can spell them. */
#define IMAGE_HANDLER_MARKER 0x411
#define IMAGE_REGION_START_MARKER 0x412
#define IMAGE_REGION_END_MARKER 0x413

#define IMAGE_NEAR_JUMP 0xE9
#define IMAGE_MARKER_OFFSET 5
#define IMAGE_HANDLER_ZERO_OFFSET 9
#define IMAGE_HANDLER_SLOT_OFFSET 11
#define IMAGE_HANDLER_RECORD_SIZE 13
#define IMAGE_HANDLER_ENTRY_SIZE 6
#define IMAGE_REGION_RECORD_SIZE 9
/* The jumps' distances, from the end of the 5-byte jump: 14 and 4. */
#define IMAGE_HANDLER_JUMP_DISTANCE                                                                \
  (IMAGE_HANDLER_RECORD_SIZE - IMAGE_MARKER_OFFSET + IMAGE_HANDLER_ENTRY_SIZE)
#define IMAGE_REGION_JUMP_DISTANCE (IMAGE_REGION_RECORD_SIZE - IMAGE_MARKER_OFFSET)

#endif
