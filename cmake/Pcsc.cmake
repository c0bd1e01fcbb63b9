# Defines velmora::pcsc, the real PC/SC library of the target platform.
add_library(velmora_pcsc INTERFACE)
add_library(velmora::pcsc ALIAS velmora_pcsc)
if(WIN32)
  target_link_libraries(velmora_pcsc INTERFACE winscard)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(PCSCLITE REQUIRED IMPORTED_TARGET libpcsclite)
  target_link_libraries(velmora_pcsc INTERFACE PkgConfig::PCSCLITE)
endif()

# Include path of the PC/SC headers without linking the library (for code
# that is linked against the fake in tests).
add_library(velmora_pcsc_headers INTERFACE)
if(NOT WIN32)
  target_include_directories(velmora_pcsc_headers INTERFACE ${PCSCLITE_INCLUDE_DIRS})
endif()
