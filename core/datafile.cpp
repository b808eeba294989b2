#include "datafile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
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
                   QString* error) {
    // The user's data directory does not exist before the first write.
    const QDir folder = QFileInfo(path).dir();
    if (!folder.exists() && !folder.mkpath(QStringLiteral("."))) {
        if (error) *error = QStringLiteral("cannot create the folder %1").arg(folder.path());
        return false;
    }
    QSaveFile file(path);
    const QByteArray line = DataFileLine(azimuth, elevation);
    if (!file.open(QIODevice::WriteOnly) || file.write(line) != line.size() || !file.commit()) {
        if (error) *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
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

std::optional<DataFileFields> ReadDataFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    // Two short fields are all the file has to give; a stray huge file is not read whole.
    const QByteArray content = file.read(64 * 1024);
    file.close();
    return ParseDataFile(content);
}
