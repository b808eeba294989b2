# SPDX-License-Identifier: GPL-3.0-or-later
# What the static Qt builds for Windows and for the browser share, sourced by scripts/windows-qt.sh
# and scripts/web-qt.sh: Qt's own tools from the build machine's Qt, nothing of Qt's examples or
# tests, and the parts of Qt neither program uses, with its bundled libraries rather than the
# system's (there are none to link against on the other platform).
qt_host_build=(
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
)
qt_unused_features=(
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_tabletevent=OFF
    -DFEATURE_vulkan=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF
    -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF
    -DFEATURE_sql_sqlite=OFF -DFEATURE_androiddeployqt=OFF
)
