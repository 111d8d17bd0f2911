# Installation and the Debian package.
#
#   cmake --install build --prefix /usr/local
#   (cd build && cpack -G DEB)
#
# The program goes to bin, the man page (compressed, as Debian wants it) to
# share/man/man1, the bash completion to share/bash-completion/completions,
# and the README to the documentation directory.

# The JSON writer of --facts (header-only, from Debian's nlohmann-json3-dev).
find_package(nlohmann_json 3 REQUIRED)
target_link_libraries(veltrix_core PRIVATE nlohmann_json::nlohmann_json)

include(GNUInstallDirs)

install(TARGETS veltrix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(VELTRIX_MAN_PAGE ${CMAKE_CURRENT_SOURCE_DIR}/docs/veltrix.1)
find_program(VELTRIX_GZIP gzip)
if(VELTRIX_GZIP)
  set(VELTRIX_MAN_PAGE_GZ ${CMAKE_CURRENT_BINARY_DIR}/veltrix.1.gz)
  add_custom_command(
    OUTPUT ${VELTRIX_MAN_PAGE_GZ}
    COMMAND ${VELTRIX_GZIP} -9 -n -c ${VELTRIX_MAN_PAGE} > ${VELTRIX_MAN_PAGE_GZ}
    DEPENDS ${VELTRIX_MAN_PAGE}
    COMMENT "Compressing the man page")
  add_custom_target(veltrix_man_page ALL DEPENDS ${VELTRIX_MAN_PAGE_GZ})
  install(FILES ${VELTRIX_MAN_PAGE_GZ} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  install(FILES ${VELTRIX_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

install(FILES completions/veltrix.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME veltrix)
install(FILES README.md docs/facts.md docs/facts.schema.json DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The Debian package: cpack -G DEB in the build directory.
set(CPACK_PACKAGE_NAME veltrix)
set(CPACK_PACKAGE_VENDOR "Veltrix developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "lists every command of a printer job (PCL 5, HP-GL/2, PCL XL, PJL)")
set(CPACK_PACKAGE_DESCRIPTION
    "Veltrix reads a print job as a printer receives it and writes a plain-text listing of every\n command with its parameters and data, followed by summaries, with the problems of the job\n marked.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Veltrix developers <veltrix@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xdg-utils")
find_program(VELTRIX_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(VELTRIX_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  # What the program links on Debian 12 (C++ runtime, C library, GCC runtime).
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6 (>= 2.34), libgcc-s1 (>= 3.0), libstdc++6 (>= 12)")
endif()
include(CPack)
