#include "desktop/DesktopIntegration.h"

#include "common/FileNameParts.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QDialog>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QMimeDatabase>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShortcut>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace DesktopIntegration {
namespace {

constexpr qint64 previewedTextBytes = 1 << 20;

QWidget* previewContent(const QString& path, QWidget* parent)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    if (type.name().startsWith(u"image/"_s)) {
        QImageReader reader(path);
        reader.setAutoTransform(true);
        const QImage image = reader.read();
        if (image.isNull())
            return nullptr;
        auto* label = new QLabel(parent);
        const QSize room = parent->screen()->availableSize() * 0.7;
        label->setPixmap(
            QPixmap::fromImage(image.size().boundedTo(room) == image.size()
                                   ? image
                                   : image.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        return label;
    }
    if (type.inherits(u"text/plain"_s)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return nullptr;
        auto* text = new QPlainTextEdit(QString::fromUtf8(file.read(previewedTextBytes)), parent);
        text->setReadOnly(true);
        text->setMinimumSize(640, 480);
        return text;
    }
    return nullptr;
}

} // namespace

void showInFileManager(const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    QDBusMessage call =
        QDBusMessage::createMethodCall(u"org.freedesktop.FileManager1"_s, u"/org/freedesktop/FileManager1"_s,
                                       u"org.freedesktop.FileManager1"_s, u"ShowItems"_s);
    QStringList uris;
    for (const QString& path : paths)
        uris.append(QUrl::fromLocalFile(path).toString());
    call << uris << QString();
    // The file manager may take its time to start: the window does not wait for it.
    auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call, 5000));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [paths](QDBusPendingCallWatcher* done) {
                         done->deleteLater();
                         if (!done->isError())
                             return;
                         QStringList folders;
                         for (const QString& path : paths)
                             folders.append(FileNameParts::parentOf(path));
                         folders.removeDuplicates();
                         for (const QString& folder : folders)
                             QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
                     });
}

QWidget* preview(const QString& path, QWidget* parent)
{
    auto* window = new QDialog(parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(FileNameParts::nameOf(path));
    QWidget* content = previewContent(path, window);
    if (!content) {
        delete window;
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
        return nullptr;
    }
    // Space opened it from the file table; Space closes it again (Escape does, as in every dialog).
    QObject::connect(new QShortcut(QKeySequence(Qt::Key_Space), window), &QShortcut::activated, window,
                     &QDialog::close);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);
    window->show();
    return window;
}

} // namespace DesktopIntegration
