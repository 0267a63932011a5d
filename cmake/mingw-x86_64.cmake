# A test build of the same sources for 64-bit Windows, for hosts whose kernel
# cannot run 32-bit programs and so cannot run 32-bit Wine (scripts/windows-target.sh).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
