// SPDX-License-Identifier: GPL-3.0-or-later
#include "datafile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include "appdir.h"
#include "inputcheck.h"
#include "leadingnumber.h"
#include "numbertext.h"
#include "webstorage.h"

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace {

// When a file was written, as the plot's note says it.
constexpr const char* kTimeFormat = "dd.MM.yyyy hh:mm";

QString UnusableFolderMessage(const QByteArray& path, const char* source) {
    // The path is shown as near as text can: each byte that is not part of a letter becomes a
    // replacement mark.
    return QStringLiteral(
               "Путь к папке данных пользователя\n%1\n(%2) содержит байты, которые не "
               "складываются в буквы, и по нему программа не может записать файл "
               "направления. Она не записывает и не читает его ни там, ни в другом "
               "месте. Укажите папку с обычным именем.")
        .arg(QString::fromUtf8(path), QString::fromUtf8(source));
}

// What keeps the fields from being the numbers the calculation wrote; empty when nothing does.
QString dataFileDamage(const QByteArray& content, const QString& azimuth,
                       const QString& elevation) {
    if (content.startsWith("\xef\xbb\xbf"))
        return QStringLiteral(
            "он начинается с метки порядка байтов (BOM), которую ставит "
            "текстовый редактор");
    if (content.startsWith("\xff\xfe") || content.startsWith("\xfe\xff") || content.contains('\0'))
        return QStringLiteral(
            "в нём нулевые байты: он записан в кодировке UTF-16 или это не "
            "текстовый файл");
    const NumberReading first = ReadNumber(azimuth), second = ReadNumber(elevation);
    if (first.extent == NumberExtent::Blank) return QStringLiteral("первое поле (азимут) пусто");
    if (first.extent != NumberExtent::Whole || first.blankInside)
        return QStringLiteral("первое поле (азимут) %1 — не одно число").arg(QuotedText(azimuth));
    // The elevation is empty where the calculation could not compute it.
    if ((second.extent != NumberExtent::Whole && second.extent != NumberExtent::Blank) ||
        second.blankInside)
        return QStringLiteral("второе поле (угол места) %1 — не одно число")
            .arg(QuotedText(elevation));
    return QString();
}

}  // namespace

UserDataFolder DataHomeFrom(const QByteArray& xdgDataHome, const QByteArray& home,
                            const QByteArray& accountHome) {
    QByteArray base, suffix;
    const char* source;
    if (xdgDataHome.startsWith('/')) {
        base = xdgDataHome;
        source = "переменная окружения XDG_DATA_HOME";
    } else if (home.startsWith('/')) {
        base = home;
        suffix = "/.local/share";
        source = "переменная окружения HOME";
    } else if (accountHome.startsWith('/')) {
        base = accountHome;
        suffix = "/.local/share";
        source = "домашняя папка учётной записи";
    } else {
        return {};
    }
    const QString text = QFile::decodeName(base);
    if (QFile::encodeName(text) != base) return {QString(), UnusableFolderMessage(base, source)};
    return {QDir::cleanPath(text + QFile::decodeName(suffix)), QString()};
}

UserDataFolder UserDataDirectory() {
#ifdef Q_OS_UNIX
    // The account's home only when HOME cannot be used: the password database may be a slow
    // network service.
    const QByteArray home = qgetenv("HOME");
    QByteArray accountHome;
    if (!home.startsWith('/')) {
        if (const passwd* account = ::getpwuid(::getuid()); account && account->pw_dir)
            accountHome = account->pw_dir;
    }
    UserDataFolder folder = DataHomeFrom(qgetenv("XDG_DATA_HOME"), home, accountHome);
    if (!folder.path.isEmpty()) folder.path += u'/' + QCoreApplication::applicationName();
    return folder;
#else
    // Windows: %LOCALAPPDATA%\torvel, the user's own folder on this machine (the roaming one
    // would carry the file to other machines, where it means nothing).
    return {QDir::toNativeSeparators(
                QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)),
            QString()};
#endif
}

bool DirectoryWritable(const QString& dir) {
    // A unique name, so that two windows or two copies of the program never share a probe; the
    // probe is removed when it goes out of scope.
    QTemporaryFile probe(AppFilePath(dir, QStringLiteral(".rlin1-probe-XXXXXX")));
    return probe.open();
}

DataFilePlace DataFilePlaceFor(const QString& appDir, bool systemInstall, bool appDirWritable,
                               const UserDataFolder& userData) {
    const QString beside = AppFilePath(appDir, kDataFileName);
    const QString inUserFolder =
        userData.path.isEmpty() ? QString() : AppFilePath(userData.path, kDataFileName);
    DataFilePlace place;
    if (!systemInstall && appDirWritable) {
        place.path = beside;
        place.otherPath = inUserFolder;
    } else if (!userData.problem.isEmpty()) {
        place.problem = userData.problem;
    } else if (userData.path.isEmpty()) {
        place.path = beside;
    } else {
        place.path = inUserFolder;
        if (!systemInstall) {
            place.otherPath = beside;
            place.movedNote = QStringLiteral(
                                  "Папка программы\n%1\nне принимает новых файлов, "
                                  "поэтому файл направления хранится в папке\n%2")
                                  .arg(appDir, userData.path);
        }
    }
    return place;
}

DataFilePlace DecideDataFilePlace(const QString& appDir) {
    const bool systemInstall = QFileInfo::exists(AppFilePath(appDir, kSystemInstallMarker));
    const bool writable = !systemInstall && DirectoryWritable(appDir);
    DataFilePlace place = DataFilePlaceFor(appDir, systemInstall, writable, UserDataDirectory());
    // A browser that keeps no files for the page: the file lasts as long as the page, and the
    // first START that writes it says so.
    if (const QString problem = WebStorage::StartProblem();
        !problem.isEmpty() && !place.path.isEmpty())
        place.movedNote = WebStorage::UnavailableNote(place.path, problem);
    return place;
}

QString NewerDataFileNote(const DataFilePlace& place) {
    if (place.otherPath.isEmpty()) return QString();
    const QFileInfo other(place.otherPath), own(place.path);
    if (!other.isFile()) return QString();
    const QDateTime written = other.lastModified();
    // A file written in the same second, on a file system that keeps whole seconds, is not newer.
    if (own.isFile() && written <= own.lastModified()) return QString();
    return QStringLiteral(
               "Более новый файл направления (записан %1) лежит в другом месте:\n%2\n"
               "Его оставил прежний запуск программы. Этот запуск читает и "
               "записывает\n%3\nЧтобы рисунок показал текущий расчёт, нажмите START "
               "в окне RASCHET.")
        .arg(written.toString(QLatin1String(kTimeFormat)), place.otherPath, place.path);
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
    if (replacement.replaced) WebStorage::Save(path);
    return replacement.replaced;
}

QString DataFileWriteMessage(const QString& path, const Replacement& failure) {
    QString text =
        QStringLiteral("Не удалось записать файл направления\n%1\n(%2).").arg(path, failure.reason);
    // Whatever the old file held (it need not be an earlier result), it is as it was.
    if (failure.oldFileKept) text += QStringLiteral("\nПрежний файл с этим именем не изменён.");
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
    return DataFileFields{*azimuth, *elevation, dataFileDamage(content, *azimuth, *elevation)};
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
