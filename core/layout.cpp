// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout.h"

#include <algorithm>
#include <cmath>
#include <cstring>

int TwipsToPixels(int twips) {
    // 15 is odd, so a whole number of twips never lies exactly half-way between two pixels.
    return int(std::lround(double(twips) / kTwipsPerPixel));
}

QPoint TwipsToPixels(QPoint twips) {
    return QPoint(TwipsToPixels(twips.x()), TwipsToPixels(twips.y()));
}

QRect TwipRect(int left, int top, int width, int height) {
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                 TwipsToPixels(height));
}

FontChoice FontOf(FontName name) {
    switch (name) {
        case FontName::WindowFont:
            return {false, 9.75, true};
        case FontName::S8:
            return {false, 8.25, false};
        case FontName::S8B:
            return {false, 8.25, true};
        case FontName::S10:
            return {false, 9.75, false};
        case FontName::S12B:
            return {false, 12, true};
        case FontName::T12B:
            return {true, 12, true};
        case FontName::Default:
            break;
    }
    return {false, 8.25, false};
}

QSize WindowLayout::clientPixels() const {
    return QSize(TwipsToPixels(clientWidth), TwipsToPixels(clientHeight));
}

QPoint WindowLayout::screenPixels() const {
    return TwipsToPixels(QPoint(screenLeft, screenTop));
}

const Control* WindowLayout::control(const char* name) const {
    for (const Control& c : controls)
        if (std::strcmp(c.name, name) == 0) return &c;
    return nullptr;
}

std::vector<const char*> WindowLayout::focusOrder() const {
    std::vector<const Control*> focusable;
    for (const Control& c : controls)
        if (c.tabIndex >= 0 && c.kind != ControlKind::Label) focusable.push_back(&c);
    std::sort(focusable.begin(), focusable.end(),
              [](const Control* a, const Control* b) { return a->tabIndex < b->tabIndex; });
    std::vector<const char*> names;
    for (const Control* c : focusable) names.push_back(c->name);
    return names;
}

