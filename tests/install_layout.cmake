# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the system-wide and the portable component of the build folder BUILD into scratch
# folders under WORK and checks what each holds: the system-wide install marks its program
# folder and carries no fonts; the portable folder carries the fonts with their licence and no
# marker; the build folder has no marker either. The installed executable has no run-time
# search path. Run by ctest: cmake -DBUILD=... -DWORK=... -DAPP_ID=... -DICON_SIZES=... -P ...
set(failures 0)
function(expect what path)
    if(what STREQUAL "present" AND NOT EXISTS "${path}")
        message(SEND_ERROR "missing: ${path}")
    elseif(what STREQUAL "absent" AND EXISTS "${path}")
        message(SEND_ERROR "should not be there: ${path}")
    endif()
endfunction()

file(REMOVE_RECURSE "${WORK}")
foreach(component IN ITEMS system portable)
    execute_process(
        COMMAND ${CMAKE_COMMAND} --install "${BUILD}" --component ${component}
                --prefix "${WORK}/${component}"
        RESULT_VARIABLE result OUTPUT_QUIET)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "cmake --install --component ${component} failed: ${result}")
    endif()
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
