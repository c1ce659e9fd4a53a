#pragma once

#include "access/FolderPanel.h"

// The folder panel of the application: a folder dialog attached to the active window as a sheet, or an
// application-modal dialog when no window is open.
class FileDialogFolderPanel : public FolderPanel {
public:
    void chooseFolder(const Request& request, Answer answer) override;
};
