// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet.h"

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QtGlobal>
#if QT_CONFIG(timezone)
#include <QTimeZone>
#endif
#include <cmath>

#include "directionplot.h"
#include "imagecanvas.h"
#include "layout.h"
#include "leadingnumber.h"
#include "numbertext.h"
#include "startrun.h"

namespace {

double degreesOf(double radians) {
    return radians * 180 / M_PI;
}

QString fixed(double value, int decimals) {
    // "-0.0" reads as a side that is not there.
    QString text = QString::number(value, 'f', decimals);
    if (text.startsWith(QLatin1Char('-')) && text.toDouble() == 0) text.remove(0, 1);
    return text;
}

// A longitude or latitude in degrees to 0.1, without a trailing ".0", with its side: "36.1E",
// "13E", "101W".
QString shortPosition(double degrees, QChar positive, QChar negative) {
    const double rounded = std::round(degrees * 10) / 10;
    QString text = fixed(std::fabs(rounded), 1);
    if (text.endsWith(QLatin1String(".0"))) text.chop(2);
    return text + (rounded < 0 ? negative : positive);
}

// Orbital longitudes are taken as typed, of any size: brought into (-180, 180].
double orbitalDegrees(SatelliteLongitude s) {
    double d = std::remainder(degreesOf(double(s.radians)), 360.0);
    return d <= -180 ? d + 360 : d;
}

QString orbitalText(SatelliteLongitude s) {
    return shortPosition(orbitalDegrees(s), QLatin1Char('E'), QLatin1Char('W'));
}

double siteLatitude(const Site& site) {
    return degreesOf(site.latitude);
}

double siteLongitude(const Site& site) {
    double d = std::remainder(degreesOf(double(site.longitude)), 360.0);
    return d <= -180 ? d + 360 : d;
}

// "32°48.50′ с.ш. (32.8083°)".
QString angleText(double degrees, const char* positive, const char* negative) {
    const double a = std::fabs(degrees);
    int whole = int(a);
    double minutes = std::round((a - whole) * 60 * 100) / 100;
    if (minutes >= 60) {
        ++whole;
        minutes -= 60;
    }
    return QStringLiteral("%1°%2′ %3 (%4°)")
        .arg(whole)
        .arg(fixed(minutes, 2))
        .arg(QString::fromUtf8(degrees < 0 ? negative : positive), fixed(degrees, 4));
}

QString tenths(double v) {
    return fixed(v, 1);
}

QString turnWords(double turn) {
    const QString figure = tenths(std::fabs(turn)) + QStringLiteral("°");
    if (figure.startsWith(QLatin1String("0.0"))) return figure;
    return figure + (turn > 0 ? QStringLiteral(" по часовой") : QStringLiteral(" против часовой"));
}

QString zoneText(const QDateTime& moment) {
    const int offset = moment.offsetFromUtc();
    const QString utc = QStringLiteral("UTC%1%2:%3")
                            .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                            .arg(std::abs(offset) / 3600, 2, 10, QLatin1Char('0'))
                            .arg(std::abs(offset) % 3600 / 60, 2, 10, QLatin1Char('0'));
#if QT_CONFIG(timezone)
    const QString id = QString::fromUtf8(moment.timeZone().id());
#else
    const QString id;  // a Qt without time zone data (the browser's) knows only the offset
#endif
    return id.isEmpty() || id.startsWith(QLatin1String("UTC")) ? utc : id + QLatin1Char(' ') + utc;
}

// The moment in the time zone the calculation was made in, the computer's; its local time where
// Qt has no time zone data (the browser's).
QDateTime inZoneOf(const QDateTime& moment, const QDateTime& calculated) {
#if QT_CONFIG(timezone)
    return moment.toTimeZone(calculated.timeZone());
#else
    Q_UNUSED(calculated);
    return moment.toLocalTime();
#endif
}

// A moment to the nearest minute.
QDateTime toMinute(const QDateTime& moment) {
    const QDateTime rounded = moment.addSecs(30);
    return rounded.addSecs(-rounded.time().second()).addMSecs(-rounded.time().msec());
}

}  // namespace

