#pragma once
// The racer roster windows: frmKestoAddRacer, "  Lapmark - Racers", shows the
// club's roster ("kestoRacers.dat") with add, modify, delete and import, and
// frmAddModifyRacer is the small window in which one name is typed. Both are
// modeless; every change is written to the file at once, and the roster
// window's OK refills the race screen's name lists.

#include "base/dialogs.h"
#include "config/roster_editor.h"

#include <QDialog>

#include <filesystem>
#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kesto {

class FrmAddModifyRacer final : public QDialog {
    Q_OBJECT
public:
    // `changed` runs after a name was saved to the roster; `closed` whenever
    // the window closes.
    FrmAddModifyRacer(RosterEditor& roster, Dialogs& dialogs, std::function<void()> changed,
                      std::function<void()> closed, QWidget* parent = nullptr);

    // Shows the window for a new name ("Add Racer") or for a change of roster
    // entry `index` ("Modify Racer"), with `name` in the name box.
    void OpenForAdd();
    void OpenForModify(size_t index, const QString& name);

    void cmdOK_Click();
    void cmdCancel_Click();

    RacerNameMode Mode() const { return m_mode; }
    // RosterEditIndex: the entry being modified.
    size_t RosterEditIndex() const { return m_rosterEditIndex; }
    QLabel* lblAddModify() const { return m_lblAddModify; }
    QLineEdit* txtADDModify() const { return m_txtADDModify; }
    QPushButton* cmdOK() const { return m_cmdOK; }
    QPushButton* cmdCancel() const { return m_cmdCancel; }

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void Open(RacerNameMode mode, const char* title, const char* prompt);

    RosterEditor& m_roster;
    Dialogs& m_dialogs;
    std::function<void()> m_changed;
    std::function<void()> m_closed;
    RacerNameMode m_mode = RacerNameMode::Add;
    size_t m_rosterEditIndex = 0;

    QLabel* m_lblAddModify = nullptr;
    QLineEdit* m_txtADDModify = nullptr;
    QPushButton* m_cmdOK = nullptr;
    QPushButton* m_cmdCancel = nullptr;
};

class FrmKestoAddRacer final : public QDialog {
    Q_OBJECT
public:
    // `loadRacerLists` refills the race screen's 14 name lists from the file.
    FrmKestoAddRacer(Dialogs& dialogs, std::filesystem::path programFolder,
                     std::function<void()> loadRacerLists, QWidget* parent = nullptr);
    ~FrmKestoAddRacer() override;

    // The window's actions, also driven directly by tests.
    void cmdLoadNames_Click();
    void cmdAdd_Click();
    void cmdModify_Click();
    void cmdDelete_Click();
    void cmdOK_Click();
    // Closing by the close box or Escape: refused while a name is being typed.
    void reject() override;

    const RosterEditor& Roster() const { return m_roster; }
    FrmAddModifyRacer* NameWindow() const { return m_nameWindow; }
    QListWidget* lstRacers() const { return m_lstRacers; }
    QLabel* lblQty() const { return m_lblQty; }
    QPushButton* cmdLoadNames() const { return m_cmdLoadNames; }
    QPushButton* cmdAdd() const { return m_cmdAdd; }
    QPushButton* cmdModify() const { return m_cmdModify; }
    QPushButton* cmdDelete() const { return m_cmdDelete; }
    QPushButton* cmdOK() const { return m_cmdOK; }

private:
    void BuildControls();
    void Form_Load();
    void ShowRoster();
    void NameWindowClosed();
    // False, after saying so, while the name window is open.
    bool NameWindowClosedFirst();
    int FirstSelected() const;
    void ShowMessage(const std::string& title, const std::string& text, MessageIcon icon);

    Dialogs& m_dialogs;
    RosterEditor m_roster;
    std::function<void()> m_loadRacerLists;
    FrmAddModifyRacer* m_nameWindow = nullptr;

    QListWidget* m_lstRacers = nullptr;
    QLabel* m_lblQty = nullptr;
    QPushButton* m_cmdLoadNames = nullptr;
    QPushButton* m_cmdAdd = nullptr;
    QPushButton* m_cmdModify = nullptr;
    QPushButton* m_cmdDelete = nullptr;
    QPushButton* m_cmdOK = nullptr;
};

} // namespace kesto
