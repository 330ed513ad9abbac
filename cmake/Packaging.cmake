# `cpack -G DEB` (or `make package`): a Debian package of Lumasio. Qt's
# libraries come in through dpkg-shlibdeps; the platform plugins and a font
# with Simplified-Chinese glyphs are added by hand, since nothing links them.
# For Windows (`make windows`): a zip and an installer of the program's folder.
set(CPACK_PACKAGE_NAME lumasio)
set(CPACK_PACKAGE_VENDOR "The Lumasio developers")
set(CPACK_PACKAGE_CONTACT "${LUMASIO_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Daily price-limit calculator for futures traders")
set(CPACK_PACKAGE_DESCRIPTION
    "Lumasio works out the limit-up and limit-down prices of a futures contract\nfrom its settlement price and a limit of 7%, 8%, 9% or 10%.")
set(CPACK_PACKAGE_HOMEPAGE_URL "http://${LUMASIO_PUBLISHER_HOST}/")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-arphic-uming | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")

if(WIN32)
    set(CPACK_GENERATOR ZIP NSIS)
    set(CPACK_PACKAGE_FILE_NAME "Lumasio-${PROJECT_VERSION}-win64")
    # Unpacked, the zip's files land in the folder Windows names after it.
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
    set(CPACK_PACKAGE_INSTALL_DIRECTORY Lumasio)
    set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Lumasio)
    set(CPACK_NSIS_PACKAGE_NAME Lumasio)
    set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/window/icons/lumasio.ico)
    # Lumasio's own installer script, found before CPack's: it installs for
    # the current user only and so needs no administrator.
    list(APPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/windows)
    # Signing and file times of the staged folder.
    set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/windows/StagedFiles.cmake)
    set(CPACK_LUMASIO_SIGN ${PROJECT_SOURCE_DIR}/scripts/sign)
    # Packaging needs only the program, not the tests.
    set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
endif()

# A Linux build without dpkg-dev has no package to make.
if(WIN32 OR LUMASIO_PACKAGING)
    include(CPack)
endif()
