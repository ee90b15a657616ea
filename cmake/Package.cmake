# The Debian package (tools/package runs cpack -G DEB): the programs, the
# desktop entry, icon, MIME type and manual pages that the install rules
# name. The fonts are dependencies, not copies; the shared libraries'
# packages come from dpkg-shlibdeps. The name is kalvor_VERSION_amd64.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kalvor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Kalvor developers")
set(CPACK_PACKAGE_CONTACT "The Kalvor developers <kalvor@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "block-mode terminal emulator for character-mode host computers")
set(CPACK_PACKAGE_DESCRIPTION
  "Kalvor is a desktop terminal emulator (Qt 6) for hosts that speak the escape\n"
  "language of block-mode display terminals: cursor addressing within a long\n"
  "display memory, display enhancements, line drawing, format mode with\n"
  "protected fields, block transmission, host-defined function keys and\n"
  "log-on scripts (.zkt). It connects over Telnet, SSH, a serial line or to a\n"
  "local program. The package also holds the headless terminal kalvor-screen,\n"
  "the demonstration host kalvor-demohost and the form viewer kalvor-form-view.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-terminus, fonts-dejavu-core")
include(CPack)
