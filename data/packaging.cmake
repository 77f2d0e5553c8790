# "cpack -G DEB" (or "make package" in a build folder): a Debian package of the install
# tree under /usr. Its library dependencies come from dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME vorla)
set(CPACK_PACKAGE_VENDOR "The vorla developers")
set(CPACK_PACKAGE_CONTACT "The vorla developers <vorla@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "two clans live, breed, fight and die on a board you paint")
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "vorla is a small simulation of two rival clans on a board of 23 by 23\n"
  "squares. Paint creatures and obstacles with the mouse, run the years, watch\n"
  "the balance of power, change the rules, and save and load worlds. Its\n"
  "simulate command runs years with no display, for studying the rules.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://github.com/vorla/vorla")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The package's folders are the system's; only the files are its own.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
include(CPack)
