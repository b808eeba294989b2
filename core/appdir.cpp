// SPDX-License-Identifier: GPL-3.0-or-later
#include "appdir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "webstorage.h"

#ifdef Q_OS_LINUX
#include <limits.h>
#include <unistd.h>
#endif

QString AppDirFrom(const QString& reportedPath) {
    QString dir = reportedPath;
    if (dir.endsWith(u'\\') || dir.endsWith(u'/')) dir.chop(1);
    return dir;
}

std::optional<QString> AppDirFromBytes(const QByteArray& reportedPath) {
    // No path at all is no directory either, not the root.
    if (reportedPath.isEmpty()) return std::nullopt;
    const QString text = QFile::decodeName(reportedPath);
    if (QFile::encodeName(text) != reportedPath) return std::nullopt;
    return AppDirFrom(QDir::toNativeSeparators(text));
}

QByteArray AppDirBytes() {
#ifdef Q_OS_LINUX
    // The link's target as the kernel holds it, whatever the bytes: Qt's own answer is text, and
    // a name that is not valid UTF-8 comes out of it as some other path, or none. When the
    // executable has been replaced while the program runs, the kernel adds " (deleted)" to the
    // file's name; its directory is still the one it was started from.
    char target[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", target, sizeof target);
    if (length > 0 && length < ssize_t(sizeof target) && target[0] == '/') {
        const QByteArray file(target, qsizetype(length));
        const qsizetype slash = file.lastIndexOf('/');
        return slash == 0 ? QByteArray("/") : file.left(slash);
    }
#endif
#ifdef Q_OS_WASM
    // The browser's program has no file of its own: its files are where the page put them.
    return QFile::encodeName(WebStorage::kWebAppDir);
#else
    return QFile::encodeName(QCoreApplication::applicationDirPath());
#endif
}

std::optional<QString> AppDir() {
#ifdef Q_OS_WIN
    // Windows reports the path as UTF-16, which holds a folder named in any script; turned into
    // the ANSI code page's bytes it would lose every letter outside that code page.
    const QString path = QCoreApplication::applicationDirPath();
    if (path.isEmpty()) return std::nullopt;
    return AppDirFrom(QDir::toNativeSeparators(path));
#else
    return AppDirFromBytes(AppDirBytes());
#endif
}

QString UnusableAppDirMessage() {
    // The path is shown as near as text can: each byte that is not part of a letter becomes a
    // replacement mark.
    return QStringLiteral(
               "Путь к папке программы\n%1\nсодержит байты, которые не складываются в буквы, "
               "и по нему программа не может найти свои файлы. Она не читает и не записывает "
               "файлы в этой папке. Переместите программу в папку с обычным именем.")
        .arg(QString::fromUtf8(AppDirBytes()));
}

QString AppFilePath(const QString& appDir, const QString& fileName) {
    return appDir + QDir::separator() + fileName;
}
