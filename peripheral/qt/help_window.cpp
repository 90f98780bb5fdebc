#include "peripheral/qt/help_window.h"

#include "base/file_names.h"
#include "base/safe_write.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace kesto {
namespace {

constexpr int AnchorRole = Qt::UserRole;

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

HelpWindow::HelpWindow(const std::filesystem::path& programFolder, QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmKestoHelp"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabHelpTopics"));

    m_contents = new QTreeWidget;
    m_contents->setObjectName(QStringLiteral("treeContents"));
    m_contents->setHeaderHidden(true);
    m_tabs->addTab(m_contents, QStringLiteral("&Contents"));

    auto* indexPage = new QWidget;
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->addWidget(new QLabel(QStringLiteral("Type the first few letters of the word:")));
    m_indexBox = new QLineEdit;
    m_indexBox->setObjectName(QStringLiteral("txtIndex"));
    indexLayout->addWidget(m_indexBox);
    m_index = new QListWidget;
    m_index->setObjectName(QStringLiteral("lstIndex"));
    indexLayout->addWidget(m_index, 1);
    auto* display = new QPushButton(QStringLiteral("&Display"));
    display->setObjectName(QStringLiteral("cmdDisplay"));
    indexLayout->addWidget(display, 0, Qt::AlignRight);
    m_tabs->addTab(indexPage, QStringLiteral("I&ndex"));

    auto* searchPage = new QWidget;
    auto* searchLayout = new QVBoxLayout(searchPage);
    searchLayout->addWidget(new QLabel(QStringLiteral("Type the word(s) you want to find:")));
    auto* searchRow = new QHBoxLayout;
    m_searchBox = new QLineEdit;
    m_searchBox->setObjectName(QStringLiteral("txtSearch"));
    searchRow->addWidget(m_searchBox, 1);
    auto* searchButton = new QPushButton(QStringLiteral("&Find"));
    searchButton->setObjectName(QStringLiteral("cmdFind"));
    searchRow->addWidget(searchButton);
    searchLayout->addLayout(searchRow);
    m_searchCount = new QLabel;
    m_searchCount->setObjectName(QStringLiteral("lblTopicsFound"));
    searchLayout->addWidget(m_searchCount);
    m_results = new QListWidget;
    m_results->setObjectName(QStringLiteral("lstTopicsFound"));
    searchLayout->addWidget(m_results, 1);
    m_tabs->addTab(searchPage, QStringLiteral("&Search"));

    m_page = new QTextBrowser;
    m_page->setObjectName(QStringLiteral("txtHelpPage"));
    m_page->setOpenLinks(false);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_tabs);
    splitter->addWidget(m_page);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({280, 620});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(splitter);
    resize(940, 640);

    connect(m_contents, &QTreeWidget::itemClicked, this, &HelpWindow::OnContentsItem);
    connect(m_contents, &QTreeWidget::itemActivated, this, &HelpWindow::OnContentsItem);
    connect(m_indexBox, &QLineEdit::textEdited, this, &HelpWindow::OnIndexTyped);
    connect(m_indexBox, &QLineEdit::returnPressed, this, &HelpWindow::OnIndexChosen);
    connect(m_index, &QListWidget::itemActivated, this, &HelpWindow::OnIndexChosen);
    connect(m_index, &QListWidget::itemDoubleClicked, this, &HelpWindow::OnIndexChosen);
    connect(display, &QPushButton::clicked, this, &HelpWindow::OnIndexChosen);
    connect(m_searchBox, &QLineEdit::returnPressed, this, &HelpWindow::OnSearch);
    connect(searchButton, &QPushButton::clicked, this, &HelpWindow::OnSearch);
    connect(m_results, &QListWidget::itemClicked, this, &HelpWindow::OnSearchResult);
    connect(m_results, &QListWidget::itemActivated, this, &HelpWindow::OnSearchResult);
    connect(m_page, &QTextBrowser::anchorClicked, this, &HelpWindow::OnLink);

    LoadManual(programFolder);
}

