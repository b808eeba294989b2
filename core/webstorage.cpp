// SPDX-License-Identifier: GPL-3.0-or-later
#include "webstorage.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>

#include <QDir>
#include <cstdlib>
#endif

namespace WebStorage {

namespace {
std::function<void(const QString&)>& failureHandler() {
    static std::function<void(const QString&)> handler;
    return handler;
}
}  // namespace

void SetFailureHandler(std::function<void(const QString& text)> handler) {
    failureHandler() = std::move(handler);
}

QString UnavailableNote(const QString& path, const QString& reason) {
    return QStringLiteral(
               "Браузер не даёт странице хранить файлы (%1). Файл направления\n%2\n"
               "записан только до закрытия страницы.")
        .arg(reason, path);
}

QString SaveFailedMessage(const QString& path, const QString& reason) {
    return QStringLiteral(
               "Браузер не сохранил файл направления\n%1\nв своём хранилище (%2). "
               "После перезагрузки страницы его там не будет.")
        .arg(path, reason);
}

#ifdef __EMSCRIPTEN__

QString StartProblem() {
    // A 32-bit address: the browser build's memory is 32-bit. (The unused argument keeps the
    // macro within standard C++.)
    char* problem = reinterpret_cast<char*>(EM_ASM_INT(
        {
            const problem = Module['torvelStorageProblem'];
            return problem ? allocateUTF8(String(problem)) : 0;
        },
        0));
    if (!problem) return QString();
    const QString text = QString::fromUtf8(problem);
    std::free(problem);
    return text.isEmpty() ? QStringLiteral("хранилище недоступно") : text;
}

QString& savedPath() {
    static QString path;
    return path;
}

void Save(const QString& path) {
    // The page's saving function answers through torvel_storage_saved when the browser is done.
    if (!path.isEmpty()) savedPath() = path;
    EM_ASM({ Module['torvelSaveStorage'](); }, 0);
}

// A link to a copy of the bytes, clicked once; the copy is let go a little later, when the
// browser has taken the file.
EM_JS(void, torvel_offer_download,
      (const char* data, int size, const char* fileName, const char* mimeType), {
          const options = new Object();
          options.type = UTF8ToString(mimeType);
          const blob = new Blob([HEAPU8.slice(data, data + size)], options);
          const url = URL.createObjectURL(blob);
          const link = document.createElement('a');
          link.href = url;
          link.download = UTF8ToString(fileName);
          link.style.display = 'none';
          document.body.appendChild(link);
          link.click();
          document.body.removeChild(link);
          setTimeout(URL.revokeObjectURL.bind(URL, url), 60000);
      });

void OfferDownload(const QByteArray& content, const QString& fileName, const QString& mimeType) {
    torvel_offer_download(content.constData(), int(content.size()), fileName.toUtf8().constData(),
                          mimeType.toUtf8().constData());
}

#else

QString StartProblem() {
    return QString();
}

void Save(const QString&) {}

void OfferDownload(const QByteArray&, const QString&, const QString&) {}

#endif

}  // namespace WebStorage

#ifdef __EMSCRIPTEN__
// Called by the page once the browser has saved the data folder, or failed to: the failure is
// said once in the run, with the browser's reason.
extern "C" EMSCRIPTEN_KEEPALIVE void torvel_storage_saved(const char* error) {
    static bool reported = false;
    if (!error || !*error || reported) return;
    reported = true;
    if (WebStorage::failureHandler())
        WebStorage::failureHandler()(
            WebStorage::SaveFailedMessage(WebStorage::savedPath(), QString::fromUtf8(error)));
}
#endif
