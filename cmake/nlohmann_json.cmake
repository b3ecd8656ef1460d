# nlohmann-json is header-only; like CLI11, the cross builds reach Debian's
# copy through a folder holding only a link to it.
find_path(NLOHMANN_JSON_INCLUDE_DIR nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH)
if(NOT NLOHMANN_JSON_INCLUDE_DIR)
  message(FATAL_ERROR "nlohmann-json not found: apt-get install nlohmann-json3-dev")
endif()
set(NLOHMANN_JSON_LINK_DIR "${CMAKE_BINARY_DIR}/nlohmann-json-include")
file(MAKE_DIRECTORY "${NLOHMANN_JSON_LINK_DIR}")
file(CREATE_LINK "${NLOHMANN_JSON_INCLUDE_DIR}/nlohmann" "${NLOHMANN_JSON_LINK_DIR}/nlohmann"
     SYMBOLIC)
add_library(nlohmann_json INTERFACE)
target_include_directories(nlohmann_json SYSTEM INTERFACE "${NLOHMANN_JSON_LINK_DIR}")
