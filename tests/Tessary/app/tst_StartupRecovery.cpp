#include "StoredJournal.h"
#include "TestFolder.h"
#include "app/StartupRecovery.h"
#include "platform/NonReplacingMover.h"

#include <QApplication>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <atomic>

using namespace Qt::StringLiterals;

// Moves for real, but only once the test has seen the progress dialog: recovery that ran on the main
// thread could never show it, and the move would find no permit.
class GatedMover final : public FileMover {
public:
    QSemaphore permits;
    std::atomic<QThread*> thread = nullptr;

    int move(const QString& source, const QString& destination) override
    {
        thread = QThread::currentThread();
        if (!permits.tryAcquire(1, 60'000))
            return EAGAIN;
        return real.move(source, destination);
    }

private:
    NonReplacingMover real;
};

// Plays the user: answers the question with `button` and notes what the progress dialog said.
class User : public QObject {
public:
    User(const QString& button, GatedMover& mover) : button(button), mover(mover)
    {
        connect(&timer, &QTimer::timeout, this, &User::look);
        timer.start(10);
    }

    QString progressLabel;

private:
    void look()
    {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->isVisible())
                continue;
            if (auto* question = qobject_cast<QMessageBox*>(window)) {
                for (QAbstractButton* candidate : question->buttons())
                    if (candidate->text() == button)
                        candidate->click();
            } else if (auto* progress = qobject_cast<QProgressDialog*>(window);
                       progress && progressLabel.isEmpty()) {
                progressLabel = progress->labelText();
                mover.permits.release(1000);
            }
        }
    }

    QString button;
    GatedMover& mover;
    QTimer timer;
};

class tst_StartupRecovery : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void interruptedRenameIsRecoveredOffTheMainThread_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("progressLabel");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("old names") << u"Restore Old Names"_s << u"Restoring the old names of 2 files…"_s
                                   << QStringList{u"a"_s, u"b"_s};
        QTest::newRow("new names") << u"Finish Rename"_s << u"Finishing the rename of 2 files…"_s
                                   << QStringList{u"c"_s, u"d"_s};
    }

    void interruptedRenameIsRecoveredOffTheMainThread()
    {
        QFETCH(QString, button);
        QFETCH(QString, progressLabel);
        QFETCH(QStringList, names);
        QTemporaryDir files, journal;
        TestFolder::create(files.path(), {u"a"_s, u"b"_s});
        const QString at = files.path() + u'/';
        QVERIFY(storedJournal(journal.path(),
                              {{u"a"_s, at + u"a"_s, at + u"c"_s}, {u"b"_s, at + u"b"_s, at + u"d"_s}}));
        QVERIFY(QFile::rename(at + u"a"_s, at + u"c"_s)); // stopped after the first move

        GatedMover mover;
        User user(button, mover);
        StartupRecovery::offer(journal.path(), nullptr, mover);

        QCOMPARE(user.progressLabel, progressLabel);
        QVERIFY(mover.thread != nullptr);
        QVERIFY(mover.thread != QThread::currentThread());
        QCOMPARE(TestFolder::contents(files.path()).keys(), names);
        QCOMPARE(RenameJournal::scan(journal.path()).incomplete.size(), 0);
    }

    void nothingInterruptedAsksNothing()
    {
        QTemporaryDir journal;
        GatedMover mover;
        User user(u"Restore Old Names"_s, mover);
        StartupRecovery::offer(journal.path(), nullptr, mover);
        QVERIFY(mover.thread == nullptr);
        QCOMPARE(user.progressLabel, QString());
    }
};

QTEST_MAIN(tst_StartupRecovery)
#include "tst_StartupRecovery.moc"
