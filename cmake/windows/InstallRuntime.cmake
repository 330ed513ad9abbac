# Run when installing the Windows program (install(CODE) in
# app/CMakeLists.txt), after lumasio.exe, Qt's DLLs and plugins and the
# texts: copies in every other DLL that these load, but Windows' own, from the
# folders the build found them in (MinGW's run time); strips the DLLs when
# installing stripped; and writes licenses/ from what the folder now holds.
#
# Set by the caller: LUMASIO_PROGRAM (the built lumasio.exe), LUMASIO_QT and
# LUMASIO_TEXTS (ORIGIN=PLACE pairs, installed already), LUMASIO_DLL_DIRS,
# LUMASIO_OBJDUMP, LUMASIO_DLLTOOL, LUMASIO_STRIP, LUMASIO_LICENSES (the notice's command line,
# less --out and --ships).
set(folder "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(shipped ${LUMASIO_QT} ${LUMASIO_TEXTS})
set(modules ${LUMASIO_QT})
list(TRANSFORM modules REPLACE "=.*" "")

set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND ${LUMASIO_OBJDUMP})
# Qt's DLLs are shipped already, so they are left out by path when found. The
# API sets are names Windows resolves itself.
file(GET_RUNTIME_DEPENDENCIES
    EXECUTABLES ${LUMASIO_PROGRAM}
    MODULES ${modules}
    DIRECTORIES ${LUMASIO_DLL_DIRS}
    PRE_EXCLUDE_REGEXES "^api-ms-" "^ext-ms-"
    POST_EXCLUDE_FILES ${modules}
    RESOLVED_DEPENDENCIES_VAR dlls
    UNRESOLVED_DEPENDENCIES_VAR unresolved
    CONFLICTING_DEPENDENCIES_PREFIX conflicting)
if(conflicting_FILENAMES)
    message(FATAL_ERROR "Found in more than one folder: ${conflicting_FILENAMES}")
endif()

# What is not found must be Qt's (CMake before 3.27 looks DLL names up in
# lower case, so on a case-sensitive disk it never finds Qt6Core.dll) or
# Windows' own: a DLL that MinGW-w64 links against through an import library
# of its own, lib<name>.a in the compiler's folders, which names that DLL.
# Anything else would be missing on the user's machine.
set(ours "")
foreach(module IN LISTS modules)
    get_filename_component(name ${module} NAME)
    string(TOLOWER ${name} name)
    list(APPEND ours ${name})
endforeach()
set(missing "")
foreach(dll IN LISTS unresolved)
    string(TOLOWER ${dll} name)
    # list(FIND), as an install script runs without the project's policies.
    list(FIND ours ${name} at)
    if(at GREATER -1)
        continue()
    endif()
    get_filename_component(stem ${name} NAME_WLE)
    find_file(import_library lib${stem}.a PATHS ${LUMASIO_DLL_DIRS} NO_DEFAULT_PATH NO_CACHE)
    set(identified "")
    if(import_library)
        execute_process(COMMAND ${LUMASIO_DLLTOOL} --identify ${import_library}
            OUTPUT_VARIABLE identified OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
        string(TOLOWER "${identified}" identified)
    endif()
    if(NOT identified STREQUAL name)
        list(APPEND missing ${dll})
    endif()
    unset(import_library)
endforeach()
if(missing)
    message(FATAL_ERROR "Loaded but neither shipped nor Windows' own: ${missing}")
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
