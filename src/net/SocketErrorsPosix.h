// Operating-system error numbers in the terms of the socket layer.
#pragma once
#include <cstdint>

// The layer's error code for an error number; numbers without a translation
// are answered as they are.
int32_t TranslateSocketErrno(int32_t number);
// The call would block: EAGAIN, EALREADY or EINPROGRESS.
bool SocketWouldBlock(int32_t number);
