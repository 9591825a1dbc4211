# Helpers shared by every build of the tree.

set(Y8_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

function(y8_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  if(Y8_COVERAGE)
    # At -O0 GCC guesses format truncations that the optimised builds rule out.
    target_compile_options(${target} PRIVATE -Wno-format-truncation)
  endif()
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src)
endfunction()

# y8_library(name sources [OPTIMISED] [OBJECT]): a library of the project's own code,
# static, or OBJECT for the layers that implement the core's platform services (their
# objects always go into the program, whatever the link order).
# Natively it is built with the sanitizers unless OPTIMISED.
function(y8_library name sources)
  if("OBJECT" IN_LIST ARGN)
    add_library(${name} OBJECT ${sources})
  else()
    add_library(${name} STATIC ${sources})
  endif()
  y8_warnings(${name})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  if("OPTIMISED" IN_LIST ARGN)
    target_compile_options(${name} PRIVATE -O2)
  elseif(Y8_COVERAGE)
    target_compile_options(${name} PRIVATE -O0 --coverage)
    target_link_options(${name} PUBLIC --coverage)
  elseif(NOT WIN32 AND NOT Y8_FUZZ)
    target_compile_options(${name} PRIVATE ${Y8_SANITIZE})
    target_link_options(${name} PUBLIC ${Y8_SANITIZE})
  endif()
  if(Y8_FUZZ)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
    target_link_options(${name} PUBLIC -fsanitize=address,undefined)
  endif()
endfunction()

# The portable core: the Win32 headers are shadowed by ones that stop the build.
function(y8_core_library name sources)
  y8_library(${name} "${sources}" ${ARGN})
  target_include_directories(${name} BEFORE PRIVATE ${PROJECT_SOURCE_DIR}/cmake/forbid-win32)
endfunction()