namespace {

using K = ControlKind;
using F = FontName;

// The help of the input boxes. Every angle is typed as degrees and minutes in two boxes, east and
// north positive; the minutes are added to the degrees with their own sign, which is easily
// missed for a western or southern place, so START refuses minutes whose sign is not the degrees'.
// clang-format off
#define SAME_SIGN "Минуты вводят с тем же знаком, что и градусы:\n"
#define MINUTES_RULE \
    SAME_SIGN "74°30′ з.д. — это «-74» и «-30» («-74» и «30» START не примет)."
#define LATITUDE_MINUTES_RULE \
    SAME_SIGN "26°12′ ю.ш. — это «-26» и «-12» («-26» и «12» START не примет)."
// clang-format on
#define LONGITUDE_SIGNS "восточная — плюс, западная — минус"
constexpr const char* kSiteLongitudeDegrees =
    "Долгота места, градусы: " LONGITUDE_SIGNS ".\n" MINUTES_RULE;
constexpr const char* kSiteLongitudeMinutes =
    "Долгота места, минуты (можно с дробью: 27.69).\n" MINUTES_RULE;
constexpr const char* kSiteLatitudeDegrees =
    "Широта места, градусы: северная — плюс, южная — минус.\n" LATITUDE_MINUTES_RULE;
constexpr const char* kSiteLatitudeMinutes =
    "Широта места, минуты (можно с дробью: 48.5).\n" LATITUDE_MINUTES_RULE;
constexpr const char* kSatellite1Degrees =
    "Долгота спутника 1, на который антенна уже направлена, градусы:\n" LONGITUDE_SIGNS
    " (Astra 19.2E — «19» и «12»).\n" MINUTES_RULE;
constexpr const char* kSatellite1Minutes = "Долгота спутника 1, минуты.\n" MINUTES_RULE;
constexpr const char* kSatellite2Degrees =
    "Долгота спутника 2, который добавляют, градусы:\n" LONGITUDE_SIGNS
    " (SES-1 101W — «-101»).\n" MINUTES_RULE;
constexpr const char* kSatellite2Minutes = "Долгота спутника 2, минуты.\n" MINUTES_RULE;
#undef LONGITUDE_SIGNS
#undef MINUTES_RULE
#undef LATITUDE_MINUTES_RULE
#undef SAME_SIGN
constexpr const char* kFocalLength = "Фокусное расстояние антенны, в миллиметрах (например 450).";
// The ALFA boxes' tooltip until a START completes; then it gives the magnetic azimuth.
constexpr const char* kAzimuthBeforeStart =
    "Азимут по компасу (магнитный) появится в этой подсказке\nпосле расчёта (START).";
// The feed boxes' tooltips until a START completes; then they give the second feed's exact place
// and turn.
constexpr const char* kFeedPlaceBeforeStart =
    "Точное место второго облучателя появится в этой подсказке\nпосле расчёта (START).";
constexpr const char* kFeedTurnBeforeStart =
    "Поворот основного и второго облучателя появится в этой подсказке\nпосле расчёта (START).";
// The buttons that fill the site and the satellites' boxes from a name.
constexpr const char* kTownSearch =
    "Найти город по названию (Ctrl+F): русскими или латинскими буквами;\n"
    "выбранный город заполнит долготу и широту места.";
constexpr const char* kSatellite1Search =
    "Выбрать спутник 1 по названию или позиции (Ctrl+F в его полях):\n"
    "«Hotbird», «Astra», «36», «13E», «4W».";
constexpr const char* kSatellite2Search =
    "Выбрать спутник 2 по названию или позиции (Ctrl+F в его полях):\n"
    "«Hotbird», «Astra», «36», «13E», «4W».";
constexpr const char* kSheetToolTip = "Сохранить лист установки (PDF)";
constexpr const char* kPlotRotation =
    "Поворот толстого креста относительно тонкого, в градусах:\n"
    "плюс — по часовой стрелке, минус — против (например -20).";

// clang-format off
const WindowLayout kTorvel{"RASCHET", 6675, 6930, false, 0, 0, F::WindowFont, {
    // The title block: two labels in a rectangle of four lines.
    {K::Label, "T1", "     РАССЧЕТ МУЛЬТИФИДА", 1680, 240, 3615, 255, 0, F::T12B},
    {K::Label, "T2", "     ПО КООРДИНАТАМ СПУТНИКОВ", 1680, 600, 3615, 255, 1, F::S8B},
    {K::Line, "Line1", "", 1800, 960, 5160, 960, -1, F::Default},
    {K::Line, "Line2", "", 1800, 120, 5160, 120, -1, F::Default},
    {K::Line, "Line3", "", 1800, 960, 1800, 120, -1, F::Default},
    {K::Line, "Line4", "", 5160, 120, 5160, 960, -1, F::Default},
    // Buttons.
    {K::Button, "Gprog", "START", 720, 120, 855, 375, 18, F::S8, "START"},
    {K::Button, "RISYNOK", "Рисунок", 720, 720, 855, 375, 19, F::S8, "Рисунок"},
    {K::Button, "cmdExit", "EXIT", 5400, 360, 615, 495, 20, F::S8, "EXIT"},
    {K::Button, "NAPR", "НАПРАВЛЕНИЕ", 480, 4440, 1395, 315, 21, F::S8, "НАПРАВЛЕНИЕ"},
    // The site. The runs of blanks in the column headings push the second word over the minutes.
    {K::Label, "T3", " Ваши  координаты           места  (пример: г.Тверия ИЗРАИЛЬ)", 240, 1320, 2055, 735, 2, F::S10},
    {K::Label, "Label1", " долгота(градусы)            долгота(минуты)", 2400, 1080, 3735, 255, 3, F::S8},
    {K::TextBox, "Text1", "35", 2640, 1320, 855, 285, 4, F::S8, "долгота места, градусы", kSiteLongitudeDegrees},
    {K::TextBox, "Text2", "27.69", 4440, 1320, 975, 285, 5, F::S8, "долгота места, минуты", kSiteLongitudeMinutes},
    {K::Label, "T4", "   широта(градусы)              широта(минуты)", 2280, 1560, 3495, 255, 6, F::S8},
    {K::TextBox, "Text3", "32", 2640, 1800, 855, 285, 7, F::S8, "широта места, градусы", kSiteLatitudeDegrees},
    {K::TextBox, "Text4", "48.5", 4440, 1800, 975, 285, 8, F::S8, "широта места, минуты", kSiteLatitudeMinutes},
    {K::Line, "Line6", "", 2280, 2040, 2280, 1200, -1, F::Default},
    // The dish.
    {K::Label, "Label6", "ФОКУСНОЕ РАССТОЯНИЕ АНТЕНЫ", 360, 2280, 3495, 255, 30, F::S8B},
    {K::TextBox, "Text13", "", 4440, 2280, 975, 285, 31, F::S8B, "фокусное расстояние антенны, мм", kFocalLength},
    // Satellite 1, the one the dish already points at.
    {K::Label, "T5", "     Координаты            TV-спутника  (1)     установленного", 240, 2640, 1815, 735, 9, F::S10},
    {K::Label, "T6", " долгота(градусы)             долгота(минуты)", 2400, 2760, 3615, 255, 12, F::S8},
    {K::TextBox, "Text5", "", 2640, 3000, 855, 285, 10, F::S8, "долгота спутника 1, градусы", kSatellite1Degrees},
    {K::TextBox, "Text6", "", 4440, 3000, 975, 285, 11, F::S8, "долгота спутника 1, минуты", kSatellite1Minutes},
    // Satellite 2, the one to be added.
    {K::Label, "Label2", "     Координаты            TV-спутника (2)  устанавливаемого", 240, 3480, 2175, 735, 24, F::WindowFont},
    {K::Label, "Label3", "долгота(градусы)              долгота(минуты)", 2400, 3480, 3375, 375, 25, F::S8},
    {K::TextBox, "Text9", "", 2640, 3720, 855, 285, 22, F::S8, "долгота спутника 2, градусы", kSatellite2Degrees},
    {K::TextBox, "Text10", "", 4440, 3720, 975, 285, 23, F::S8, "долгота спутника 2, минуты", kSatellite2Minutes},
    // The results.
    {K::Line, "Line5", "", 240, 4320, 6360, 4320, -1, F::Default, nullptr, nullptr, 5},
    {K::Label, "T7", "      РЕЗУЛЬТАТ", 2040, 4440, 2175, 375, 13, F::S12B},
    {K::Label, "T8", "1)  BETA-угол  места", 240, 4920, 1695, 255, 16, F::S8},
    {K::TextBox, "Text7", "", 1920, 4800, 1215, 360, 14, F::WindowFont, "спутник 1: BETA, угол места"},
    {K::Label, "T9", "    1) ALFA-азимут", 3240, 4920, 1575, 375, 17, F::S8},
    {K::TextBox, "Text8", "", 4800, 4800, 1215, 330, 15, F::WindowFont, "спутник 1: ALFA, азимут", kAzimuthBeforeStart},
    {K::Label, "Label4", "2)  BETA-угол места", 240, 5400, 1695, 375, 28, F::S8},
    {K::TextBox, "Text11", "", 1920, 5280, 1215, 375, 26, F::WindowFont, "спутник 2: BETA, угол места"},
    {K::Label, "Label5", "     2)  ALFA-азимут", 3240, 5400, 1575, 375, 29, F::S8},
    {K::TextBox, "Text12", "", 4800, 5280, 1215, 375, 27, F::WindowFont, "спутник 2: ALFA, азимут", kAzimuthBeforeStart},
    {K::Line, "Line7", "", 480, 5760, 6360, 5760, -1, F::Default},
    {K::Label, "Label7", "СДВИГ УГЛА ВОЗВЫШЕНИЯ        РАССТОЯНИЕ МЕЖДУ ЦЕНТРАМИ ", 240, 5760, 6255, 255, 32, F::S8B},
    {K::TextBox, "Text14", "", 480, 6120, 2175, 375, 33, F::S8B, "сдвиг угла возвышения", kFeedPlaceBeforeStart},
    {K::TextBox, "Text16", "", 2760, 6120, 855, 375, 35, F::WindowFont, "угол поворота", kFeedTurnBeforeStart},
    {K::TextBox, "Text15", "", 3720, 6120, 2295, 375, 34, F::S8B, "расстояние между центрами", kFeedPlaceBeforeStart},
    {K::Label, "Label8", " УГОЛ ПОВОРОТА", 2280, 6600, 1815, 255, 36, F::S8B},
    // The sign legends of the feed rotation, plus left and minus right of its caption.
    {K::Image, "Image3", "", 1200, 6600, 675, 450, -1, F::Default, "знак «+» угла поворота"},
    {K::Image, "Image2", "", 4440, 6600, 675, 450, -1, F::Default, "знак «-» угла поворота"},
    // The town and the satellites by name, right of the minutes boxes they fill.
    {K::Button, "GOROD", "Город…", 5520, 1320, 1035, 285, 37, F::S8, "найти город", kTownSearch},
    {K::Button, "SPUTNIK1", "Спутник…", 5520, 3000, 1035, 285, 38, F::S8, "выбрать спутник 1", kSatellite1Search},
    {K::Button, "SPUTNIK2", "Спутник…", 5520, 3720, 1035, 285, 39, F::S8, "выбрать спутник 2", kSatellite2Search},
    // The installation sheet, after a completed START.
    {K::Button, "LIST", "ЛИСТ", 5400, 6540, 1035, 330, 40, F::S8, "ЛИСТ", kSheetToolTip},
}};

const WindowLayout kFlin1{"CYRC1", 5010, 3315, false, 0, 0, F::S8, {
    {K::Button, "START", "START", 120, 120, 735, 375, 0, F::S8, "START"},
    {K::Button, "CMDEXIT", "EXIT", 120, 2280, 615, 375, 1, F::S8, "EXIT"},
    {K::TextBox, "POZIA", "-20", 120, 1680, 615, 375, 2, F::S8, "сдвиг осей на угол, градусы", kPlotRotation},
    // "Shift of axes by angle", wrapped inside its narrow box over the rotation box.
    {K::Label, "Label1", " сдвиг      осей        на        угол", 120, 720, 615, 855, 3, F::S8},
}};

// The picture box is larger than the client area and is cut off by its right and bottom edges;
// the buttons belong to it. The first letter of "PИС.1,2,3" is a Latin P; its accessible name
// has the Cyrillic letter, so that a screen reader says the word.
const WindowLayout kFris123{"RIS123", 6360, 4995, true, 1860, 1530, F::Default, {
    {K::PictureBox, "Picture1", "", 0, 0, 8775, 5935, 0, F::Default, "рисунок"},
    {K::Button, "cmd1", "ВЫХОД", 240, 120, 975, 375, 1, F::Default, "ВЫХОД", nullptr, 1, "Picture1"},
    {K::Button, "RISYNOK", "PИС.1,2,3", 240, 720, 975, 375, 2, F::Default, "РИС.1,2,3", nullptr, 1, "Picture1"},
}};
// clang-format on

}  // namespace

const WindowLayout& TorvelLayout() {
    return kTorvel;
}

const WindowLayout& Flin1Layout() {
    return kFlin1;
}

const WindowLayout& Fris123Layout() {
    return kFris123;
}
