# Header-only libraries from Debian. The cross builds reach each through a
# folder holding only a link to it, so no other host header can leak in.
#   add_host_header_library(TARGET FOLDER HEADER PACKAGE)
# makes the interface library TARGET for /usr/include/FOLDER/HEADER.
function(add_host_header_library target folder header package)
  find_path(${target}_INCLUDE_DIR ${folder}/${header} PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH)
  if(NOT ${target}_INCLUDE_DIR)
    message(FATAL_ERROR "${target} not found: apt-get install ${package}")
  endif()
  set(link_dir "${CMAKE_BINARY_DIR}/${target}-include")
  file(MAKE_DIRECTORY "${link_dir}")
  file(CREATE_LINK "${${target}_INCLUDE_DIR}/${folder}" "${link_dir}/${folder}" SYMBOLIC)
  add_library(${target} INTERFACE)
  target_include_directories(${target} SYSTEM INTERFACE "${link_dir}")
endfunction()
