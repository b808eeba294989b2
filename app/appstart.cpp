// SPDX-License-Identifier: GPL-3.0-or-later
#include "appstart.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

void SetApplicationNameAndVersion() {
    // There is no organisation name, so the per-user data folder has no extra level.
    QCoreApplication::setApplicationName(QStringLiteral("torvel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TORVEL_VERSION));
}

std::optional<int> HandleCommandLine(const QStringList& arguments, QTextStream& out) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("RASCHET: both satellites' azimuth and elevation and the second feed's "
                       "rotation angle, elevation shift and centre distance for one dish."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help and exits."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Displays the version and exits."));
    parser.addOption(help);
    parser.addOption(version);
    // Qt's own options are single-dash words ("-reverse", "-style"): read as words, never as
    // runs of one-letter options, so that none of them is taken for -v or -h.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    // Unknown options only make parse() report an error; they are Qt's and stay unused here.
    parser.parse(arguments);

    if (parser.isSet(help)) {
        // The usage line names the command as it is installed, however it was started; without
        // an application object the parser could not name it at all.
        QString text = parser.helpText();
        text.replace(
            0, text.indexOf(u'\n'),
            QStringLiteral("Usage: %1 [options]").arg(QCoreApplication::applicationName()));
        out << text;
        return 0;
    }
    if (parser.isSet(version)) {
        out << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion()
            << '\n';
        return 0;
    }
    return std::nullopt;
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
