// Byte order: the host is little-endian, network and file formats are
// big-endian. These helpers reverse values and read and write big-endian data
// at addresses of any alignment.
#pragma once
#include <cstdint>

// Reverses the n bytes at bytes in place.
void swapBytes(void *bytes, int n);

// The value with its bytes reversed.
uint32_t uhtonl(uint32_t value);
uint16_t uhtons(uint16_t value);
double uhtond(double value);
uint32_t SwapEndianLong(uint32_t value);
uint16_t SwapEndianShort(uint16_t value);
double SwapEndianDouble(double value);

// Store a value big-endian at an unaligned address.
void nstoreshort(void *address, uint16_t value);
void nstorelong(void *address, uint32_t value);

// Load a big-endian value from an unaligned address.
void nloadshort(uint16_t &destination, const void *address);
void nloadlong(uint32_t &destination, const void *address);
uint16_t nloadshort(const void *address);
uint32_t nloadlong(const void *address);

// Stores the n bytes of src at dst in reverse order.
void nstorebytes(void *dst, const void *src, int n);

// Stores the double's 8 bytes as they lie in memory (host order).
void hstoredouble8(void *address, double value);
// Reads a big-endian double: the 8 bytes reversed. Not the inverse of
// hstoredouble8; streams pair the two with their own swapping flags.
double hloaddouble8(const void *address);
