#include "window/HelpWindow.h"

#include <QFile>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window), text(new QTextBrowser(this))
{
    //: Title of the help window
    setWindowTitle(tr("Tessary Help"));
    QFile guide(u":/help/help.md"_s);
    guide.open(QIODevice::ReadOnly); // built in: it is there
    text->setMarkdown(QString::fromUtf8(guide.readAll()));
    text->setOpenExternalLinks(true);
    //: Accessible name of the text of the help window
    text->setAccessibleName(tr("Help"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
    resize(720, 640);
}
