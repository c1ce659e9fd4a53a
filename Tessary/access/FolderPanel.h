#pragma once

#include <QString>
#include <functional>
#include <optional>

// Asks the user to choose one folder. The application shows a file dialog; tests answer themselves.
class FolderPanel {
public:
    struct Request {
        QString message;
        QString prompt; // the confirming button
        QString initialFolder;
    };
    using Answer = std::function<void(std::optional<QString> chosenFolder)>; // nothing when cancelled

    virtual ~FolderPanel() = default;
    // Returns at once; `answer` is called later, on the main thread.
    virtual void chooseFolder(const Request& request, Answer answer) = 0;
};
