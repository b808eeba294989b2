#include "torvel.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPixmap>
#include <QPushButton>
#include <limits>

#include "appdir.h"
#include "datafile.h"
#include "flin1.h"
#include "fris123.h"
#include "messages.h"
#include "uifont.h"

namespace {

// Positions and sizes of the window's definition are in twips, 15 to a pixel.
constexpr int kTwipsPerPixel = 15;

QRect twipRect(int left, int top, int width, int height) {
    return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
                 height / kTwipsPerPixel);
}

enum class Face { Window, S8, S8B, S10, S12B, T12B };

QFont faceFont(Face face) {
    switch (face) {
        case Face::Window:
            return UiFont(UiFace::SansSerif, 9.75, true);
        case Face::S8:
            return UiFont(UiFace::SansSerif, 8.25, false);
        case Face::S8B:
            return UiFont(UiFace::SansSerif, 8.25, true);
        case Face::S10:
            return UiFont(UiFace::SansSerif, 9.75, false);
        case Face::S12B:
            return UiFont(UiFace::SansSerif, 12, true);
        case Face::T12B:
            return UiFont(UiFace::Serif, 12, true);
    }
    return QFont();
}

enum class Kind { Label, Box, Button };

struct Control {
    Kind kind;
    const char* name;
    const char* text;  // caption of a label or button, default text of a box
    int left, top, width, height;
    Face face;
};

// Every label, text box and button, in twips. The runs of blanks in the captions place the words
// over the boxes below them.
const Control kControls[] = {
    {Kind::Label, "T1", "     РАССЧЕТ МУЛЬТИФИДА", 1680, 240, 3615, 255, Face::T12B},
    {Kind::Label, "T2", "     ПО КООРДИНАТАМ СПУТНИКОВ", 1680, 600, 3615, 255, Face::S8B},
    {Kind::Button, "Gprog", "START", 720, 120, 855, 375, Face::S8},
    {Kind::Button, "RISYNOK", "Рисунок", 720, 720, 855, 375, Face::S8},
    {Kind::Button, "cmdExit", "EXIT", 5400, 360, 615, 495, Face::S8},
    {Kind::Button, "NAPR", "НАПРАВЛЕНИЕ", 480, 4440, 1395, 315, Face::S8},
    {Kind::Label, "T3", " Ваши  координаты           места  (пример: г.Тверия ИЗРАИЛЬ)", 240, 1320,
     2055, 735, Face::S10},
    {Kind::Label, "Label1", " долгота(градусы)            долгота(минуты)", 2400, 1080, 3735, 255,
     Face::S8},
    {Kind::Box, "Text1", "35", 2640, 1320, 855, 285, Face::S8},
    {Kind::Box, "Text2", "27.69", 4440, 1320, 975, 285, Face::S8},
    {Kind::Label, "T4", "   широта(градусы)              широта(минуты)", 2280, 1560, 3495, 255,
     Face::S8},
    {Kind::Box, "Text3", "32", 2640, 1800, 855, 285, Face::S8},
    {Kind::Box, "Text4", "48.5", 4440, 1800, 975, 285, Face::S8},
    {Kind::Label, "Label6", "ФОКУСНОЕ РАССТОЯНИЕ АНТЕНЫ", 360, 2280, 3495, 255, Face::S8B},
    {Kind::Box, "Text13", "", 4440, 2280, 975, 285, Face::S8B},
    {Kind::Label, "T5", "     Координаты            TV-спутника  (1)     установленного", 240, 2640,
     1815, 735, Face::S10},
    {Kind::Label, "T6", " долгота(градусы)             долгота(минуты)", 2400, 2760, 3615, 255,
     Face::S8},
    {Kind::Box, "Text5", "", 2640, 3000, 855, 285, Face::S8},
    {Kind::Box, "Text6", "", 4440, 3000, 975, 285, Face::S8},
    {Kind::Label, "Label2", "     Координаты            TV-спутника (2)  устанавливаемого", 240,
     3480, 2175, 735, Face::Window},
    {Kind::Label, "Label3", "долгота(градусы)              долгота(минуты)", 2400, 3480, 3375, 375,
     Face::S8},
    {Kind::Box, "Text9", "", 2640, 3720, 855, 285, Face::S8},
    {Kind::Box, "Text10", "", 4440, 3720, 975, 285, Face::S8},
    {Kind::Label, "T7", "      РЕЗУЛЬТАТ", 2040, 4440, 2175, 375, Face::S12B},
    {Kind::Label, "T8", "1)  BETA-угол  места", 240, 4920, 1695, 255, Face::S8},
    {Kind::Box, "Text7", "", 1920, 4800, 1215, 360, Face::Window},
    {Kind::Label, "T9", "    1) ALFA-азимут", 3240, 4920, 1575, 375, Face::S8},
    {Kind::Box, "Text8", "", 4800, 4800, 1215, 330, Face::Window},
    {Kind::Label, "Label4", "2)  BETA-угол места", 240, 5400, 1695, 375, Face::S8},
    {Kind::Box, "Text11", "", 1920, 5280, 1215, 375, Face::Window},
    {Kind::Label, "Label5", "     2)  ALFA-азимут", 3240, 5400, 1575, 375, Face::S8},
    {Kind::Box, "Text12", "", 4800, 5280, 1215, 375, Face::Window},
    {Kind::Label, "Label7", "СДВИГ УГЛА ВОЗВЫШЕНИЯ        РАССТОЯНИЕ МЕЖДУ ЦЕНТРАМИ ", 240, 5760,
     6255, 255, Face::S8B},
    {Kind::Box, "Text14", "", 480, 6120, 2175, 375, Face::S8B},
    {Kind::Box, "Text16", "", 2760, 6120, 855, 375, Face::Window},
    {Kind::Box, "Text15", "", 3720, 6120, 2295, 375, Face::S8B},
    {Kind::Label, "Label8", " УГОЛ ПОВОРОТА", 2280, 6600, 1815, 255, Face::S8B},
};

