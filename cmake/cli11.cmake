# CLI11 is header-only; the cross builds reach Debian's copy through a folder
# holding only a link to it, so no other host header can leak in.
find_path(CLI11_INCLUDE_DIR CLI/CLI.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH)
if(NOT CLI11_INCLUDE_DIR)
  message(FATAL_ERROR "CLI11 not found: apt-get install libcli11-dev")
endif()
set(CLI11_LINK_DIR "${CMAKE_BINARY_DIR}/cli11-include")
file(MAKE_DIRECTORY "${CLI11_LINK_DIR}")
file(CREATE_LINK "${CLI11_INCLUDE_DIR}/CLI" "${CLI11_LINK_DIR}/CLI" SYMBOLIC)
add_library(cli11 INTERFACE)
target_include_directories(cli11 SYSTEM INTERFACE "${CLI11_LINK_DIR}")
