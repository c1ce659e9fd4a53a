#include "ScriptedFolderPanel.h"
#include "TestFolder.h"
#include "model/TessaryFileTableModel.h"
#include "model/TessaryModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The table's rows through a whole workflow, checked by Qt's own model tester at every signal.
class tst_TessaryFileTableModel : public QObject {
    Q_OBJECT

    QTemporaryDir root;
    std::unique_ptr<QSettings> preferences;
    ScriptedFolderPanel panel;
    std::unique_ptr<FolderAccessManager> access;
    std::unique_ptr<TessaryModel> model;
    std::unique_ptr<TessaryFileTableModel> rows;

    bool waitIdle()
    {
        return QTest::qWaitFor([this] { return !model->isUpdating() && model->loadingCount() == 0; }, 20'000);
    }

private Q_SLOTS:
    void init()
    {
        rows.reset(); // the last case's, before what they refer to; the preferences are saved last
        model.reset();
        access.reset();
        preferences.reset();
        QFile::remove(root.filePath(u"preferences.ini"_s)); // each case starts from the default rules
        preferences = std::make_unique<QSettings>(root.filePath(u"preferences.ini"_s), QSettings::IniFormat);
        access = std::make_unique<FolderAccessManager>(*preferences, panel, false);
        model = std::make_unique<TessaryModel>(*preferences,
                                               JSEngineClient(QStringLiteral(TESSARY_JSENGINE_PATH)), *access,
                                               root.filePath(u"journal"_s));
        rows = std::make_unique<TessaryFileTableModel>(model->files());
    }

    void followsTheWorkflow_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("a few files: changes row by row") << 5;
        QTest::newRow("many files: changes as a layout") << 300;
    }
    void followsTheWorkflow()
    {
        QFETCH(int, count);
        const QAbstractItemModelTester tester(rows.get(),
                                              QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QString folder = root.filePath(u"files-%1"_s.arg(count));
        QStringList names, paths;
        for (int i = 0; i < count; ++i) {
            names.append(u"f%1.txt"_s.arg(i));
            paths.append(folder + u'/' + names.last());
        }
        TestFolder::create(folder, names);
        model->addFiles(paths);
        QVERIFY(waitIdle());
        QCOMPARE(rows->rowCount(), count);

        const QModelIndex first = rows->index(0, 0);
        QVERIFY(rows->hasChildren(first));
        rows->fetchMore(first); // as a view does when it expands the file
        QVERIFY(!rows->canFetchMore(first));
        const int fields = rows->rowCount(first);
        QVERIFY(fields > 0);

        QSignalSpy layout(rows.get(), &QAbstractItemModel::layoutChanged);
        model->setResultPattern(u"{filename}-new"_s); // every name changes in one plan
        QVERIFY(waitIdle());
        QCOMPARE(layout.isEmpty(), count < 256);
        model->setScript(u"console.log('a'); console.log('b');"_s);
        QVERIFY(waitIdle());
        QCOMPARE(rows->rowCount(first), fields + 2);
        QCOMPARE(rows->row(rows->index(fields + 1, 1, first)).result, u"b"_s);

        rows->sort(TessaryFileTableModel::OriginalColumn, Qt::DescendingOrder);
        QCOMPARE(rows->row(rows->index(0, 0)).original, names.size() > 10 ? u"f299.txt"_s : u"f4.txt"_s);
        QCOMPARE(rows->parent(rows->index(0, 0, rows->index(count - 1, 0))), rows->index(count - 1, 0));

        model->removeFiles({paths.first(), paths.last()});
        QCOMPARE(rows->rowCount(), count - 2);
        model->startOver();
        QCOMPARE(rows->rowCount(), 0);
    }

    // The same name in two folders: the table shows the files in the order the plan numbered them.
    void originalOrderIsThePlansNumbering_data()
    {
        QTest::addColumn<bool>("reversed");
        QTest::addColumn<int>("order");
        QTest::addColumn<QStringList>("shown"); // the files' paths in the folder, top to bottom
        QTest::addColumn<QStringList>("results");

        const QStringList numbered{u"1.txt"_s, u"2.txt"_s, u"3.txt"_s};
        QTest::newRow("ascending") << false << int(Qt::AscendingOrder)
                                   << QStringList{u"x/a.txt"_s, u"y/a.txt"_s, u"x/b.txt"_s} << numbered;
        QTest::newRow("descending, as the header asks")
            << true << int(Qt::DescendingOrder) << QStringList{u"x/b.txt"_s, u"x/a.txt"_s, u"y/a.txt"_s}
            << numbered;
        QTest::newRow("descending before the plan follows")
            << false << int(Qt::DescendingOrder) << QStringList{u"x/b.txt"_s, u"y/a.txt"_s, u"x/a.txt"_s}
            << QStringList{u"3.txt"_s, u"2.txt"_s, u"1.txt"_s};
    }
    void originalOrderIsThePlansNumbering()
    {
        QFETCH(bool, reversed);
        QFETCH(int, order);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, results);
        const QString folder = root.filePath(u"same-names"_s);
        const QStringList names{u"y/a.txt"_s, u"x/b.txt"_s, u"x/a.txt"_s};
        TestFolder::create(folder, names);
        QStringList paths;
        for (const QString& name : names)
            paths.append(folder + u'/' + name);
        model->setResultPattern(u"{row}"_s);
        model->setSortReversed(reversed);
        model->addFiles(paths);
        QVERIFY(waitIdle());
        rows->sort(TessaryFileTableModel::OriginalColumn, Qt::SortOrder(order));
        QStringList shownPaths, shownResults;
        for (int row = 0; row < rows->rowCount(); ++row) {
            const QModelIndex index = rows->index(row, 0);
            shownPaths.append(QDir(folder).relativeFilePath(model->files()->at(rows->fileIndex(index)).path));
            shownResults.append(rows->row(index).result);
        }
        QCOMPARE(shownPaths, shown);
        QCOMPARE(shownResults, results);
    }
};

QTEST_MAIN(tst_TessaryFileTableModel)
#include "tst_TessaryFileTableModel.moc"
