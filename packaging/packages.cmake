# The release packages, made by CPack from the install rules: a .deb on
# Linux, a zip of the program folder for each Windows build. Their names
# carry the project's version, and the zip's the Windows build's bitness.
set(CPACK_PACKAGE_NAME skyplate)
set(CPACK_PACKAGE_VENDOR Brackenfold)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "${SKYPLATE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "top-down terrain pictures of Dunerally tracks")
set(CPACK_PACKAGE_DESCRIPTION
    "Skyplate turns a Dunerally track file into a top-down picture of the
track's terrain: the mask map and four overlay tiles the track file names are
blended into a 24-bit BMP picture of the mask map's size, written beside the
track file. This package holds the command-line tool skyplate-cli.")
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_GENERATOR "")

if(WIN32)
  math(EXPR bits "8 * ${CMAKE_SIZEOF_VOID_P}")
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "Skyplate-${PROJECT_VERSION}-win${bits}")
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # Debian wants a copyright file and a changelog beside the documents and
  # manual pages compressed; a plain `cmake --install` keeps them as they are.
  install(FILES copyright DESTINATION "${CMAKE_INSTALL_DOCDIR}")
  set(CPACK_PRE_BUILD_SCRIPTS "${CMAKE_CURRENT_BINARY_DIR}/debian-tree.cmake")
  configure_file(debian-tree.cmake.in "${CMAKE_CURRENT_BINARY_DIR}/debian-tree.cmake" @ONLY)
endif()

include(CPack)
