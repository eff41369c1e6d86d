# Runs one fuzzer for a bounded time on a scratch copy of the checked-in seeds, so the corpus in
# the repository only changes when someone adds seeds on purpose.
file(REMOVE_RECURSE ${WORK})
foreach(seeds IN LISTS SEEDS)
    file(COPY ${seeds}/ DESTINATION ${WORK})
endforeach()
execute_process(
    COMMAND ${FUZZER} -max_total_time=${SECONDS} -seed=${SEED} -rss_limit_mb=2048 -timeout=20
            -max_len=65536 -print_final_stats=1 ${WORK}
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "fuzzer ${FUZZER} found a failure (exit ${result})")
endif()
