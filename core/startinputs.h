// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The texts of the main window's input boxes as START reads them: what the input check refuses
// and the START run computes from.
struct StartInputs {
    QString text1, text2;   // site longitude: degrees, minutes
    QString text3, text4;   // site latitude: degrees, minutes
    QString text5, text6;   // satellite 1 longitude: degrees, minutes
    QString text9, text10;  // satellite 2 longitude: degrees, minutes
    QString text13;         // focal length of the dish, millimetres
};
