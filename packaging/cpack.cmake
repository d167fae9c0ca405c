# The Debian package: `cpack --config build/CPackConfig.cmake` in the build
# folder after `cmake --build build` (which compiles the databases).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorn)
set(CPACK_PACKAGE_VENDOR "Vorn")
set(CPACK_PACKAGE_CONTACT "Vorn developers <vorn-dev@users.noreply.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Study the Bible in Hebrew and Greek, word by word")
set(CPACK_PACKAGE_DESCRIPTION
  "Vorn shows the Hebrew Old Testament and the Greek New Testament with interlinear lines under every word and searches them with an English-like query language.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The databases name faces these packages install.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-sil-ezra, fonts-sil-gentiumplus, fonts-liberation2")
include(CPack)
