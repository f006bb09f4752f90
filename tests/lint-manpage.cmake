# cmake -DMANDOC=... -DPAGE=... -P lint-manpage.cmake
# Runs mandoc's linter at style level and fails on any complaint except a
# cross-reference to a page this machine lacks, or mandoc's note that the
# local manual database is stale: both are facts about the machine, not the page.
execute_process(COMMAND ${MANDOC} -Tlint -Wstyle ${PAGE}
    OUTPUT_VARIABLE out ERROR_VARIABLE out RESULT_VARIABLE status)
string(REGEX REPLACE "[^\n]*(referenced manual not found|outdated mandoc.db)[^\n]*\n?" "" rest "${out}")
if(NOT rest STREQUAL "")
    message(FATAL_ERROR "mandoc -Tlint -Wstyle ${PAGE}:\n${rest}")
endif()
message(STATUS "mandoc status ${status}, complaints let pass:\n${out}")
