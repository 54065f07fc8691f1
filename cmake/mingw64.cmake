# Cross toolchain: 64-bit Windows programs, run under 64-bit Wine without emulation. Only the
# benchmark builds with it (build/win64); the setup program itself stays 32-bit.
set(TANDREL_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
