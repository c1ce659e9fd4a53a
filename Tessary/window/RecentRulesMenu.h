#pragma once

#include "storage/RenameHistoryStore.h"

#include <QMenu>

class TessaryModel;

// The Recent menu: one entry per past rename, newest first, titled with its pattern and, below, which of
// the other rules it holds. Choosing one puts its rules into the model. It follows the store's changes.
class RecentRulesMenu : public QMenu {
    Q_OBJECT

public:
    RecentRulesMenu(RenameHistoryStore* history, TessaryModel* model, QWidget* parent = nullptr);

    // "Regex and JavaScript", "Regex, by Date Taken", … : the rules besides the pattern that differ from
    // the defaults, as a list in the user's language.
    static QString otherRules(const RenameHistory& entry);

private:
    void rebuild();

    RenameHistoryStore* history;
    TessaryModel* model;
};
