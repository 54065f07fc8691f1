# Cross toolchain: 32-bit Windows GUI programs with mingw-w64 (posix threads), run under Wine.
set(TANDREL_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
