#pragma once

#include <QString>

class FileMover;
class QWidget;

// At start-up, before the window takes work: a rename that was interrupted (a crash, a power cut) is
// offered for recovery, every file back to its old name or on to its new one. Reading the journal and
// moving the files happen off the main thread, behind a progress dialog, so the desktop never sees the
// program hang.
namespace StartupRecovery {

void offer(const QString& journalFolder, QWidget* parent);
void offer(const QString& journalFolder, QWidget* parent, FileMover& mover);

} // namespace StartupRecovery
