#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// What the desktop does with a file: show it in the file manager, or preview it.
namespace DesktopIntegration {

// Asks the file manager, in one call, to show the items selected in their folders (the freedesktop
// FileManager1 service); without one, opens their folders. Returns at once.
void showInFileManager(const QStringList& paths);
// A preview window for images and text, closed with Space or Escape; other files open in their default
// application, and there is no window.
QWidget* preview(const QString& path, QWidget* parent);

} // namespace DesktopIntegration
