# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (the posix-thread
# variant, which std::thread in GoogleTest and the tests needs). Programs are
# linked statically, so they run under Wine or on Windows without the
# compiler's DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(NB_MINGW_TRIPLET x86_64-w64-mingw32)
# Named with the -posix suffix, so the build does not depend on which thread
# model the system's alternatives point the plain names at.
set(CMAKE_C_COMPILER ${NB_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${NB_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${NB_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${NB_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# CTest and test discovery start the .exe files through Wine, in a prefix of
# the build tree's own.
set(CMAKE_CROSSCOMPILING_EMULATOR
    "${CMAKE_CURRENT_LIST_DIR}/wine-run.sh;${CMAKE_BINARY_DIR}/wine-prefix")
