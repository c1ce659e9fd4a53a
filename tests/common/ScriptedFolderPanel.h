#pragma once

#include "access/FolderPanel.h"

#include <QList>
#include <QTimer>

// A folder panel that answers by itself, from a list of answers given in advance (a folder, or nothing
// for Cancel), later on the event loop as the real one does. It records what it was asked.
class ScriptedFolderPanel : public FolderPanel {
public:
    QList<std::optional<QString>> answers;
    QList<Request> requests;

    void chooseFolder(const Request& request, Answer answer) override
    {
        requests.append(request);
        const std::optional<QString> chosen = answers.isEmpty() ? std::nullopt : answers.takeFirst();
        QTimer::singleShot(0, [answer = std::move(answer), chosen] { answer(chosen); });
    }
};
