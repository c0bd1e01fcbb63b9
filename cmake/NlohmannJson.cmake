# nlohmann_json::nlohmann_json for the pieces that read or write JSON.
# Header-only: natively its CMake package; in the cross build the same
# Debian headers through a directory that holds nothing else (adding
# /usr/include itself would mix glibc's headers into a Windows build).
include_guard(GLOBAL)
if(CMAKE_CROSSCOMPILING)
  find_path(VELMORA_NLOHMANN_DIR nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH)
  if(VELMORA_NLOHMANN_DIR)
    set(json_include ${CMAKE_BINARY_DIR}/nlohmann-include)
    file(MAKE_DIRECTORY ${json_include})
    file(CREATE_LINK ${VELMORA_NLOHMANN_DIR}/nlohmann ${json_include}/nlohmann SYMBOLIC)
    add_library(velmora_nlohmann_json INTERFACE)
    target_include_directories(velmora_nlohmann_json SYSTEM INTERFACE ${json_include})
    add_library(nlohmann_json::nlohmann_json ALIAS velmora_nlohmann_json)
  endif()
else()
  find_package(nlohmann_json 3 REQUIRED GLOBAL)
endif()
