# Cross build for 64-bit Windows with Debian's mingw-w64; test programs run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(quorvane_mingw x86_64-w64-mingw32)
# The posix thread model gives std::thread and std::mutex; -static below keeps its DLL out.
find_program(CMAKE_CXX_COMPILER NAMES ${quorvane_mingw}-g++-posix ${quorvane_mingw}-g++ REQUIRED)
find_program(CMAKE_C_COMPILER NAMES ${quorvane_mingw}-gcc-posix ${quorvane_mingw}-gcc REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${quorvane_mingw}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${quorvane_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static runtime: the executables start under a fresh Wine prefix without copying any DLL next to them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# ctest runs every test program through Wine, inside the session that the win32 test fixture starts.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/win32/wine-run.sh)
