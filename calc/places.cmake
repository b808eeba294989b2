# SPDX-License-Identifier: GPL-3.0-or-later
# Included by calc/CMakeLists.txt, whose main window carries the table.
# The towns and satellites table the program carries, written at build time from Debian's
# libgeonames and dtv-scan-tables by a tool that runs on the build machine. A cross build (the
# Windows program) cannot run that tool, which needs libgeonames: it takes the table a native
# build of the same sources wrote, named by TORVEL_PLACES_TABLE.
set(TORVEL_PLACES_TABLE "" CACHE FILEPATH
    "The towns and satellites table of a native build (a cross build needs one)")
set(places_bin ${CMAKE_CURRENT_BINARY_DIR}/table/places.bin)

if(TORVEL_PLACES_TABLE)
    add_custom_command(
        OUTPUT ${places_bin}
        COMMAND ${CMAKE_COMMAND} -E copy ${TORVEL_PLACES_TABLE} ${places_bin}
        DEPENDS ${TORVEL_PLACES_TABLE}
        VERBATIM)
elseif(CMAKE_CROSSCOMPILING)
    message(FATAL_ERROR "A cross build takes the towns and satellites table of a native build: "
                        "-DTORVEL_PLACES_TABLE=<native build>/calc/table/places.bin")
else()
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(GEONAMES REQUIRED IMPORTED_TARGET geonames)
    set(scan_tables /usr/share/dvb/dvb-s)
    if(NOT IS_DIRECTORY ${scan_tables})
        message(FATAL_ERROR "No DVB-S scan tables in ${scan_tables}: install dtv-scan-tables")
    endif()
    # The versions say which lists the table holds; the same versions give the same bytes.
    foreach(package libgeonames-common dtv-scan-tables)
        execute_process(COMMAND dpkg-query -W -f=\${Version} ${package}
                        OUTPUT_VARIABLE version_${package} ERROR_QUIET)
        if(NOT version_${package})
            set(version_${package} unknown)
        endif()
    endforeach()

    add_executable(makeplaces makeplaces.cpp)
    target_link_libraries(makeplaces PRIVATE core PkgConfig::GEONAMES)
    target_compile_definitions(makeplaces PRIVATE QT_NO_KEYWORDS)
    set_target_properties(makeplaces PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    add_custom_command(
        OUTPUT ${places_bin}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/table
        COMMAND makeplaces ${places_bin} ${scan_tables} ${version_libgeonames-common}
                ${version_dtv-scan-tables}
        DEPENDS makeplaces ${scan_tables}
        COMMENT "Writing the towns and satellites table"
        VERBATIM)
endif()
add_custom_target(places_table DEPENDS ${places_bin})