double ObstacleHeight(double distance, double elevationDegrees) {
    return distance * std::tan(elevationDegrees * M_PI / 180);
}

SheetFigures ComputeSheet(const SheetInput& input) {
    SheetFigures figures;
    figures.declination = DeclinationAt(input.site, input.calculated.date());
    figures.outageAngle = OutageAngle(input.dishDiameterCm, input.frequencyGHz);
    figures.placement =
        PlaceSecondFeed(input.site, input.satellites[0].longitude, input.satellites[1].longitude);
    for (int i = 0; i < 2; ++i) {
        SheetSatelliteFigures& s = figures.satellites[size_t(i)];
        const SatelliteLongitude longitude = input.satellites[size_t(i)].longitude;
        s.look = LookAt(input.site, longitude);
        if (figures.declination.degrees)
            s.magneticAzimuth = MagneticAzimuth(s.look.azimuth, *figures.declination.degrees);
        s.outages = SunOutages(input.site, longitude, input.calculated, figures.outageAngle);
    }
    return figures;
}

QString SheetFileName(const SheetInput& input) {
    QString place;
    if (input.town && !input.town->name.trimmed().isEmpty()) {
        place = input.town->name;
        place.remove(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]")));
        place = place.simplified();
    }
    if (place.isEmpty()) {
        // Two decimals: a tenth of a degree is 11 km, too coarse to tell two sites apart.
        place = QStringLiteral("%1%2 %3%4")
                    .arg(fixed(std::fabs(siteLatitude(input.site)), 2))
                    .arg(siteLatitude(input.site) < 0 ? QLatin1Char('S') : QLatin1Char('N'))
                    .arg(fixed(std::fabs(siteLongitude(input.site)), 2))
                    .arg(siteLongitude(input.site) < 0 ? QLatin1Char('W') : QLatin1Char('E'));
    }
    return QStringLiteral("RASCHET %1 %2 %3 %4.pdf")
        .arg(input.calculated.date().toString(QStringLiteral("yyyy-MM-dd")), place,
             orbitalText(input.satellites[0].longitude),
             orbitalText(input.satellites[1].longitude));
}

QRectF FeedDrawingArea() {
    return QRectF(12, 94, 186, 92);
}

FeedDrawing LayOutFeeds(const FeedPlacement& placement, double focalLength, const QRectF& area) {
    FeedDrawing d;
    const double dx = placement.placeRight.value_or(0) * focalLength;
    const double dy = placement.placeUp.value_or(0) * focalLength;
    d.right = dx;
    d.up = dy;
    d.centreDistance = std::hypot(dx, dy);
    d.tooClose = d.centreDistance < kCollarDiameter;
    d.tooFar = placement.separation > 10;

    // Room around the collars for the title, the turn arrows' words and the scale bar.
    const QRectF inner = area.adjusted(8, 11, -8, -7);
    const double r = kCollarDiameter / 2;
    const double left = std::min(0.0, dx) - r, right = std::max(0.0, dx) + r;
    const double bottom = std::min(0.0, dy) - r, top = std::max(0.0, dy) + r;
    for (int divisor : {1, 2, 5, 10, 20, 50}) {
        d.scaleDivisor = divisor;
        if ((right - left) / divisor <= inner.width() && (top - bottom) / divisor <= inner.height())
            break;
    }
    const double s = d.scaleDivisor;
    const QPointF centre = inner.center();
    const double midX = (left + right) / 2, midY = (top + bottom) / 2;
    // The page's y runs down, the dish's "up" up.
    d.main = centre + QPointF((0 - midX) / s, -(0 - midY) / s);
    d.second = centre + QPointF((dx - midX) / s, -(dy - midY) / s);
    return d;
}

namespace {

// Drawing on the PDF page in millimetres from the top-left corner.
class Page {
public:
    Page(QPainter& painter, double dotsPerMm, const QFont& font)
        : m_p(painter), m_k(dotsPerMm), m_font(font) {}

