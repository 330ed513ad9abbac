# Windows: what Lumasio ships beside its executable to run on a machine with
# nothing else installed, what those downloads are offered with, and, in a
# cross build, Wine to run the tests.

# What of Qt ships beside lumasio.exe: its DLLs, and the plugins the program
# loads at run time, each in its type's folder (platforms/, styles/). This is
# the one list of it: the install rules, the notice of the program's folder
# (which of Qt's third-party components these files hold) and the strip step
# follow from it, and the MinGW run-time DLLs that all of them load are found
# when installing. Shipping another plugin means adding it here and to the
# package tests' expectations (tests/windows_package_test.sh).
set(LUMASIO_QT_SHIPPED Qt6::Core Qt6::Gui Qt6::Widgets
    Qt6::QWindowsIntegrationPlugin Qt6::QModernWindowsStylePlugin)
# A shared Qt loads no plugin targets with its modules: the shipped ones are
# asked for by name, from their modules' folders.
foreach(target IN LISTS LUMASIO_QT_SHIPPED)
    if(NOT TARGET ${target})
        string(REPLACE "::" "" package ${target})
        find_package(${package} CONFIG REQUIRED NO_DEFAULT_PATH
            PATHS ${Qt6Gui_DIR} ${Qt6Widgets_DIR})
    endif()
endforeach()

# The DLLs of Windows' own that lumasio.exe, Qt's DLLs and plugins and
# MinGW's run time import, lower case, all of them and no others: installing
# fails on one that is loaded and not listed, which no Windows might have,
# and on one listed that nothing imports (cmake/windows/InstallRuntime.cmake).
set(LUMASIO_WINDOWS_DLLS advapi32.dll authz.dll comdlg32.dll d3d11.dll d3d12.dll d3d9.dll
    dwmapi.dll dwrite.dll dxgi.dll gdi32.dll imm32.dll kernel32.dll mpr.dll msvcrt.dll
    netapi32.dll ole32.dll oleaut32.dll setupapi.dll shcore.dll shell32.dll shlwapi.dll
    user32.dll userenv.dll uxtheme.dll version.dll winmm.dll ws2_32.dll wtsapi32.dll)

# Where the DLLs are found: Qt's, then the MinGW compiler's own libraries.
get_target_property(qt_configs Qt6::Core IMPORTED_CONFIGURATIONS)
list(GET qt_configs 0 qt_config)
get_target_property(qt_core Qt6::Core IMPORTED_LOCATION_${qt_config})
get_filename_component(qt_bin ${qt_core} DIRECTORY)
set(LUMASIO_DLL_DIRS ${qt_bin} ${CMAKE_CXX_IMPLICIT_LINK_DIRECTORIES})

