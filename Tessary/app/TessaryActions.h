#pragma once

#include <functional>

// The workflow commands a main window offers to the menus; an absent one does nothing.
struct TessaryActions {
    std::function<void()> addFiles;
    std::function<void()> addFolderContents;
    std::function<void()> startOver;
    std::function<void()> rename;
    std::function<void()> showHistory;
};
