// SPDX-License-Identifier: GPL-3.0-or-later
#include "startrun.h"

#include "arithmetic.h"
#include "feedoffset.h"
#include "feedplace.h"
#include "inputcheck.h"
#include "leadingnumber.h"
#include "lookangle.h"
#include "numbertext.h"

QString FaultMessage(const QString& reason) {
    return QStringLiteral("Расчёт остановлен: ") + reason +
           QStringLiteral(
               ".\nРезультаты, которые ещё не пересчитаны, остались прежними; "
               "файл направления не изменён.");
}

QString BelowHorizonText(int satellite, double elevation) {
    return QStringLiteral(
               "Спутник %1 с этого места ниже горизонта (угол места %2°): принять его здесь "
               "нельзя.")
        .arg(satellite)
        .arg(TenthsText(elevation));
}

StartResult RunStart(const StartInputs& in, const CarriedValues& carried, QChar decimalSeparator) {
    StartResult run;
    run.carried = carried;

    // Only an exactly empty box is missing; a box of blanks passes and reads as 0.
    if (in.text5.isEmpty() || in.text9.isEmpty() || in.text13.isEmpty()) {
        run.end = RunEnd::MissingInput;
        run.message = in.text5.isEmpty()   ? QStringLiteral("НЕТ КООРДИНАТ (1) ")
                      : in.text9.isEmpty() ? QStringLiteral("НЕТ КООРДИНАТ (2)")
                                           : QStringLiteral("НЕТ ФОКУСА АНТЕНЫ");
        return run;
    }
    if (const std::optional<RefusedInput> refused = CheckStartInputs(in)) {
        run.end = RunEnd::RefusedInput;
        run.box = refused->box;
        run.message = refused->message;
        return run;
    }

    auto write = [&run](const char* box, const QString& text) {
        run.writes.append({QString::fromLatin1(box), text});
    };

    try {
        const Site site{Checked::single(AngleFromTexts(in.text1, in.text2)),
                        AngleFromTexts(in.text3, in.text4)};
        const SatelliteLongitude satellite1{Checked::single(AngleFromTexts(in.text5, in.text6))};

        // The centre distance below takes the method's azimuths, for every site; only the
        // shown and stored azimuths are turned. A difference of the turned values would be off
        // by 360 whenever just one of them wrapped past 360.
        const double alpha1 = AzimuthDouble(site, satellite1);
        run.alpha1 = ShownAzimuth(site, alpha1);
        write("Text8", NumberText(run.alpha1));

        run.beta1 = ElevationDouble(site, satellite1);
        std::optional<FeedPlacement> placement;
        if (run.beta1) {
            const SatelliteLongitude satellite2{
                Checked::single(AngleFromTexts(in.text9, in.text10))};
            write("Text16", FeedRotationText(site, satellite2, decimalSeparator));
            placement = PlaceSecondFeed(site, satellite1, satellite2);
            if (placement)
                run.feedToolTips.insert(QStringLiteral("Text16"), FeedTurnToolTip(*placement));

            const float alpha2 = AzimuthSingle(site, satellite2);
            run.alpha2 = ShownAzimuth(site, alpha2);
            write("Text12", NumberText(*run.alpha2));

            if (const auto beta2 = ElevationSingle(site, satellite2)) {
                run.carried.beta2 = *beta2;
                const double focal = Checked::value(LeadingNumber(in.text13));
                write("Text14", FeedOffsetText(*run.beta1 - double(run.carried.beta2), focal,
                                               QStringLiteral("ВЫШЕ"), QStringLiteral("НИЖЕ"),
                                               decimalSeparator));
                write("Text15",
                      FeedOffsetText(alpha1 - double(alpha2), focal, QStringLiteral("СПРАВА"),
                                     QStringLiteral("СЛЕВА"), decimalSeparator));
                if (placement) {
                    run.feedToolTips.insert(
                        QStringLiteral("Text14"),
                        FeedPlaceToolTip(*placement, focal, FeedBox::ElevationShift));
                    run.feedToolTips.insert(
                        QStringLiteral("Text15"),
                        FeedPlaceToolTip(*placement, focal, FeedBox::CentreDistance));
                }
                write("Text7", NumberText(*run.beta1));
            }
            write("Text11", NumberText(run.carried.beta2));
        }
        run.site = site;
        run.end = RunEnd::Completed;
        if (placement) {
            // The method's elevations are near the exact ones but not the same: the exact
            // geometry decides whether a satellite can be seen at all.
            if (placement->elevation1 < 0)
                run.belowHorizon1 = BelowHorizonText(1, placement->elevation1);
            if (placement->elevation2 < 0)
                run.belowHorizon2 = BelowHorizonText(2, placement->elevation2);
            QStringList below;
            for (const QString& text : {run.belowHorizon1, run.belowHorizon2})
                if (!text.isEmpty()) below << text;
            if (!below.isEmpty())
                run.horizonMessage =
                    below.join(u'\n') +
                    QStringLiteral("\nРезультаты расчёта показаны так, как они рассчитаны.");
        }
    } catch (const ArithmeticFault& fault) {
        run.end = RunEnd::ArithmeticFault;
        run.message = FaultMessage(fault.reason);
    }
    return run;
}
