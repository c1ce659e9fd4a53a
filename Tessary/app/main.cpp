#include "access/FileDialogFolderPanel.h"
#include "app/AppCatalogue.h"
#include "app/StartupRecovery.h"
#include "app/TessaryApp.h"
#include "desktop/SingleInstance.h"
#include "window/Icons.h"

#include <QApplication>
#include <cstdio>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

constexpr char usage[] = "Usage: Tessary [FILE | FOLDER]...\n"
                         "Lists the files in Tessary's window, or in the window already open.\n"
                         "  -h, --help  show this help\n"
                         "  --version   show the version\n";

} // namespace

int main(int argc, char* argv[])
{
    // Answered before anything connects to a display, so that they work without one.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::puts("Tessary " TESSARY_VERSION);
        return 0;
    }
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(usage, stdout);
        return 0;
    }
    QApplication application(argc, argv);
    QApplication::setOrganizationName(u"Tessary"_s);
    QApplication::setApplicationName(u"Tessary"_s);
    QApplication::setApplicationVersion(QStringLiteral(TESSARY_VERSION));
    QApplication::setDesktopFileName(u"org.tessary.Tessary"_s);
    QApplication::setWindowIcon(Icons::applicationIcon());
    const QStringList files = QApplication::arguments().mid(1); // Open With and the command line
    if (SingleInstance::handOver(files))
        return 0; // the running Tessary has them
    const QString translation = AppCatalogue::install();

    StartupRecovery::offer(RenameJournal::defaultFolder(), nullptr);

    QSettings preferences;
    FileDialogFolderPanel panel;
    TessaryApp::Places places;
    places.updateFeed = QUrl(QStringLiteral(TESSARY_UPDATE_FEED));
    TessaryApp app(preferences, panel, places, translation);
    app.window()->show();
    app.model()->addFiles(files);
    SingleInstance instance([&app](const QStringList& handed) {
        app.window()->show();
        app.window()->raise();
        app.window()->activateWindow();
        app.model()->addFiles(handed);
    });
    instance.serve();
    return QApplication::exec();
}
