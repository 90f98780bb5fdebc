#include "config/qt/roster_window.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace kesto {

namespace {

const char* const AddTitle = "Add Racer";
const char* const AddPrompt = "Enter new Racer's name";
const char* const ModifyTitle = "Modify Racer";
const char* const ModifyPrompt = "Modify Racer's name";

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, const char* tip) {
    auto* button = new QPushButton(QLatin1String(caption), parent);
    button->setObjectName(QLatin1String(name));
    if (tip)
        button->setToolTip(QLatin1String(tip));
    return button;
}

} // namespace

// --- frmAddModifyRacer -----------------------------------------------------------------

FrmAddModifyRacer::FrmAddModifyRacer(RosterEditor& roster, Dialogs& dialogs,
                                     std::function<void()> changed, std::function<void()> closed,
                                     QWidget* parent)
    : QDialog(parent), m_roster(roster), m_dialogs(dialogs), m_changed(std::move(changed)),
      m_closed(std::move(closed)) {
    setObjectName(QStringLiteral("frmAddModifyRacer"));
    setModal(false);
    m_lblAddModify = new QLabel(this);
    m_lblAddModify->setObjectName(QStringLiteral("lblAddModify"));
    m_txtADDModify = new QLineEdit(this);
    m_txtADDModify->setObjectName(QStringLiteral("txtADDModify"));
    m_txtADDModify->setMinimumWidth(260);
    m_lblAddModify->setBuddy(m_txtADDModify);
    m_cmdOK = MakeButton(this, "cmdOK", "&OK", nullptr);
    m_cmdOK->setDefault(true);
    m_cmdCancel = MakeButton(this, "cmdCancel", "&Cancel", nullptr);
    connect(m_cmdOK, &QPushButton::clicked, this, &FrmAddModifyRacer::cmdOK_Click);
    connect(m_cmdCancel, &QPushButton::clicked, this, &FrmAddModifyRacer::cmdCancel_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdCancel);
    auto* root = new QVBoxLayout(this);
    root->addWidget(m_lblAddModify);
    root->addWidget(m_txtADDModify);
    root->addLayout(buttons);
}

void FrmAddModifyRacer::Open(RacerNameMode mode, const char* title, const char* prompt) {
    m_mode = mode;
    setWindowTitle(QLatin1String(title));
    m_lblAddModify->setText(QLatin1String(prompt));
    show();
    raise();
    activateWindow();
    m_txtADDModify->setFocus();
}

void FrmAddModifyRacer::OpenForAdd() {
    m_txtADDModify->clear();
    Open(RacerNameMode::Add, AddTitle, AddPrompt);
}

void FrmAddModifyRacer::OpenForModify(size_t index, const QString& name) {
    m_rosterEditIndex = index;
    m_txtADDModify->setText(name);
    Open(RacerNameMode::Modify, ModifyTitle, ModifyPrompt);
}

void FrmAddModifyRacer::cmdOK_Click() {
    const RacerNameOutcome outcome = ConfirmRacerName(
        m_roster, m_mode, m_rosterEditIndex, m_txtADDModify->text().toStdString(), m_dialogs);
    // A duplicate, or a name the file did not take, stays in the box to be
    // corrected or cancelled.
    if (outcome == RacerNameOutcome::Duplicate || outcome == RacerNameOutcome::Failed)
        return;
    if (outcome == RacerNameOutcome::Saved && m_changed)
        m_changed();
    hide();
}

void FrmAddModifyRacer::cmdCancel_Click() {
    m_txtADDModify->clear();
    hide();
}

void FrmAddModifyRacer::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (m_closed)
        m_closed();
}

// --- frmKestoAddRacer ------------------------------------------------------------------

FrmKestoAddRacer::FrmKestoAddRacer(Dialogs& dialogs, std::filesystem::path programFolder,
                                   std::function<void()> loadRacerLists, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_roster(std::move(programFolder)),
      m_loadRacerLists(std::move(loadRacerLists)) {
    setObjectName(QStringLiteral("frmKestoAddRacer"));
    setWindowTitle(QStringLiteral("  Lapmark - Racers"));
    setModal(false);
    BuildControls();
    m_nameWindow = new FrmAddModifyRacer(
        m_roster, m_dialogs, [this] { ShowRoster(); }, [this] { NameWindowClosed(); }, this);
    Form_Load();
}

FrmKestoAddRacer::~FrmKestoAddRacer() {
    // The name window goes first, while the roster it reports to is whole.
    delete m_nameWindow;
}

void FrmKestoAddRacer::BuildControls() {
    m_lstRacers = new QListWidget(this);
    m_lstRacers->setObjectName(QStringLiteral("lstRacers"));
    m_lstRacers->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lstRacers->setMinimumSize(240, 260);
    m_lblQty = new QLabel(this);
    m_lblQty->setObjectName(QStringLiteral("lblQty"));

    m_cmdLoadNames = MakeButton(this, "cmdLoadNames", "&Load Names From file",
                                "Select file to load names into list box ");
    m_cmdAdd = MakeButton(this, "cmdAdd", "&Add", "Add new racer");
    m_cmdModify = MakeButton(this, "cmdModify", "&Modify", "Select racer from list to modify");
    m_cmdDelete = MakeButton(this, "cmdDelete", "&Delete", "Select racer from list to delete");
    m_cmdOK = MakeButton(this, "cmdOK", "OK", nullptr);
    m_cmdOK->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    connect(m_cmdLoadNames, &QPushButton::clicked, this, &FrmKestoAddRacer::cmdLoadNames_Click);
    connect(m_cmdAdd, &QPushButton::clicked, this, &FrmKestoAddRacer::cmdAdd_Click);
    connect(m_cmdModify, &QPushButton::clicked, this, &FrmKestoAddRacer::cmdModify_Click);
    connect(m_cmdDelete, &QPushButton::clicked, this, &FrmKestoAddRacer::cmdDelete_Click);
    connect(m_cmdOK, &QPushButton::clicked, this, &FrmKestoAddRacer::cmdOK_Click);
    // A double click on a name modifies it.
    connect(m_lstRacers, &QListWidget::itemDoubleClicked, this, &FrmKestoAddRacer::cmdModify_Click);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_cmdLoadNames);
    buttons->addSpacing(12);
    buttons->addWidget(m_cmdAdd);
    buttons->addWidget(m_cmdModify);
    buttons->addWidget(m_cmdDelete);
    buttons->addStretch(1);
    buttons->addWidget(m_cmdOK);

    auto* list = new QVBoxLayout;
    list->addWidget(m_lstRacers, 1);
    list->addWidget(m_lblQty);

    auto* root = new QHBoxLayout(this);
    root->addLayout(list, 1);
    root->addLayout(buttons);
}

