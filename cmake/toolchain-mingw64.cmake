# Cross-build for 64-bit Windows with Debian's mingw-w64 (the posix thread
# model: the win32 one lacks std::mutex, which GoogleTest needs). Programs
# link statically, so Talvor.exe needs no DLL beyond Windows' own, and run
# under the project's private Wine (scripts/wine-run.sh) for tests.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TALVOR_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TALVOR_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TALVOR_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TALVOR_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TALVOR_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Small code: every function and datum in its own section, unused ones
# dropped by the linker; release programs are stripped.
set(CMAKE_C_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_CXX_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--gc-sections")
set(CMAKE_EXE_LINKER_FLAGS_MINSIZEREL_INIT "-s")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
