#include "datafile.h"

#include <QFile>
#include <QSaveFile>

#include "appdir.h"
#include "numbertext.h"

QString DataFilePath(const QString& appDir) { return AppFilePath(appDir, kDataFileName); }

QByteArray DataFileLine(double azimuth, std::optional<double> elevation) {
    QByteArray line = NumberTextBare(azimuth).toLatin1();
    line += ',';
    if (elevation) line += NumberTextBare(*elevation).toLatin1();
    line += "\r\n";
    return line;
}

bool WriteDataFile(const QString& path, double azimuth, std::optional<double> elevation,
                   QString* error) {
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
        while (position < content.size() && content[position] != ',' &&
               content[position] != '\r' && content[position] != '\n')
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
