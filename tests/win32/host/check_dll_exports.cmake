# cmake -DDLL=<Sabla.dll> -DOBJDUMP=<objdump> -P check_dll_exports.cmake
# Fails unless the library's only export is iTunesPluginMain and every DLL it imports ships with
# Windows (no libstdc++, libgcc or winpthread beside it).
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "objdump could not read ${DLL}")
endif()

string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n(([ \t]+\\[[ 0-9]+\\] [^\n]+\n)*)" table
       "${dump}")
string(REGEX MATCHALL "\\] [^\n]+" named "${CMAKE_MATCH_1}")
list(TRANSFORM named REPLACE "^\\] " "")
if(NOT named STREQUAL "iTunesPluginMain")
  message(FATAL_ERROR "exported names are [${named}], not just iTunesPluginMain")
endif()
# An export by ordinal alone has no name, so count the address table as well.
string(REGEX MATCH "Export Address Table -- Ordinal Base [0-9]+\n(([ \t]+\\[[ 0-9]+\\][^\n]*\n)*)"
       addresses "${dump}")
string(REGEX MATCHALL "[^\n]+\n" entries "${CMAKE_MATCH_1}")
list(LENGTH entries entry_count)
if(NOT entry_count EQUAL 1)
  message(FATAL_ERROR "the export address table has ${entry_count} entries, not 1")
endif()

set(system_dlls advapi32.dll comctl32.dll comdlg32.dll dinput8.dll gdi32.dll gdiplus.dll
    hhctrl.ocx kernel32.dll msvcrt.dll ole32.dll oleaut32.dll shell32.dll shlwapi.dll
    user32.dll uxtheme.dll version.dll wininet.dll winmm.dll)
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
list(TRANSFORM imports REPLACE "^DLL Name: " "")
foreach(name IN LISTS imports)
  string(TOLOWER "${name}" lower)
  if(NOT lower IN_LIST system_dlls)
    message(FATAL_ERROR "imports ${name}, which is not part of Windows")
  endif()
endforeach()
message(STATUS "exports iTunesPluginMain; imports ${imports}")
