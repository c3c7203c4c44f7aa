# The Debian package of Зорнета, made by `cpack -G DEB` from what
# `cmake --install` puts under /usr: zorneta_<version>-<revision>_<arch>.deb.
# Its dependencies are computed by dpkg-shlibdeps from the binaries, and the
# binaries are stripped.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorneta)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Seed 6ec15cea maintainers")
set(CPACK_PACKAGE_CONTACT "Seed 6ec15cea maintainers <maintainers@users.noreply.c-seed-6ec15cea.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${ZORNETA_DEBIAN_RELEASE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "monitoring terminal for serial furnace thermoregulators
Zorneta shows the temperature a remote programmable thermoregulator of the
ML series streams over a serial line, plots the heating curve, records
every received line to a text file with time stamps, raises an alarm at a
set temperature and reports line faults. The user interface is in Russian.

It also records without a window, as a systemd service with one instance
per furnace (zorneta-recorder@.service), and can serve what it receives
read-only over HTTP: a live page, Prometheus metrics and JSON. The package
holds the simulated thermoregulator zorneta-sim too.")

include(CPack)
