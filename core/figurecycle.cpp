// SPDX-License-Identifier: GPL-3.0-or-later
#include "figurecycle.h"

FigureStep NextFigure(qint16 figureIndex) {
    // The order of the tests matters: not more than 0 first, then 1 to 6, everything else last.
    if (figureIndex <= 0) return {QStringLiteral("GDS001.BMP"), 1};
    switch (figureIndex) {
        case 1:
            return {QStringLiteral("1k.BMP"), 2};
        case 2:
            return {QStringLiteral("2k.BMP"), 3};
        case 3:
            return {QStringLiteral("3k.BMP"), 4};
        case 4:
            return {QStringLiteral("4k.BMP"), 5};
        case 5:
            return {QStringLiteral("TRANS002.BMP"), 6};
        case 6:
            return {QStringLiteral("YGOLP.BMP"), 7};
        default:
            return {QStringLiteral("5k.BMP"), 0};
    }
}
