# Cross build for 32-bit Windows with the posix thread model (std::thread, std::mutex).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
# Floating point in SSE2 registers, as in the 64-bit build. The i686 default is
# the x87 unit, whose 80-bit registers keep excess precision until a value is
# spilled to memory, so one expression can give different answers at a boundary
# depending on where the optimiser spills. Every processor that runs a supported
# Windows has SSE2. Set for every target, GoogleTest and the tests included.
# (mingw's i686 GCC realigns the stack where SSE needs it, since callbacks from
# Windows arrive with 4-byte alignment only.)
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