// Lines from one point to another, in twips, and their width in pixels.
struct Line {
    const char* name;
    int x1, y1, x2, y2;
    int width;
};

const Line kLines[] = {
    {"Line1", 1800, 960, 5160, 960, 1},   {"Line2", 1800, 120, 5160, 120, 1},
    {"Line3", 1800, 960, 1800, 120, 1},   {"Line4", 5160, 120, 5160, 960, 1},
    {"Line6", 2280, 2040, 2280, 1200, 1}, {"Line5", 240, 4320, 6360, 4320, 5},
    {"Line7", 480, 5760, 6360, 5760, 1},
};

// The keyboard focus order; labels and lines take no focus.
const char* const kFocusOrder[] = {
    "Text1",  "Text2",  "Text3",   "Text4",   "Text5",  "Text6",  "Text7",
    "Text8",  "Gprog",  "RISYNOK", "cmdExit", "NAPR",   "Text9",  "Text10",
    "Text11", "Text12", "Text13",  "Text14",  "Text15", "Text16",
};

}  // namespace

TORVEL::TORVEL() {
    setWindowTitle(QStringLiteral("RASCHET"));
    setFont(faceFont(Face::Window));
    resize(445, 462);
    buildControls();
    m_decimalSeparator = QLocale().decimalPoint().at(0);

    m_appDir = AppDir();
    m_viewer = new FRIS123([this] { showMain(); });
    m_plot = new FLIN1([this] { showMain(); });
}

TORVEL::~TORVEL() {
    delete m_viewer;
    delete m_plot;
}

