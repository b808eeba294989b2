// SPDX-License-Identifier: GPL-3.0-or-later
#include "uifont.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QTimer>
#include <cstdio>

#include "appdir.h"
#include "messages.h"

namespace {

// The last but one face of each list is the one the layout is measured in; the last is a stand-in
// of other metrics for systems that have neither it nor the program's own copy.
#ifdef Q_OS_WIN
// Windows' own MS Sans Serif is a bitmap face of other metrics; Arial has Liberation Sans's.
const QStringList kSansSerif = {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                                QStringLiteral("DejaVu Sans")};
#else
const QStringList kSansSerif = {QStringLiteral("MS Sans Serif"),
                                QStringLiteral("Microsoft Sans Serif"),
                                QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
#endif
const QStringList kSerif = {QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                            QStringLiteral("DejaVu Serif")};
qsizetype layoutFacePosition(const QStringList& list) {
    return list.size() - 2;
}

// The installed faces by name. A face installed from more than one foundry is listed once for
// each, as "Face [Foundry]".
QStringList installedFaces() {
    QStringList installed = QFontDatabase::families();
    for (QString& name : installed) {
        const qsizetype bracket = name.indexOf(QLatin1String(" ["));
        if (bracket > 0) name.truncate(bracket);
    }
    return installed;
}

// The position of the first face of the list that is installed, or the list's length.
qsizetype firstInstalled(const QStringList& list, const QStringList& installed) {
    for (qsizetype i = 0; i < list.size(); ++i)
        if (installed.contains(list[i], Qt::CaseInsensitive)) return i;
    return list.size();
}

// Registers the Liberation files carried beside the executable, once for the whole program. Only
// a system that lacks a face gets here, so one that has them reads no font file at start-up.
void addCarriedFonts() {
    static bool added = false;
    if (added) return;
    added = true;
    const std::optional<QString> appDir = AppDir();
    if (!appDir) return;  // a folder name that cannot be read carries nothing usable
    const QDir folder(AppFilePath(*appDir, kCarriedFontFolder));
    for (const QString& file : kCarriedFontFiles) {
        if (folder.exists(file)) QFontDatabase::addApplicationFont(folder.filePath(file));
    }
}

// Says once, on standard error and in a message, that the windows' words cannot be drawn: no
// face of the list is there, the carried files are missing too, and no face the font system has
// writes Cyrillic, so every word would be a row of boxes. The message waits for the event loop, so
// that it comes in front of the windows.
void reportMissingFonts() {
    static bool reported = false;
    if (reported || !QFontDatabase::families(QFontDatabase::Cyrillic).isEmpty()) return;
    reported = true;
    const QString text = MissingFontsMessage();
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()),
                 text.toLocal8Bit().constData());
    std::fflush(stderr);
    QTimer::singleShot(0, QCoreApplication::instance(), [text] { Messages::show(nullptr, text); });
}

// The first face of the list that is installed, once the carried files stand in for a missing
// layout face. Asked for a list whose first faces are missing, the font system searches for
// stand-ins for each missing name (a slow search, repeated for every size and weight) before it
// takes the first installed face of the list all the same; asking for that face alone gives the
// same font without the search. Characters the face lacks still come from the font system's
// stand-ins. With none of them installed, the whole list stays and the font system chooses.
QStringList installedFace(const QStringList& list) {
    QStringList installed = installedFaces();
    qsizetype first = firstInstalled(list, installed);
    if (first > layoutFacePosition(list)) {
        addCarriedFonts();
        installed = installedFaces();
        first = firstInstalled(list, installed);
    }
    if (first < list.size()) return {list[first]};
    reportMissingFonts();
    return list;
}

// The faces to ask for, looked up once the application's font system is there. Fonts belong to
// the user-interface thread only.
const QStringList& faces(UiFace face) {
    static QStringList sansSerif, serif;
    const QStringList& all = face == UiFace::Serif ? kSerif : kSansSerif;
    QStringList& found = face == UiFace::Serif ? serif : sansSerif;
    if (found.isEmpty() && qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        found = installedFace(all);
    return found.isEmpty() ? all : found;
}

}  // namespace

QString MissingFontsMessage() {
    return QStringLiteral(
        "Не найдено ни одного шрифта с русскими буквами: надписи в окнах будут "
        "видны как квадраты. Установите шрифты Liberation (в Debian: пакет "
        "fonts-liberation).");
}

QFont UiFont(UiFace face, qreal pointSize, bool bold) {
    QFont font;
    font.setFamilies(faces(face));
    font.setStyleHint(face == UiFace::Serif ? QFont::Serif : QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
#ifdef Q_OS_WIN
    // Smoothed whatever the system's setting: with smoothing off (Wine's default, and many remote
    // desktop sessions) the hinted faces lose thin strokes at these sizes, the I of "EXIT" whole.
    font.setStyleStrategy(QFont::PreferAntialias);
#endif
    return font;
}
