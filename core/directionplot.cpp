// SPDX-License-Identifier: GPL-3.0-or-later
#include "directionplot.h"

#include <QColor>
#include <cmath>

#include "arithmetic.h"
#include "canvas.h"
#include "datafile.h"
#include "inputcheck.h"
#include "leadingnumber.h"
#include "numbertext.h"
#include "startrun.h"

namespace {

// Every degree-to-radian conversion of the plot uses this value of pi, not the full one: the
// plotted points and arc angles depend on it to the last twip.
constexpr double kPi = 3.14159;
constexpr int kDiscRadius = 50;
constexpr int kArcRadius = 400;

const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kCyan(0, 255, 255);
const QColor kBlack(0, 0, 0);

// A compass word and the end of the axis it is printed at.
struct Word {
    bool atFirstEnd;
    const char* text;
};

// An axis: the blue line, a disc at each end, then the two words in red in the order given. The
// discs take the current foreground colour: the one the previous press left behind.
void Axis(Canvas& canvas, float degrees, Word first, Word second) {
    const AxisEnds ends = PlotAxis(degrees);
    canvas.line(ends.first, ends.second, kBlue);
    canvas.circle(ends.first, kDiscRadius);
    canvas.circle(ends.second, kDiscRadius);
    for (const Word& word : {first, second}) {
        canvas.setForeColor(kRed);
        const QString text = QString::fromLatin1(word.text);
        // A word the window's edge would cut ("  WEST" turned towards the right) moves in.
        canvas.setTextPosition(
            canvas.textPositionInside(word.atFirstEnd ? ends.first : ends.second, text));
        canvas.print(text);
    }
}

void NorthSouthAxis(Canvas& canvas, float degrees) {
    Axis(canvas, degrees, {true, " SOUNT"}, {false, "NORTH"});
}

void WestEastAxis(Canvas& canvas, float degrees) {
    Axis(canvas, degrees, {false, "  WEST"}, {true, "EAST"});
}

PlotRun Stopped(PlotEnd end, const QString& message) {
    return PlotRun{end, message};
}

// The cleared canvas with the fixed compass, south up and west right, and the compass turned by
// the rotation.
void Compasses(Canvas& canvas, float rotation) {
    canvas.clear();
    canvas.setLineWidth(1);
    canvas.setFillStyle(FillStyle::Solid);
    NorthSouthAxis(canvas, 0);
    WestEastAxis(canvas, -90);
    canvas.setLineWidth(5);
    NorthSouthAxis(canvas, rotation);
    WestEastAxis(canvas, rotation - 90.0f);
}

void CentreDot(Canvas& canvas) {
    canvas.setForeColor(kBlue);
    canvas.setLineWidth(20);
    canvas.point(kPlotCentre);
    canvas.setLineWidth(8);
}

// Satellite 1's line, its arc and its "alfa=" text for an azimuth already rounded down to a half
// degree; false, with nothing drawn, where the angles are too large to draw.
bool SatelliteLine(Canvas& canvas, float a, float p) {
    // Azimuth 0 is north, plot angle 0 points south: the satellite's direction is the line's
    // second end.
    const float theta = a + p;
    const float arcStart = 270.0f - a - p;
    if (!std::isfinite(theta) || !std::isfinite(arcStart)) return false;
    const AxisEnds satellite = PlotAxis(theta);
    canvas.line(satellite.first, satellite.second, kCyan);

    // The arc spans the azimuth, from the satellite's direction anticlockwise to the turned
    // compass's north end.
    const float start = static_cast<float>(arcStart * kPi / 180);
    const float end = static_cast<float>(start + a * kPi / 180);
    canvas.setLineWidth(2);
    canvas.arc(kPlotCentre, kArcRadius, start, end);

    // Below and left of the satellite's end, moved in as far as needed where that would put the
    // number past the window's edge (a satellite near north).
    const QString alfa = QStringLiteral("alfa=") + NumberText(a);
    canvas.setTextPosition(canvas.textPositionInside(satellite.second + QPoint(-300, 200), alfa));
    canvas.setForeColor(kBlack);
    canvas.print(alfa);
    return true;
}

}  // namespace

