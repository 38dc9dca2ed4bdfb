# Shared part of the mingw-w64 cross toolchains (posix thread model);
# the including file sets KIT_MINGW_PREFIX and CMAKE_SYSTEM_PROCESSOR.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER   ${KIT_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KIT_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${KIT_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KIT_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Each .exe must run alone, without mingw's runtime DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
