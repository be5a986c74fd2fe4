# `make package` (cpack -G DEB): a Debian package of the install tree.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME welvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Welvane developers")
set(CPACK_PACKAGE_CONTACT "The Welvane developers <hi@welvane.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "device information and live monitor for Linux")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${WELVANE_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "device information and live monitor for Linux
 Welvane shows, live, what the Linux device it runs on is doing and what it
 is made of: battery charge and a full-charge alarm, disk, CPU, load,
 uptime, addresses, memory and paging, processes, the routing table, open
 connections, hardware and OS facts (mailable as a report), the system log
 with search and media counts.
 .
 A headless mode serves every reading as Prometheus metrics.")
# The libraries come from dpkg-shlibdeps; what it cannot see is named here:
# the mail hand-over (xdg-open), the PCI names of the hardware facts, the
# fonts the pages are laid out in.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "xdg-utils, pci.ids, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hicolor-icon-theme, adwaita-icon-theme")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "prometheus")
include(CPack)
