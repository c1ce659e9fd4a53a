#pragma once

#include <QString>

class QWidget;

// At start-up, before the window takes work: a rename that was interrupted (a crash, a power cut) is
// offered for recovery, every file back to its old name or on to its new one.
namespace StartupRecovery {

void offer(const QString& journalFolder, QWidget* parent);

} // namespace StartupRecovery
