#pragma once

#include "access/FolderPanel.h"

// What the application's benchmarks share: outside a sandbox no folder panel is ever shown.
class CancellingPanel : public FolderPanel {
public:
    void chooseFolder(const Request&, Answer answer) override { answer(std::nullopt); }
};
