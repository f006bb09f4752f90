# cmake -DBUILD_DIR=... -DSTAGE=... -DPREFIX=... -DPLIST=... -P check-install.cmake
# Installs the build twice: through DESTDIR into STAGE/destdir under the
# configured PREFIX, and under the prefix STAGE/prefix/usr as --prefix does,
# refusing any absolute destination, which would land outside the stage. Each
# time the stage must then hold exactly the files that the FreeBSD port's
# PLIST names, under that prefix, none of them empty.
file(REMOVE_RECURSE "${STAGE}")

# The plist's entries relative to the prefix, expanded as the ports framework
# expands them for this port; it compresses manual pages after staging.
file(STRINGS "${PLIST}" plist_lines)
set(plist)
foreach(line IN LISTS plist_lines)
    if(line MATCHES "^@" OR line STREQUAL "")
        continue()
    endif()
    string(REPLACE "%%DATADIR%%" "share/farewelldesk" line "${line}")
    string(REPLACE "%%PORTEXAMPLES%%" "" line "${line}")
    string(REPLACE "%%EXAMPLESDIR%%" "share/examples/farewelldesk" line "${line}")
    string(REGEX REPLACE "^(share/man/man[1-9]/.*)\\.gz$" "\\1" line "${line}")
    list(APPEND plist "${line}")
endforeach()

function(check_staged_install root prefix)
    file(GLOB_RECURSE installed LIST_DIRECTORIES false "${root}/*")
    set(expected)
    foreach(path IN LISTS plist)
        list(APPEND expected "${root}${prefix}/${path}")
    endforeach()
    set(missing ${expected})
    list(REMOVE_ITEM missing ${installed})
    set(unexpected ${installed})
    list(REMOVE_ITEM unexpected ${expected})
    if(missing OR unexpected)
        string(REPLACE ";" "\n  " missing "${missing}")
        string(REPLACE ";" "\n  " unexpected "${unexpected}")
        message(FATAL_ERROR "Install into ${root} differs from the plist.\n"
                            "Missing:\n  ${missing}\nUnexpected:\n  ${unexpected}")
    endif()
    foreach(path IN LISTS installed)
        file(SIZE "${path}" size)
        if(size EQUAL 0)
            message(FATAL_ERROR "Installed file is empty: ${path}")
        endif()
    endforeach()
    list(LENGTH installed count)
    message(STATUS "${count} files staged as the plist says in ${root}${prefix}")
endfunction()

function(install_build)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${ARGN} failed: ${status}")
    endif()
endfunction()

install_build(${CMAKE_COMMAND} -E env "DESTDIR=${STAGE}/destdir" ${CMAKE_COMMAND} --install "${BUILD_DIR}")
check_staged_install("${STAGE}/destdir" "${PREFIX}")
install_build(${CMAKE_COMMAND} "-DCMAKE_INSTALL_PREFIX=${STAGE}/prefix/usr"
    -DCMAKE_ERROR_ON_ABSOLUTE_INSTALL_DESTINATION=ON -P "${BUILD_DIR}/cmake_install.cmake")
check_staged_install("${STAGE}/prefix" "/usr")
