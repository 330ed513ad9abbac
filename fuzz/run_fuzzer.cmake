# Runs one fuzz target for SECONDS seconds over its seeds. New inputs go to a
# scratch folder, so the committed corpus stays as it is.
# FUZZ_SECONDS in the environment overrides the configured time.
if(DEFINED ENV{FUZZ_SECONDS})
    set(SECONDS $ENV{FUZZ_SECONDS})
endif()
file(MAKE_DIRECTORY ${SCRATCH})
execute_process(
    COMMAND ${FUZZER} -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=2048
            -print_final_stats=1 -artifact_prefix=${SCRATCH}/ ${SCRATCH} ${SEEDS}
    RESULT_VARIABLE result
)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${FUZZER} found a failing input; see the crash file in ${SCRATCH}")
endif()
