#include "window/TessarySettingsWindow.h"

#include "window/Icons.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QLabel* link(const QString& text, const QString& target, QWidget* parent)
{
    auto* label =
        new QLabel(u"<a href=\"%1\">%2</a>"_s.arg(target.toHtmlEscaped(), text.toHtmlEscaped()), parent);
    label->setOpenExternalLinks(true);
    label->setTextInteractionFlags(Qt::TextBrowserInteraction);
    return label;
}

} // namespace

TessarySettingsWindow::TessarySettingsWindow(const QString& translation, QWidget* parent)
    : QWidget(parent, Qt::Window), tabView(new QTabWidget(this))
{
    //: Title of the settings window
    setWindowTitle(tr("Tessary Settings"));
    //: The settings window's one tab
    tabView->addTab(aboutTab(translation), Icons::icon(Icons::Symbol::Info), tr("About"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::close);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabView);
    layout->addWidget(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(460, 0)));
}

QWidget* TessarySettingsWindow::aboutTab(const QString& translation)
{
    auto* tab = new QWidget(tabView);
    auto* layout = new QVBoxLayout(tab);
    auto* name = new QLabel(
        u"Tessary %1 (%2)"_s.arg(QCoreApplication::applicationVersion(), QStringLiteral(TESSARY_BUILD)), tab);
    QFont large = name->font();
    large.setPointSizeF(large.pointSizeF() * 1.5);
    large.setBold(true);
    name->setFont(large);
    layout->addWidget(name);

    //: The note of the About tab
    auto* note =
        new QLabel(tr("We made Tessary because renaming a folder full of photos one by one is no way to "
                      "spend an evening. We hope it gives you some of yours back."),
                   tab);
    note->setWordWrap(true);
    layout->addWidget(note);
    //: Link of the About tab to the product's page with questions and answers
    layout->addWidget(link(tr("Questions and answers"), productPage, tab));
    //: Link of the About tab that writes an e-mail to support
    layout->addWidget(link(tr("Write to support"), u"mailto:"_s + supportAddress, tab));
    //: Button of the About tab
    auto* newsletter = new QPushButton(tr("Subscribe to Newsletter"), tab);
    connect(newsletter, &QPushButton::clicked, this, [] { QDesktopServices::openUrl(QUrl(newsletterPage)); });
    layout->addWidget(newsletter, 0, Qt::AlignLeft);

    if (!translation.isEmpty()) {
        //: Shown in the About tab of a translated Tessary
        layout->addWidget(new QLabel(tr("This translation was made with AI."), tab));
        const QString subject = u"Tessary translation problem (%1)"_s.arg(translation);
        //: Link of the About tab of a translated Tessary that writes an e-mail to support
        layout->addWidget(link(tr("Report a problem…"),
                               u"mailto:%1?subject=%2"_s.arg(
                                   supportAddress, QString::fromLatin1(QUrl::toPercentEncoding(subject))),
                               tab));
    }
    layout->addStretch();
    return tab;
}
