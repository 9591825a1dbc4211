# Fails when a source under src/ includes a header of a higher floor. The folders
# stand in floors, and a file includes only its own floor and those below it:
#   support < framework < document < view < textops, tools, printing < shell
# textops, tools and printing share one floor; resources may be included by anyone;
# host (the headless platform) may include anything below shell. An include without
# a folder names a header of the file's own folder.
# Run as: cmake -DSRC=<src folder> -P check_floors.cmake
set(floor_support 0)
set(floor_framework 1)
set(floor_document 2)
set(floor_view 3)
set(floor_textops 4)
set(floor_tools 4)
set(floor_printing 4)
set(floor_shell 5)
set(floor_host 5)       # below the shell: sees every floor but the shell
set(floor_resources -1) # anyone may include it

file(GLOB_RECURSE files RELATIVE "${SRC}" "${SRC}/*.cpp" "${SRC}/*.h")
set(bad "")
foreach(f IN LISTS files)
  string(REGEX MATCH "^[^/]+" folder "${f}")
  if(NOT DEFINED floor_${folder})
    list(APPEND bad "src/${f}: folder '${folder}' has no floor")
    continue()
  endif()
  set(own ${floor_${folder}})
  # One list element per line: the characters CMake lists treat specially are
  # replaced first, so that the line numbers stay true.
  file(READ "${SRC}/${f}" content)
  string(REGEX REPLACE "[][;\\]" "_" content "${content}")
  string(REPLACE "\n" ";" lines "${content}")
  set(n 0)
  foreach(line IN LISTS lines)
    math(EXPR n "${n} + 1")
    if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\"")
      continue()
    endif()
    set(header "${CMAKE_MATCH_1}")
    if(header MATCHES "^([^/]+)/")
      set(target "${CMAKE_MATCH_1}")
    else()
      set(target "${folder}")
    endif()
    if(NOT DEFINED floor_${target})
      list(APPEND bad "src/${f}:${n}: ${header} is in no floor")
    elseif(floor_${target} GREATER own OR (folder STREQUAL "host" AND target STREQUAL "shell"))
      list(APPEND bad "src/${f}:${n}: ${folder} includes ${header}, a floor above it")
    endif()
  endforeach()
endforeach()
if(bad)
  foreach(line IN LISTS bad)
    message(NOTICE "${line}")
  endforeach()
  list(LENGTH bad count)
  message(FATAL_ERROR "${count} includes run up a floor (above)")
endif()
message(STATUS "no include runs up a floor")
