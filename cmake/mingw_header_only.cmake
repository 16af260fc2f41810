# Debian's header-only libraries serve the mingw-w64 build as they are, each reached through a
# folder of the build that holds it alone (<build>/<entry>-include), so that no other header
# of the Linux system comes in: Boost (http/) and nlohmann JSON.
function(vesk_linux_headers entry probe)
  find_path(VESK_${entry}_HEADERS ${probe} PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  set(root ${CMAKE_BINARY_DIR}/${entry}-include)
  file(MAKE_DIRECTORY ${root})
  if(NOT EXISTS ${root}/${entry})
    file(CREATE_LINK ${VESK_${entry}_HEADERS}/${entry} ${root}/${entry} SYMBOLIC)
  endif()
endfunction()

vesk_linux_headers(nlohmann nlohmann/json.hpp)
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED GLOBAL)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE
                           ${CMAKE_BINARY_DIR}/nlohmann-include)
