# What `cmake --install` puts where, and the Debian package CPack makes of it:
#   bin/refx_lin, share/man/man1/refx_lin.1.gz, share/doc/refx/{README.md,examples/}.
include(GNUInstallDirs)

install(TARGETS refx_lin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Manual pages are installed compressed, as Debian keeps them; -n leaves the name and time
# out of the gzip header, so the same page gives the same bytes.
set(REFX_MANUAL ${PROJECT_SOURCE_DIR}/docs/refx_lin.1)
set(REFX_MANUAL_GZ ${PROJECT_BINARY_DIR}/refx_lin.1.gz)
add_custom_command(OUTPUT ${REFX_MANUAL_GZ}
                   COMMAND gzip -9n -c ${REFX_MANUAL} > ${REFX_MANUAL_GZ}
                   DEPENDS ${REFX_MANUAL} VERBATIM)
add_custom_target(refx_manual ALL DEPENDS ${REFX_MANUAL_GZ})
# Built with the program, so an install after building refx_lin alone finds it.
add_dependencies(refx_lin refx_manual)
install(FILES ${REFX_MANUAL_GZ} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# CMAKE_INSTALL_DOCDIR is share/doc/refx.
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${PROJECT_SOURCE_DIR}/examples/refx_lin.in
              ${PROJECT_SOURCE_DIR}/examples/reference_pulse.txt
              ${PROJECT_SOURCE_DIR}/examples/measured.txt
              ${PROJECT_SOURCE_DIR}/examples/direct_arrival.txt
              ${PROJECT_SOURCE_DIR}/examples/reflection_run.script
              ${PROJECT_SOURCE_DIR}/examples/make_examples.cpp
        DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

# The Debian package: `cpack -G DEB` in the build directory gives refx_<version>_<arch>.deb.
set(REFX_PACKAGE_MAINTAINER "refx developers <refx@localhost>"
    CACHE STRING "Maintainer field of the Debian package: name <address>")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME refx)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "waveform workbench that removes reflections with a compression filter")
# One paragraph; each line of it becomes a line of the control file's Description.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "refx_lin is an interactive, menu-driven workbench for sampled time waveforms in\n"
  "x87 80-bit extended precision. It reads and saves waveforms, spectra and\n"
  "filters in text or binary files, transforms, combines, windows and plots them,\n"
  "and removes reflections from a measured pulse: a compression filter made from\n"
  "a reference pulse collapses the pulse and each reflection into separate\n"
  "impulses, and an interval of them is de-compressed. Menus run on a curses\n"
  "terminal; plots open in an X11 window. Example data are in\n"
  "/usr/share/doc/refx/examples.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${REFX_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# dpkg-shlibdeps names the packages of every shared library refx_lin links (on Debian 12
# libncursesw6 and libtinfo6 for curses, libx11-6, and the C and C++ run-time libraries).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
