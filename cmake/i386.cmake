# Everything is built as 32-bit x86: the application image's code follows the
# System V i386 ABI and many records the runtime shares with it are fixed
# 32-bit layouts.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT "-m32")
set(CMAKE_CXX_FLAGS_INIT "-m32")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-m32")
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
set(CMAKE_IGNORE_PATH /usr/lib/x86_64-linux-gnu /lib/x86_64-linux-gnu
    /usr/lib/x86_64-linux-gnu/cmake)
set(ENV{PKG_CONFIG_LIBDIR} "/usr/lib/i386-linux-gnu/pkgconfig:/usr/share/pkgconfig")

# Some kernels (and sandboxes) cannot execute 32-bit programs. There, every
# program the build runs (test discovery, tests, tools) goes through qemu's
# user-mode emulator; the dynamic loader itself tells which case this is.
execute_process(COMMAND /lib/ld-linux.so.2 --version
  RESULT_VARIABLE I386_NATIVE_STATUS OUTPUT_QUIET ERROR_QUIET)
if(NOT I386_NATIVE_STATUS EQUAL 0)
  find_program(QEMU_I386 qemu-i386 REQUIRED)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QEMU_I386})
endif()
