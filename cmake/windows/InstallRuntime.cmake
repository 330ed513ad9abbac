# Run when installing the Windows program (install(CODE) in
# app/CMakeLists.txt), after lumasio.exe, Qt's DLLs and plugins and the
# texts: copies in every other DLL that these load, but Windows' own, from the
# folders the build found them in (MinGW's run time); strips the DLLs when
# installing stripped; and writes licenses/ from what the folder now holds.
#
# Set by the caller: LUMASIO_PROGRAM (the built lumasio.exe), LUMASIO_QT and
# LUMASIO_TEXTS (ORIGIN=PLACE pairs, installed already), LUMASIO_DLL_DIRS,
# LUMASIO_WINDOWS_DLLS, LUMASIO_OBJDUMP, LUMASIO_STRIP, LUMASIO_LICENSES (the
# notice's command line, less --out and --ships).
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
# lower case, so on a case-sensitive disk it never finds Qt6Core.dll) or one
# of Windows' own that LUMASIO_WINDOWS_DLLS lists: anything else would be
# missing on the user's machine. The list is what the build imports, no more:
# a listed DLL nothing imports is a list to mend too.
set(ours "")
foreach(module IN LISTS modules)
    get_filename_component(name ${module} NAME)
    string(TOLOWER ${name} name)
    list(APPEND ours ${name})
endforeach()
set(missing "")
set(imported "")
foreach(dll IN LISTS unresolved)
    string(TOLOWER ${dll} name)
    # list(FIND), as an install script runs without the project's policies.
    list(FIND ours ${name} at)
    list(FIND LUMASIO_WINDOWS_DLLS ${name} listed)
    if(listed GREATER -1)
        list(APPEND imported ${name})
    elseif(at EQUAL -1)
        list(APPEND missing ${dll})
    endif()
endforeach()
if(missing)
    message(FATAL_ERROR "Loaded but neither shipped nor Windows' own: ${missing}")
endif()
set(unused ${LUMASIO_WINDOWS_DLLS})
if(imported)
    list(REMOVE_ITEM unused ${imported})
endif()
if(unused)
    message(FATAL_ERROR "Listed as Windows' own but imported by nothing shipped: ${unused}")
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
