# Packages made by cpack: a .deb of both programs on Linux, a .zip of the
# command-line tool on Windows.
set(SONVERA_PACKAGING ${CMAKE_SOURCE_DIR}/packaging)
if(WIN32)
  install(FILES ${SONVERA_PACKAGING}/windows/README.ru.txt DESTINATION .)
elseif(NOT SONVERA_CORE_ONLY)
  install(FILES ${SONVERA_PACKAGING}/linux/sonvera.desktop DESTINATION share/applications)
  install(FILES ${SONVERA_PACKAGING}/linux/sonvera.svg DESTINATION share/icons/hicolor/scalable/apps)
endif()

set(CPACK_PACKAGE_NAME sonvera)
set(CPACK_PACKAGE_VENDOR "Sonvera")
set(CPACK_PACKAGE_CONTACT "Sonvera developers <dev@sonvera.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "converter of sound level and vibration meter measurement files")
set(CPACK_PACKAGE_DESCRIPTION "Opens measurement files of sound level meters and vibration meters (*.bin, *.dcr, *.msr),
shows their summary and the last record, and unloads the chosen levels, spectra and
statistics as delimited text for spreadsheets. Instruments are described by a device
catalogue; a demo catalogue and sample files are included. The Python module sonvera
gives the same files as numpy arrays and pandas frames.")
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME sonvera-cli-${PROJECT_VERSION}-windows-x64)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION science)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # Besides the libraries: the window's platform plugin, font and Russian Qt texts.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2, qt6-translations-l10n")
  if(SONVERA_PYTHON)
    # The module is built for one minor version of Debian's python3; pandas only for to_pandas().
    math(EXPR next_minor "${Python3_VERSION_MINOR} + 1")
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", python3 (>= ${Python3_VERSION_MAJOR}.${Python3_VERSION_MINOR}), "
           "python3 (<< ${Python3_VERSION_MAJOR}.${next_minor}), python3-numpy")
    set(CPACK_DEBIAN_PACKAGE_SUGGESTS python3-pandas)
  endif()
endif()
include(CPack)