    QPointF at(double x, double y) const { return QPointF(x * m_k, y * m_k); }
    QPointF at(QPointF mm) const { return mm * m_k; }
    double size(double mm) const { return mm * m_k; }
    QPainter& painter() { return m_p; }

    void setFont(double points, bool bold = false) {
        QFont f = m_font;
        f.setPointSizeF(points);
        f.setBold(bold);
        m_p.setFont(f);
    }
    // The text with its baseline at y.
    void text(double x, double y, const QString& text, const QColor& colour = Qt::black) {
        m_p.setPen(colour);
        m_p.drawText(at(x, y), text);
    }
    void pen(const QColor& colour, double widthMm, Qt::PenStyle style = Qt::SolidLine) {
        m_p.setPen(QPen(colour, size(widthMm), style, Qt::RoundCap, Qt::RoundJoin));
    }
    void line(QPointF a, QPointF b) { m_p.drawLine(at(a), at(b)); }

private:
    QPainter& m_p;
    double m_k;
    QFont m_font;
};

const QColor kMainCentre(255, 0, 0);
const QColor kSecondCentre(0, 0, 255);
const QColor kWarning(170, 0, 0);
const QColor kGrey(120, 120, 120);

// An arrow from the centre, turned from the vertical by the turn (clockwise + from behind).
void turnArrow(Page& page, QPointF centre, double turn, double length, const QString& words) {
    const double a = turn * M_PI / 180;
    const QPointF tip = centre + QPointF(std::sin(a), -std::cos(a)) * length;
    page.pen(kGrey, 0.2, Qt::DashLine);
    page.line(centre, centre + QPointF(0, -length));
    page.pen(QColor(0, 110, 0), 0.4);
    page.line(centre, tip);
    for (double side : {-1.0, 1.0}) {
        const double b = a + M_PI + side * 0.4;
        page.line(tip, tip + QPointF(std::sin(b), -std::cos(b)) * 2.5);
    }
    page.setFont(7);
    page.text(tip.x() + 1.5, tip.y() - 1, words, QColor(0, 110, 0));
}

void drawFeeds(Page& page, const QRectF& area, const FeedDrawing& d, const FeedPlacement& p) {
    page.pen(kGrey, 0.2);
    page.painter().setBrush(Qt::NoBrush);
    page.painter().drawRect(QRectF(page.at(area.topLeft()), page.at(area.bottomRight())));

    page.setFont(8, true);
    QString title =
        QStringLiteral("Облучатели, вид сзади антенны: масштаб 1:%1").arg(d.scaleDivisor);
    if (d.scaleDivisor == 1)
        title +=
            QStringLiteral(" (печатайте без подгонки размера: лист можно приложить к держателю)");
    page.text(area.left() + 2, area.top() + 4.5, title);
    page.setFont(8);
    const double dx = d.right, dy = d.up;
    page.text(
        area.left() + 2, area.top() + 8.5,
        QStringLiteral("Второй облучатель от центра основного: %1 мм %2, %3 мм %4; между "
                       "центрами %5 мм")
            .arg(tenths(std::fabs(dx)),
                 dx >= 0 ? QStringLiteral("вправо") : QStringLiteral("влево"),
                 tenths(std::fabs(dy)), dy >= 0 ? QStringLiteral("вверх") : QStringLiteral("вниз"),
                 tenths(d.centreDistance)));

    const double r = kCollarDiameter / 2 / d.scaleDivisor;
    page.pen(kGrey, 0.25, Qt::DashLine);
    for (QPointF c : {d.main, d.second})
        page.painter().drawEllipse(page.at(c), page.size(r), page.size(r));
    page.pen(Qt::black, 0.25, Qt::DashDotLine);
    page.line(d.main, d.second);
    const QPointF middle = (d.main + d.second) / 2;
    page.setFont(8, true);
    page.text(middle.x() + 1.5, middle.y() + 3.5, tenths(d.centreDistance) + QStringLiteral(" мм"));

    page.painter().setPen(Qt::NoPen);
    for (const auto& [c, colour] : {std::pair{d.main, kMainCentre}, {d.second, kSecondCentre}}) {
        page.painter().setBrush(colour);
        page.painter().drawEllipse(page.at(c), page.size(1.2), page.size(1.2));
    }
    page.painter().setBrush(Qt::NoBrush);

    const double arrow = std::min(15.0, r * 0.9 + 6);
    turnArrow(page, d.main, p.mainTurn, arrow,
              QStringLiteral("основной: ") + turnWords(p.mainTurn));
    turnArrow(page, d.second, p.secondTurn(), arrow,
              QStringLiteral("второй: ") + turnWords(p.secondTurn()));

    // The scale bar: 10 mm on the dish.
    const QPointF bar(area.left() + 4, area.bottom() - 4);
    const double barLength = 10.0 / d.scaleDivisor;
    page.pen(Qt::black, 0.4);
    page.line(bar, bar + QPointF(barLength, 0));
    for (double x : {0.0, barLength}) page.line(bar + QPointF(x, -1.2), bar + QPointF(x, 1.2));
    page.setFont(7);
    page.text(bar.x() + barLength + 2, bar.y() + 1, QStringLiteral("10 мм"));

    double y = area.bottom() - 8;
    page.setFont(8, true);
    if (d.tooFar) {
        page.text(area.left() + 30, y,
                  QStringLiteral("Спутники дальше 10° друг от друга: облучатель так далеко от "
                                 "оси теряет много сигнала."),
                  kWarning);
        y += 4;
    }
    if (d.tooClose) {
        page.text(area.left() + 30, y,
                  QStringLiteral("Центры ближе 40 мм: два облучателя с фланцами 40 мм "
                                 "соприкоснутся — нужен моноблок или более узкий облучатель."),
                  kWarning);
    }
}

QString declinationText(const SiteDeclination& d) {
    if (d.model.isEmpty()) return QStringLiteral("модель не встроена");
    if (!d.covered)
        return QStringLiteral("%1 не рассчитана на %2")
            .arg(d.model, d.date.toString(QStringLiteral("dd.MM.yyyy")));
    if (!d.degrees) return QStringLiteral("не определено в этой точке");
    return QStringLiteral("%1° %2 (%3, %4)")
        .arg(tenths(std::fabs(*d.degrees)),
             *d.degrees >= 0 ? QStringLiteral("восточное") : QStringLiteral("западное"), d.model,
             d.date.toString(QStringLiteral("dd.MM.yyyy")));
}

QString magneticText(const std::optional<double>& azimuth) {
    return azimuth ? tenths(*azimuth) + QStringLiteral("°") : QStringLiteral("—");
}

}  // namespace

