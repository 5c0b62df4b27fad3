# One place for compiler flags shared by every target of the project.
add_library(sonvera_flags INTERFACE)
if(MSVC)
  # Sources are UTF-8 (Russian texts in literals), whatever the system's code page.
  target_compile_options(sonvera_flags INTERFACE /W4 /utf-8 /permissive-)
  if(SONVERA_WERROR)
    target_compile_options(sonvera_flags INTERFACE /WX)
  endif()
else()
  target_compile_options(sonvera_flags INTERFACE -Wall -Wextra -Wpedantic -Wshadow)
  if(SONVERA_WERROR)
    target_compile_options(sonvera_flags INTERFACE -Werror)
  endif()
endif()
if(SONVERA_SANITIZE)
  target_compile_options(sonvera_flags INTERFACE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(sonvera_flags INTERFACE -fsanitize=address,undefined)
endif()
if(SONVERA_TSAN)
  target_compile_options(sonvera_flags INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(sonvera_flags INTERFACE -fsanitize=thread)
endif()
if(SONVERA_FUZZ)
  # Coverage for the fuzzers reaches into the library itself. The compiler
  # reads the list of functions left out, but the build does not track it:
  # its digest among the flags makes a changed list rebuild everything.
  set(coverage_ignore ${CMAKE_SOURCE_DIR}/fuzz/coverage-ignore.txt)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${coverage_ignore})
  file(MD5 ${coverage_ignore} coverage_ignore_digest)
  target_compile_options(sonvera_flags INTERFACE -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                         -fsanitize-coverage-ignorelist=${coverage_ignore}
                         -DSONVERA_COVERAGE_IGNORE=${coverage_ignore_digest})
  target_link_options(sonvera_flags INTERFACE -fsanitize=address,undefined)
endif()
