#include "appdir.h"

#include <QCoreApplication>
#include <QDir>

QString AppDirFrom(const QString& reportedPath) {
    QString dir = reportedPath;
    if (dir.endsWith(u'\\') || dir.endsWith(u'/')) dir.chop(1);
    return dir;
}

QString AppDir() {
    return AppDirFrom(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
}

QString AppFilePath(const QString& appDir, const QString& fileName) {
    return appDir + QDir::separator() + fileName;
}
