#pragma once
// The program's help: the manual "Kestotimer.HLP" of the program folder shown
// with its topic finder, Contents (the headings), Index (the manual's index
// section) and Search (every section holding the words typed). The "Help"
// command of the Help menu and the sound window's Help button open it.

#include "peripheral/help_manual.h"

#include <QPointer>
#include <QWidget>

#include <filesystem>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;
class QUrl;

namespace kesto {

class HelpWindow final : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(const std::filesystem::path& programFolder, QWidget* parent = nullptr);

    // The help command: shows the window held in `window` (creating it the
    // first time or after it was closed) at its Contents tab and raises it.
    static HelpWindow* ShowTopics(QPointer<HelpWindow>& window,
                                  const std::filesystem::path& programFolder, QWidget* parent);

    bool HasManual() const { return m_loaded; }
    const HelpManual& Manual() const { return m_manual; }

    // Lists the sections holding every word of `words` on the Search tab and
    // returns their headings.
    QStringList Search(const QString& words);
    // Scrolls the page to the section with `anchor`.
    void ShowSection(const QString& anchor);

private slots:
    void OnContentsItem(QTreeWidgetItem* item);
    void OnIndexTyped(const QString& text);
    void OnIndexChosen();
    void OnSearch();
    void OnSearchResult(QListWidgetItem* item);
    void OnLink(const QUrl& url);

private:
    void LoadManual(const std::filesystem::path& programFolder);
    void FillContents();
    void FillIndex();
    void HighlightWords(const QStringList& words);

    HelpManual m_manual;
    bool m_loaded = false;
    QTabWidget* m_tabs = nullptr;
    QTreeWidget* m_contents = nullptr;
    QLineEdit* m_indexBox = nullptr;
    QListWidget* m_index = nullptr;
    QLineEdit* m_searchBox = nullptr;
    QLabel* m_searchCount = nullptr;
    QListWidget* m_results = nullptr;
    QTextBrowser* m_page = nullptr;
};

} // namespace kesto
