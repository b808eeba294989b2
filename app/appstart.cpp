// SPDX-License-Identifier: GPL-3.0-or-later
#include "appstart.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

void SetApplicationNameAndVersion() {
    // There is no organisation name, so the per-user data folder has no extra level.
    QCoreApplication::setApplicationName(QStringLiteral("torvel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TORVEL_VERSION));
}

namespace {

// The options Qt itself reads from the command line (Qt Core, Gui, Widgets and the X11, Windows
// and framebuffer platforms), which the application object consumes later. Each is written with
// one dash or two, and a value either follows as the next argument or after '='.
const QStringList& QtOptionsWithValue() {
    static const QStringList names{QStringLiteral("style"),
                                   QStringLiteral("stylesheet"),
                                   QStringLiteral("platform"),
                                   QStringLiteral("platformpluginpath"),
                                   QStringLiteral("platformtheme"),
                                   QStringLiteral("plugin"),
                                   QStringLiteral("qwindowgeometry"),
                                   QStringLiteral("qwindowicon"),
                                   QStringLiteral("qwindowtitle"),
                                   QStringLiteral("session"),
                                   QStringLiteral("display"),
                                   QStringLiteral("geometry"),
                                   QStringLiteral("title"),
                                   QStringLiteral("icon"),
                                   QStringLiteral("name"),
                                   QStringLiteral("visual")};
    return names;
}

// Qt's options that take no value, or a value only after '='.
const QStringList& QtOptionsAlone() {
    static const QStringList names{
        QStringLiteral("reverse"), QStringLiteral("widgetcount"), QStringLiteral("testability"),
        QStringLiteral("sync"),    QStringLiteral("nograb"),      QStringLiteral("dograb"),
        QStringLiteral("qdevel"),  QStringLiteral("qdebug"),      QStringLiteral("qmljsdebugger"),
        QStringLiteral("dialogs"), QStringLiteral("fontengine"),  QStringLiteral("hsync"),
        QStringLiteral("vsync")};
    return names;
}

QString HelpText() {
    const QString name = QCoreApplication::applicationName();
    return QStringLiteral(
               "Использование: %1 [параметры]\n"
               "RASCHET: азимут и угол места двух спутников, угол поворота второго конвертора,\n"
               "его смещение по высоте и расстояние между центрами конверторов для одной "
               "антенны.\n"
               "\n"
               "Параметры:\n"
               "  -h, --help     показать эту справку и выйти\n"
               "  -v, --version  показать название и версию программы и выйти\n"
               "\n"
               "Принимаются и общие параметры программ на Qt, например -platform ИМЯ,\n"
               "-style ИМЯ или -reverse.\n"
               "\n"
               "Поиск городов (Город…, Ctrl+F): GeoNames, CC BY 4.0.\n"
               "Список спутников (Спутник…): таблицы dtv-scan-tables, LGPL-2.1+.\n")
        .arg(name);
}

QString VersionText() {
    return QStringLiteral(
               "%1 %2\n"
               "Лицензия: GNU GPL версии 3 или более поздней <https://gnu.org/licenses/gpl.html>.\n"
               "Это свободная программа: её можно изменять и распространять.\n"
               "Никаких гарантий в пределах, допускаемых законом.\n")
        .arg(QCoreApplication::applicationName(), QCoreApplication::applicationVersion());
}

}  // namespace

std::optional<int> HandleCommandLine(const QStringList& arguments, QTextStream& out,
                                     QTextStream& err) {
    bool help = false;
    bool version = false;
    QString fault;
    for (qsizetype i = 1; i < arguments.size() && fault.isEmpty(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QStringLiteral("--")) {
            // The end of the options; the program opens no files, so nothing may follow.
            if (i + 1 < arguments.size())
                fault = QStringLiteral("лишний аргумент «%1»").arg(arguments.at(i + 1));
            break;
        }
        if (!argument.startsWith(u'-') || argument == QStringLiteral("-")) {
            // A word on its own would be a file to open, which the program has not.
            fault = QStringLiteral("лишний аргумент «%1»").arg(argument);
            break;
        }
        // Qt reads "-style" and "--style" alike; a value may follow after '='.
        const QString word = argument.mid(argument.startsWith(QStringLiteral("--")) ? 2 : 1);
        const qsizetype equals = word.indexOf(u'=');
        const QString option = equals < 0 ? word : word.left(equals);
        if (equals < 0 && (option == QStringLiteral("h") || option == QStringLiteral("help"))) {
            help = true;
        } else if (equals < 0 &&
                   (option == QStringLiteral("v") || option == QStringLiteral("version"))) {
            version = true;
        } else if (QtOptionsWithValue().contains(option)) {
            // The value is the next argument unless it came after '='; Qt's own reading takes it
            // from there later.
            if (equals < 0 && ++i == arguments.size())
                fault = QStringLiteral("параметру «%1» нужно значение").arg(argument);
        } else if (!QtOptionsAlone().contains(option)) {
            fault = QStringLiteral("неизвестный параметр «%1»").arg(argument);
        }
    }

    if (!fault.isEmpty()) {
        err << QCoreApplication::applicationName() << ": " << fault << '\n' << HelpText();
        err.flush();
        return 2;
    }
    if (help) {
        out << HelpText();
        return 0;
    }
    if (version) {
        out << VersionText();
        return 0;
    }
    return std::nullopt;
}

std::optional<QString> MissingDisplay(const QStringList& arguments,
                                      const QProcessEnvironment& environment) {
    // Qt's own options that choose where the windows go, as the command line holds them: the
    // value after '=' or as the next argument.
    QString platform = environment.value(QStringLiteral("QT_QPA_PLATFORM"));
    QString display = environment.value(QStringLiteral("DISPLAY"));
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QStringLiteral("--")) break;
        const QString word = argument.mid(argument.startsWith(QStringLiteral("--")) ? 2 : 1);
        const qsizetype equals = word.indexOf(u'=');
        const QString option = equals < 0 ? word : word.left(equals);
        if (option != QStringLiteral("platform") && option != QStringLiteral("display")) continue;
        const QString value = equals >= 0 ? word.mid(equals + 1) : arguments.value(++i);
        (option == QStringLiteral("platform") ? platform : display) = value;
    }
    if (!display.isEmpty()) return std::nullopt;

    if (platform.isEmpty()) {
        // Qt's default is the X server, but it looks for a Wayland compositor first in a Wayland
        // session.
        if (!environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty() ||
            environment.value(QStringLiteral("XDG_SESSION_TYPE")) == QStringLiteral("wayland"))
            return std::nullopt;
    } else {
        // A list of platforms to try in turn, each name with its own options after ':'.
        for (const QString& choice : platform.split(u';', Qt::SkipEmptyParts))
            if (choice.section(u':', 0, 0) != QStringLiteral("xcb")) return std::nullopt;
    }
    return QStringLiteral(
               "%1: нет дисплея (переменная DISPLAY не задана): запустите программу в сеансе "
               "рабочего стола, а из сценария без экрана — с QT_QPA_PLATFORM=offscreen")
        .arg(QCoreApplication::applicationName());
}

QIcon AppIcon() {
    // The build embeds one picture for each size, named after it.
    QIcon icon;
    const QDir folder(QStringLiteral(":/icons"));
    for (const QString& name : folder.entryList(QDir::Files)) {
        const int size = QFileInfo(name).baseName().toInt();
        icon.addFile(folder.filePath(name), QSize(size, size));
    }
    return icon;
}

void SetDesktopIdentity() {
    QGuiApplication::setDesktopFileName(QStringLiteral(TORVEL_APP_ID));
    QGuiApplication::setWindowIcon(AppIcon());
}
