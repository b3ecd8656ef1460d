# Shared by the MinGW-w64 toolchain files, which set CMAKE_SYSTEM_PROCESSOR
# and TOOLCHAIN_PREFIX first.

# The "-posix" compilers use the posix thread model: std::thread, std::mutex
# and std::condition_variable exist (the default "-win32" GCC 12 lacks them).
set(CMAKE_C_COMPILER   ${TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${TOOLCHAIN_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# -static: libgcc, libstdc++ and libwinpthread go into the .exe, so it needs
# no libgcc_s_*.dll, libstdc++-6.dll or libwinpthread-1.dll. System DLLs
# (kernel32, user32, gdi32, msvcrt, ...) are still imported, as they must be.
set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

# ctest and gtest_discover_tests run the .exe files through this wrapper.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
