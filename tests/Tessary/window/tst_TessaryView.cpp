#include "ScriptedFolderPanel.h"
#include "TestFolder.h"
#include "app/AppCatalogue.h"
#include "app/TessaryApp.h"
#include "app/TessaryCommands.h"
#include "editor/FindBar.h"
#include "editor/SyntaxHighlightEditor.h"
#include "window/FieldBrowser.h"
#include "window/FileResultDelegate.h"
#include "window/HelpWindow.h"
#include "window/RecentRulesMenu.h"
#include "window/RenameHistoryWindow.h"
#include "window/TessaryFileTableView.h"
#include "window/TessaryRulesForm.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QToolTip>
#include <QTranslator>
#include <QTreeView>
#include <QWidgetAction>

using namespace Qt::StringLiterals;
using TestFolder::contents;
using TestFolder::create;

class tst_TessaryView : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> root;
    std::unique_ptr<QSettings> preferences;
    ScriptedFolderPanel panel;
    std::unique_ptr<TessaryApp> app;
    QString files;

    TessaryView* view() { return app->window(); }
    TessaryModel* model() { return app->model(); }

    void start(const QString& translation = {})
    {
        app.reset();
        root = std::make_unique<QTemporaryDir>();
        preferences = std::make_unique<QSettings>(root->filePath(u"preferences.ini"_s), QSettings::IniFormat);
        files = root->filePath(u"files"_s);
        QDir().mkpath(files);
        TessaryApp::Places places;
        places.historyFolder = root->filePath(u"data"_s);
        places.journalFolder = root->filePath(u"journal"_s);
        places.helperPath = QStringLiteral(TESSARY_JSENGINE_PATH);
        app = std::make_unique<TessaryApp>(*preferences, panel, places, translation);
        view()->show();
        QVERIFY(QTest::qWaitForWindowExposed(view()));
        QApplication::setActiveWindow(view());
    }

    // The catalogues of `locale` only, as a start in that language would install them.
    static QString speak(const QLocale& locale)
    {
        for (QTranslator* translator : QCoreApplication::instance()->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
        QLocale::setDefault(locale);
        return AppCatalogue::install();
    }

    // A new application over the same state and files, as after a restart.
    void restart()
    {
        app.reset();
        TessaryApp::Places places;
        places.historyFolder = root->filePath(u"data"_s);
        places.journalFolder = root->filePath(u"journal"_s);
        places.helperPath = QStringLiteral(TESSARY_JSENGINE_PATH);
        app = std::make_unique<TessaryApp>(*preferences, panel, places, QString());
        view()->show();
        QVERIFY(QTest::qWaitForWindowExposed(view()));
        QApplication::setActiveWindow(view());
    }

    bool waitIdle()
    {
        const bool idle = QTest::qWaitFor(
            [this] {
                return !model()->isUpdating() && model()->loadingCount() == 0 && !model()->isRenaming();
            },
            20'000);
        QCoreApplication::processEvents(); // the table sorts a new plan once the event loop comes round
        return idle;
    }

    bool addAndPlan(const QStringList& names)
    {
        create(files, names);
        QStringList paths;
        for (const QString& name : names)
            paths.append(files + u'/' + name);
        model()->addFiles(paths);
        return waitIdle();
    }

    QModelIndex fileRow(int row) { return view()->fileTable()->tableModel()->index(row, 0); }

    static QTextCursor cursorAt(SyntaxHighlightEditor* editor, int position)
    {
        QTextCursor cursor(editor->document());
        cursor.setPosition(position);
        return cursor;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(AppCatalogue::install(), QString()); // English: no translation
    }
    void init() { start(); }
    void cleanup() { app.reset(); }

    void anEmptyWindow()
    {
        QCOMPARE(view()->windowTitle(), u"Tessary"_s);
        QCOMPARE(view()->size(), TessaryApp::defaultWindowSize);
        QCOMPARE(view()->tableAreaState(), u"empty"_s);
        QCOMPARE(view()->statusTexts(), (QStringList{u"0 files"_s, u"0 to rename"_s, u"0 errors"_s}));
        QVERIFY(!view()->showsErrorSign());
        QCOMPARE(view()->addFilesAction()->toolTip(), u"Add files to rename (Ctrl+O)"_s);
        QCOMPARE(view()->newAction()->toolTip(), u"Clear the file list (Ctrl+N)"_s);
        QCOMPARE(view()->renameAction()->toolTip(), u"Add files to rename"_s);
        QVERIFY(!view()->renameAction()->isEnabled());
        QVERIFY(view()->renameAction()->isVisible() && !view()->undoAction()->isVisible());
        QVERIFY(!view()->recentAction()->isEnabled()); // no history yet
    }

    void filesWithAnError()
    {
        model()->setRegexString(u"(?P<n>\\d+)"_s);
        model()->setResultPattern(u"photo-{n}"_s);
        QVERIFY(addAndPlan({u"1.jpg"_s, u"2.jpg"_s, u"x.jpg"_s}));
        QCOMPARE(view()->tableAreaState(), u"files"_s);
        QTRY_COMPARE(view()->statusTexts(), (QStringList{u"3 files"_s, u"2 to rename"_s, u"1 error"_s}));
        QVERIFY(view()->showsErrorSign());
        QCOMPARE(view()->renameAction()->toolTip(), u"Fix the errors in the file list first"_s);

        const TessaryFileTableModel* rows = view()->fileTable()->tableModel();
        QCOMPARE(rows->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), u"Original"_s);
        QCOMPARE(rows->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), u"Result"_s);
        const FileTableRow first = rows->row(fileRow(0));
        QCOMPARE(first.original, u"1.jpg"_s);
        QCOMPARE(first.result, u"photo-1.jpg"_s);
        QVERIFY(first.changed && !first.error);
        const QModelIndex failed = rows->index(2, TessaryFileTableModel::ResultColumn);
        QCOMPARE(rows->row(failed).error, u"The regular expression doesn't match the whole file name"_s);
        QCOMPARE(failed.data(Qt::AccessibleDescriptionRole).toString(),
                 u"Error: The regular expression doesn't match the whole file name"_s);
        QVERIFY(failed.data(Qt::ForegroundRole).isValid()); // unchanged: secondary
        QVERIFY(!rows->index(0, 1).data(Qt::ForegroundRole).isValid());
    }

    // A problem takes a second line where the Result column is too narrow for it, and tool tips show
    // what a cell cuts short, and only that.
    void problemsWrapToTwoLinesAndTipsShowWhatIsCut()
    {
        model()->setRegexString(u"(?P<n>\\d+)"_s);
        QVERIFY(addAndPlan({u"1.jpg"_s, u"a-name-long-enough-to-be-cut-short-in-a-narrow-column.jpg"_s}));
        TessaryFileTableView* table = view()->fileTable();
        table->header()->resizeSection(TessaryFileTableModel::OriginalColumn, 150);
        table->header()->setStretchLastSection(false);
        const QModelIndex shortName = table->tableModel()->index(0, TessaryFileTableModel::OriginalColumn);
        const QModelIndex failed = table->tableModel()->index(1, TessaryFileTableModel::ResultColumn);
        const QString error = u"The regular expression doesn't match the whole file name"_s;
        const auto rowHeight = [&] {
            QCoreApplication::processEvents(); // the delayed layout after a resize
            return table->visualRect(failed).height();
        };

        table->header()->resizeSection(TessaryFileTableModel::ResultColumn, 2000);
        const int wide = rowHeight();
        const QFont font = FileResultDelegate::errorFont(table->font());
        QCOMPARE(FileResultDelegate::problemLines(error, font, 2000), QStringList{error});
        table->header()->resizeSection(TessaryFileTableModel::ResultColumn, 260);
        const int narrow = rowHeight();
        QCOMPARE(narrow - wide, QFontMetrics(font).height());
        const QStringList lines = FileResultDelegate::problemLines(error, font, 150);
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[1].endsWith(u'…') && error.startsWith(lines[0] + u' '), qPrintable(lines.join(u'|')));
        QVERIFY(QFontMetrics(font).horizontalAdvance(lines[1]) <= 150);

        const auto tipAt = [&](const QModelIndex& index) -> QString {
            QToolTip::hideText();
            if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }))
                return u"<still showing>"_s;
            const QPoint point = table->visualRect(index).center();
            QHelpEvent help(QEvent::ToolTip, point, table->viewport()->mapToGlobal(point));
            QApplication::sendEvent(table->viewport(), &help);
            return QToolTip::isVisible() ? QToolTip::text() : QString();
        };
        QCOMPARE(tipAt(shortName), QString());
        QCOMPARE(tipAt(failed.siblingAtColumn(TessaryFileTableModel::OriginalColumn)),
                 u"a-name-long-enough-to-be-cut-short-in-a-narrow-column.jpg"_s);
        QCOMPARE(tipAt(failed), u"a-name-long-enough-to-be-cut-short-in-a-narrow-column.jpg\n"_s + error);
    }

    void fieldRowsThenLogRows()
    {
        model()->setScript(u"console.log('one'); console.log('two'); console.log('three');"_s);
        QVERIFY(addAndPlan({u"a.txt"_s}));
        TessaryFileTableView* table = view()->fileTable();
        table->expand(fileRow(0));
        const TessaryFileTableModel* rows = table->tableModel();
        const int children = rows->rowCount(fileRow(0));
        const Fields fields = model()->files()->at(0).fields;
        QCOMPARE(children, fields.size() + 3);
        QStringList originals;
        for (int i = 0; i < children; ++i)
            originals.append(rows->row(rows->index(i, 0, fileRow(0))).original);
        QCOMPARE(originals.mid(0, fields.size()), fields.keys());
        QCOMPARE(originals.mid(fields.size()), (QStringList{u"console"_s, u"console"_s, u"console"_s}));
        const FileTableRow last = rows->row(rows->index(children - 1, 1, fileRow(0)));
        QCOMPARE(last.result, u"three"_s);
        QCOMPARE(last.kind, FileTableRow::Kind::Log);

        model()->setScript(u"console.log('only');"_s); // an expanded file follows new plans
        QVERIFY(waitIdle());
        QCOMPARE(rows->rowCount(fileRow(0)), fields.size() + 1);
    }

    void sortingByOriginalDescendingReversesTheNumbering()
    {
        model()->setResultPattern(u"{row}"_s);
        QVERIFY(addAndPlan({u"a 2.txt"_s, u"a 10.txt"_s, u"a 1.txt"_s}));
        QHeaderView* header = view()->fileTable()->header();
        header->setSortIndicator(TessaryFileTableModel::OriginalColumn, Qt::DescendingOrder);
        QVERIFY(model()->sortReversed());
        QVERIFY(waitIdle());
        const TessaryFileTableModel* rows = view()->fileTable()->tableModel();
        QStringList shown;
        for (int i = 0; i < 3; ++i)
            shown.append(rows->row(fileRow(i)).original + u'→' + rows->row(fileRow(i)).result);
        QCOMPARE(shown, (QStringList{u"a 10.txt→1.txt"_s, u"a 2.txt→2.txt"_s, u"a 1.txt→3.txt"_s}));

        header->setSortIndicator(TessaryFileTableModel::ResultColumn, Qt::DescendingOrder);
        QVERIFY(!model()->sortReversed());
        header->setSortIndicator(TessaryFileTableModel::OriginalColumn, Qt::AscendingOrder);
        QVERIFY(!model()->sortReversed());
        QVERIFY(preferences->contains(TessaryFileTableView::customizationKey));
    }

    void renameRegistersUndoAndRecordsTheRules()
    {
        model()->setResultPattern(u"new-{filename}"_s);
        QVERIFY(addAndPlan({u"a.txt"_s}));
        QCOMPARE(view()->renameAction()->toolTip(), u"Rename files according to the pattern (Ctrl+R)"_s);
        view()->rename();
        QVERIFY(QTest::qWaitFor([this] { return model()->isRenamed(); }, 20'000));
        QCOMPARE(contents(files).keys(), QStringList{u"new-a.txt"_s});

        QTRY_VERIFY(view()->undoRenameAction()->isEnabled());
        QVERIFY(!view()->redoRenameAction()->isEnabled());
        QMenu* edit = view()->menuBar()->actions().at(1)->menu();
        QCOMPARE(edit->actions().first(), view()->undoRenameAction());
        QCOMPARE(edit->actions().first()->text(), u"&Undo Rename"_s);
        QVERIFY(!view()->renameAction()->isVisible() && view()->undoAction()->isVisible());
        QVERIFY(!view()->recentAction()->isVisible());
        QCOMPARE(view()->newAction()->toolTip(),
                 u"Start over; renamed files keep their new names (Ctrl+N)"_s);
        QCOMPARE(app->history()->entries().size(), 1);
        QTRY_COMPARE(view()->statusTexts().mid(0, 2), (QStringList{u"1 file"_s, u"1 renamed"_s}));
        QCOMPARE(
            view()->fileTable()->tableModel()->index(0, 1).data(Qt::AccessibleDescriptionRole).toString(),
            u"Renamed"_s);

        view()->undoRenameAction()->trigger();
        QVERIFY(QTest::qWaitFor([this] { return !model()->isRenamed(); }, 20'000));
        QCOMPARE(contents(files).keys(), QStringList{u"a.txt"_s});
        QTRY_VERIFY(view()->redoRenameAction()->isEnabled());
        QVERIFY(!view()->undoRenameAction()->isEnabled());

        model()->setResultPattern(u"other-{filename}"_s); // the redo gives the names of the rename
        view()->redoRenameAction()->trigger();
        QVERIFY(QTest::qWaitFor([this] { return model()->isRenamed(); }, 20'000));
        QCOMPARE(contents(files).keys(), QStringList{u"new-a.txt"_s});
        QCOMPARE(fileRow(0).siblingAtColumn(1).data().toString(), u"new-a.txt"_s);
    }

    // A new window over the same state folder, as after a restart, can undo the rename of the last one.
    void undoRenameAfterARestart()
    {
        model()->setResultPattern(u"new-{filename}"_s);
        QVERIFY(addAndPlan({u"a.txt"_s, u"b.txt"_s}));
        view()->rename();
        QVERIFY(QTest::qWaitFor([this] { return model()->isRenamed(); }, 20'000));
        restart();
        QTRY_VERIFY(view()->undoRenameAction()->isEnabled());
        view()->undoRenameAction()->trigger();
        QTRY_COMPARE(contents(files).keys(), (QStringList{u"a.txt"_s, u"b.txt"_s}));
        QTRY_VERIFY(!model()->isRenaming() && view()->redoRenameAction()->isEnabled());
        QCOMPARE(model()->operationProblem(), std::nullopt);
        restart();
        QTRY_VERIFY(view()->redoRenameAction()->isEnabled());
        QVERIFY(!view()->undoRenameAction()->isEnabled());
    }

    // The history window lists the renames with their files, undoes and redoes any of them, reports
    // refusals per file, and brings rules back.
    void historyWindowActsOnAnyRename()
    {
        create(files, {u"a.txt"_s, u"b.txt"_s});
        for (const QString& pattern : {u"one-{filename}"_s, u"two-{filename}"_s}) {
            model()->setResultPattern(pattern);
            model()->addFiles({files + (pattern.startsWith(u"one"_s) ? u"/a.txt"_s : u"/b.txt"_s)});
            QVERIFY(waitIdle());
            view()->rename();
            QVERIFY(QTest::qWaitFor([this] { return model()->isRenamed(); }, 20'000));
            view()->startOver();
        }
        view()->actions().showHistory();
        RenameHistoryWindow* window = view()->historyWindow();
        QVERIFY(window && window->isVisible());
        QTRY_COMPARE(window->renamesView()->model()->rowCount(), 2);
        const QAbstractItemModel* renames = window->renamesView()->model();
        QCOMPARE(renames->index(0, RenameHistoryList::RulesColumn).data().toString(), u"two-{filename}"_s);
        QCOMPARE(renames->index(0, RenameHistoryList::StateColumn).data().toString(), u"Done"_s);
        QCOMPARE(renames->index(0, RenameHistoryList::FolderColumn).data(Qt::ToolTipRole).toString(), files);

        window->renamesView()->setCurrentIndex(renames->index(1, 0)); // the older rename, of a.txt
        QTRY_VERIFY(window->showsFilesOfSelection());
        const QAbstractItemModel* shown = window->filesView()->model();
        QCOMPARE(shown->index(0, RenameFileList::NewNameColumn).data().toString(), u"one-a.txt"_s);
        QVERIFY(window->restoreButton()->isEnabled() && !window->redoButton()->isEnabled());
        window->restoreButton()->click();
        QTRY_COMPARE(contents(files).keys(), (QStringList{u"a.txt"_s, u"two-b.txt"_s}));
        QTRY_COMPARE(renames->index(1, RenameHistoryList::StateColumn).data().toString(), u"Undone"_s);
        QTRY_COMPARE(shown->index(0, RenameFileList::StateColumn).data().toString(), u"Old name restored"_s);
        QVERIFY(window->redoButton()->isEnabled() && !window->restoreButton()->isEnabled());

        create(files, {u"one-a.txt"_s}); // takes the name the redo would give back
        window->redoButton()->click();
        QTRY_VERIFY(model()->operationProblem());
        QCOMPARE(model()->operationProblem()->title, u"Some Files Weren't Renamed Again"_s);
        QVERIFY(model()->operationProblem()->message.endsWith(
            u"The reasons are shown in the Rename History window."_s));
        QTRY_VERIFY(!shown->index(0, RenameFileList::ProblemColumn).data().toString().isEmpty());
        model()->setOperationProblem(std::nullopt);

        window->useRulesButton()->click();
        QCOMPARE(model()->resultPattern(), u"one-{filename}"_s);
    }

    // Every menu, item, rule and button can be reached with Alt and a letter, unique where it is, in both
    // languages.
    void everyMenuItemHasItsOwnAccessKey_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << QString();
        QTest::newRow("German") << u"de"_s;
    }
    void everyMenuItemHasItsOwnAccessKey()
    {
        QFETCH(QString, language);
        if (!language.isEmpty()) {
            QCOMPARE(speak(QLocale(QLocale::German, QLocale::Germany)), language);
            start(language);
            // Qt's own texts follow: key names in tooltips, standard buttons.
            QCOMPARE(view()->addFilesAction()->toolTip(), u"Dateien zum Umbenennen hinzufügen (Strg+O)"_s);
            QCOMPARE(QMessageBox(QMessageBox::Question, {}, {}, QMessageBox::Cancel)
                         .button(QMessageBox::Cancel)
                         ->text(),
                     u"Abbrechen"_s);
        }
        const auto keyOf = [](const QString& text) {
            const qsizetype at = text.indexOf(u'&');
            return at < 0 || at + 1 >= text.size() ? QChar() : text.at(at + 1).toLower();
        };
        QSet<QChar> menuKeys;
        for (QAction* menu : view()->menuBar()->actions()) {
            QVERIFY2(!keyOf(menu->text()).isNull() && !menuKeys.contains(keyOf(menu->text())),
                     qPrintable(menu->text()));
            menuKeys.insert(keyOf(menu->text()));
            QSet<QChar> itemKeys;
            for (QAction* item : menu->menu()->actions()) {
                if (item->isSeparator())
                    continue;
                const QChar key = keyOf(item->text());
                QVERIFY2(!key.isNull() && !itemKeys.contains(key), qPrintable(item->text()));
                itemKeys.insert(key);
            }
        }
        // In the window itself, labels and buttons share one set of keys with the menu bar.
        QSet<QChar> windowKeys = menuKeys;
        QStringList texts;
        for (const QLabel* label : view()->findChildren<QLabel*>())
            if (label->buddy() && label->isVisible())
                texts.append(label->text());
        for (const QAbstractButton* button : view()->findChildren<QAbstractButton*>())
            if (button->isVisible() && button->text().contains(u'&'))
                texts.append(button->text());
        QVERIFY(texts.size() >= 7); // the three editors, Insert Field, Order, the check box, Open Files
        for (const QString& text : texts) {
            QVERIFY2(!keyOf(text).isNull() && !windowKeys.contains(keyOf(text)), qPrintable(text));
            windowKeys.insert(keyOf(text));
        }
        if (!language.isEmpty())
            QCOMPARE(speak(QLocale(QLocale::English, QLocale::UnitedStates)), QString());
    }

    // The File menu's items follow the toolbar: Rename says why it is disabled; Open Recent has the
    // toolbar's Recent entries; Quit and Help have their standard keys.
    // At 800 × 500 the rules scroll rather than squeeze: no help text lies over an editor, none is cut,
    // and the toolbar shows every button.
    void atTheSmallestSizeNothingOverlaps_data() { everyMenuItemHasItsOwnAccessKey_data(); }
    void atTheSmallestSizeNothingOverlaps()
    {
        QFETCH(QString, language);
        if (!language.isEmpty()) {
            QCOMPARE(speak(QLocale(QLocale::German, QLocale::Germany)), language);
            start(language);
        }
        QVERIFY(addAndPlan({u"a.txt"_s}));
        view()->resize(800, 500);
        QTRY_COMPARE(view()->size(), QSize(800, 500));
        QCoreApplication::processEvents();

        TessaryRulesForm* form = view()->rulesForm();
        const auto isPart = [](QWidget* widget) {
            for (QWidget* above = widget->parentWidget(); above; above = above->parentWidget())
                if (qobject_cast<QAbstractScrollArea*>(above) && !qobject_cast<QScrollArea*>(above))
                    return false; // inside an editor
            return widget->isVisible() &&
                   (qobject_cast<QLabel*>(widget) || qobject_cast<QComboBox*>(widget) ||
                    qobject_cast<QAbstractButton*>(widget) || qobject_cast<SyntaxHighlightEditor*>(widget));
        };
        QList<std::pair<QWidget*, QRect>> parts;
        for (QWidget* widget : form->findChildren<QWidget*>())
            if (isPart(widget))
                parts.append({widget, QRect(widget->mapTo(form, QPoint()), widget->size())});
        QVERIFY(parts.size() >= 11);
        for (qsizetype i = 0; i < parts.size(); ++i) {
            for (qsizetype j = i + 1; j < parts.size(); ++j)
                QVERIFY2(!parts[i].second.intersects(parts[j].second),
                         qPrintable(parts[i].first->objectName() + parts[i].first->accessibleName() +
                                    u" / "_s + parts[j].first->objectName() +
                                    parts[j].first->accessibleName()));
            if (const auto* label = qobject_cast<QLabel*>(parts[i].first); label && label->wordWrap())
                QVERIFY2(label->height() >= label->heightForWidth(label->width()), qPrintable(label->text()));
        }
        const auto* extension = view()->findChild<QToolButton*>(u"qt_toolbar_ext_button"_s);
        QVERIFY(!extension || !extension->isVisible());
        for (const QLabel* label : view()->statusBar()->findChildren<QLabel*>())
            if (label->isVisible())
                QVERIFY2(label->width() >= label->minimumSizeHint().width(), qPrintable(label->text()));
        if (!language.isEmpty())
            QCOMPARE(speak(QLocale(QLocale::English, QLocale::UnitedStates)), QString());
    }

    // The style draws a text area's frame alike with and without focus; the rule being typed into shows.
    void theEditorWithFocusShowsIt()
    {
        TessaryRulesForm* form = view()->rulesForm();
        const QList<SyntaxHighlightEditor*> editors{form->regexEditor(), form->scriptEditor(),
                                                    form->patternEditorView()};
        const auto frameColour = [](SyntaxHighlightEditor* editor) {
            const QImage image = editor->grab().toImage();
            return image.pixelColor(0, image.height() / 2);
        };
        for (SyntaxHighlightEditor* editor : editors) {
            editor->setFocus();
            QTRY_VERIFY(editor->hasFocus());
            for (SyntaxHighlightEditor* other : editors)
                QCOMPARE(frameColour(other) == other->palette().color(QPalette::Highlight), other == editor);
        }
    }

    // What a screen reader says for every control that takes focus: a name, in the window and in its
    // dialogs, the find bar and the field browser included.
    void everyControlHasAName()
    {
        QVERIFY(addAndPlan({u"a.txt"_s}));
        view()->rulesForm()->regexEditor()->findBar()->open();
        view()->browseFields();
        QVERIFY(view()->fieldBrowserShown());
        QWidgetList windows{view(), view()->fieldBrowserShown()};
        int checked = 0;
        for (QWidget* window : windows) {
            for (QWidget* widget : window->findChildren<QWidget*>()) {
                if (!widget->isVisible() || widget->focusPolicy() == Qt::NoFocus ||
                    qobject_cast<QAbstractScrollArea*>(widget->parentWidget()))
                    continue; // viewports speak for their area
                QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
                QVERIFY(accessible);
                QVERIFY2(!accessible->text(QAccessible::Name).trimmed().isEmpty(),
                         qPrintable(QString::fromLatin1(widget->metaObject()->className()) + u' ' +
                                    widget->objectName()));
                ++checked;
            }
        }
        QVERIFY(checked >= 12);
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(view()->fieldBrowserShown(), &escape);
    }

    void theFileMenuFollowsTheToolbar()
    {
        const TessaryCommands* commands = app->commands();
        QVERIFY(!commands->renameAction->isEnabled());
        QCOMPARE(commands->renameAction->statusTip(), u"Add files to rename"_s);
        QVERIFY(!view()->openRecentMenu()->menuAction()->isEnabled());
        model()->setResultPattern(u"new-{filename}"_s);
        QVERIFY(addAndPlan({u"a.txt"_s}));
        QVERIFY(commands->renameAction->isEnabled());
        view()->rename();
        QVERIFY(QTest::qWaitFor([this] { return model()->isRenamed(); }, 20'000));
        QVERIFY(!commands->renameAction->isEnabled() && !commands->addFilesAction->isEnabled());
        view()->startOver();
        QVERIFY(view()->openRecentMenu()->menuAction()->isEnabled());
        QCOMPARE(view()->openRecentMenu()->actions().size(), 1);
        QCOMPARE(view()->openRecentMenu()->actions().first()->text(), u"new-{filename}"_s);
        QCOMPARE(commands->quitAction->shortcut(), QKeySequence(u"Ctrl+Q"_s));
        QCOMPARE(commands->helpAction->shortcut(), QKeySequence(Qt::Key_F1));
        QVERIFY(!commands->checkForUpdatesAction->isVisible()); // no feed: the package manager updates
    }

    // New asks before it throws away a list that was not renamed; after a rename it starts over at once.
    void newAsksBeforeClearingAListNotRenamed_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("cancelled") << false;
        QTest::newRow("confirmed") << true;
    }
    void newAsksBeforeClearingAListNotRenamed()
    {
        QFETCH(bool, confirm);
        QVERIFY(addAndPlan({u"a.txt"_s, u"b.txt"_s}));
        view()->startOver();
        QMessageBox* question = view()->startOverQuestion();
        QVERIFY(question);
        QCOMPARE(question->informativeText(),
                 u"<p>2 files are listed and haven't been renamed. The rules stay.</p>"_s);
        QCOMPARE(model()->files()->rowCount(), 2);
        QAbstractButton* answer = question->button(QMessageBox::Cancel);
        for (QAbstractButton* button : question->buttons())
            if (confirm && question->buttonRole(button) == QMessageBox::DestructiveRole)
                answer = button;
        answer->click();
        QTRY_VERIFY(!view()->startOverQuestion());
        QCOMPARE(model()->files()->rowCount(), confirm ? 0 : 2);
    }

    // A regular expression that doesn't compile is explained once, under its editor; each file only says
    // that it has an error.
    void aRegexErrorIsShownOnce()
    {
        QVERIFY(addAndPlan({u"a.txt"_s}));
        QLabel* problem = view()->rulesForm()->regexProblemLabel();
        QVERIFY(problem->isHidden());
        model()->setRegexString(u"ab("_s);
        QVERIFY(!problem->isHidden());
        QVERIFY2(problem->text().startsWith(u"Error at character 4: "_s), qPrintable(problem->text()));
        QVERIFY(waitIdle());
        QCOMPARE(view()->fileTable()->tableModel()->row(fileRow(0)).error,
                 u"The regular expression has an error"_s);
        model()->setRegexString(u"ab"_s);
        QVERIFY(problem->isHidden());
    }

    void renamingTwiceWithTheSameRulesKeepsOneEntry()
    {
        model()->setResultPattern(u"new-{filename}"_s);
        QVERIFY(addAndPlan({u"a.txt"_s}));
        view()->rename();
        QVERIFY(QTest::qWaitFor([this] { return model()->isRenamed(); }, 20'000));
        const QDateTime first = app->history()->entries().first().used;
        view()->startOver();
        QVERIFY(addAndPlan({u"b.txt"_s}));
        view()->rename();
        QVERIFY(QTest::qWaitFor([this] { return model()->isRenamed(); }, 20'000));
        QCOMPARE(app->history()->entries().size(), 1);
        QVERIFY(app->history()->entries().first().used > first);
    }

    void theRecentMenuBringsRulesBack()
    {
        app->history()->saveHistory(u"(?P<a>.*)"_s, u""_s, u"first"_s);
        app->history()->saveHistory(u"r"_s, u"s"_s, u"second"_s);
        RecentRulesMenu* menu = view()->recentMenu();
        QCOMPARE(menu->actions().size(), 2);
        QCOMPARE(menu->actions().first()->text(), u"second"_s);
        const auto* entry = qobject_cast<QWidgetAction*>(menu->actions().first())->defaultWidget();
        QStringList labels;
        for (const QLabel* label : entry->findChildren<QLabel*>())
            labels.append(label->text());
        QCOMPARE(labels, (QStringList{u"second"_s, u"Regex and JavaScript"_s}));
        QCOMPARE(RecentRulesMenu::otherRules({u""_s, u""_s, u"p"_s, {}}), QString());

        menu->actions().last()->trigger();
        QCOMPARE(model()->regexString(), u"(?P<a>.*)"_s);
        QCOMPARE(model()->script(), QString());
        QCOMPARE(model()->resultPattern(), u"first"_s);
        QCOMPARE(view()->rulesForm()->regexEditor()->toPlainText(), u"(?P<a>.*)"_s);
    }

    void theRecentMenuShowsAndBringsBackTheOrder()
    {
        app->history()->saveHistory(QString(), QString(), u"{row}"_s, u"image.date,image.time,image.subsec"_s,
                                    true);
        app->history()->saveHistory(QString(), QString(), u"{row}"_s, u"album,track"_s, false);
        QCOMPARE(RecentRulesMenu::otherRules(app->history()->entries()[1]),
                 u"by Date Taken and duplicates numbered"_s);
        QCOMPARE(RecentRulesMenu::otherRules(app->history()->entries()[0]), u"by album, track"_s);
        view()->recentMenu()->actions().last()->trigger();
        QCOMPARE(model()->order(), u"image.date,image.time,image.subsec"_s);
        QVERIFY(model()->numberDuplicates());
        QCOMPARE(view()->rulesForm()->orderChoice()->currentText(), u"Date Taken"_s);
        QVERIFY(view()->rulesForm()->numberDuplicatesBox()->isChecked());
    }

    // The choice and the check box drive the model, which keeps them in the preferences.
    void theOrderChoiceAndTheNumberingOption()
    {
        QComboBox* order = view()->rulesForm()->orderChoice();
        QStringList choices;
        for (int i = 0; i < order->count(); ++i)
            choices.append(order->itemText(i));
        QCOMPARE(choices,
                 (QStringList{u"Name"_s, u"Date Taken"_s, u"Date Modified"_s, u"As Listed"_s, u"Field…"_s}));
        QCOMPARE(order->currentText(), u"Name"_s);
        order->setCurrentIndex(2);
        Q_EMIT order->activated(2);
        QCOMPARE(model()->order(), u"moddate,modtime"_s);
        QTRY_COMPARE(preferences->value(TessaryModel::orderKey).toString(), u"moddate,modtime"_s);
        model()->setOrder(u"album"_s); // a field list of its own shows as one more choice
        QCOMPARE(order->currentText(), u"album"_s);
        QCOMPARE(order->count(), 6);
        view()->rulesForm()->numberDuplicatesBox()->click();
        QVERIFY(model()->numberDuplicates());
        QTRY_COMPARE(preferences->value(TessaryModel::numberDuplicatesKey).toBool(), true);
    }

    // Under "listed", rows dropped elsewhere in the table move the files, and the numbers follow.
    void droppedRowsReorderTheFiles()
    {
        model()->setResultPattern(u"{row}-{filename}"_s);
        model()->setOrder(u"listed"_s);
        QVERIFY(addAndPlan({u"a.txt"_s, u"b.txt"_s, u"c.txt"_s}));
        TessaryFileTableModel* rows = view()->fileTable()->tableModel();
        QVERIFY(rows->flags(fileRow(2)) & Qt::ItemIsDragEnabled);
        std::unique_ptr<QMimeData> dragged(rows->mimeData({fileRow(2)}));
        QVERIFY(rows->dropMimeData(dragged.get(), Qt::MoveAction, 0, 0, {}));
        QVERIFY(waitIdle());
        QStringList shown;
        for (int i = 0; i < 3; ++i)
            shown.append(rows->row(fileRow(i)).result);
        QCOMPARE(shown, (QStringList{u"1-c.txt"_s, u"2-a.txt"_s, u"3-b.txt"_s}));

        model()->setOrder(u"name"_s); // by name the list order doesn't count: no dragging
        QVERIFY(!(rows->flags(fileRow(0)) & Qt::ItemIsDragEnabled));
    }

    void warningsShowInTheTableTheStatusBarAndThePatternEditor()
    {
        model()->setResultPattern(u"{imgae.date}-{filename}"_s);
        QVERIFY(addAndPlan({u"a.txt"_s, u"b.txt"_s}));
        QTRY_COMPARE(view()->statusTexts(),
                     (QStringList{u"2 files"_s, u"2 to rename"_s, u"0 errors"_s, u"2 warnings"_s}));
        QVERIFY(view()->renameAction()->isEnabled());
        const QModelIndex result =
            view()->fileTable()->tableModel()->index(0, TessaryFileTableModel::ResultColumn);
        const QString warning = u"The pattern uses “{imgae.date}”, which this file doesn't have"_s;
        QCOMPARE(result.data(TessaryFileTableModel::WarningRole).toString(), warning);
        QCOMPARE(result.data(Qt::ToolTipRole).toString(), u"{imgae.date}-a.txt\n"_s + warning);
        QCOMPARE(result.data(Qt::AccessibleDescriptionRole).toString(), u"Warning: "_s + warning);
        QVERIFY(!result.data(TessaryFileTableModel::ErrorRole).isValid());

        SyntaxHighlightEditor* editor = view()->rulesForm()->patternEditorView();
        const QPoint onTheField = editor->cursorRect(cursorAt(editor, 3)).center();
        QHelpEvent help(QEvent::ToolTip, onTheField, editor->viewport()->mapToGlobal(onTheField));
        QApplication::sendEvent(editor->viewport(), &help);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), warning);

        model()->setResultPattern(u"{filename}-x"_s);
        QVERIFY(waitIdle());
        QCOMPARE(view()->statusTexts(), (QStringList{u"2 files"_s, u"2 to rename"_s, u"0 errors"_s}));
    }

    void theFieldBrowserInsertsWhatWasFound_data()
    {
        QTest::addColumn<QString>("regex");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("search");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("inserted");
        QTest::addColumn<QString>("preview");
        QTest::newRow("base field") << QString() << QString() << u"row"_s << 0 << u"{row}"_s
                                    << u"{row}  →  2"_s;
        QTest::newRow("found by its description, with a format")
            << QString() << QString() << u"without its extension"_s << 1 << u"{filename:upper}"_s
            << u"{filename:upper}  →  B-2"_s;
        QTest::newRow("a field the file lacks")
            << QString() << QString() << u"ISO speed"_s << 0 << u"{image.iso}"_s
            << u"{image.iso}, which the selected file doesn't have"_s;
        QTest::newRow("regex group") << u"(?P<letter>.)-(?P<n>\\d)"_s << QString() << u"letter"_s << 0
                                     << u"{letter}"_s << u"{letter}  →  b"_s;
        QTest::newRow("script field") << QString() << u"fields.city = 'Paris'"_s << u"city"_s << 7
                                      << u"{city:1-8}"_s << u"{city:1-8}  →  Paris"_s;
        QTest::newRow("a value no name may hold")
            << QString() << u"fields.place = 'a/b'"_s << u"place"_s << 0 << u"{place}"_s
            << u"{place}  →  a/b  ·  The new name “a/b” contains “/” or “:”, which can't be used in file names"_s;
    }
    void theFieldBrowserInsertsWhatWasFound()
    {
        QFETCH(QString, regex);
        QFETCH(QString, script);
        QFETCH(QString, search);
        QFETCH(int, format);
        QFETCH(QString, inserted);
        QFETCH(QString, preview);
        model()->setRegexString(regex);
        model()->setScript(script);
        model()->setResultPattern(u"x"_s);
        QVERIFY(addAndPlan({u"a-1.txt"_s, u"b-2.txt"_s}));
        TessaryFileTableView* table = view()->fileTable();
        table->setCurrentIndex(table->tableModel()->index(1, 0)); // the values are the current file's

        QTest::mouseClick(view()->rulesForm()->insertFieldButton(), Qt::LeftButton);
        FieldBrowser* browser = view()->fieldBrowserShown();
        QVERIFY(browser && browser->isVisible());
        QCOMPARE(browser->focusWidget(), browser->searchField());
        QTest::keyClicks(browser->searchField(), search);
        browser->formatChoice()->setCurrentIndex(format);
        QCOMPARE(browser->placeholder(), inserted);
        QCOMPARE(browser->previewLabel()->text(), preview);
        QTest::keyClick(browser->searchField(), Qt::Key_Return);
        QTRY_VERIFY(!view()->fieldBrowserShown());
        QCOMPARE(model()->resultPattern(), u"x"_s + inserted);
    }

    void theFieldBrowserGroupsEveryField()
    {
        model()->setRegexString(u"(?P<letter>.)"_s);
        view()->browseFields(); // without files: the catalogue, and the groups of the rules
        FieldBrowser* browser = view()->fieldBrowserShown();
        QVERIFY(browser);
        const QAbstractItemModel* fields = browser->fieldView()->model();
        QStringList groups;
        for (int row = 0; row < fields->rowCount(); ++row)
            groups.append(fields->index(row, 0).data().toString());
        QCOMPARE(groups, (QStringList{u"File"_s, u"Image"_s, u"Video"_s, u"Audio"_s, u"PDF"_s,
                                      u"Office Document"_s, u"Regex Groups"_s}));
        QVERIFY(browser->choose(u"audio.artist"_s));
        QCOMPARE(browser->fieldView()->currentIndex().siblingAtColumn(2).data().toString(),
                 u"The performing artist"_s);
        QTest::keyClicks(browser->searchField(), u"image.datex"_s); // found until the last letter
        QCOMPARE(fields->rowCount(), 0);
        QVERIFY(browser->placeholder().isEmpty());
        QCOMPARE(browser->previewLabel()->text(), u"Choose a field"_s);
        QTest::keyClick(browser->searchField(), Qt::Key_Escape);
        QTRY_VERIFY(!view()->fieldBrowserShown());
        QCOMPARE(model()->resultPattern(), u"{filename}"_s);
    }

    void theFormShowsFilesRenamedUntilNew()
    {
        model()->setResultPattern(u"new-{filename}"_s);
        QVERIFY(addAndPlan({u"a.txt"_s}));
        TessaryRulesForm* form = view()->rulesForm();
        QVERIFY(form->patternEditorView()->isVisible());
        view()->rename();
        QVERIFY(QTest::qWaitFor([this] { return model()->isRenamed(); }, 20'000));
        QVERIFY(!form->patternEditorView()->isVisible());
        QVERIFY(!form->findChildren<QLabel*>(Qt::FindChildrenRecursively).isEmpty());
        view()->startOver();
        QVERIFY(form->patternEditorView()->isVisible());
        QCOMPARE(view()->tableAreaState(), u"empty"_s);
        QTRY_VERIFY(view()->undoRenameAction()->isEnabled()); // the rename is still in the history
    }

    void aProblemIsShownAndClearedOnDismissal()
    {
        model()->setOperationProblem(
            OperationProblem{u"No Files Were Renamed"_s, u"Because “<b>.txt”.\nAnd a second line."_s});
        QMessageBox* alert = view()->alert();
        QVERIFY(alert);
        QCOMPARE(alert->text(), u"<b>No Files Were Renamed</b>"_s); // the headline
        QCOMPARE(alert->informativeText(), u"<p>Because “&lt;b&gt;.txt”.<br>And a second line.</p>"_s);
        QCOMPARE(alert->windowTitle(), u"No Files Were Renamed"_s);
        alert->accept();
        QVERIFY(!model()->operationProblem());
        QVERIFY(!view()->alert());
    }

    // A dropped folder is either renamed itself or stands for the files inside it: the window asks, and
    // remembers the answer when told to.
    void droppedFoldersAsk_data()
    {
        QTest::addColumn<bool>("inside");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("the folder itself") << false << QStringList{u"album"_s};
        QTest::newRow("the files inside") << true << QStringList{u"a.jpg"_s, u"b.jpg"_s};
    }
    void droppedFoldersAsk()
    {
        QFETCH(bool, inside);
        QFETCH(QStringList, listed);
        create(files, {u"album/a.jpg"_s, u"album/deeper/b.jpg"_s});
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(files + u"/album"_s)});
        const auto dropAlbum = [&] {
            QDragEnterEvent enter(view()->rect().center(), Qt::CopyAction, &data, Qt::LeftButton,
                                  Qt::NoModifier);
            QApplication::sendEvent(view(), &enter);
            QDropEvent drop(view()->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(view(), &drop);
        };
        dropAlbum();
        QMessageBox* question = view()->droppedFoldersQuestion();
        QVERIFY(question);
        QVERIFY(model()->files()->isEmpty());
        question->checkBox()->setChecked(true);
        for (QAbstractButton* button : question->buttons())
            if (button->text().contains(inside ? u"Inside"_s : u"Folders"_s))
                button->click();
        QTRY_COMPARE(model()->files()->rowCount(), listed.size());
        QStringList names;
        for (int row = 0; row < listed.size(); ++row)
            names.append(fileRow(row).data().toString());
        names.sort();
        QCOMPARE(names, listed);
        QCOMPARE(preferences->value(TessaryView::droppedFoldersKey).toString(),
                 inside ? u"contents"_s : u"folders"_s);

        model()->startOver();
        dropAlbum(); // remembered: no question
        QVERIFY(!view()->droppedFoldersQuestion());
        QTRY_COMPARE(model()->files()->rowCount(), listed.size());
    }

    void droppedFilesAreAdded()
    {
        create(files, {u"a.txt"_s, u"b.txt"_s});
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(files + u"/a.txt"_s), QUrl::fromLocalFile(files + u"/b.txt"_s),
                      QUrl(u"https://example.org/c.txt"_s)});
        const QPoint centre = view()->rect().center();
        const auto layout = [this] {
            QList<QRect> places;
            for (const QWidget* widget : view()->centralWidget()->findChildren<QWidget*>())
                if (widget->isVisible() && !widget->testAttribute(Qt::WA_TransparentForMouseEvents))
                    places.append(QRect(widget->mapTo(view(), QPoint()), widget->size()));
            return places;
        };
        const QList<QRect> before = layout();
        QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view(), &enter);
        QVERIFY(enter.isAccepted());
        QVERIFY(view()->isDropTargeted());
        QCoreApplication::processEvents();
        QCOMPARE(layout(), before); // the outline lies over the window; nothing moves
        QDropEvent drop(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view(), &drop);
        QVERIFY(!view()->isDropTargeted());
        QVERIFY(waitIdle());
        QCOMPARE(model()->files()->size(), 2);
    }

    void fileCommandsGoToTheFocusedMainWindowOnly()
    {
        model()->setResultPattern(u"new-{filename}"_s);
        QVERIFY(addAndPlan({u"a.txt"_s}));
        app->showAbout();
        QApplication::setActiveWindow(app->settingsWindow());
        QVERIFY(QTest::qWaitForWindowActive(app->settingsWindow()));
        QTest::keyClick(app->settingsWindow(), Qt::Key_R, Qt::ControlModifier);
        QVERIFY(!model()->isRenaming() && !model()->isRenamed());

        QApplication::setActiveWindow(view());
        QVERIFY(QTest::qWaitForWindowActive(view()));
        QTest::keyClick(view(), Qt::Key_R, Qt::ControlModifier);
        QVERIFY(QTest::qWaitFor([this] { return model()->isRenamed(); }, 20'000));
        QTest::keyClick(view(), Qt::Key_N, Qt::ControlModifier); // New after a rename starts over
        QVERIFY(model()->files()->isEmpty());
    }

    void theAboutTab_data()
    {
        QTest::addColumn<QString>("translation");
        QTest::addColumn<bool>("translationNote");
        QTest::newRow("English") << QString() << false;
        QTest::newRow("German") << u"de"_s << true;
    }
    void theAboutTab()
    {
        QFETCH(QString, translation);
        QFETCH(bool, translationNote);
        const TessarySettingsWindow settings(translation);
        QCOMPARE(settings.tabs()->count(), 1);
        QCOMPARE(settings.tabs()->tabText(0), u"About"_s);
        QStringList texts;
        for (const QLabel* label : settings.findChildren<QLabel*>())
            texts.append(label->text());
        QCOMPARE(texts.contains(u"This translation was made with AI."_s), translationNote);
        QCOMPARE(!texts.filter(u"subject=Tessary%20translation%20problem%20%28de%29"_s).isEmpty(),
                 translationNote);
        QVERIFY(texts.first().startsWith(u"Tessary "_s));
    }

    // Help shows the guide that ships with the program, whole, without a network.
    void helpOpensTheShippedGuide()
    {
        app->commands()->helpAction->trigger();
        HelpWindow* help = app->helpWindow();
        QVERIFY(help && QTest::qWaitForWindowExposed(help));
        const QString text = help->browser()->toPlainText();
        for (const QString& part : {u"The three rules"_s, u"Result pattern"_s, u"replace/X/Y"_s, u"context"_s,
                                    u"Rename History"_s, u"Recovery"_s, u"Keyboard"_s})
            QVERIFY2(text.contains(part), qPrintable(part));
        QApplication::setActiveWindow(help);
        QTest::keyClick(help, Qt::Key_Escape);
        QTRY_VERIFY(!help->isVisible());
    }

    void aboutClosesWithEscapeOrItsButton()
    {
        app->showAbout();
        TessarySettingsWindow* about = app->settingsWindow();
        QVERIFY(QTest::qWaitForWindowExposed(about));
        QApplication::setActiveWindow(about);
        QTest::keyClick(about, Qt::Key_Escape);
        QTRY_VERIFY(!about->isVisible());
        app->showAbout();
        QVERIFY(QTest::qWaitForWindowExposed(about));
        auto* buttons = about->findChild<QDialogButtonBox*>();
        QVERIFY(buttons);
        buttons->button(QDialogButtonBox::Close)->click();
        QTRY_VERIFY(!about->isVisible());
    }
};

QTEST_MAIN(tst_TessaryView)
#include "tst_TessaryView.moc"
