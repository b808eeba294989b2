# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the system-wide and the portable component of the build folder BUILD into scratch
# folders under WORK and checks what each holds: the system-wide install marks its program
# folder and carries no fonts; the portable folder carries the fonts with their licence and no
# marker; the build folder has no marker either. The installed executable has no run-time
# search path. Uninstalling leaves exactly what was there before. Run by ctest: cmake -DBUILD=... -DWORK=... -DAPP_ID=... -DICON_SIZES=... -P ...
set(failures 0)
function(expect what path)
    if(what STREQUAL "present" AND NOT EXISTS "${path}")
        message(SEND_ERROR "missing: ${path}")
    elseif(what STREQUAL "absent" AND EXISTS "${path}")
        message(SEND_ERROR "should not be there: ${path}")
    endif()
endfunction()

function(run what)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_QUIET)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${what} failed: ${result}")
    endif()
endfunction()
function(install_into component prefix)
    run("cmake --install --component ${component}"
        ${CMAKE_COMMAND} --install "${BUILD}" --component ${component} --prefix "${prefix}")
endfunction()
function(uninstall)
    run("uninstall.cmake" ${CMAKE_COMMAND} -DCOMPONENT=system -P "${BUILD}/uninstall.cmake")
endfunction()
# Everything under a folder, files and folders, relative to it.
function(contents folder out)
    file(GLOB_RECURSE found LIST_DIRECTORIES true RELATIVE "${folder}" "${folder}/*")
    list(SORT found)
    set(${out} "${found}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE "${WORK}")
foreach(component IN ITEMS system portable)
    install_into(${component} "${WORK}/${component}")
endforeach()

set(system "${WORK}/system")
expect(present "${system}/lib/torvel/torvel.installed")
expect(present "${system}/bin/torvel")
expect(absent "${system}/lib/torvel/fonts")
foreach(size IN LISTS ICON_SIZES)
    expect(present "${system}/share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png")
endforeach()
foreach(file IN ITEMS applications/${APP_ID}.desktop metainfo/${APP_ID}.metainfo.xml
                      man/man1/torvel.1.gz doc/torvel/copyright doc/torvel/changelog.Debian.gz)
    expect(present "${system}/share/${file}")
endforeach()
file(READ_ELF "${system}/lib/torvel/torvel" RPATH rpath RUNPATH runpath)
if(rpath OR runpath)
    message(SEND_ERROR "the installed executable has a search path: ${rpath}${runpath}")
endif()

set(portable "${WORK}/portable")
expect(absent "${portable}/torvel.installed")
foreach(file IN ITEMS torvel LICENSE copyright fonts/LiberationSans-Regular.ttf
                      fonts/LiberationSans-Bold.ttf fonts/LiberationSerif-Bold.ttf fonts/LICENSE
                      fonts/GPL-2)
    expect(present "${portable}/${file}")
endforeach()

expect(absent "${BUILD}/bin/torvel.installed")

# Uninstalling from a prefix that did not exist removes the prefix with it. From one that held a
# shared folder with another program's file and an empty bin, installed into twice, it leaves
# exactly those.
uninstall()
expect(absent "${system}")
set(shared "${WORK}/shared")
file(MAKE_DIRECTORY "${shared}/bin" "${shared}/share/applications")
file(WRITE "${shared}/share/applications/other.desktop" "")
install_into(system "${shared}")
file(READ "${BUILD}/install_manifest_system.txt" manifest)
if(NOT manifest MATCHES "/bin/torvel(\n|$)")
    message(SEND_ERROR "the install manifest does not list the link bin/torvel")
endif()
install_into(system "${shared}")
uninstall()
contents("${shared}" left)
if(NOT left STREQUAL "bin;share;share/applications;share/applications/other.desktop")
    message(SEND_ERROR "uninstalling left: ${left}")
endif()
