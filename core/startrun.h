// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QList>
#include <QMap>
#include <QString>
#include <optional>

#include "lookangle.h"
#include "startinputs.h"

// One press of START on the main window as pure code: from the texts of the input boxes and the
// values the window carries between runs to the texts it writes, in order, and how it ended.
// The window applies the writes to its boxes and, for a completed run, rewrites the direction
// data file.

// What the main window keeps from one run to the next: satellite 2's elevation, in single
// precision, 0 when the window is created. A run shows it when satellite 2's elevation cannot be
// computed, and it stays as a run set it even when that run stops at a later step.
struct CarriedValues {
    float beta2 = 0;
};

struct BoxWrite {
    QString box;  // object name of the result box, such as "Text8"
    QString text;
    bool operator==(const BoxWrite& other) const { return box == other.box && text == other.text; }
};

enum class RunEnd {
    Completed,        // the direction data file is to be rewritten with alpha1 and beta1
    MissingInput,     // message holds the validation message; nothing was written
    RefusedInput,     // box holds a text that is not one number, or an impossible value; message
                      // says which and how to type it; nothing was written
    ArithmeticFault,  // message says why; the writes made before the fault stand
};

struct StartResult {
    QList<BoxWrite> writes;
    RunEnd end = RunEnd::Completed;
    QString message;
    QString box;  // the input box to put right, for RefusedInput
    // Satellite 1's azimuth as Text8 shows it and the data file stores it, when completed:
    // turned by 180 degrees for a site south of the equator (see ShownAzimuth).
    double alpha1 = 0;
    std::optional<double> beta1;  // empty when it could not be computed
    // Satellite 2's azimuth as Text12 shows it, when this run wrote Text12.
    std::optional<float> alpha2;
    // The site as the calculation held it, when completed.
    Site site{};
    // The tooltips of the feed boxes this run wrote (Text14, Text15, Text16), by box: the exact
    // place and turn of the second feed. A box this run left as it was gets none.
    QMap<QString, QString> feedToolTips;
    CarriedValues carried;
    // For each satellite below the horizon at the site by the exact geometry (the feed boxes'
    // tooltips'), what to say instead of a compass azimuth (see BelowHorizonText); empty when it
    // is above it or the run did not get that far.
    QString belowHorizon1, belowHorizon2;
    // A completed run's message when either satellite is below the horizon: its results are
    // shown and stored as computed, but that satellite cannot be received there.
    QString horizonMessage;
};

// A satellite below the horizon: "Спутник 1 с этого места ниже горизонта (угол места -61.0°):
// принять его здесь нельзя."
QString BelowHorizonText(int satellite, double elevation);

// decimalSeparator is the regional one, used only by the masked texts of the feed offsets.
StartResult RunStart(const StartInputs& inputs, const CarriedValues& carried,
                     QChar decimalSeparator);

// The message shown when an arithmetic fault stops the run.
QString FaultMessage(const QString& reason);
