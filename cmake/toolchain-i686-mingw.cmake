# Cross-build for 32-bit Windows, the architecture the kit ships for.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KIT_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
