# Cross-compiles the product, for 32-bit Windows, with Debian's mingw-w64
# toolchain.
set(MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
