#pragma once

#include <QWidget>

class QTabWidget;

// The settings window, with its one tab "About": name, version and build, a note, links, the newsletter,
// and in a translated Tessary a word on the translation.
class TessarySettingsWindow : public QWidget {
    Q_OBJECT

public:
    static inline const QString productPage = QStringLiteral("https://tessary.org/faq");
    static inline const QString supportAddress = QStringLiteral("support@tessary.org");
    static inline const QString newsletterPage = QStringLiteral("https://tessary.org/newsletter");

    // `translation`: the language of the catalogue in use, empty for the original English.
    explicit TessarySettingsWindow(const QString& translation, QWidget* parent = nullptr);

    QTabWidget* tabs() const { return tabView; }

private:
    QWidget* aboutTab(const QString& translation);

    QTabWidget* tabView;
};
