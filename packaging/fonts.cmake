# SPDX-License-Identifier: GPL-3.0-or-later
# The Liberation files the portable folder carries, from the build machine's fonts-liberation
# with their licence terms. They are copied beside the executable in the build folder too, so
# the program started from there behaves as the portable folder does; the copy is made when the
# build folder is configured (and again whenever one of them changes), so a build has no step for
# it.
set(TORVEL_FONT_DIR /usr/share/fonts/truetype/liberation
    CACHE PATH "Folder of the Liberation font files the portable folder carries")
set(TORVEL_FONT_LICENSE /usr/share/doc/fonts-liberation/copyright
    CACHE FILEPATH "The licence terms of those font files")
set(TORVEL_FONT_GPL /usr/share/common-licenses/GPL-2
    CACHE FILEPATH "The GNU GPL version 2, which those terms refer to")
# The Windows program has Qt linked in, under the GNU LGPL version 3.
set(TORVEL_QT_LICENSE /usr/share/common-licenses/LGPL-3
    CACHE FILEPATH "The GNU LGPL version 3, Qt's licence")
set(font_files)
foreach(name IN ITEMS LiberationSans-Regular.ttf LiberationSans-Bold.ttf LiberationSerif-Bold.ttf)
    list(APPEND font_files ${TORVEL_FONT_DIR}/${name})
endforeach()
foreach(file IN LISTS font_files TORVEL_FONT_LICENSE TORVEL_FONT_GPL)
    if(NOT EXISTS ${file})
        message(FATAL_ERROR "${file} is missing: install fonts-liberation (scripts/setup.sh)")
    endif()
endforeach()
foreach(file IN LISTS font_files)
    get_filename_component(name ${file} NAME)
    configure_file(${file} ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/fonts/${name} COPYONLY)
endforeach()
# Set here, before the program's folder is read: the browser's program builds them in.
set(TORVEL_CARRIED_FONTS ${font_files})
