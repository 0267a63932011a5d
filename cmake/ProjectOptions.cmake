# Compiler settings shared by every target, and the helpers that register tests.

add_compile_options(-Wall -Wextra -Wno-unused-parameter)
# No build paths in the binaries: two builds of one commit in different
# folders give the same bytes.
add_compile_options(
  -ffile-prefix-map=${CMAKE_SOURCE_DIR}/=
  -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)
if(NOT WIN32)
  # The sanitizers keep source paths as given; compile with relative ones.
  set(CMAKE_C_COMPILER_LAUNCHER ${CMAKE_SOURCE_DIR}/cmake/relative-source-paths.sh ${CMAKE_SOURCE_DIR})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${CMAKE_SOURCE_DIR}/cmake/relative-source-paths.sh ${CMAKE_SOURCE_DIR})
  add_compile_options(-fdebug-compilation-dir=.)
endif()

if(WIN32)
  # The launcher runs from Windows 98 on; anything newer is looked up at run time.
  add_compile_definitions(WINVER=0x0501 _WIN32_WINNT=0x0501 WIN32_LEAN_AND_MEAN NOMINMAX)
  add_compile_options(-fno-ident)
  # Only a program that asks for link-time optimisation gets it (setup.exe);
  # the others link the ordinary code of the product's objects.
  add_link_options("$<$<NOT:$<BOOL:$<TARGET_PROPERTY:INTERPROCEDURAL_OPTIMIZATION>>>:-fno-lto>")
  # Each build runs its programs under the Wine of its own bitness.
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(SETUP_WINE_ARCH win64)
  else()
    set(SETUP_WINE_ARCH win32)
  endif()
  set(SETUP_WINE_RUN ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh ${SETUP_WINE_ARCH} ${CMAKE_BINARY_DIR}/wine)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${SETUP_WINE_RUN} CACHE STRING "Runs Windows test programs under Wine" FORCE)
endif()

if(SETUP_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

# GoogleTest built from Debian's sources with this very toolchain.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
include(GoogleTest)

# add_project_test(NAME SOURCES... LIBS... [LABELS...] [PER_CASE])
# One GoogleTest program. Natively every TEST is a CTest case. Under the
# Windows preset CTest runs it through Wine: as one case by default (a Wine
# start costs about a second), or with PER_CASE each TEST as its own case in
# its own prefix copy, for tests that change the machine.
function(add_project_test name)
  cmake_parse_arguments(ARG "PER_CASE" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main)
  if(WIN32 AND NOT ARG_PER_CASE)
    add_test(NAME ${name} COMMAND ${name})
    set(added ${name})
  else()
    gtest_add_tests(TARGET ${name} TEST_LIST added)
    # A case that calls GTEST_SKIP shows as skipped, never as passed.
    set_tests_properties(${added} PROPERTIES SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
  endif()
  if(ARG_LABELS)
    set_tests_properties(${added} PROPERTIES LABELS "${ARG_LABELS}")
  endif()
endfunction()
