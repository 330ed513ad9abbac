# Windows: what Lumasio needs beside its executable to run on a machine with
# nothing else installed, and, in a cross build, Wine to run the tests.

# Qt's and MinGW's run-time DLLs. Qt's image, font and shaping libraries are
# built into Qt6Gui, so these are all the executable loads besides Windows'
# own; the Windows package test checks that against what Wine loads.
set(LUMASIO_RUNTIME_DLLS
    $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>)
set(LUMASIO_RUNTIME_DLL_NAMES $<TARGET_FILE_NAME:Qt6::Core> $<TARGET_FILE_NAME:Qt6::Gui>
    $<TARGET_FILE_NAME:Qt6::Widgets>)
if(MINGW)
    foreach(dll libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll)
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
            OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(NOT IS_ABSOLUTE "${path}")
            message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not know ${dll}")
        endif()
        file(REAL_PATH "${path}" path)
        list(APPEND LUMASIO_RUNTIME_DLLS ${path})
        list(APPEND LUMASIO_RUNTIME_DLL_NAMES ${dll})
    endforeach()
endif()

# Qt's own texts in Simplified Chinese (the buttons of message boxes). A Qt
# built for Windows on Linux has none, so Debian's serve: the file is the same
# on every platform.
find_file(LUMASIO_QTBASE_QM qtbase_zh_CN.qm
    PATHS "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_TRANSLATIONS}" /usr/share/qt6/translations
    NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT LUMASIO_QTBASE_QM)
    message(FATAL_ERROR "qtbase_zh_CN.qm not found; install qt6-translations-l10n")
endif()
file(COPY ${LUMASIO_QTBASE_QM} DESTINATION ${CMAKE_BINARY_DIR}/translations)

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
    set(dll_dirs "")
    foreach(dll IN LISTS LUMASIO_RUNTIME_DLLS)
        if(dll MATCHES "^\\$<")
            continue()
        endif()
        get_filename_component(dir ${dll} DIRECTORY)
        list(APPEND dll_dirs ${dir})
    endforeach()
    get_target_property(qt_configs Qt6::Core IMPORTED_CONFIGURATIONS)
    list(GET qt_configs 0 qt_config)
    get_target_property(qt_core Qt6::Core IMPORTED_LOCATION_${qt_config})
    get_filename_component(qt_bin ${qt_core} DIRECTORY)
    list(PREPEND dll_dirs ${qt_bin})
    list(REMOVE_DUPLICATES dll_dirs)
    list(JOIN dll_dirs ":" dll_path)

    set(LUMASIO_WINE_RUN ${CMAKE_BINARY_DIR}/wine-run)
    file(WRITE ${LUMASIO_WINE_RUN}
        "#!/bin/sh\n"
        "WINEPREFIX=\"\${LUMASIO_WINE_PREFIX:-${CMAKE_BINARY_DIR}/wine}\" LUMASIO_WINE_DLL_DIRS='${dll_path}' \\\n"
        "    exec '${PROJECT_SOURCE_DIR}/scripts/wine-run' \"$@\"\n")
    file(CHMOD ${LUMASIO_WINE_RUN} FILE_PERMISSIONS
        OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${LUMASIO_WINE_RUN})
endif()
