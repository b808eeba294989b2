// SPDX-License-Identifier: GPL-3.0-or-later
#include "figureart.h"

#include <QFont>
#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>
#include <QtMath>
#include <functional>
#include <map>

namespace {

// The pictures fill the viewer's client area as it opens, so nothing needs scrolling into view;
// the top-left corner stays empty for the viewer's buttons.
constexpr int Width = 424;
constexpr int Height = 333;
// The buttons' corner, x below 92 and y below 112, stays empty: texts in the top band start right
// of it.
constexpr int FreeRight = 92;

const QColor Ink(30, 30, 30);
const QColor Grey(120, 120, 120);
const QColor Light(215, 215, 215);
const QColor Main(0, 80, 200);    // satellite 1 and the main feed
const QColor Second(205, 50, 0);  // satellite 2 and the second feed
const QColor Ring(240, 200, 0);   // the feed's ring, as in the main window's legend
const QColor Arrow(230, 0, 0);

// Fixed families, so that every machine draws the same pictures.
QFont figureFont(int pixelSize, bool bold = false) {
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

void text(QPainter& p, const QRectF& box, int flags, const QString& s, int size = 12,
          bool bold = false, const QColor& colour = Ink) {
    p.save();
    p.setFont(figureFont(size, bold));
    p.setPen(colour);
    p.drawText(box, flags, s);
    p.restore();
}

// A note that wraps inside its box.
void note(QPainter& p, const QRectF& box, const QString& s, int size = 11,
          const QColor& colour = Ink) {
    text(p, box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, s, size, false, colour);
}

// The caption of a picture, right of the buttons' corner.
void title(QPainter& p, const QString& s) {
    text(p, QRectF(FreeRight + 4, 4, Width - FreeRight - 8, 22), Qt::AlignLeft | Qt::AlignVCenter,
         s, 14, true);
}

void line(QPainter& p, QPointF a, QPointF b, const QColor& colour, qreal width = 1.5,
          Qt::PenStyle style = Qt::SolidLine) {
    p.save();
    p.setPen(QPen(colour, width, style, Qt::RoundCap));
    p.drawLine(a, b);
    p.restore();
}

void arrowHead(QPainter& p, QPointF tip, QPointF from, const QColor& colour, qreal size = 8) {
    const QLineF back(tip, from);
    const qreal angle = back.angle();
    QLineF a = QLineF::fromPolar(size, angle + 25).translated(tip);
    QLineF b = QLineF::fromPolar(size, angle - 25).translated(tip);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(QPolygonF({tip, a.p2(), b.p2()}));
    p.restore();
}

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour, qreal width = 1.5) {
    line(p, from, to, colour, width);
    arrowHead(p, to, from, colour, 6 + 2 * width);
}

// A measured distance: a line with a head at both ends.
void dimension(QPainter& p, QPointF a, QPointF b, const QColor& colour = Ink) {
    line(p, a, b, colour, 1.2);
    arrowHead(p, a, b, colour, 7);
    arrowHead(p, b, a, colour, 7);
}

// An arc round centre from angle a1 to a2 (degrees, anticlockwise from the right), with an arrow
// head at the a2 end.
void angleArc(QPainter& p, QPointF centre, qreal radius, qreal a1, qreal a2, const QColor& colour,
              qreal width = 1.5) {
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    p.save();
    p.setPen(QPen(colour, width));
    p.setBrush(Qt::NoBrush);
    p.drawArc(box, qRound(a1 * 16), qRound((a2 - a1) * 16));
    p.restore();
    const QPointF tip = centre + QPointF(radius * qCos(qDegreesToRadians(a2)),
                                         -radius * qSin(qDegreesToRadians(a2)));
    const qreal step = a2 > a1 ? -6 : 6;
    const QPointF before = centre + QPointF(radius * qCos(qDegreesToRadians(a2 + step)),
                                            -radius * qSin(qDegreesToRadians(a2 + step)));
    arrowHead(p, tip, before, colour, 8);
}

QPointF polar(QPointF centre, qreal radius, qreal degrees) {
    return centre + QPointF(radius * qCos(qDegreesToRadians(degrees)),
                            -radius * qSin(qDegreesToRadians(degrees)));
}

// A satellite: a body with two solar panels.
void satellite(QPainter& p, QPointF c, const QColor& colour, const QString& label,
               bool labelBelow = true) {
    p.save();
    p.setPen(QPen(Ink, 1));
    p.setBrush(colour);
    p.drawRect(QRectF(c.x() - 5, c.y() - 5, 10, 10));
    p.setBrush(QColor(60, 90, 160));
    p.drawRect(QRectF(c.x() - 19, c.y() - 3, 12, 6));
    p.drawRect(QRectF(c.x() + 7, c.y() - 3, 12, 6));
    p.restore();
    if (!label.isEmpty()) {
        const QRectF box(c.x() - 60, labelBelow ? c.y() + 7 : c.y() - 23, 120, 16);
        text(p, box, Qt::AlignCenter, label, 11, true, colour);
    }
}

// A feed seen from the side as the main window's legend shows it: a grey body with a yellow ring
// at its open end. The drawing runs along the x axis of the painter, open end at x = 0.
void feedSide(QPainter& p, QPointF at, qreal angle, qreal length, qreal thickness,
              const QColor& outline) {
    p.save();
    p.translate(at);
    p.rotate(angle);
    p.setPen(QPen(outline, 1.5));
    p.setBrush(QColor(170, 170, 170));
    p.drawRoundedRect(QRectF(0, -thickness / 2, length, thickness), 3, 3);
    p.setBrush(Ring);
    p.drawRect(QRectF(-thickness * 0.25, -thickness * 0.7, thickness * 0.45, thickness * 1.4));
    p.restore();
}

// A dish seen from the side: a parabola whose axis points along angle (degrees, anticlockwise
// from the right), vertex at v, half-width w and depth d.
void dishSide(QPainter& p, QPointF v, qreal angle, qreal w, qreal d) {
    p.save();
    p.translate(v);
    p.rotate(-angle);
    QPainterPath path;
    for (int i = 0; i <= 40; ++i) {
        const qreal y = -w + 2 * w * i / 40.0;
        const QPointF pt(d * (y / w) * (y / w), y);
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    p.setPen(QPen(Ink, 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.restore();
}

QImage canvas() {
    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(3780);  // 96 dots per inch
    image.setDotsPerMeterY(3780);
    return image;
}

// ---- The pictures, in the order of the cycle ----

void drawSetup(QPainter& p) {
    title(p, QStringLiteral("ОДНА АНТЕННА — ДВА СПУТНИКА"));
    // The geostationary arc: part of a large circle over the picture.
    const QPointF orbitCentre(255, 560);
    const qreal orbitRadius = 500;
    const QRectF orbit(orbitCentre.x() - orbitRadius, orbitCentre.y() - orbitRadius,
                       2 * orbitRadius, 2 * orbitRadius);
    p.save();
    p.setPen(QPen(Grey, 1.2, Qt::DashLine));
    p.drawArc(orbit, 72 * 16, 36 * 16);
    p.restore();
    text(p, QRectF(FreeRight + 4, 34, 200, 14), Qt::AlignLeft,
         QStringLiteral("геостационарная орбита"), 10, false, Grey);
    const QPointF sat1 = polar(orbitCentre, orbitRadius, 96);
    const QPointF sat2 = polar(orbitCentre, orbitRadius, 82);
    satellite(p, sat1, Main, QStringLiteral("СПУТНИК 1"));
    satellite(p, sat2, Second, QStringLiteral("СПУТНИК 2"));

    // The dish aims its axis at satellite 1; the main feed sits in the focus.
    const QPointF vertex(130, 275);
    const qreal axis = QLineF(vertex, sat1).angle();
    const qreal toSat2 = QLineF(vertex, sat2).angle();
    const qreal focal = 80;
    line(p, vertex + QPointF(0, 6), QPointF(130, 318), Ink, 4);  // mast
    line(p, QPointF(100, 318), QPointF(175, 318), Ink, 3);
    dishSide(p, vertex, axis, 58, 22);
    const QPointF focus = polar(vertex, focal, axis);
    // Satellite 2 lies to one side of the axis, so its signal gathers on the other side of the
    // focus: that is where the second feed goes.
    const QPointF secondFocus =
        polar(focus, focal * qTan(qDegreesToRadians(axis - toSat2)), axis + 90);
    // Signals: from each satellite down to the dish, then back up into its feed.
    const QPointF hit1 = polar(vertex, 40, axis + 90) + polar(QPointF(), 8, axis);
    const QPointF hit2 = polar(vertex, 40, axis - 90) + polar(QPointF(), 8, axis);
    line(p, sat1, hit1, Main, 1.2, Qt::DashLine);
    line(p, hit1, focus, Main, 1.2, Qt::DashLine);
    line(p, sat2, hit2, Second, 1.2, Qt::DashLine);
    line(p, hit2, secondFocus, Second, 1.2, Qt::DashLine);
    // The arm from the dish to the feeds.
    line(p, polar(vertex, 60, axis - 90) + polar(QPointF(), 14, axis), focus, Grey, 3);
    feedSide(p, focus, -axis, 26, 11, Main);
    feedSide(p, secondFocus, -axis, 26, 11, Second);

    arrow(p, QPointF(255, 200), focus + QPointF(10, 4), Main, 1);
    text(p, QRectF(258, 190, 165, 30), Qt::AlignLeft | Qt::TextWordWrap,
         QStringLiteral("основной конвертор\n(в фокусе, на спутник 1)"), 10, false, Main);
    arrow(p, QPointF(255, 238), secondFocus + QPointF(14, 4), Second, 1);
    text(p, QRectF(258, 228, 165, 30), Qt::AlignLeft | Qt::TextWordWrap,
         QStringLiteral("второй конвертор\n(рядом, на спутник 2)"), 10, false, Second);
    text(p, QRectF(20, 205, 70, 16), Qt::AlignLeft, QStringLiteral("антенна"), 11, true);
    note(p, QRectF(206, 280, 214, 50),
         QStringLiteral("Антенна направлена на спутник 1. Второй конвертор ставят рядом с "
                        "основным на кронштейне мультифида."),
         10);
}

// A compass seen from above, north up.
void drawAzimuth(QPainter& p) {
    title(p, QStringLiteral("АЗИМУТ ALFA — вид сверху"));
    const QPointF c(240, 180);
    const qreal r = 88;
    p.save();
    p.setPen(QPen(Light, 1.5));
    p.setBrush(QColor(248, 248, 248));
    p.drawEllipse(c, r, r);
    p.restore();
    for (int degrees = 0; degrees < 360; degrees += 30) {
        const qreal a = 90 - degrees;
        line(p, polar(c, r - 6, a), polar(c, r, a), Grey, 1);
    }
    line(p, polar(c, r, 90), polar(c, r, 270), Grey, 1, Qt::DashLine);
    line(p, polar(c, r, 0), polar(c, r, 180), Grey, 1, Qt::DashLine);
    text(p, QRectF(c.x() - 60, c.y() - r - 20, 120, 16), Qt::AlignCenter,
         QStringLiteral("СЕВЕР  0°"), 12, true);
    text(p, QRectF(c.x() - 60, c.y() + r + 4, 120, 16), Qt::AlignCenter, QStringLiteral("ЮГ  180°"),
         12, true);
    text(p, QRectF(c.x() + r + 6, c.y() - 8, 80, 16), Qt::AlignLeft, QStringLiteral("ВОСТОК 90°"),
         11, true);
    text(p, QRectF(c.x() - r - 88, c.y() - 8, 82, 16), Qt::AlignRight, QStringLiteral("ЗАПАД 270°"),
         11, true);

    // The example direction: azimuth 217 degrees, south-west, as for a satellite west of the site.
    const qreal alfa = 217;
    const QPointF sat = polar(c, r + 14, 90 - alfa);
    line(p, c, sat, Main, 2.5);
    const QPointF icon = polar(c, r + 26, 90 - alfa);
    satellite(p, icon, Main, QString());
    text(p, QRectF(icon.x() - 134, icon.y() - 8, 110, 16), Qt::AlignRight,
         QStringLiteral("на спутник"), 11, true, Main);
    angleArc(p, c, 42, 90, 90 - alfa, Arrow, 2);
    text(p, QRectF(c.x() + 46, c.y() - 30, 120, 16), Qt::AlignLeft, QStringLiteral("ALFA = 217°"),
         12, true, Arrow);
    // The dish in the middle, seen from above.
    p.save();
    p.setPen(QPen(Ink, 1.5));
    p.setBrush(Light);
    p.translate(c);
    p.rotate(alfa);
    p.drawEllipse(QRectF(-12, -5, 24, 10));
    p.restore();

    // ALFA is from true north; where to read the azimuth as a compass gives it.
    note(p, QRectF(FreeRight + 4, 32, Width - FreeRight - 8, 16),
         QStringLiteral("Магнитный азимут (по компасу) — в подсказке полей ALFA."), 10);

    note(p, QRectF(8, 296, 412, 36),
         QStringLiteral("ALFA отсчитывают от севера по часовой стрелке, через восток: "
                        "восток 90°, юг 180°, запад 270°."),
         11);
}

// A side view: the horizon and the line to the satellite.
void drawElevation(QPainter& p) {
    title(p, QStringLiteral("УГОЛ МЕСТА BETA — вид сбоку"));
    const qreal ground = 250;
    line(p, QPointF(8, ground), QPointF(416, ground), Ink, 2);
    for (int x = 14; x < 416; x += 12)
        line(p, QPointF(x, ground), QPointF(x - 8, ground + 8), Grey, 1);
    const QPointF eye(150, 200);
    const qreal beta = 40;
    line(p, QPointF(eye.x(), eye.y() + 8), QPointF(eye.x(), ground), Ink, 4);  // mast
    dishSide(p, eye - polar(QPointF(), 6, beta), beta, 34, 11);
    line(p, eye, QPointF(410, eye.y()), Grey, 1.2, Qt::DashLine);
    text(p, QRectF(320, eye.y() + 3, 96, 16), Qt::AlignRight, QStringLiteral("горизонт"), 11, false,
         Grey);
    const QPointF sat = polar(eye, 215, beta);
    line(p, eye, sat, Main, 2);
    satellite(p, polar(eye, 230, beta), Main, QStringLiteral("СПУТНИК"), false);
    angleArc(p, eye, 90, 0, beta, Arrow, 2);
    text(p, QRectF(eye.x() + 96, eye.y() - 36, 80, 18), Qt::AlignLeft, QStringLiteral("BETA"), 14,
         true, Arrow);
    note(p, QRectF(8, 262, 412, 70),
         QStringLiteral("BETA — угол между горизонтом и направлением на спутник, в градусах: "
                        "0° — спутник у самого горизонта, 90° — прямо над головой. Чем "
                        "севернее место, тем ниже спутники."),
         11);
}

// Two feeds side by side in one panel of the offset pictures. along: true for the horizontal
// offset (seen from behind the dish), false for the vertical one (seen from the side).
void offsetPanel(QPainter& p, const QRectF& panel, bool secondPositive, bool horizontal,
                 const QString& word) {
    p.save();
    p.setPen(QPen(Light, 1));
    p.setBrush(QColor(250, 250, 250));
    p.drawRoundedRect(panel, 6, 6);
    p.restore();
    const QPointF centre = panel.center() + QPointF(horizontal ? 0 : 10, 8);
    const qreal shift = 30;
    QPointF mainAt = centre;
    QPointF secondAt = centre;
    if (horizontal) {
        mainAt.rx() += secondPositive ? -shift : shift;
        secondAt.rx() += secondPositive ? shift : -shift;
    } else {
        mainAt.ry() += secondPositive ? shift : -shift;
        secondAt.ry() += secondPositive ? -shift : shift;
    }
    if (horizontal) {
        // Seen from behind the dish: the feeds end-on, the dish's rim above them.
        p.save();
        p.setPen(QPen(Grey, 2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(panel.left() + 20, panel.top() + 24, panel.width() - 40, 70), 20 * 16,
                  140 * 16);
        p.restore();
        for (const auto& [at, colour] : {std::pair{mainAt, Main}, std::pair{secondAt, Second}}) {
            p.save();
            p.setPen(QPen(colour, 2));
            p.setBrush(QColor(190, 190, 190));
            p.drawEllipse(at, 16, 16);
            p.setBrush(Ink);
            p.drawEllipse(at, 3, 3);
            p.restore();
        }
        line(p, mainAt, mainAt + QPointF(0, 36), Grey, 1, Qt::DashLine);
        line(p, secondAt, secondAt + QPointF(0, 36), Grey, 1, Qt::DashLine);
        dimension(p, QPointF(mainAt.x(), mainAt.y() + 32),
                  QPointF(secondAt.x(), secondAt.y() + 32));
        text(p, QRectF(centre.x() - 20, centre.y() + 34, 40, 14), Qt::AlignCenter,
             QStringLiteral("мм"), 11, true);
    } else {
        // Seen from the side: the dish to the left, the feeds' open ends facing it.
        p.save();
        p.setPen(QPen(Grey, 2));
        p.drawArc(QRectF(panel.left() - 50, panel.top() + 20, 80, panel.height() - 50), -50 * 16,
                  100 * 16);
        p.restore();
        feedSide(p, mainAt - QPointF(24, 0), 0, 48, 18, Main);
        feedSide(p, secondAt - QPointF(24, 0), 0, 48, 18, Second);
        line(p, mainAt, mainAt + QPointF(52, 0), Grey, 1, Qt::DashLine);
        line(p, secondAt, secondAt + QPointF(52, 0), Grey, 1, Qt::DashLine);
        dimension(p, mainAt + QPointF(48, 0), secondAt + QPointF(48, 0));
        text(p, QRectF(centre.x() + 52, centre.y() - 8, 30, 16), Qt::AlignLeft,
             QStringLiteral("мм"), 11, true);
    }
    text(p, QRectF(panel.left(), panel.top() + 4, panel.width(), 18), Qt::AlignCenter,
         QStringLiteral("…мм-->") + word, 13, true);
    const qreal labelY = panel.bottom() - 34;
    text(p, QRectF(panel.left() + 6, labelY, panel.width() - 12, 14), Qt::AlignLeft,
         QStringLiteral("■ основной"), 10, true, Main);
    text(p, QRectF(panel.left() + 6, labelY + 15, panel.width() - 12, 14), Qt::AlignLeft,
         QStringLiteral("■ второй: ") + word.toLower() + QStringLiteral(" основного"), 10, true,
         Second);
}

void drawElevationShift(QPainter& p) {
    title(p, QStringLiteral("СДВИГ УГЛА ВОЗВЫШЕНИЯ"));
    note(p, QRectF(FreeRight + 4, 30, Width - FreeRight - 10, 78),
         QStringLiteral("На сколько миллиметров центр второго конвертора выше или ниже центра "
                        "основного. Вид сбоку, антенна слева."),
         11);
    offsetPanel(p, QRectF(8, 114, 200, 180), true, false, QStringLiteral("ВЫШЕ"));
    offsetPanel(p, QRectF(216, 114, 200, 180), false, false, QStringLiteral("НИЖЕ"));
    note(p, QRectF(8, 298, 412, 34),
         QStringLiteral("Пример: « 24.9487мм-->НИЖЕ» — второй конвертор на 25 мм ниже "
                        "основного."),
         11);
}

void drawCentreDistance(QPainter& p) {
    title(p, QStringLiteral("РАССТОЯНИЕ МЕЖДУ ЦЕНТРАМИ"));
    note(p, QRectF(FreeRight + 4, 30, Width - FreeRight - 10, 78),
         QStringLiteral("На сколько миллиметров центр второго конвертора правее или левее "
                        "центра основного. Вид сзади антенны, лицом к спутникам."),
         11);
    offsetPanel(p, QRectF(8, 114, 200, 180), true, true, QStringLiteral("СПРАВА"));
    offsetPanel(p, QRectF(216, 114, 200, 180), false, true, QStringLiteral("СЛЕВА"));
    note(p, QRectF(8, 298, 412, 34),
         QStringLiteral("Пример: « 70.7734мм-->СПРАВА» — второй конвертор на 71 мм правее "
                        "основного."),
         11);
}

// A feed end-on, seen from behind: body, connector, clamp.
void feedEndOn(QPainter& p, QPointF c, qreal r, const QColor& outline) {
    p.save();
    p.setPen(QPen(Ink, 1.5));
    p.setBrush(QColor(150, 150, 150));
    p.drawEllipse(c, r + 6, r + 6);  // clamp ring
    p.setPen(QPen(outline, 2.5));
    p.setBrush(QColor(200, 200, 200));
    p.drawEllipse(c, r, r);
    p.setPen(QPen(Ink, 1));
    p.setBrush(QColor(230, 190, 60));
    p.drawEllipse(c + QPointF(0, r * 0.45), 5, 5);  // cable connector
    p.restore();
}

void drawBracket(QPainter& p) {
    title(p, QStringLiteral("КРОНШТЕЙН МУЛЬТИФИДА"));
    note(p, QRectF(FreeRight + 4, 30, Width - FreeRight - 10, 60),
         QStringLiteral("Вид сзади антенны. Второй конвертор (красный) крепят к держателю "
                        "основного (синий) пластиной с пазом."),
         11);
    const QPointF mainAt(150, 190);
    const QPointF secondAt(280, 190);
    // The arm of the dish, from below, ending in the main feed's holder.
    p.save();
    p.setPen(QPen(Ink, 1.5));
    p.setBrush(QColor(150, 150, 150));
    p.drawRect(QRectF(mainAt.x() - 9, mainAt.y() + 30, 18, 70));
    // The bracket: a plate with a slot, clamped to the main holder.
    p.setBrush(QColor(185, 185, 185));
    p.drawRoundedRect(QRectF(mainAt.x() - 10, mainAt.y() - 14, secondAt.x() - mainAt.x() + 60, 28),
                      6, 6);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(mainAt.x() + 60, mainAt.y() - 4, secondAt.x() - mainAt.x() - 10, 8), 4,
                      4);
    p.restore();
    feedEndOn(p, mainAt, 26, Main);
    feedEndOn(p, secondAt, 22, Second);
    // Screws of the plate.
    for (const QPointF at : {mainAt + QPointF(40, 0), secondAt + QPointF(38, 0)}) {
        p.save();
        p.setPen(QPen(Ink, 1));
        p.setBrush(QColor(90, 90, 90));
        p.drawEllipse(at, 5, 5);
        p.restore();
    }
    text(p, QRectF(8, mainAt.y() + 60, mainAt.x() - 20, 16), Qt::AlignRight,
         QStringLiteral("штанга антенны"), 11, true, Grey);
    // What can be adjusted at the second feed.
    dimension(p, secondAt + QPointF(-44, -48), secondAt + QPointF(44, -48), Second);
    text(p, QRectF(secondAt.x() - 90, secondAt.y() - 80, 180, 28), Qt::AlignCenter,
         QStringLiteral("по пазу: СПРАВА / СЛЕВА"), 11, true, Second);
    dimension(p, secondAt + QPointF(74, -32), secondAt + QPointF(74, 32), Second);
    text(p, QRectF(secondAt.x() + 78, secondAt.y() - 16, 56, 32), Qt::AlignLeft | Qt::AlignVCenter,
         QStringLiteral("ВЫШЕ/\nНИЖЕ"), 11, true, Second);
    angleArc(p, secondAt, 36, 200, 250, Arrow, 2);
    angleArc(p, secondAt, 36, 340, 290, Arrow, 2);
    text(p, QRectF(secondAt.x() - 70, secondAt.y() + 42, 140, 16), Qt::AlignCenter,
         QStringLiteral("поворот в держателе"), 11, true, Arrow);
    note(p, QRectF(8, 286, 412, 46),
         QStringLiteral("Сдвиньте второй конвертор на расстояние между центрами и на сдвиг угла "
                        "возвышения, поверните на угол поворота и затяните винты."),
         11);
}

// The legend of the main window, enlarged: a feed from the side, ring on the left, a red arrow
// on the ring and the sign on the body.
void legendFeed(QPainter& p, QPointF topLeft, qreal scale, bool plus) {
    p.save();
    p.translate(topLeft);
    p.scale(scale, scale);
    p.setPen(QPen(Ink, 0.6));
    p.setBrush(QColor(170, 170, 170));
    p.drawRect(QRectF(12, 8, 30, 14));
    p.setBrush(Ring);
    p.drawRect(QRectF(4, 3, 9, 24));
    // The arrow on the ring.
    const qreal x = 8.5;
    QPolygonF head;
    if (plus) {
        head = QPolygonF({QPointF(x, 27), QPointF(x - 4, 19), QPointF(x + 4, 19)});
    } else {
        head = QPolygonF({QPointF(x, 3), QPointF(x - 4, 11), QPointF(x + 4, 11)});
    }
    p.setPen(QPen(Arrow, 2));
    p.drawLine(QPointF(x, plus ? 5 : 25), QPointF(x, plus ? 20 : 10));
    p.setPen(Qt::NoPen);
    p.setBrush(Arrow);
    p.drawPolygon(head);
    // The sign.
    p.setPen(QPen(Ink, 2.5));
    p.drawLine(QPointF(21, 15), QPointF(33, 15));
    if (plus) p.drawLine(QPointF(27, 9), QPointF(27, 21));
    p.restore();
}

void drawRotation(QPainter& p) {
    title(p, QStringLiteral("УГОЛ ПОВОРОТА КОНВЕРТОРА"));
    note(p, QRectF(FreeRight + 4, 30, Width - FreeRight - 10, 80),
         QStringLiteral("Второй конвертор поворачивают в держателе вокруг его оси на угол из "
                        "поля «УГОЛ ПОВОРОТА», в градусах. Знак говорит, в какую сторону, как на "
                        "картинках в главном окне:"),
         11);
    legendFeed(p, QPointF(20, 118), 3.2, true);
    legendFeed(p, QPointF(230, 118), 3.2, false);
    note(p, QRectF(20, 220, 180, 60),
         QStringLiteral("« + » — кольцо конвертора поворачивают по красной стрелке ВНИЗ"), 11);
    note(p, QRectF(230, 220, 180, 60),
         QStringLiteral("« - » — кольцо конвертора поворачивают по красной стрелке ВВЕРХ"), 11);
    note(p, QRectF(8, 280, 412, 52),
         QStringLiteral("Пример: « + 23.5» — повернуть на 23.5° по стрелке вниз; « - 10» — на "
                        "10° по стрелке вверх. Основной конвертор не трогают."),
         11);
}

// The direction plot, small: the fixed compass (south up), the compass turned by the typed
// angle, the line to satellite 1 and its azimuth arc.
void drawPlotGuide(QPainter& p) {
    title(p, QStringLiteral("КАК ЧИТАТЬ ГРАФИК НАПРАВЛЕНИЯ"));
    const QPointF c(160, 205);
    const qreal r = 92;
    const qreal turn = -20;  // the typed angle, as the plot window starts with
    const qreal alfa = 217;  // satellite 1's azimuth
    // The ends of the axis at a plot angle: 0 points up, positive angles turn clockwise; the
    // second end is the first mirrored through the centre.
    const auto end = [&](qreal theta, bool second) {
        const qreal s = r * qSin(qDegreesToRadians(theta));
        const qreal k = r * qCos(qDegreesToRadians(theta));
        return second ? QPointF(c.x() - s, c.y() + k) : QPointF(c.x() + s, c.y() - k);
    };
    const QColor blue(0, 0, 255);
    const auto axes = [&](qreal theta, qreal width, const QColor& words) {
        line(p, end(theta, false), end(theta, true), blue, width);
        line(p, end(theta - 90, false), end(theta - 90, true), blue, width);
        const auto word = [&](QPointF at, const QString& s) {
            text(p, QRectF(at, QSizeF(60, 14)), Qt::AlignLeft, s, 9, false, words);
        };
        word(end(theta, false), QStringLiteral(" SOUNT"));
        word(end(theta, true), QStringLiteral("NORTH"));
        word(end(theta - 90, true), QStringLiteral("  WEST"));
        word(end(theta - 90, false), QStringLiteral("EAST"));
    };
    axes(0, 1, QColor(230, 120, 120));
    axes(turn, 3.5, Qt::red);
    const QColor cyan(0, 200, 220);
    line(p, end(alfa + turn, false), end(alfa + turn, true), cyan, 4);
    p.save();
    p.setPen(QPen(blue, 1.5));
    p.drawArc(QRectF(c.x() - 24, c.y() - 24, 48, 48), qRound((270 - alfa - turn) * 16),
              qRound(alfa * 16));
    p.setBrush(blue);
    p.drawEllipse(c, 4, 4);
    p.restore();
    const QPointF satEnd = end(alfa + turn, true);
    text(p, QRectF(satEnd + QPointF(-20, 12), QSizeF(80, 14)), Qt::AlignLeft,
         QStringLiteral("alfa= 217"), 11, true);

    const qreal x = 268;
    const qreal w = Width - x - 4;
    note(p, QRectF(x, 32, w, 56),
         QStringLiteral("Окно «НАПРАВЛЕНИЕ», START: азимут спутника 1 из последнего расчёта."), 10);
    note(p, QRectF(x, 92, w, 30), QStringLiteral("Тонкий крест — компас, юг (SOUNT) вверху."), 10);
    note(p, QRectF(x, 126, w, 56),
         QStringLiteral("Толстый крест — он же, повёрнутый на угол из поля «сдвиг осей на "
                        "угол»."),
         10);
    note(p, QRectF(x, 184, w, 44),
         QStringLiteral("Голубая линия: её конец у «alfa=» показывает на спутник 1."), 10,
         QColor(0, 120, 140));
    note(p, QRectF(x, 230, w, 44), QStringLiteral("Дуга — азимут ALFA от NORTH толстого креста."),
         10, blue);
    note(p, QRectF(x, 276, w, 56),
         QStringLiteral("Поверните крест углом так, чтобы он совпал со сторонами света на "
                        "месте."),
         10);
}

}  // namespace

QImage DrawFigure(const QString& fileName) {
    static const std::map<QString, std::function<void(QPainter&)>> drawings = {
        {QStringLiteral("GDS001.BMP"), drawSetup},
        {QStringLiteral("1k.BMP"), drawAzimuth},
        {QStringLiteral("2k.BMP"), drawElevation},
        {QStringLiteral("3k.BMP"), drawElevationShift},
        {QStringLiteral("4k.BMP"), drawCentreDistance},
        {QStringLiteral("TRANS002.BMP"), drawBracket},
        {QStringLiteral("YGOLP.BMP"), drawRotation},
        {QStringLiteral("5k.BMP"), drawPlotGuide},
    };
    const auto found = drawings.find(fileName);
    if (found == drawings.end()) return QImage();
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    found->second(p);
    p.end();
    return image;
}

QImage DrawIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    // Mast and foot.
    p.setPen(QPen(QColor(70, 70, 70), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(30, 38), QPointF(30, 60));
    p.drawLine(QPointF(20, 60), QPointF(40, 60));
    // The dish, facing up and to the right.
    p.save();
    p.translate(28, 32);
    p.rotate(-35);
    p.setPen(QPen(QColor(60, 60, 70), 1.5));
    QLinearGradient shade(QPointF(-6, -24), QPointF(6, 24));
    shade.setColorAt(0, QColor(245, 245, 250));
    shade.setColorAt(1, QColor(160, 165, 180));
    p.setBrush(shade);
    p.drawEllipse(QRectF(-7, -25, 14, 50));
    // The arm and the two feeds at its end.
    p.setPen(QPen(QColor(90, 90, 90), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, 22), QPointF(26, 0));
    p.setPen(QPen(QColor(30, 30, 30), 1));
    p.setBrush(QColor(0, 80, 200));
    p.drawRoundedRect(QRectF(24, -4, 12, 8), 2, 2);
    p.setBrush(QColor(205, 50, 0));
    p.drawRoundedRect(QRectF(24, -13, 12, 8), 2, 2);
    p.restore();
    p.end();
    return image;
}
