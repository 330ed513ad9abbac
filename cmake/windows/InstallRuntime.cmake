# Run when installing the Windows program (install(CODE) in
# app/CMakeLists.txt), after lumasio.exe, Qt's DLLs and plugins and the
# texts: copies in every other DLL that these load, but Windows' own, from the
# folders the build found them in (MinGW's run time); strips the DLLs when
# installing stripped; and writes licenses/ from what the folder now holds.
#
# Set by the caller: LUMASIO_PROGRAM (the built lumasio.exe), LUMASIO_QT and
# LUMASIO_TEXTS (ORIGIN=PLACE pairs, installed already), LUMASIO_DLL_DIRS,
# LUMASIO_OBJDUMP, LUMASIO_STRIP, LUMASIO_LICENSES (the notice's command line,
# less --out and --ships).
set(folder "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(shipped ${LUMASIO_QT} ${LUMASIO_TEXTS})
set(modules ${LUMASIO_QT})
list(TRANSFORM modules REPLACE "=.*" "")

set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND ${LUMASIO_OBJDUMP})
# Windows' own DLLs lie in none of the folders: they stay unresolved, and
# the package tests check that nothing else does. So do Qt's, which are
# shipped already: CMake compares DLL names in lower case, and Qt's aren't.
file(GET_RUNTIME_DEPENDENCIES
    EXECUTABLES ${LUMASIO_PROGRAM}
    MODULES ${modules}
    DIRECTORIES ${LUMASIO_DLL_DIRS}
    PRE_EXCLUDE_REGEXES "^api-ms-" "^ext-ms-"
    RESOLVED_DEPENDENCIES_VAR dlls
    UNRESOLVED_DEPENDENCIES_VAR windows_own
    CONFLICTING_DEPENDENCIES_PREFIX conflicting)
if(conflicting_FILENAMES)
    message(FATAL_ERROR "Found in more than one folder: ${conflicting_FILENAMES}")
endif()
file(INSTALL ${dlls} DESTINATION ${folder})
foreach(dll IN LISTS dlls)
    get_filename_component(name ${dll} NAME)
    list(APPEND shipped "${dll}=${name}")
endforeach()

# Install strips only the targets it built; the DLLs are copied as they
# come.
if(CMAKE_INSTALL_DO_STRIP)
    set(copies ${shipped})
    list(FILTER copies INCLUDE REGEX "\\.dll$")
    list(TRANSFORM copies REPLACE "^.*=" "${folder}/")
    execute_process(COMMAND ${LUMASIO_STRIP} --strip-unneeded ${copies} COMMAND_ERROR_IS_FATAL ANY)
endif()

execute_process(COMMAND ${LUMASIO_LICENSES} --out ${folder}/licenses --ships ${shipped}
    COMMAND_ERROR_IS_FATAL ANY)
