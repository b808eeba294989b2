// The yardstick for the program's start-up: one plain window with the main window's controls
// (its labels, text boxes, buttons, lines and images, at their places and with their texts) in
// Qt's default font, and nothing else: no fonts of its own, no calculation, no other windows.
// Built with BARE_SHORT_TEXTS, the labels, buttons and boxes carry short Latin texts instead.
// Built with BARE_SECOND_WINDOW, it also shows, first, a plain window with the figure viewer's
// picture box and two buttons at the viewer's place: the program opens that window at start-up
// too, so this yardstick compares like with like.
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

#include "startupprobe.h"

namespace {

enum class Kind { Label, Box, Button };

struct Control {
    Kind kind;
    const char* text;
    int left, top, width, height;  // twips, 15 to a pixel
};

const Control kControls[] = {
    {Kind::Label, "     РАССЧЕТ МУЛЬТИФИДА", 1680, 240, 3615, 255},
    {Kind::Label, "     ПО КООРДИНАТАМ СПУТНИКОВ", 1680, 600, 3615, 255},
    {Kind::Button, "START", 720, 120, 855, 375},
    {Kind::Button, "Рисунок", 720, 720, 855, 375},
    {Kind::Button, "EXIT", 5400, 360, 615, 495},
    {Kind::Button, "НАПРАВЛЕНИЕ", 480, 4440, 1395, 315},
    {Kind::Label, " Ваши  координаты           места  (пример: г.Тверия ИЗРАИЛЬ)", 240, 1320, 2055,
     735},
    {Kind::Label, " долгота(градусы)            долгота(минуты)", 2400, 1080, 3735, 255},
    {Kind::Box, "35", 2640, 1320, 855, 285},
    {Kind::Box, "27.69", 4440, 1320, 975, 285},
    {Kind::Label, "   широта(градусы)              широта(минуты)", 2280, 1560, 3495, 255},
    {Kind::Box, "32", 2640, 1800, 855, 285},
    {Kind::Box, "48.5", 4440, 1800, 975, 285},
    {Kind::Label, "ФОКУСНОЕ РАССТОЯНИЕ АНТЕНЫ", 360, 2280, 3495, 255},
    {Kind::Box, "", 4440, 2280, 975, 285},
    {Kind::Label, "     Координаты            TV-спутника  (1)     установленного", 240, 2640, 1815,
     735},
    {Kind::Label, " долгота(градусы)             долгота(минуты)", 2400, 2760, 3615, 255},
    {Kind::Box, "", 2640, 3000, 855, 285},
    {Kind::Box, "", 4440, 3000, 975, 285},
    {Kind::Label, "     Координаты            TV-спутника (2)  устанавливаемого", 240, 3480, 2175,
     735},
    {Kind::Label, "долгота(градусы)              долгота(минуты)", 2400, 3480, 3375, 375},
    {Kind::Box, "", 2640, 3720, 855, 285},
    {Kind::Box, "", 4440, 3720, 975, 285},
    {Kind::Label, "      РЕЗУЛЬТАТ", 2040, 4440, 2175, 375},
    {Kind::Label, "1)  BETA-угол  места", 240, 4920, 1695, 255},
    {Kind::Box, "", 1920, 4800, 1215, 360},
    {Kind::Label, "    1) ALFA-азимут", 3240, 4920, 1575, 375},
    {Kind::Box, "", 4800, 4800, 1215, 330},
    {Kind::Label, "2)  BETA-угол места", 240, 5400, 1695, 375},
    {Kind::Box, "", 1920, 5280, 1215, 375},
    {Kind::Label, "     2)  ALFA-азимут", 3240, 5400, 1575, 375},
    {Kind::Box, "", 4800, 5280, 1215, 375},
    {Kind::Label, "СДВИГ УГЛА ВОЗВЫШЕНИЯ        РАССТОЯНИЕ МЕЖДУ ЦЕНТРАМИ ", 240, 5760, 6255, 255},
    {Kind::Box, "", 480, 6120, 2175, 375},
    {Kind::Box, "", 2760, 6120, 855, 375},
    {Kind::Box, "", 3720, 6120, 2295, 375},
    {Kind::Label, " УГОЛ ПОВОРОТА", 2280, 6600, 1815, 255},
};

// Lines as left, top, width, height in pixels; images at their left edge in twips.
const QRect kLines[] = {{120, 64, 225, 1}, {120, 8, 225, 1},  {120, 8, 1, 57},  {344, 8, 1, 57},
                        {152, 80, 1, 57},  {16, 286, 409, 5}, {32, 384, 393, 1}};
const int kImages[] = {1200, 4440};

QRect pixels(int left, int top, int width, int height) {
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    StartupProbe probe;

#ifdef BARE_SECOND_WINDOW
    QWidget second;
    second.setGeometry(124, 102, 424, 333);
    auto* box = new QLabel(&second);
    box->setGeometry(0, 0, 585, 396);
    new QPushButton(QStringLiteral("Exit"), box);
    (new QPushButton(QStringLiteral("Next"), box))->move(0, 40);
    second.show();
#endif

    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.resize(445, 462);
    int number = 0;
    for (const Control& c : kControls) {
        ++number;
#ifdef BARE_SHORT_TEXTS
        const QString text = *c.text ? QStringLiteral("Text %1").arg(number) : QString();
#else
        const QString text = QString::fromUtf8(c.text);
#endif
        QWidget* widget = nullptr;
        switch (c.kind) {
            case Kind::Label: {
                auto* label = new QLabel(text, &window);
                label->setWordWrap(true);
                widget = label;
                break;
            }
            case Kind::Box:
                widget = new QLineEdit(text, &window);
                break;
            case Kind::Button:
                widget = new QPushButton(text, &window);
                break;
        }
        widget->setGeometry(pixels(c.left, c.top, c.width, c.height));
    }
    for (const QRect& geometry : kLines) {
        auto* line = new QFrame(&window);
        line->setFrameShape(geometry.width() > geometry.height() ? QFrame::HLine : QFrame::VLine);
        line->setGeometry(geometry);
    }
    for (int left : kImages) {
        QPixmap pixmap(45, 30);
        pixmap.fill(Qt::white);
        auto* image = new QLabel(&window);
        image->setPixmap(pixmap);
        image->setGeometry(pixels(left, 6600, 675, 450));
    }
    window.show();
    return app.exec();
}
