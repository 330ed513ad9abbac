# Settings shared by every target of the project, applied through an interface
# library so third-party code (GoogleTest, the fuzzing runtime) keeps its own.
add_library(lumasio_settings INTERFACE)
add_library(Lumasio::settings ALIAS lumasio_settings)

target_compile_definitions(lumasio_settings INTERFACE
    # Every text the program shows is Chinese: an implicit conversion from a
    # narrow string would silently pick an encoding, so forbid it.
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_CAST_FROM_BYTEARRAY
    QT_NO_URL_CAST_FROM_STRING
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_USE_QSTRINGBUILDER
    QT_NO_KEYWORDS
)

if(MSVC)
    # The sources hold Chinese literals in UTF-8.
    target_compile_options(lumasio_settings INTERFACE /utf-8 /W4 /permissive-)
else()
    target_compile_options(lumasio_settings INTERFACE -Wall -Wextra -Wpedantic)
    # No build embeds the folder it was built in (through __FILE__, debug
    # info or the build id), so a release builds to the same bytes wherever
    # it is checked out, nor the folder of Qt for Windows, which is in each
    # builder's own cache. The build tree's map comes last: GCC tries the
    # last one first, which matters when the build tree is inside the source.
    foreach(prefix IN LISTS CMAKE_PREFIX_PATH)
        target_compile_options(lumasio_settings INTERFACE -ffile-prefix-map=${prefix}=qt)
    endforeach()
    target_compile_options(lumasio_settings INTERFACE
        -ffile-prefix-map=${PROJECT_SOURCE_DIR}=.
        -ffile-prefix-map=${PROJECT_BINARY_DIR}=build)
endif()

if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    # Every symbol bound at start-up, so the relocations can be made read-only
    # for the whole run (full RELRO), as Debian hardens its own programs.
    target_link_options(lumasio_settings INTERFACE LINKER:-z,relro,-z,now)
endif()

if(LUMASIO_FUZZ)
    # Coverage for libFuzzer in every library; the fuzz targets link the
    # fuzzer's own main.
    set(_fuzz -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all)
    target_compile_options(lumasio_settings INTERFACE ${_fuzz})
    target_link_options(lumasio_settings INTERFACE -fsanitize=address,undefined)
elseif(LUMASIO_SANITIZE)
    set(_sanitize -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_compile_options(lumasio_settings INTERFACE ${_sanitize})
    target_link_options(lumasio_settings INTERFACE ${_sanitize})
endif()
