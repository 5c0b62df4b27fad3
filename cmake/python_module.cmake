# The Python module `sonvera`, built where pybind11 and the interpreter's
# headers are found: for Debian's python3 (whose numpy and pandas come with
# Debian), installed into its dist-packages folder. Not in the Windows build,
# nor in the sanitizer and fuzzing builds (an instrumented module would need an
# instrumented interpreter).
set(SONVERA_PYTHON OFF)
if(NOT WIN32 AND NOT SONVERA_SANITIZE AND NOT SONVERA_TSAN AND NOT SONVERA_FUZZ)
  if(NOT DEFINED Python3_EXECUTABLE AND EXISTS /usr/bin/python3)
    set(Python3_EXECUTABLE /usr/bin/python3 CACHE FILEPATH "The interpreter the Python module is built for")
  endif()
  find_package(Python3 COMPONENTS Interpreter Development.Module QUIET)
  if(Python3_FOUND)
    find_package(pybind11 CONFIG QUIET)
  endif()
  if(Python3_FOUND AND pybind11_FOUND)
    set(SONVERA_PYTHON ON)
    # The static libraries go into a shared module.
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
    # Under the prefix /usr (the .deb, `cmake --install --prefix /usr`) Debian's python3 searches this folder.
    set(SONVERA_PYTHON_INSTALL_DIR lib/python3/dist-packages CACHE STRING "Where the Python module is installed")
    message(STATUS "Python module for ${Python3_EXECUTABLE} (${Python3_VERSION})")
  else()
    message(STATUS "No Python module: pybind11 or the headers of ${Python3_EXECUTABLE} not found")
  endif()
endif()
