# Installing the program, and its Debian package.
#
#   cmake --install build --prefix /usr      lays the built program out as a system does
#   (cd build && cpack -G DEB)               makes build/package/velmora_<version>_<arch>.deb
#
# Layout under the prefix: bin/velmora and bin/velmora-engine; share/velmora with
# template/, help/ and translations/; a desktop entry and an icon. An installed
# program reads from share/velmora and keeps what it writes in the user's data
# folder (see ChooseAppFolder in src/base/AppFolder.h).

include(GNUInstallDirs)
# Installing (and so cpack) takes the program as built and does not first build
# every test and benchmark: build velmora and velmora-engine before.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(VELMORA_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/velmora)

# The program finds its share folder from its own folder, wherever the prefix is.
file(RELATIVE_PATH VELMORA_SHARE_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/velmora)
target_compile_definitions(velmora_base PRIVATE VELMORA_SHARE_FROM_BIN="${VELMORA_SHARE_FROM_BIN}")

install(TARGETS velmora velmora-engine RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY template/ DESTINATION ${VELMORA_SHARE_DIR}/template PATTERN .keep EXCLUDE)
install(DIRECTORY help/ DESTINATION ${VELMORA_SHARE_DIR}/help)
# The program's own translations: a build that makes them with
#   qt_add_translations(velmora TS_FILES ... QM_FILES_OUTPUT_VARIABLE VELMORA_QM_FILES)
# before this file is included gets them installed where AppFolder::TranslationDir looks.
if(VELMORA_QM_FILES)
  install(FILES ${VELMORA_QM_FILES} DESTINATION ${VELMORA_SHARE_DIR}/translations)
endif()
install(FILES packaging/velmora.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/velmora.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "Velmora developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Coal-blending planner (Chinese interface)")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Keeps a yard's coals with their stock, price and quality indices, and finds\n\
the cheapest whole-number blend of chosen coals that meets every bound on the\n\
blend's indices. Plans are kept in a history, converted into tons and exported\n\
to spreadsheets and HTML.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# Libraries the executables link come from dpkg-shlibdeps; what they load at
# run time is named here: the SQLite driver of Qt's SQL module, the fonts the
# Chinese interface is drawn with, and Qt's own Chinese texts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, fonts-noto-cjk, fonts-droid-fallback, qt6-translations-l10n")
include(CPack)

# Loaded into the installed program by scripts/check-package.sh, to drive it.
add_library(velmora_drive MODULE tests/installed/DriveInstalled.cpp)
target_link_libraries(velmora_drive PRIVATE Qt6::Widgets)
set_target_properties(velmora_drive PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
