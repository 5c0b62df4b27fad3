# Where `cmake --install` puts things. Linux: programs in bin/, the catalogue
# and samples in share/sonvera/ (where the program looks after its own folder),
# a desktop entry and an icon. Windows: everything in one folder, the catalogue
# beside the program.
if(WIN32)
  set(SONVERA_INSTALL_BIN .)
  set(SONVERA_INSTALL_DATA .)
else()
  set(SONVERA_INSTALL_BIN bin)
  set(SONVERA_INSTALL_DATA share/sonvera)
endif()
