# cmake -DBUILD_DIR=... -DSTAGE=... -DEXPECTED=<absolute paths> -P check-install.cmake
# Installs the build into STAGE through DESTDIR and fails unless STAGE then
# holds exactly the EXPECTED files, each under STAGE.
file(REMOVE_RECURSE "${STAGE}")
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env "DESTDIR=${STAGE}" ${CMAKE_COMMAND} --install "${BUILD_DIR}"
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

file(GLOB_RECURSE installed LIST_DIRECTORIES false "${STAGE}/*")
set(expected)
foreach(path IN LISTS EXPECTED)
    list(APPEND expected "${STAGE}${path}")
endforeach()
list(SORT installed)
list(SORT expected)

set(missing ${expected})
list(REMOVE_ITEM missing ${installed})
set(unexpected ${installed})
list(REMOVE_ITEM unexpected ${expected})
if(missing OR unexpected)
    string(REPLACE ";" "\n  " missing "${missing}")
    string(REPLACE ";" "\n  " unexpected "${unexpected}")
    message(FATAL_ERROR "Staged install differs.\nMissing:\n  ${missing}\nUnexpected:\n  ${unexpected}")
endif()
foreach(path IN LISTS installed)
    file(SIZE "${path}" size)
    if(size EQUAL 0)
        message(FATAL_ERROR "Installed file is empty: ${path}")
    endif()
endforeach()
list(LENGTH installed count)
message(STATUS "${count} files staged as expected in ${STAGE}")