void TORVEL::buildControls() {
    for (const Control& c : kControls) {
        QWidget* widget = nullptr;
        const QString text = QString::fromUtf8(c.text);
        switch (c.kind) {
            case Kind::Label: {
                auto* label = new QLabel(text, this);
                label->setTextFormat(Qt::PlainText);
                label->setWordWrap(true);
                label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                widget = label;
                break;
            }
            case Kind::Box: {
                auto* box = new QLineEdit(text, this);
                box->setMaxLength(std::numeric_limits<int>::max());
                box->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
                m_boxes.insert(QString::fromLatin1(c.name), box);
                widget = box;
                break;
            }
            case Kind::Button:
                widget = new QPushButton(text, this);
                break;
        }
        widget->setObjectName(QString::fromLatin1(c.name));
        widget->setGeometry(twipRect(c.left, c.top, c.width, c.height));
        if (c.face != Face::Window) widget->setFont(faceFont(c.face));
    }

    for (const Line& l : kLines) {
        auto* line = new QFrame(this);
        line->setObjectName(QString::fromLatin1(l.name));
        line->setFrameShape(l.y1 == l.y2 ? QFrame::HLine : QFrame::VLine);
        line->setFrameShadow(QFrame::Plain);
        line->setLineWidth(l.width);
        // The frame draws its line through its middle; the line's end points are included.
        const int x = qMin(l.x1, l.x2) / kTwipsPerPixel, y = qMin(l.y1, l.y2) / kTwipsPerPixel;
        const int length = (qAbs(l.x2 - l.x1) + qAbs(l.y2 - l.y1)) / kTwipsPerPixel + 1;
        if (l.y1 == l.y2)
            line->setGeometry(x, y - l.width / 2, length, l.width);
        else
            line->setGeometry(x - l.width / 2, y, l.width, length);
    }

    const struct {
        const char* name;
        int left;
    } legends[] = {{"Image3", 1200}, {"Image2", 4440}};
    for (const auto& legend : legends) {
        auto* image = new QLabel(this);
        image->setObjectName(QString::fromLatin1(legend.name));
        // Read as the bitmaps they are: asked to guess the format, the reader would first load
        // every image plugin installed to ask each whether it reads them.
        QImageReader reader(QStringLiteral(":/legend/%1.bmp").arg(legend.name), "BMP");
        reader.setAutoDetectImageFormat(false);
        image->setPixmap(QPixmap::fromImage(reader.read()));
        image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        image->setGeometry(twipRect(legend.left, 6600, 675, 450));
    }

    // Text16 shows its sign and angle in black whatever the colour scheme.
    QLineEdit* rotation = m_boxes.value(QStringLiteral("Text16"));
    QPalette palette = rotation->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Text, Qt::black);
    rotation->setPalette(palette);

    QWidget* previous = nullptr;
    for (const char* name : kFocusOrder) {
        QWidget* widget = findChild<QWidget*>(QString::fromLatin1(name));
        if (previous) setTabOrder(previous, widget);
        previous = widget;
    }
    m_boxes.value(QStringLiteral("Text1"))->setFocus();

    connect(m_boxes.value(QStringLiteral("Text5")), &QLineEdit::textChanged, this,
            [this] { m_editState = 1; });
    connect(m_boxes.value(QStringLiteral("Text7")), &QLineEdit::textChanged, this,
            [this] { m_editState = 2; });

    auto button = [this](const char* name) {
        return findChild<QPushButton*>(QString::fromLatin1(name));
    };
    connect(button("Gprog"), &QPushButton::clicked, this, &TORVEL::runStart);
    connect(button("RISYNOK"), &QPushButton::clicked, this, [this] {
        if (m_editState != 0) showViewer();
    });
    connect(button("NAPR"), &QPushButton::clicked, this, [this] {
        if (m_editState != 0) showPlot();
    });
    connect(button("cmdExit"), &QPushButton::clicked, this, &TORVEL::exitProgram);
}

QString TORVEL::boxText(const char* name) const {
    return m_boxes.value(QString::fromLatin1(name))->text();
}

void TORVEL::runStart() {
    const StartInputs inputs{boxText("Text1"), boxText("Text2"),  boxText("Text3"),
                             boxText("Text4"), boxText("Text5"),  boxText("Text6"),
                             boxText("Text9"), boxText("Text10"), boxText("Text13")};
    const StartResult run = RunStart(inputs, m_carried, m_decimalSeparator);
    if (run.end == RunEnd::MissingInput) {
        Messages::show(this, run.message);
        return;
    }

    // The results appear in the order the calculation made them; writing Text7 raises EditState.
    // Each box shows the beginning of its new text, as a text box does once its text is set.
    for (const BoxWrite& write : run.writes) {
        QLineEdit* box = m_boxes.value(write.box);
        box->setText(write.text);
        box->setCursorPosition(0);
    }
    m_carried = run.carried;
    if (run.end == RunEnd::ArithmeticFault) {
        Messages::show(this, run.message);
        return;
    }

    const QString path = DataFilePath(m_appDir);
    QString error;
    if (!WriteDataFile(path, run.alpha1, run.beta1, &error)) {
        Messages::show(this, QStringLiteral("Не удалось записать файл направления\n%1\n(%2).\n"
                                            "В нём остались данные прежнего расчёта.")
                                 .arg(path, error));
    }
}

void TORVEL::exitProgram() {
    if (m_exiting) return;
    m_exiting = true;
    // The other windows go at once, without waiting for the event loop.
    delete m_viewer;
    delete m_plot;
    hide();
    QCoreApplication::quit();
}

void TORVEL::closeEvent(QCloseEvent* event) {
    // Closing the main window by its title bar ends the program like EXIT.
    event->accept();
    exitProgram();
}

void TORVEL::showMain() {
    show();
    raise();
    activateWindow();
}

void TORVEL::showPlot() {
    if (!m_plot) m_plot = new FLIN1([this] { showMain(); });
    m_plot->show();
    m_plot->raise();
    m_plot->activateWindow();
}

void TORVEL::showViewer() {
    // A viewer that is still open keeps its place in the picture cycle.
    if (!m_viewer) {
        m_viewer = new FRIS123([this] { showMain(); });
    } else {
        m_viewer->show();
    }
    m_viewer->raise();
    m_viewer->activateWindow();
}

FLIN1* TORVEL::plotWindow() const {
    return m_plot;
}

FRIS123* TORVEL::viewerWindow() const {
    return m_viewer;
}