QByteArray SheetPdf(const SheetInput& input, const SheetFigures& figures, const QFont& font) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(QPageLayout::Portrait);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(1200);
        writer.setCreator(QStringLiteral("RASCHET ") + input.version);
        writer.setTitle(SheetFileName(input).chopped(4));
        QPainter painter(&writer);
        painter.setRenderHint(QPainter::Antialiasing);
        Page page(painter, 1200 / 25.4, font);
        const double left = 12;
        double y = 16;

        page.setFont(14, true);
        page.text(
            left, y,
            QStringLiteral("RASCHET %1 — лист установки второго облучателя").arg(input.version));
        y += 5.5;
        page.setFont(9);
        page.text(left, y,
                  QStringLiteral("Расчёт: %1, часовой пояс компьютера: %2")
                      .arg(input.calculated.toString(QStringLiteral("dd.MM.yyyy HH:mm")),
                           zoneText(input.calculated)));

        // The site.
        y += 7;
        page.setFont(10, true);
        // The town on the heading's line, so that the rest of the page keeps its place.
        QString siteHeading = QStringLiteral("Место установки");
        if (input.town) {
            QStringList parts{input.town->name, input.town->region, input.town->country};
            parts.removeAll(QString());
            siteHeading += QStringLiteral(": ") + parts.join(QStringLiteral(", "));
        }
        page.text(left, y, siteHeading);
        page.setFont(9);
        y += 4.5;
        page.text(left, y,
                  QStringLiteral("Широта: %1    Долгота: %2")
                      .arg(angleText(siteLatitude(input.site), "с.ш.", "ю.ш."),
                           angleText(siteLongitude(input.site), "в.д.", "з.д.")));
        y += 4.5;
        page.text(left, y,
                  QStringLiteral("Магнитное склонение: ") + declinationText(figures.declination));

        // The satellites, beside the compass.
        y += 7;
        const double column1 = 78, column2 = 116;
        page.setFont(10, true);
        page.text(left, y, QStringLiteral("Спутники (точная геометрия)"));
        page.text(column1, y, QStringLiteral("Спутник 1"));
        page.text(column2, y, QStringLiteral("Спутник 2"));
        page.setFont(9);
        auto row = [&](const QString& label, const QString& first, const QString& second) {
            y += 4.2;
            page.text(left, y, label);
            page.text(column1, y, first);
            page.text(column2, y, second);
        };
        const auto& s1 = figures.satellites[0];
        const auto& s2 = figures.satellites[1];
        // A long list of names is cut short with "…" rather than run into the next column.
        auto names = [&](const QString& n) {
            return n.isEmpty() ? QStringLiteral("—")
                               : painter.fontMetrics().elidedText(
                                     n, Qt::ElideRight, int(page.size(column2 - column1 - 2)));
        };
        auto degreesText = [](double v) { return tenths(v) + QStringLiteral("°"); };
        // A dish cannot be aimed at a satellite below the horizon.
        auto skewText = [](const ExactLook& look) {
            return look.skew && look.elevation > 0 ? turnWords(*look.skew) : QStringLiteral("—");
        };
        row(QStringLiteral("Название"), names(input.satellites[0].names),
            names(input.satellites[1].names));
        row(QStringLiteral("Орбитальная позиция"), orbitalText(input.satellites[0].longitude),
            orbitalText(input.satellites[1].longitude));
        row(QStringLiteral("Азимут истинный"), degreesText(s1.look.azimuth),
            degreesText(s2.look.azimuth));
        row(QStringLiteral("Азимут по компасу"), magneticText(s1.magneticAzimuth),
            magneticText(s2.magneticAzimuth));
        row(QStringLiteral("Угол места"), degreesText(s1.look.elevation),
            degreesText(s2.look.elevation));
        row(QStringLiteral("Поворот облучателя (скос)"), skewText(s1.look), skewText(s2.look));

        // The compass as the direction plot draws it, satellite 1's line on true north, in
        // vectors: one unit a pixel of the plot window, its left part (the buttons) left out.
        {
            const QSize pixels = Flin1Layout().clientPixels();
            const int cut = TwipsToPixels(1300);
            // A little beyond the window's right and bottom edges, where "WEST" and, for a
            // northern azimuth, "alfa=" run over.
            const QSize room = pixels + QSize(16, 16);
            const double width = 46, scale = page.size(width) / (room.width() - cut);
            QFont plotFont = font;
            plotFont.setPixelSize(qRound(8.25 * 96 / 72));
            painter.save();
            painter.translate(page.at(198 - width, 36));
            painter.scale(scale, scale);
            painter.translate(-cut, 0);
            painter.setClipRect(QRect(cut, 0, room.width() - cut, room.height()));
            ImageCanvas canvas(painter, room, Qt::white, Qt::black, plotFont);
            DrawPlotFor(canvas, 0, s1.look.azimuth);
            painter.restore();
        }

        // The window's own results.
        y += 7;
        page.setFont(10, true);
        page.text(left, y, QStringLiteral("Окно программы (как в полях)"));
        page.setFont(9);
        const std::array<std::pair<const char*, const char*>, 7> boxes{{
            {"Text7", "1) BETA-угол места:"},
            {"Text8", "1) ALFA-азимут:"},
            {"Text11", "2) BETA-угол места:"},
            {"Text12", "2) ALFA-азимут:"},
            {"Text14", "СДВИГ УГЛА ВОЗВЫШЕНИЯ:"},
            {"Text15", "РАССТОЯНИЕ МЕЖДУ ЦЕНТРАМИ:"},
            {"Text16", "УГОЛ ПОВОРОТА:"},
        }};
        for (size_t i = 0; i < boxes.size(); ++i) {
            const double x = i % 2 == 0 ? left : 100;
            if (i % 2 == 0) y += 4.2;
            const QString label = QString::fromUtf8(boxes[i].second);
            page.text(x, y, label);
            page.text(x + (i % 2 == 0 ? 46 : 56), y,
                      input.boxes.value(QLatin1String(boxes[i].first)));
        }

        // The feeds to scale.
        const QRectF area = FeedDrawingArea();
        if (figures.placement && figures.placement->placeRight) {
            const FeedDrawing drawing = LayOutFeeds(*figures.placement, input.focalLength, area);
            drawFeeds(page, area, drawing, *figures.placement);
        } else {
            page.setFont(9);
            page.text(area.left() + 2, area.top() + 5,
                      QStringLiteral("Место второго облучателя не определено: спутник не виден "
                                     "с места или слишком далеко от оси."),
                      kWarning);
        }

        // Obstacles.
        y = area.bottom() + 7;
        page.setFont(10, true);
        page.text(left, y,
                  QStringLiteral("Препятствия: наибольшая высота над центром антенны на "
                                 "расстоянии в сторону спутника"));
        page.setFont(9);
        for (int i = 0; i < 2; ++i) {
            const auto& s = figures.satellites[size_t(i)];
            y += 4.5;
            if (!(s.look.elevation > 0)) {
                page.text(left, y,
                          QStringLiteral("Спутник %1 под горизонтом: с этого места он не виден.")
                              .arg(i + 1));
                continue;
            }
            QStringList heights;
            for (double d : kObstacleDistances) {
                heights << QStringLiteral("%1 м — %2 м")
                               .arg(d, 0, 'f', 0)
                               .arg(tenths(ObstacleHeight(d, s.look.elevation)));
            }
            page.text(
                left, y,
                QStringLiteral("Спутник %1, смотреть по азимуту %2 (по компасу %3): %4")
                    .arg(i + 1)
                    .arg(tenths(s.look.azimuth) + QStringLiteral("°"),
                         magneticText(s.magneticAzimuth), heights.join(QStringLiteral("; "))));
        }

        // Sun outage.
        y += 7;
        page.setFont(10, true);
        page.text(left, y,
                  QStringLiteral(
                      "Солнечная интерференция (Солнце за спутником) на ближайшие 12 месяцев"));
        page.setFont(8);
        y += 4.2;
        page.text(left, y,
                  QStringLiteral("Антенна %1 см, %2 ГГц: угол %3° (половина ширины луча 70·λ/D "
                                 "плюс радиус Солнца 0.25°).")
                      .arg(input.dishDiameterCm, 0, 'f', 0)
                      .arg(input.frequencyGHz, 0, 'f', 1)
                      .arg(fixed(figures.outageAngle, 2)));
        QStringList legend;
        for (double d : kLegendDiameters)
            legend << QStringLiteral("%1 см — %2°")
                          .arg(d, 0, 'f', 0)
                          .arg(fixed(OutageAngle(d, input.frequencyGHz), 2));
        y += 3.8;
        page.text(left, y,
                  QStringLiteral("Угол для других антенн: ") + legend.join(QStringLiteral(", ")) +
                      QStringLiteral("."));
        // A line of its own: a time zone's name may be long ("America/Argentina/Buenos_Aires").
        y += 3.8;
        page.text(left, y,
                  QStringLiteral("Время: UTC и компьютера (%1).").arg(zoneText(input.calculated)));
        // Four columns: each satellite's two runs of days.
        const double top = y;
        double bottom = y;
        for (int i = 0; i < 2; ++i) {
            const auto periods = OutagePeriods(figures.satellites[size_t(i)].outages);
            const double x = left + i * 94;
            page.setFont(8, true);
            page.text(x, top + 4.5,
                      QStringLiteral("Спутник %1 (%2): дата, UTC (время компьютера)")
                          .arg(i + 1)
                          .arg(orbitalText(input.satellites[size_t(i)].longitude)));
            if (periods.isEmpty()) {
                page.setFont(7.5);
                page.text(x, top + 8, QStringLiteral("нет"));
                bottom = std::max(bottom, top + 8);
            }
            for (int k = 0; k < periods.size() && k < 2; ++k) {
                const auto& period = periods[k];
                const double xx = x + k * 47;
                double yy = top + 8;
                page.setFont(7.5, true);
                page.text(
                    xx, yy,
                    QStringLiteral("с %1 по %2")
                        .arg(period.first().centre().date().toString(QStringLiteral("dd.MM.yyyy")),
                             period.last().centre().date().toString(QStringLiteral("dd.MM.yyyy"))));
                page.setFont(7.5);
                for (const OutageWindow& w : period) {
                    yy += 3.2;
                    const QDateTime a = toMinute(w.start), b = toMinute(w.end);
                    const QDateTime la = inZoneOf(a, input.calculated),
                                    lb = inZoneOf(b, input.calculated);
                    // The computer's date only where it is not the same day.
                    const QString localDay =
                        la.date() == a.date() ? QString() : la.toString(QStringLiteral("dd.MM "));
                    page.text(xx, yy,
                              QStringLiteral("%1  %2–%3 (%4%5–%6)")
                                  .arg(w.centre().date().toString(QStringLiteral("dd.MM")),
                                       a.toString(QStringLiteral("HH:mm")),
                                       b.toString(QStringLiteral("HH:mm")), localDay,
                                       la.toString(QStringLiteral("HH:mm")),
                                       lb.toString(QStringLiteral("HH:mm"))));
                }
                bottom = std::max(bottom, yy);
            }
        }

        // Footer.
        y = std::max(bottom + 6, 279.0);
        page.setFont(7);
        QStringList sources{QStringLiteral("магнитное склонение — World Magnetic Model WMM-2025")};
        if (input.town) sources << QStringLiteral("населённые пункты — GeoNames");
        if (!input.satelliteList.isEmpty())
            sources << QStringLiteral("список спутников — ") + input.satelliteList;
        sources << QStringLiteral(
            "положение Солнца — формулы низкой точности Astronomical Almanac");
        sources.last() += QStringLiteral(".");
        sources.first().prepend(QStringLiteral("Источники: "));
        // Two lines at most: the sources wrap at a semicolon.
        QString line;
        for (const QString& source : sources) {
            const QString longer = line.isEmpty() ? source : line + QStringLiteral("; ") + source;
            if (!line.isEmpty() &&
                painter.fontMetrics().horizontalAdvance(longer) > page.size(210 - 2 * left)) {
                page.text(left, y, line + QLatin1Char(';'));
                y += 3.5;
                line = source;
            } else {
                line = longer;
            }
        }
        page.text(left, y, line);
        page.text(left, y + 3.5,
                  QStringLiteral("Место и поворот второго облучателя — для антенны на "
                                 "азимутально-угломестной подвеске (не для полярного подвеса)."));
    }
    buffer.close();
    return bytes;
}

std::optional<SheetInput> SheetInputOf(const StartInputs& inputs, const StartResult& run) {
    if (run.end != RunEnd::Completed) return std::nullopt;
    SheetInput sheet;
    for (const BoxWrite& write : run.writes) sheet.boxes.insert(write.box, write.text);
    // Text7 comes after every box but Text11, which always follows it.
    if (!sheet.boxes.contains(QStringLiteral("Text7"))) return std::nullopt;
    sheet.site = run.site;
    sheet.satellites[0].longitude =
        SatelliteLongitude{float(AngleFromTexts(inputs.text5, inputs.text6))};
    sheet.satellites[1].longitude =
        SatelliteLongitude{float(AngleFromTexts(inputs.text9, inputs.text10))};
    sheet.focalLength = LeadingNumber(inputs.text13);
    return sheet;
}
