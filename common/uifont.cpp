#include "uifont.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>

namespace {

const QStringList kSansSerif = {QStringLiteral("MS Sans Serif"),
                                QStringLiteral("Microsoft Sans Serif"),
                                QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
const QStringList kSerif = {QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                            QStringLiteral("DejaVu Serif")};

// The first face of the list that is installed. Asked for a list whose first faces are missing,
// the font system searches for stand-ins for each missing name (a slow search, repeated for
// every size and weight) before it takes the first installed face of the list all the same;
// asking for that face alone gives the same font without the search. Characters the face lacks
// still come from the font system's stand-ins. With none of them installed, the whole list stays
// and the font system chooses.
QStringList installedFace(const QStringList& list) {
    // A face installed from more than one foundry is listed once for each, as "Face [Foundry]".
    QStringList installed = QFontDatabase::families();
    for (QString& name : installed) {
        const qsizetype bracket = name.indexOf(QLatin1String(" ["));
        if (bracket > 0) name.truncate(bracket);
    }
    for (const QString& face : list)
        if (installed.contains(face, Qt::CaseInsensitive)) return {face};
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

QFont UiFont(UiFace face, qreal pointSize, bool bold) {
    QFont font;
    font.setFamilies(faces(face));
    font.setStyleHint(face == UiFace::Serif ? QFont::Serif : QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}
