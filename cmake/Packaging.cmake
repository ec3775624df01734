# The Debian package: cpack -G DEB in a build folder writes quillon_<version>_amd64.deb.
# dpkg-shlibdeps finds the libraries the program links; the ones it loads while running are named
# here: chmlib for the help viewer and the Liberation fonts the report templates' fonts fall back
# to. The Qt platform plugins (xcb, offscreen) come with libqt6gui6, which the program links.
# Without DejaVu, fontconfig gives Liberation Mono for the windows' default sans-serif font.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillon)
set(CPACK_PACKAGE_VENDOR "Farbrook Software")
set(CPACK_PACKAGE_CONTACT "Farbrook Software <quillon@farbrook-software.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "numerology of names and dates")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillon values every letter of a name under the Pythagorean or the Chaldean\n\
system, shows the vowels above the name and the consonants below it, reduces\n\
the totals to single digits, counts the digits in a chart and combines the\n\
name with a date. It prints a one-page report, exports it as RTF, and comes\n\
with a pocket calculator, a manual and batch analysis of name lists.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.farbrook-software.example/quillon/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libchm1, libcups2, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "bash-completion, fonts-dejavu-core, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups, printer-driver-cups-pdf")
include(CPack)
