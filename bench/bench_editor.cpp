// A keystroke in the script editor holding a 20,000-character script, highlighting and the model's
// binding included, against the same keystroke in a bare QPlainTextEdit, side by side.
#include "AppBenchSupport.h"
#include "BenchSupport.h"
#include "access/FolderAccessManager.h"
#include "editor/SyntaxHighlightEditor.h"
#include "model/TessaryModel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

QString script()
{
    const QString line = u"if (fields['image.make'] == \"Camera\") { context.n = (context.n || 0) + 1; "
                         u"fields.title = 'IMG ' + context.n; } else return;\n"_s;
    QString text;
    while (text.size() < 20'000)
        text += line;
    return text.left(20'000);
}

// Milliseconds per keystroke typed in the middle of the text, each followed by the repaint it causes.
QList<double> typeInto(QPlainTextEdit& editor)
{
    editor.resize(600, 400);
    editor.show();
    if (!QTest::qWaitForWindowExposed(&editor))
        qFatal("the editor never showed");
    QTextCursor middle = editor.textCursor();
    middle.setPosition(10'000);
    editor.setTextCursor(middle);
    editor.centerCursor();
    QApplication::processEvents();
    QList<double> times;
    for (int i = 0; i < 200; ++i) {
        QElapsedTimer timer;
        timer.start();
        QTest::keyClick(&editor, i % 2 ? Qt::Key_Backspace : Qt::Key_X);
        QApplication::processEvents();
        times.append(double(timer.nsecsElapsed()) / 1e6);
    }
    editor.hide();
    return times;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir folder;
    QSettings preferences(folder.filePath(u"preferences.ini"_s), QSettings::IniFormat);
    CancellingPanel panel;
    FolderAccessManager access(preferences, panel, false);
    TessaryModel model(preferences, JSEngineClient(JSEngineClient::bundledHelperPath()), access,
                       folder.filePath(u"journal"_s));
    model.setScript(script());

    SyntaxHighlightEditor editor(JavaScriptHighlighter(), u"Script"_s);
    editor.bind(&model, &TessaryModel::script, &TessaryModel::setScript, &TessaryModel::scriptChanged);
    QPlainTextEdit bare;
    bare.setFont(editor.font());
    bare.setPlainText(script());

    const double highlighted = BenchSupport::median(typeInto(editor));
    const double plain = BenchSupport::median(typeInto(bare));
    std::printf(
        "keystroke in a 20,000-character script   SyntaxHighlightEditor %6.2f ms   bare QPlainTextEdit "
        "%6.2f ms   ratio %5.2fx   (goal: median <= 2 ms)\n",
        highlighted, plain, highlighted / plain);
}