HelpWindow* HelpWindow::ShowTopics(QPointer<HelpWindow>& window,
                                   const std::filesystem::path& programFolder, QWidget* parent) {
    if (!window)
        window = new HelpWindow(programFolder, parent);
    window->m_tabs->setCurrentIndex(0);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void HelpWindow::LoadManual(const std::filesystem::path& programFolder) {
    std::filesystem::path file = ResolveInFolder(programFolder, HelpFileName);
    // A regular file only: a FIFO in its place must not hang the window.
    constexpr size_t MaxManualBytes = size_t{16} << 20;
    std::string text;
    std::string error;
    if (!ReadFilePrefix(file, MaxManualBytes, text, &error)) {
        setWindowTitle(QStringLiteral("Kesto Timer Help"));
        m_page->setPlainText(
            QStringLiteral("The help file %1 could not be opened (%2).")
                .arg(QString::fromStdString(file.string()), QString::fromStdString(error)));
        return;
    }
    const QByteArray html = QByteArray::fromStdString(text);
    m_manual =
        ParseHelpManual(std::string_view(html.constData(), static_cast<size_t>(html.size())));
    m_loaded = true;
    setWindowTitle(m_manual.title.empty() ? QStringLiteral("Kesto Timer Help")
                                          : FromUtf8(m_manual.title));
    m_page->setHtml(QString::fromUtf8(html));
    FillContents();
    FillIndex();
}

void HelpWindow::FillContents() {
    std::vector<QTreeWidgetItem*> parents; // parents[level - 1]: the last heading of that level
    for (const auto& section : m_manual.sections) {
        if (section.anchor == HelpIndexAnchor)
            continue;
        QTreeWidgetItem* parentItem = nullptr;
        for (int level = section.level - 1; level >= 1 && !parentItem; --level)
            if (static_cast<int>(parents.size()) >= level)
                parentItem = parents[static_cast<size_t>(level - 1)];
        auto* item = parentItem ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem(m_contents);
        item->setText(0, FromUtf8(section.title));
        item->setData(0, AnchorRole, FromUtf8(section.anchor));
        parents.resize(static_cast<size_t>(section.level));
        parents[static_cast<size_t>(section.level - 1)] = item;
    }
    m_contents->expandToDepth(0);
}

void HelpWindow::FillIndex() {
    // Alphabetical as a reader expects it: "dialout group" between "Diagnostic" and "Exit".
    std::vector<HelpIndexEntry> entries = m_manual.index;
    std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return FromUtf8(a.keyword).compare(FromUtf8(b.keyword), Qt::CaseInsensitive) < 0;
    });
    for (const auto& entry : entries) {
        auto* item = new QListWidgetItem(FromUtf8(entry.keyword), m_index);
        item->setData(AnchorRole, FromUtf8(entry.anchor));
    }
}

void HelpWindow::ShowSection(const QString& anchor) {
    m_page->scrollToAnchor(anchor);
}

QStringList HelpWindow::Search(const QString& words) {
    m_tabs->setCurrentIndex(2);
    m_searchBox->setText(words);
    m_results->clear();
    QStringList titles;
    std::string query = words.toStdString();
    for (std::size_t s : SearchHelp(m_manual, query)) {
        const HelpSection& section = m_manual.sections[s];
        auto* item = new QListWidgetItem(FromUtf8(section.title), m_results);
        item->setData(AnchorRole, FromUtf8(section.anchor));
        titles << item->text();
    }
    m_searchCount->setText(QStringLiteral("%1 topics found").arg(titles.size()));
    HighlightWords(words.split(QLatin1Char(' '), Qt::SkipEmptyParts));
    if (m_results->count() > 0) {
        m_results->setCurrentRow(0);
        OnSearchResult(m_results->item(0));
    }
    return titles;
}

void HelpWindow::HighlightWords(const QStringList& words) {
    QList<QTextEdit::ExtraSelection> marks;
    for (const QString& word : words) {
        QTextCursor at(m_page->document());
        while (true) {
            at = m_page->document()->find(word, at);
            if (at.isNull())
                break;
            QTextEdit::ExtraSelection mark;
            mark.cursor = at;
            mark.format.setBackground(QColor(255, 230, 80));
            marks << mark;
        }
    }
    m_page->setExtraSelections(marks);
}

void HelpWindow::OnContentsItem(QTreeWidgetItem* item) {
    if (item)
        ShowSection(item->data(0, AnchorRole).toString());
}

void HelpWindow::OnIndexTyped(const QString& text) {
    // Like a printed index: jump to the first keyword beginning with what is typed.
    for (int row = 0; row < m_index->count(); ++row) {
        if (m_index->item(row)->text().startsWith(text, Qt::CaseInsensitive)) {
            m_index->setCurrentRow(row);
            m_index->scrollToItem(m_index->item(row), QAbstractItemView::PositionAtTop);
            return;
        }
    }
}

void HelpWindow::OnIndexChosen() {
    if (QListWidgetItem* item = m_index->currentItem())
        ShowSection(item->data(AnchorRole).toString());
}

void HelpWindow::OnSearch() {
    Search(m_searchBox->text());
}

void HelpWindow::OnSearchResult(QListWidgetItem* item) {
    if (item)
        ShowSection(item->data(AnchorRole).toString());
}

void HelpWindow::OnLink(const QUrl& url) {
    if (url.scheme().isEmpty() && url.path().isEmpty() && url.hasFragment())
        ShowSection(url.fragment());
    else
        QDesktopServices::openUrl(url);
}

} // namespace kesto
