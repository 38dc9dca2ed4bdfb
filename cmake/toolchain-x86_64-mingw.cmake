# Cross-build for 64-bit Windows: the same sources, tested under 64-bit Wine
# on machines that cannot run 32-bit code. The kit itself ships 32-bit.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KIT_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
