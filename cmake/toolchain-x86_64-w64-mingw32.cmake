# Cross-compiles the same sources for 64-bit Windows, for hosts that run no
# 32-bit programs and so no 32-bit Wine.
set(MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
