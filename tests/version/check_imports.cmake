# Fails when PROGRAM imports any library of FORBIDDEN (names compared
# without regard to letter case).
#   cmake -DOBJDUMP=... -DPROGRAM=setup.exe -DFORBIDDEN=a.dll;b.dll -P check_imports.cmake
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM}
  OUTPUT_VARIABLE headers RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${PROGRAM}")
endif()
string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${headers}")
if(NOT imports)
  message(FATAL_ERROR "no import table found in ${PROGRAM}")
endif()
string(TOLOWER "${imports}" imports)
foreach(library IN LISTS FORBIDDEN)
  string(TOLOWER "${library}" library)
  foreach(import IN LISTS imports)
    string(REGEX REPLACE "^dll name: *" "" import "${import}")
    string(STRIP "${import}" import)
    if(import STREQUAL library)
      message(FATAL_ERROR "${PROGRAM} imports ${library}; bind it at run time from the system folder")
    endif()
  endforeach()
endforeach()
message(STATUS "imports: ${imports}")
