#include "access/FileDialogFolderPanel.h"

#include <QApplication>
#include <QFileDialog>
#include <QPointer>

void FileDialogFolderPanel::chooseFolder(const Request& request, Answer answer)
{
    QWidget* window = QApplication::activeWindow();
    if (!window && !QApplication::topLevelWidgets().isEmpty())
        window = QApplication::topLevelWidgets().first()->window();
    auto* dialog = new QFileDialog(window, request.message, request.initialFolder);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOptions(QFileDialog::ShowDirsOnly | QFileDialog::ReadOnly); // ReadOnly: no "New Folder"
    dialog->setLabelText(QFileDialog::Accept, request.prompt);
    QObject::connect(dialog, &QFileDialog::finished, dialog, [dialog, answer](int result) {
        const QStringList chosen = dialog->selectedFiles();
        answer(result == QDialog::Accepted && !chosen.isEmpty() ? std::optional(chosen.first())
                                                                : std::nullopt);
    });
    if (window) {
        dialog->setWindowModality(Qt::WindowModal);
        dialog->open();
    } else {
        dialog->setWindowModality(Qt::ApplicationModal);
        dialog->exec();
    }
}
