// SPDX-License-Identifier: GPL-3.0-or-later
#include "datafile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include "appdir.h"
#include "numbertext.h"

QString DataFileFolder(const QString& appDir, bool systemInstall, bool appDirWritable,
                       const QString& userDataDir) {
    const bool besideProgram = !systemInstall && appDirWritable;
    return besideProgram || userDataDir.isEmpty() ? appDir : userDataDir;
}

bool DirectoryWritable(const QString& dir) {
    // A unique name, so that two windows or two copies of the program never share a probe; the
    // probe is removed when it goes out of scope.
    QTemporaryFile probe(AppFilePath(dir, QStringLiteral(".rlin1-probe-XXXXXX")));
    return probe.open();
}

QString UserDataDirectory() {
    return QDir::toNativeSeparators(
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

QString DecideDataFilePath(const QString& appDir) {
    const bool systemInstall = QFileInfo::exists(AppFilePath(appDir, kSystemInstallMarker));
    const bool writable = !systemInstall && DirectoryWritable(appDir);
    return AppFilePath(DataFileFolder(appDir, systemInstall, writable, UserDataDirectory()),
                       kDataFileName);
}

QByteArray DataFileLine(double azimuth, std::optional<double> elevation) {
    QByteArray line = NumberTextBare(azimuth).toLatin1();
    line += ',';
    if (elevation) line += NumberTextBare(*elevation).toLatin1();
    line += "\r\n";
    return line;
}

bool WriteDataFile(const QString& path, double azimuth, std::optional<double> elevation,
                   QString* message, const ReplaceCalls& calls) {
    if (path.isEmpty()) {
        if (message) *message = UnusableAppDirMessage();
        return false;
    }
    const Replacement replacement = ReplaceFile(path, DataFileLine(azimuth, elevation), calls);
    if (!replacement.replaced && message) *message = DataFileWriteMessage(path, replacement);
    return replacement.replaced;
}

QString DataFileWriteMessage(const QString& path, const Replacement& failure) {
    QString text =
        QStringLiteral("Не удалось записать файл направления\n%1\n(%2).").arg(path, failure.reason);
    if (failure.oldFileKept) text += QStringLiteral("\nВ нём остались данные прежнего расчёта.");
    return text;
}

std::optional<DataFileFields> ParseDataFile(const QByteArray& content) {
    qsizetype position = 0;
    // One field: up to a comma or a line end, which is consumed with it. A field cannot start
    // at the end of the content.
    auto nextField = [&]() -> std::optional<QString> {
        if (position >= content.size()) return std::nullopt;
        const qsizetype start = position;
        while (position < content.size() && content[position] != ',' && content[position] != '\r' &&
               content[position] != '\n')
            ++position;
        const QString field = QString::fromLatin1(content.mid(start, position - start));
        if (position < content.size()) {
            if (content[position] == '\r' && position + 1 < content.size() &&
                content[position + 1] == '\n')
                ++position;
            ++position;
        }
        return field;
    };
    const auto azimuth = nextField();
    if (!azimuth) return std::nullopt;
    const auto elevation = nextField();
    if (!elevation) return std::nullopt;
    return DataFileFields{*azimuth, *elevation};
}

std::optional<DataFileFields> ReadDataFile(const QString& path, QString* reason) {
    // Two short fields are all the file has to give; a stray huge file is not read whole.
    const FileRead read = ReadRegularFile(path, 64 * 1024);
    if (read.problem != ReadProblem::None) {
        if (reason) *reason = read.reason;
        return std::nullopt;
    }
    auto fields = ParseDataFile(read.content);
    if (!fields && reason) *reason = QStringLiteral("в файле нет двух полей: азимута и угла места");
    return fields;
}
