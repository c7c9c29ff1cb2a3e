// The system calls the serial ports make, in one table filled once: tests
// swap single entries to watch or steer what reaches the device.
#pragma once
#include <cstdio>
#include <termios.h>

struct SerialCalls {
  int (*open)(const char *path, int flags, ...);
  ssize_t (*write)(int fd, const void *bytes, size_t count);
  ssize_t (*read)(int fd, void *bytes, size_t count);
  int (*close)(int fd);
  int (*tcgetattr)(int fd, struct termios *settings);
  int (*tcsetattr)(int fd, int when, const struct termios *settings);
  int (*tcdrain)(int fd);
  int (*tcsendbreak)(int fd, int duration);
  speed_t (*cfgetispeed)(const struct termios *settings);
  speed_t (*cfgetospeed)(const struct termios *settings);
  int (*cfsetispeed)(struct termios *settings, speed_t speed);
  int (*cfsetospeed)(struct termios *settings, speed_t speed);
  int (*fflush)(FILE *stream);
  int (*fcntl)(int fd, int command, ...);
  int (*ioctl)(int fd, unsigned long request, ...);
};

extern SerialCalls gSerialCalls;

// Fills the table once; true when every call is there.
bool SetupSerialCompat();
