// SPDX-License-Identifier: GPL-3.0-or-later
#include "console.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <windows.h>

#include <cstdio>
#endif

void UseParentConsole() {
#ifdef Q_OS_WIN
    const auto unset = [](DWORD which) {
        const HANDLE handle = GetStdHandle(which);
        return handle == nullptr || handle == INVALID_HANDLE_VALUE;
    };
    const bool out = unset(STD_OUTPUT_HANDLE), err = unset(STD_ERROR_HANDLE);
    if (!out && !err) return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    // The texts are Russian in UTF-8; a console of the Cyrillic code pages would garble them.
    SetConsoleOutputCP(CP_UTF8);
    if (out) std::freopen("CONOUT$", "w", stdout);
    if (err) std::freopen("CONOUT$", "w", stderr);
#endif
}