# Qt's own texts in Simplified Chinese (the buttons of message boxes),
# compiled from Qt's translation source kept in third-party/.
set(LUMASIO_QTTRANSLATIONS ${PROJECT_SOURCE_DIR}/third-party/qttranslations)
set(LUMASIO_QTBASE_QM ${CMAKE_BINARY_DIR}/translations/qtbase_zh_CN.qm)
find_program(LUMASIO_LRELEASE lrelease PATHS ${QT_HOST_PATH}/lib/qt6/bin
    NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
add_custom_command(OUTPUT ${LUMASIO_QTBASE_QM}
    COMMAND ${LUMASIO_LRELEASE} -silent ${LUMASIO_QTTRANSLATIONS}/qtbase_zh_CN.ts
        -qm ${LUMASIO_QTBASE_QM}
    DEPENDS ${LUMASIO_QTTRANSLATIONS}/qtbase_zh_CN.ts
    VERBATIM)
add_custom_target(qt_translations ALL DEPENDS ${LUMASIO_QTBASE_QM})

# The corresponding source of what the Windows downloads ship that isn't
# Lumasio's: Debian's source package of the Qt built by
# scripts/build-qt-windows, that script with its toolchain file, and Qt's
# translation source. `scripts/release` puts it in release/source/ with the
# script this writes (`cmake -DDESTINATION=DIR -P build-windows/offer-source.cmake`);
# the notice lists it.
set(LUMASIO_SOURCE_FILES "")
set(offer_source "")
function(lumasio_offer_source destination)
    foreach(file IN LISTS ARGN)
        get_filename_component(name ${file} NAME)
        cmake_path(APPEND destination ${name} OUTPUT_VARIABLE path)
        cmake_path(NORMAL_PATH path)
        list(APPEND LUMASIO_SOURCE_FILES ${path})
    endforeach()
    set(files ${ARGN})
    list(TRANSFORM files REPLACE "(.+)" "[[\\1]]")
    list(JOIN files " " files)
    string(APPEND offer_source
        "file(INSTALL ${files} DESTINATION \"\${DESTINATION}/${destination}\")\n")
    set(LUMASIO_SOURCE_FILES ${LUMASIO_SOURCE_FILES} PARENT_SCOPE)
    set(offer_source "${offer_source}" PARENT_SCOPE)
endfunction()
file(GLOB qt_sources ${QT6_INSTALL_PREFIX}/source/*)
lumasio_offer_source(. ${qt_sources})
lumasio_offer_source(scripts ${PROJECT_SOURCE_DIR}/scripts/build-qt-windows)
lumasio_offer_source(cmake/toolchains ${PROJECT_SOURCE_DIR}/cmake/toolchains/mingw-w64-x86_64.cmake)
lumasio_offer_source(qttranslations
    ${LUMASIO_QTTRANSLATIONS}/README.md ${LUMASIO_QTTRANSLATIONS}/qtbase_zh_CN.ts)
file(GLOB qttranslations_licences ${LUMASIO_QTTRANSLATIONS}/LICENSES/*)
lumasio_offer_source(qttranslations/LICENSES ${qttranslations_licences})
file(WRITE ${CMAKE_BINARY_DIR}/offer-source.cmake ${offer_source})

# Programs in the build tree (qt_standard_project_setup() puts them all in
# one folder on Windows) find Qt's plugins in Qt's prefix and the Chinese
# texts in the build tree; installed, everything sits beside the executable
# (app/platform/qt.conf).
set(bin_dir ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
if(NOT bin_dir)
    set(bin_dir ${CMAKE_BINARY_DIR})
endif()
file(RELATIVE_PATH plugins ${bin_dir} "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS}")
file(RELATIVE_PATH translations ${bin_dir} ${CMAKE_BINARY_DIR}/translations)
file(WRITE ${bin_dir}/qt.conf
    "[Paths]\nPrefix = .\nPlugins = ${plugins}\nTranslations = ${translations}\n")

if(CMAKE_CROSSCOMPILING AND CMAKE_HOST_UNIX)
    # Tests run under Wine in a prefix of this build tree, with Qt's and
    # MinGW's DLLs on its path; LUMASIO_WINE_PREFIX picks another prefix. The
    # shim also serves by hand:
    #   build-windows/wine-run build-windows/lumasio.exe
    list(JOIN LUMASIO_DLL_DIRS ":" dll_path)
    set(LUMASIO_WINE_RUN ${CMAKE_BINARY_DIR}/wine-run)
    file(WRITE ${LUMASIO_WINE_RUN}
        "#!/bin/sh\n"
        "WINEPREFIX=\"\${LUMASIO_WINE_PREFIX:-${CMAKE_BINARY_DIR}/wine}\" LUMASIO_WINE_DLL_DIRS='${dll_path}' \\\n"
        "    exec '${PROJECT_SOURCE_DIR}/scripts/wine-run' \"$@\"\n")
    file(CHMOD ${LUMASIO_WINE_RUN} FILE_PERMISSIONS
        OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${LUMASIO_WINE_RUN})
endif()
