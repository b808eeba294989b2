// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTextStream>
#include <optional>

// The program's name and version, as --version reports them and the per-user data folder is
// named (~/.local/share/torvel). Needs no application object.
void SetApplicationNameAndVersion();

// The command line before any window: --help (-h) writes the options and --version (-v) the
// name, version and licence to out, and the program then ends with the exit code returned (0).
// An option neither the program nor Qt knows, a Qt option without its value or a word that is no
// option writes what is wrong and the options to err, and the program ends with 2, as command-line
// tools do. Otherwise the result is empty and the program starts as usual; Qt's own options
// (-platform, -style, -reverse, ...) are left to the application object.
std::optional<int> HandleCommandLine(const QStringList& arguments, QTextStream& out,
                                     QTextStream& err);

// Before the application object, on a system whose windows are shown by an X server: the line
// for standard error when Qt would find no display and abort (the program ends with it and exit
// status 1 instead). A display is found when DISPLAY is set or -display names one. None when
// the windows go elsewhere: a platform other than xcb chosen with -platform or QT_QPA_PLATFORM,
// or, without a choice, a Wayland session (WAYLAND_DISPLAY, XDG_SESSION_TYPE=wayland).
std::optional<QString> MissingDisplay(const QStringList& arguments,
                                      const QProcessEnvironment& environment);

// The program icon in every size the build draws, for the title bar and the task bar.
QIcon AppIcon();

// The desktop identity of the running program: the desktop entry it belongs to and the window
// icon every window shows. Needs the application object.
void SetDesktopIdentity();
