# For the Windows build: the header-only libraries come from the build machine
# (copied, so that its /usr/include never shadows MinGW's headers), and
# GoogleTest is built from the sources Debian ships.
set(SONVERA_HOST_HEADERS ${CMAKE_BINARY_DIR}/host-headers)
foreach(folder CLI nlohmann)
  if(NOT EXISTS /usr/include/${folder})
    message(FATAL_ERROR "/usr/include/${folder} is missing: run scripts/setup")
  endif()
  file(COPY /usr/include/${folder} DESTINATION ${SONVERA_HOST_HEADERS})
endforeach()
add_library(CLI11::CLI11 INTERFACE IMPORTED)
set_target_properties(CLI11::CLI11 PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${SONVERA_HOST_HEADERS})
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${SONVERA_HOST_HEADERS})

if(BUILD_TESTING)
  set(SONVERA_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources (Debian package googletest)")
  if(NOT EXISTS ${SONVERA_GOOGLETEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "${SONVERA_GOOGLETEST_SOURCE} is missing: run scripts/setup")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  # It names its targets GTest::gtest and GTest::gtest_main itself.
  add_subdirectory(${SONVERA_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
