#pragma once

#include <QString>

class QWidget;

// What the desktop does with a file: show it in the file manager, or preview it.
namespace DesktopIntegration {

// Asks the file manager to show the item selected in its folder (the freedesktop FileManager1 service);
// without one, opens the folder.
void showInFileManager(const QString& path);
// A preview window for images and text; other files open in their default application.
void preview(const QString& path, QWidget* parent);

} // namespace DesktopIntegration
