# Read by cpack: the package's Depends from the libraries the programs link
# (dpkg-shlibdeps, as Debian's own packaging does), followed by the run-time
# packages that no binary names.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
    return()
endif()
find_program(DPKG_SHLIBDEPS dpkg-shlibdeps REQUIRED)
if(NOT TORMEL_SHLIBDEPS_WORK)
    message(FATAL_ERROR "the build tree's DebianDepends.cmake names no work folder")
endif()
set(work ${TORMEL_SHLIBDEPS_WORK})
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work}/debian)
# dpkg-shlibdeps wants a source package's control file in the folder it runs in.
file(WRITE ${work}/debian/control "Source: tormel\n\nPackage: tormel\nArchitecture: any\n")
set(args)
foreach(binary ${TORMEL_SHLIBDEPS_BINARIES})
    list(APPEND args -e${binary})
endforeach()
execute_process(COMMAND ${DPKG_SHLIBDEPS} -O ${args}
    WORKING_DIRECTORY ${work}
    OUTPUT_VARIABLE shlibdeps RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "dpkg-shlibdeps failed: ${errors}")
endif()
string(REGEX MATCH "shlibs:Depends=([^\n]*)" _ "${shlibdeps}")
if(NOT CMAKE_MATCH_1)
    message(FATAL_ERROR "dpkg-shlibdeps gave no dependencies: ${shlibdeps}")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CMAKE_MATCH_1}, ${TORMEL_DEB_RUNTIME_DEPENDS}")