AxisEnds PlotAxis(float degrees) {
    const double radians = degrees * kPi / 180;
    const int s = static_cast<int>(std::nearbyint(kAxisRadius * std::sin(radians)));
    const int c = static_cast<int>(std::nearbyint(kAxisRadius * std::cos(radians)));
    return AxisEnds{QPoint(kPlotCentre.x() + s, kPlotCentre.y() - c),
                    QPoint(kPlotCentre.x() - s, kPlotCentre.y() + c)};
}

float HalfDegreeFloor(float value) {
    const float whole = std::floor(value);
    return value - whole >= 0.5f ? whole + 0.5f : whole;
}

PlotRun DrawPlot(Canvas& canvas, const QString& rotationText, const DataFilePlace& place,
                 const std::function<bool()>& yield) {
    // "-20,5" or "20°" would draw a compass turned by -20 or 20 as though that were meant.
    if (const std::optional<RefusedInput> refused = CheckRotationInput(rotationText))
        return Stopped(PlotEnd::RefusedInput, refused->message);
    // The rotation check above takes only what single precision holds.
    const float p = float(LeadingNumber(rotationText));
    Compasses(canvas, p);

    // Lets the window show the compasses before the file is read.
    if (!yield()) return Stopped(PlotEnd::Abandoned, QString());
    CentreDot(canvas);

    // The empty path: no place can be used, and no file is read anywhere.
    if (place.path.isEmpty()) return Stopped(PlotEnd::NoDirectionData, place.problem);
    const QString& dataFilePath = place.path;
    // An earlier run that kept the file in the other place may have left a newer calculation
    // there: the picture of the older one is not drawn without a word.
    const QString newer = NewerDataFileNote(place);
    const auto withNewer = [&newer](QString message) {
        if (!newer.isEmpty())
            message += (message.isEmpty() ? QString() : QStringLiteral("\n\n")) + newer;
        return message;
    };
    QString reason;
    const std::optional<DataFileFields> fields = ReadDataFile(dataFilePath, &reason);
    if (!fields) {
        return Stopped(PlotEnd::NoDirectionData,
                       withNewer(QStringLiteral("Нет данных о направлении на спутник: файл %1 не "
                                                "найден, не читается или неполон (%2). Сначала "
                                                "выполните расчёт (START в окне RASCHET).")
                                     .arg(dataFilePath, reason)));
    }
    // A file saved by an editor, or damaged, would read as azimuth 0 or as part of a number.
    if (!fields->damage.isEmpty()) {
        return Stopped(PlotEnd::NoDirectionData,
                       withNewer(QStringLiteral("Файл направления %1 повреждён: %2.\nЛиния "
                                                "спутника не нарисована. Чтобы записать файл "
                                                "заново, выполните расчёт (START в окне RASCHET).")
                                     .arg(dataFilePath, fields->damage)));
    }
    const std::optional<float> azimuth = ToSingle(LeadingNumber(fields->azimuth));
    if (!azimuth) {
        return Stopped(PlotEnd::OutOfRange,
                       withNewer(QStringLiteral("Азимут %1 в файле %2 слишком велик.")
                                     .arg(QuotedText(fields->azimuth), dataFilePath)));
    }
    const float a = HalfDegreeFloor(*azimuth);
    if (!SatelliteLine(canvas, a, p)) {
        return Stopped(PlotEnd::OutOfRange,
                       QStringLiteral("Азимут %1 с углом сдвига осей %2 выходит за пределы "
                                      "вычислений.")
                           .arg(NumberText(a), NumberText(p)));
    }

    // The line is drawn all the same; the installer is told there is nothing to aim at.
    const double elevation = LeadingNumber(fields->elevation);
    const QString below =
        elevation < 0 ? BelowHorizonText(1, elevation) +
                            QStringLiteral("\nУгол места взят из файла %1.").arg(dataFilePath)
                      : QString();
    return PlotRun{PlotEnd::Completed, withNewer(below)};
}

bool DrawPlotFor(Canvas& canvas, float rotation, double azimuth) {
    Compasses(canvas, rotation);
    CentreDot(canvas);
    return SatelliteLine(canvas, HalfDegreeFloor(float(azimuth)), rotation);
}