void FrmKestoAddRacer::Form_Load() {
    std::string error;
    if (!m_roster.Load(&error))
        ShowMessage({}, error, MessageIcon::None);
    else if (!m_roster.Notice().empty())
        ShowMessage({}, m_roster.Notice(), MessageIcon::Information);
    ShowRoster();
}

void FrmKestoAddRacer::ShowRoster() {
    const int row = m_lstRacers->currentRow();
    m_lstRacers->clear();
    for (const std::string& name : m_roster.Names())
        m_lstRacers->addItem(QString::fromStdString(name));
    if (row >= 0 && row < m_lstRacers->count())
        m_lstRacers->setCurrentRow(row, QItemSelectionModel::NoUpdate);
    m_lblQty->setText(QString::fromStdString(m_roster.CountText()));
}

int FrmKestoAddRacer::FirstSelected() const {
    for (int row = 0; row < m_lstRacers->count(); ++row)
        if (m_lstRacers->item(row)->isSelected())
            return row;
    return -1;
}

void FrmKestoAddRacer::NameWindowClosed() {
    // While a name is being typed the roster keeps its order: a delete or an
    // import then would move the entry the name window is changing.
    const bool free = !m_nameWindow->isVisible();
    m_cmdDelete->setEnabled(free);
    m_cmdLoadNames->setEnabled(free);
}

void FrmKestoAddRacer::cmdAdd_Click() {
    m_nameWindow->OpenForAdd();
    NameWindowClosed();
}

void FrmKestoAddRacer::cmdModify_Click() {
    const int row = FirstSelected();
    if (row < 0) {
        ShowMessage("Modify", "Select name from list to modify", MessageIcon::Information);
        return;
    }
    m_nameWindow->OpenForModify(static_cast<size_t>(row), m_lstRacers->item(row)->text());
    NameWindowClosed();
}

void FrmKestoAddRacer::cmdDelete_Click() {
    const int row = FirstSelected();
    if (row < 0) {
        ShowMessage("Delete", "Select name from list to delete", MessageIcon::Information);
        return;
    }
    std::string error;
    if (!m_roster.Delete(static_cast<size_t>(row), &error))
        ShowMessage({}, error, MessageIcon::None);
    m_lstRacers->clearSelection();
    ShowRoster();
}

void FrmKestoAddRacer::cmdLoadNames_Click() {
    FileChoice choice;
    choice.title = "Select File to Load Names";
    choice.filter = "Dat Files(*.dat)|*.dat|Text Files(*.txt)|*.txt";
    const std::optional<std::string> chosen = m_dialogs.ChooseFile(choice);
    if (!chosen || QString::fromStdString(*chosen).trimmed().isEmpty())
        return;
    std::error_code exists;
    if (!std::filesystem::exists(*chosen, exists)) {
        ShowMessage({}, "File does not exist", MessageIcon::Information);
        return;
    }
    std::string error;
    // A file that cannot be read ends the import quietly; a roster that cannot
    // be saved is said, and the list keeps what the file still holds.
    const RosterEditor::ImportResult result = m_roster.Import(*chosen, &error);
    if (result == RosterEditor::ImportResult::NotSaved)
        ShowMessage({}, error, MessageIcon::None);
    else if (result == RosterEditor::ImportResult::Imported && !m_roster.Notice().empty())
        ShowMessage({}, m_roster.Notice(), MessageIcon::Information);
    m_lstRacers->clearSelection();
    ShowRoster();
}

bool FrmKestoAddRacer::NameWindowClosedFirst() {
    if (!m_nameWindow->isVisible())
        return true;
    ShowMessage({}, "Please close form " + m_nameWindow->windowTitle().toStdString() + " first",
                MessageIcon::None);
    return false;
}

void FrmKestoAddRacer::cmdOK_Click() {
    if (!NameWindowClosedFirst())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (m_loadRacerLists)
        m_loadRacerLists();
    QApplication::restoreOverrideCursor();
    accept();
}

void FrmKestoAddRacer::reject() {
    if (NameWindowClosedFirst())
        QDialog::reject();
}

void FrmKestoAddRacer::ShowMessage(const std::string& title, const std::string& text,
                                   MessageIcon icon) {
    Message box;
    box.title = title;
    box.text = text;
    box.icon = icon;
    m_dialogs.Show(box);
}

} // namespace kesto
