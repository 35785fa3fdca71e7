# A Debian package of the command-line tools and their manual pages, and the
# Thunderbird host with its manifest:
# `cpack -G DEB` in a native build directory.  The library dependencies come
# from dpkg-shlibdeps (package dpkg-dev), so whatever the tools link is named.
set(CPACK_PACKAGE_NAME kelvane-tools)
set(CPACK_PACKAGE_VENDOR "Orrin Vale")
set(CPACK_PACKAGE_CONTACT "Orrin Vale <kelvane@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "mail reply reformatter and Kelvane setup tools")
set(CPACK_PACKAGE_DESCRIPTION
    "kelvane-reformat rewrites the quoted text of a mail reply: attribution line,\n\
quote prefixes, re-wrapping and signatures; it works as the editor hook of\n\
terminal mail clients and as a formatprg for Vim.  kelvane-host serves the\n\
same engine to Kelvane's Thunderbird add-on (native messaging).\n\
kelvane-archive and kelvane-package read and build the setup packages of\n\
Kelvane for Windows.")
set(CPACK_DEBIAN_PACKAGE_SECTION mail)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
include(CPack)
