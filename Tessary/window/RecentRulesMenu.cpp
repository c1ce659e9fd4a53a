#include "window/RecentRulesMenu.h"

#include "common/KitCatalogue.h"
#include "model/TessaryModel.h"
#include "window/OrderChoices.h"

#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <QWidgetAction>

namespace {

// An entry of two lines, highlighted like any menu item while the pointer or the keyboard is on it.
class RecentEntry : public QWidget {
public:
    RecentEntry(const QString& title, const QString& subtitle, QAction* action, QWidget* parent)
        : QWidget(parent), action(action)
    {
        setFocusPolicy(Qt::StrongFocus);
        setAttribute(Qt::WA_Hover);
        setAutoFillBackground(true);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(12, 4, 12, 4);
        layout->setSpacing(0);
        auto* titleLabel = new QLabel(title, this);
        layout->addWidget(titleLabel);
        if (!subtitle.isEmpty()) {
            auto* subtitleLabel = new QLabel(subtitle, this);
            QFont small = subtitleLabel->font();
            small.setPointSizeF(small.pointSizeF() * 0.85);
            subtitleLabel->setFont(small);
            subtitleLabel->setForegroundRole(QPalette::PlaceholderText);
            layout->addWidget(subtitleLabel);
        }
    }

protected:
    bool event(QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::HoverEnter:
        case QEvent::FocusIn:
            setBackgroundRole(QPalette::Highlight);
            setForegroundRole(QPalette::HighlightedText);
            break;
        case QEvent::HoverLeave:
        case QEvent::FocusOut:
            setBackgroundRole(QPalette::Window);
            setForegroundRole(QPalette::WindowText);
            break;
        default:
            break;
        }
        return QWidget::event(event);
    }
    void mouseReleaseEvent(QMouseEvent*) override { action->trigger(); }
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space)
            action->trigger();
        else
            QWidget::keyPressEvent(event);
    }

private:
    QAction* action;
};

} // namespace

RecentRulesMenu::RecentRulesMenu(RenameHistoryStore* history, TessaryModel* model, QWidget* parent)
    : QMenu(parent), history(history), model(model)
{
    connect(history, &RenameHistoryStore::entriesChanged, this, &RecentRulesMenu::rebuild);
    rebuild();
}

QString RecentRulesMenu::otherRules(const RenameHistory& entry)
{
    QStringList rules;
    if (!entry.regex.isEmpty())
        //: In the Recent menu: the entry holds a regular expression
        rules.append(tr("Regex"));
    if (!entry.script.isEmpty())
        //: In the Recent menu: the entry holds a script
        rules.append(tr("JavaScript"));
    if (!FileOrder(entry.order).isByName())
        //: In the Recent menu: the order the entry numbers the files in, such as “Date Taken”
        rules.append(tr("by %1").arg(OrderChoices::label(entry.order)));
    if (entry.numberDuplicates)
        //: In the Recent menu: the entry numbers files that would get the same name
        rules.append(tr("duplicates numbered"));
    return KitCatalogue::textLocale().createSeparatedList(rules);
}

void RecentRulesMenu::rebuild()
{
    clear();
    for (const RenameHistory& entry : history->entries()) {
        auto* action = new QWidgetAction(this);
        action->setText(entry.pattern);
        action->setDefaultWidget(new RecentEntry(entry.pattern, otherRules(entry), action, this));
        connect(action, &QAction::triggered, this, [this, entry] {
            close();
            model->applyRules({entry.regex, entry.script, entry.pattern, model->sortReversed(), entry.order,
                               entry.numberDuplicates});
        });
        addAction(action);
    }
    setEnabled(!isEmpty());
}
