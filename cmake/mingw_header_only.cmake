# The mingw-w64 build's nlohmann JSON: Debian's header-only library serves it as it is,
# reached through a folder of the build that holds it alone, so that no other header of the
# Linux system comes in (as http/ does for Boost).
find_path(VESK_JSON_HEADERS nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(json_root ${CMAKE_BINARY_DIR}/json-include)
file(MAKE_DIRECTORY ${json_root})
if(NOT EXISTS ${json_root}/nlohmann)
  file(CREATE_LINK ${VESK_JSON_HEADERS}/nlohmann ${json_root}/nlohmann SYMBOLIC)
endif()
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED GLOBAL)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${json_root})
