# SPDX-License-Identifier: GPL-3.0-or-later
# Removes what "cmake --install" put in place from the build folder this script lies in: every
# file and link the install manifest lists, then the folders the installation made, deepest
# first, each only once it is empty. Folders that were there before the installation (bin,
# share/applications, ...) are never touched.
#   sudo cmake -P build/uninstall.cmake                    after sudo cmake --install build
#   cmake -DCOMPONENT=system -P build/uninstall.cmake      after cmake --install --component system
cmake_minimum_required(VERSION 3.25)
set(suffix)
if(COMPONENT)
    set(suffix "_${COMPONENT}")
endif()
set(manifest "${CMAKE_CURRENT_LIST_DIR}/install_manifest${suffix}.txt")
set(list_file "${CMAKE_CURRENT_LIST_DIR}/install_folders${suffix}.txt")
if(NOT EXISTS "${manifest}")
    message(FATAL_ERROR "${manifest} is missing: nothing was installed from this build folder")
endif()

file(STRINGS "${manifest}" files)
foreach(file IN LISTS files)
    # A link is removed itself, even when what it points to is gone already.
    if(IS_SYMLINK "${file}" OR (EXISTS "${file}" AND NOT IS_DIRECTORY "${file}"))
        message(STATUS "Removing: ${file}")
        file(REMOVE "${file}")
        if(IS_SYMLINK "${file}" OR EXISTS "${file}")
            message(FATAL_ERROR "could not remove ${file}")
        endif()
    endif()
endforeach()

# A folder's path sorts after its parent's, so the reverse order empties children first. The
# folders still there (something else has put files in them) stay noted for a later uninstall.
set(folders)
if(EXISTS "${list_file}")
    file(STRINGS "${list_file}" folders)
endif()
list(SORT folders)
list(REVERSE folders)
set(kept)
foreach(folder IN LISTS folders)
    if(IS_DIRECTORY "${folder}" AND NOT IS_SYMLINK "${folder}")
        file(GLOB entries LIST_DIRECTORIES true "${folder}/*")
        if(entries)
            list(APPEND kept "${folder}")
        else()
            message(STATUS "Removing: ${folder}/")
            file(REMOVE_RECURSE "${folder}")
        endif()
    endif()
endforeach()
if(kept)
    list(REVERSE kept)
    list(JOIN kept "\n" content)
    file(WRITE "${list_file}" "${content}\n")
else()
    file(REMOVE "${list_file}")
endif()
