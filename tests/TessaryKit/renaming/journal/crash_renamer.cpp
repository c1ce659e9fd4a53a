// Renames RenameMixes::mixed() in the folder given through the journal, and is killed with SIGKILL just
// before its move number k+1: a crash at any point of a rename, made to order.
#include "RenameMixes.h"
#include "platform/NonReplacingMover.h"
#include "renaming/journal/JournaledRename.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

class DyingMover final : public FileMover {
public:
    explicit DyingMover(int movesBeforeDeath) : movesLeft(movesBeforeDeath) {}
    int move(const QString& source, const QString& destination) override
    {
        if (movesLeft-- == 0)
            ::kill(::getpid(), SIGKILL);
        return real.move(source, destination);
    }

private:
    int movesLeft;
    NonReplacingMover real;
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    if (argc != 4)
        return 2;
    DyingMover mover(QString::fromLocal8Bit(argv[3]).toInt());
    QString error;
    const auto outcome =
        JournaledRename::rename(RenameMixes::renameMix(QString::fromLocal8Bit(argv[1])), std::nullopt,
                                QString::fromLocal8Bit(argv[2]), &error, mover);
    if (!outcome)
        std::fprintf(stderr, "%s\n", qPrintable(error));
    return outcome && outcome->failures.isEmpty() ? 0 : 1;
}
