# Run by CPack on the staged program folder, before the zip or the installer
# is made of it (CPACK_PRE_BUILD_SCRIPTS).

# With the publisher's certificate in the environment, or a rebuild's
# published signatures (scripts/sign), the program is signed here: after
# install has stripped it, since stripping would drop the signature, and
# before either package takes it in.
if(NOT "$ENV{SIGN_PKCS12}$ENV{SIGN_SIGNATURES}" STREQUAL "")
    execute_process(
        COMMAND bash "${CPACK_LUMASIO_SIGN}" "${CPACK_TEMPORARY_DIRECTORY}/lumasio.exe"
        COMMAND_ERROR_IS_FATAL ANY)
endif()

# The installer stores each file's time. CPack's zip takes SOURCE_DATE_EPOCH
# by itself; NSIS reads the files' own times, so they are set to it here.
if(NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
    file(GLOB_RECURSE staged LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/*")
    execute_process(
        COMMAND touch -h -d "@$ENV{SOURCE_DATE_EPOCH}" "${CPACK_TEMPORARY_DIRECTORY}" ${staged}
        COMMAND_ERROR_IS_FATAL ANY)
endif()
