#include "meeting/qt/meeting_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kesto {
namespace {

constexpr const char* MeetingFilter = "Meeting Files (*.meeting.json)|*.meeting.json";

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// "10, 9, 8": the numbers of a list the operator typed; nothing for a stray word.
std::optional<std::vector<int>> NumberList(const QString& text) {
    std::vector<int> numbers;
    for (const QString& item : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int value = item.trimmed().toInt(&ok);
        if (!ok)
            return std::nullopt;
        numbers.push_back(value);
    }
    return numbers;
}

QString ListText(const std::vector<int>& numbers) {
    QStringList items;
    for (int n : numbers)
        items << QString::number(n);
    return items.join(QStringLiteral(", "));
}

template <class W> W* Named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QSpinBox* SpinBox(const char* name, int low, int high) {
    auto* box = Named(new QSpinBox, name);
    box->setRange(low, high);
    return box;
}

QTableWidget* Table(const char* name, const QStringList& headers, int stretch) {
    auto* table = Named(new QTableWidget(0, static_cast<int>(headers.size())), name);
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->hide();
    // Every column as wide as its contents, the widest one (`stretch`) takes the rest.
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(stretch, QHeaderView::Stretch);
    return table;
}

QTableWidgetItem* Cell(const QString& text, int heat = 0) {
    auto* item = new QTableWidgetItem(text);
    item->setData(Qt::UserRole, heat);
    return item;
}

QString StageText(const Heat& heat) {
    return heat.stage == HeatStage::Final ? QStringLiteral("Final")
                                          : QStringLiteral("Round %1").arg(heat.round);
}

QString RacersText(const Meeting& meeting, const Heat& heat) {
    QStringList racers;
    for (const HeatSlot& slot : heat.grid)
        racers << QStringLiteral("%1 %2%3%4")
                      .arg(slot.carId)
                      .arg(Q(EntryName(meeting, slot.entry)))
                      .arg(slot.noShow ? QStringLiteral(" (no-show)") : QString())
                      .arg(slot.bumpedUp ? QStringLiteral(" (up)") : QString());
    return racers.join(QStringLiteral(", "));
}

QString ResultText(const Heat& heat) {
    if (!heat.result)
        return QString();
    QString text = QStringLiteral("Run");
    if (!heat.setAside.empty())
        text += QStringLiteral(" (re-run %1)").arg(heat.setAside.size());
    return text;
}

} // namespace

FrmMeeting::FrmMeeting(MeetingDesk& desk, Dialogs& dialogs, std::filesystem::path programFolder,
                       MeetingWindowHooks hooks, QWidget* parent)
    : QDialog(parent), m_desk(desk), m_dialogs(dialogs), m_folder(std::move(programFolder)),
      m_hooks(std::move(hooks)) {
    setObjectName(QStringLiteral("frmMeeting"));
    setWindowTitle(QStringLiteral("Meeting"));
    auto* top = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(MakeSetup());
    left->addWidget(MakeEntries());
    top->addLayout(left);
    top->addWidget(MakeHeats(), 1);
    auto* layout = new QVBoxLayout(this);
    m_lblMeetingFile = Named(new QLabel, "lblMeetingFile");
    layout->addWidget(m_lblMeetingFile);
    layout->addLayout(top);
    resize(1100, 640);
    ShowSetup(NewMeeting(std::string(), std::string()));
    Refresh();
}

QWidget* FrmMeeting::MakeSetup() {
    auto* box = Named(new QGroupBox(QStringLiteral("Set-up")), "fraSetup");
    auto* form = new QFormLayout(box);
    m_txtName = Named(new QLineEdit, "txtMeetingName");
    m_txtDate = Named(new QLineEdit, "txtMeetingDate");
    m_txtDate->setPlaceholderText(QStringLiteral("YYYY-MM-DD"));
    m_cmbHeatFormat = Named(new QComboBox, "cmbHeatFormat");
    m_cmbHeatFormat->addItems({QStringLiteral("Laps"), QStringLiteral("Minutes")});
    m_spnHeatCount = SpinBox("spnHeatCount", 1, 3000);
    auto* format = new QHBoxLayout;
    format->addWidget(m_spnHeatCount);
    format->addWidget(m_cmbHeatFormat);
    // In FinishRule order.
    m_cmbFinish = Named(new QComboBox, "cmbFinish");
    m_cmbFinish->addItems({QStringLiteral("Leader at the flag, the others on their next pass"),
                           QStringLiteral("Every car on its next pass (RC)")});
    m_spnRounds = SpinBox("spnRounds", 1, 20);
    m_spnHeatSize = SpinBox("spnHeatSize", 1, MaxHeatSize);
    m_cmbScoring = Named(new QComboBox, "cmbScoring");
    m_cmbScoring->addItems({QStringLiteral("Best rounds (laps, then time)"),
                            QStringLiteral("Points per place"),
                            QStringLiteral("Lane rotation (slot cars)")});
    m_spnCountedRounds = SpinBox("spnCountedRounds", 1, 20);
    m_txtPoints = Named(new QLineEdit, "txtPoints");
    m_chkDropWorst =
        Named(new QCheckBox(QStringLiteral("Drop each racer's worst round")), "chkDropWorst");
    m_txtMainSizes = Named(new QLineEdit, "txtMainSizes");
    m_txtMainSizes->setPlaceholderText(QStringLiteral("A, B, ... main sizes: 10, 10"));
    m_spnBumpUp = SpinBox("spnBumpUp", 0, MaxHeatSize);
    form->addRow(QStringLiteral("Name"), m_txtName);
    form->addRow(QStringLiteral("Date"), m_txtDate);
    form->addRow(QStringLiteral("Heats of"), format);
    form->addRow(QStringLiteral("Finish"), m_cmbFinish);
    form->addRow(QStringLiteral("Qualifying rounds"), m_spnRounds);
    form->addRow(QStringLiteral("Heat size (lanes)"), m_spnHeatSize);
    form->addRow(QStringLiteral("Scoring"), m_cmbScoring);
    form->addRow(QStringLiteral("Best rounds counted"), m_spnCountedRounds);
    form->addRow(QStringLiteral("Points"), m_txtPoints);
    form->addRow(QString(), m_chkDropWorst);
    form->addRow(QStringLiteral("Finals"), m_txtMainSizes);
    form->addRow(QStringLiteral("Bump-up"), m_spnBumpUp);

    auto* buttons = new QHBoxLayout;
    auto button = [&](const char* text, const char* name, bool needsMeeting) {
        auto* b = Named(new QPushButton(QLatin1String(text)), name);
        buttons->addWidget(b);
        if (needsMeeting)
            m_needMeeting.push_back(b);
        return b;
    };
    connect(button("&New...", "cmdNewMeeting", false), &QPushButton::clicked, this,
            &FrmMeeting::cmdNewMeeting_Click);
    connect(button("&Open...", "cmdOpenMeeting", false), &QPushButton::clicked, this,
            &FrmMeeting::cmdOpenMeeting_Click);
    connect(button("Save set-&up", "cmdSaveSetup", true), &QPushButton::clicked, this, [this] {
        Act([this](Meeting& meeting) {
            TakeSetup(meeting);
            return CheckSetup(meeting);
        });
    });
    connect(button("Plan &heats", "cmdPlanHeats", true), &QPushButton::clicked, this, [this] {
        Act([this](Meeting& meeting) {
            TakeSetup(meeting);
            return PlanQualifying(meeting);
        });
    });
    connect(button("Plan &finals", "cmdPlanFinals", true), &QPushButton::clicked, this, [this] {
        const FinalsSetup setup = TakeFinals();
        Act([&](Meeting& meeting) { return PlanFinals(meeting, setup); });
    });
    form->addRow(buttons);
    return box;
}

QWidget* FrmMeeting::MakeEntries() {
    auto* box = Named(new QGroupBox(QStringLiteral("Entries")), "fraEntries");
    auto* layout = new QGridLayout(box);
    m_lstRoster = Named(new QListWidget, "lstRoster");
    for (const std::string& name : m_hooks.roster)
        m_lstRoster->addItem(Q(name));
    m_spnTransponder = SpinBox("spnTransponder", 0, MaxCarIds);
    m_spnTransponder->setSpecialValueText(QStringLiteral("none"));
    auto* add = Named(new QPushButton(QStringLiteral("&Enter racer")), "cmdAddEntry");
    m_needMeeting.push_back(add);
    connect(add, &QPushButton::clicked, this, &FrmMeeting::cmdAddEntry_Click);
    m_grdEntries = Table(
        "grdEntries",
        {QStringLiteral("No."), QStringLiteral("Name"), QStringLiteral("ID"), QStringLiteral("")},
        1);
    layout->addWidget(new QLabel(QStringLiteral("Roster")), 0, 0);
    layout->addWidget(m_lstRoster, 1, 0, 3, 1);
    layout->addWidget(new QLabel(QStringLiteral("Transponder ID")), 1, 1);
    layout->addWidget(m_spnTransponder, 2, 1);
    layout->addWidget(add, 3, 1);
    layout->addWidget(m_grdEntries, 0, 2, 4, 1);
    return box;
}

QWidget* FrmMeeting::MakeHeats() {
    auto* box = Named(new QGroupBox(QStringLiteral("Heats")), "fraHeats");
    auto* layout = new QVBoxLayout(box);
    m_lblNextHeat = Named(new QLabel, "lblNextHeat");
    m_grdHeats = Table("grdHeats",
                       {QString(), QStringLiteral("Heat"), QStringLiteral("Stage"),
                        QStringLiteral("Racers (ID name)"), QStringLiteral("Result")},
                       3);
    connect(m_grdHeats, &QTableWidget::itemSelectionChanged, this, &FrmMeeting::ShowHeatRacers);
    auto* row1 = new QHBoxLayout;
    auto* row2 = new QHBoxLayout;
    auto button = [&](QHBoxLayout* row, const char* text, const char* name) {
        auto* b = Named(new QPushButton(QLatin1String(text)), name);
        row->addWidget(b);
        m_needMeeting.push_back(b);
        return b;
    };
    connect(button(row1, "&Load heat", "cmdLoadHeat"), &QPushButton::clicked, this,
            &FrmMeeting::cmdLoadHeat_Click);
    connect(button(row1, "&Re-run", "cmdReRun"), &QPushButton::clicked, this, [this] {
        const int heat = SelectedHeat();
        Act([heat](Meeting& meeting) { return ReRunHeat(meeting, heat); });
    });
    connect(button(row1, "&Standings...", "cmdStandings"), &QPushButton::clicked, this, [this] {
        if (m_hooks.showStandings)
            m_hooks.showStandings();
    });
    m_cmbHeatRacer = Named(new QComboBox, "cmbHeatRacer");
    m_cmbMoveTo = Named(new QComboBox, "cmbMoveTo");
    row2->addWidget(new QLabel(QStringLiteral("Racer")));
    row2->addWidget(m_cmbHeatRacer, 1);
    connect(button(row2, "No-&show", "cmdNoShow"), &QPushButton::clicked, this,
            &FrmMeeting::cmdNoShow_Click);
    row2->addWidget(new QLabel(QStringLiteral("to")));
    row2->addWidget(m_cmbMoveTo);
    connect(button(row2, "&Move racer", "cmdMoveRacer"), &QPushButton::clicked, this,
            &FrmMeeting::cmdMoveRacer_Click);
    layout->addWidget(m_lblNextHeat);
    layout->addWidget(m_grdHeats, 1);
    layout->addLayout(row1);
    layout->addLayout(row2);
    return box;
}

void FrmMeeting::Refresh() {
    const bool open = m_desk.IsOpen();
    for (QPushButton* button : m_needMeeting)
        button->setEnabled(open);
    if (!open) {
        m_lblMeetingFile->setText(QStringLiteral("No meeting is open: New... or Open..."));
        m_grdEntries->setRowCount(0);
        m_grdHeats->setRowCount(0);
        m_lblNextHeat->clear();
        ShowHeatRacers();
        return;
    }
    const Meeting& meeting = m_desk.meeting();
    m_lblMeetingFile->setText(Q(m_desk.Path().string()));
    ShowSetup(meeting);
    m_grdEntries->setRowCount(static_cast<int>(meeting.entries.size()));
    for (int r = 0; r < m_grdEntries->rowCount(); ++r) {
        const MeetingEntry& entry = meeting.entries[static_cast<size_t>(r)];
        m_grdEntries->setItem(r, 0, Cell(QString::number(entry.number)));
        m_grdEntries->setItem(r, 1, Cell(Q(entry.name)));
        m_grdEntries->setItem(
            r, 2,
            Cell(entry.transponder ? QString::number(entry.transponder) : QStringLiteral("-")));
        m_grdEntries->setItem(r, 3, Cell(entry.late ? QStringLiteral("late") : QString()));
    }
    ShowHeats(meeting);
}

void FrmMeeting::ShowSetup(const Meeting& meeting) {
    m_txtName->setText(Q(meeting.name));
    m_txtDate->setText(Q(meeting.date));
    m_cmbHeatFormat->setCurrentIndex(meeting.heatFormat.kind == HeatFormatKind::Laps ? 0 : 1);
    m_spnHeatCount->setValue(meeting.heatFormat.count);
    m_cmbFinish->setCurrentIndex(static_cast<int>(meeting.finish));
    m_spnRounds->setValue(meeting.rounds);
    m_spnHeatSize->setValue(meeting.heatSize);
    m_cmbScoring->setCurrentIndex(static_cast<int>(meeting.scoring.rule));
    m_spnCountedRounds->setValue(meeting.scoring.countedRounds);
    m_txtPoints->setText(ListText(meeting.scoring.points));
    m_chkDropWorst->setChecked(meeting.scoring.dropWorstRound);
    if (meeting.finals) {
        m_txtMainSizes->setText(ListText(meeting.finals->mainSizes));
        m_spnBumpUp->setValue(meeting.finals->bumpUp);
    }
}

void FrmMeeting::TakeSetup(Meeting& meeting) const {
    meeting.name = m_txtName->text().trimmed().toStdString();
    meeting.date = m_txtDate->text().trimmed().toStdString();
    meeting.heatFormat = HeatFormat{m_cmbHeatFormat->currentIndex() == 0 ? HeatFormatKind::Laps
                                                                         : HeatFormatKind::Minutes,
                                    m_spnHeatCount->value()};
    meeting.finish = static_cast<FinishRule>(m_cmbFinish->currentIndex());
    meeting.rounds = m_spnRounds->value();
    meeting.heatSize = m_spnHeatSize->value();
    meeting.scoring.rule = static_cast<ScoringRule>(m_cmbScoring->currentIndex());
    meeting.scoring.countedRounds = m_spnCountedRounds->value();
    // A list with a stray word in it is refused by the set-up's own check.
    meeting.scoring.points = NumberList(m_txtPoints->text()).value_or(std::vector<int>{});
    meeting.scoring.dropWorstRound = m_chkDropWorst->isChecked();
}

FinalsSetup FrmMeeting::TakeFinals() const {
    FinalsSetup setup;
    setup.mainSizes = NumberList(m_txtMainSizes->text()).value_or(std::vector<int>{});
    setup.bumpUp = m_spnBumpUp->value();
    setup.format = m_desk.IsOpen() ? m_desk.meeting().heatFormat : HeatFormat{};
    return setup;
}

void FrmMeeting::ShowHeats(const Meeting& meeting) {
    const int selected = SelectedHeat();
    const Heat* next = NextHeat(meeting);
    m_lblNextHeat->setText(next ? QStringLiteral("Next: %1").arg(Q(HeatCallName(*next)))
                                : QStringLiteral("Every heat has been run."));
    if (m_desk.LoadedHeat() != 0)
        m_lblNextHeat->setText(m_lblNextHeat->text() +
                               QStringLiteral("   Loaded: heat %1").arg(m_desk.LoadedHeat()));
    m_grdHeats->setRowCount(static_cast<int>(meeting.heats.size()));
    m_cmbMoveTo->clear();
    for (int r = 0; r < m_grdHeats->rowCount(); ++r) {
        const Heat& heat = meeting.heats[static_cast<size_t>(r)];
        const bool proposed = next && next->number == heat.number;
        m_grdHeats->setItem(r, 0, Cell(proposed ? QStringLiteral("Next") : QString(), heat.number));
        m_grdHeats->setItem(r, 1, Cell(Q(HeatCallName(heat)), heat.number));
        m_grdHeats->setItem(r, 2, Cell(StageText(heat), heat.number));
        m_grdHeats->setItem(r, 3, Cell(RacersText(meeting, heat), heat.number));
        m_grdHeats->setItem(r, 4, Cell(ResultText(heat), heat.number));
        if (proposed)
            for (int c = 0; c < m_grdHeats->columnCount(); ++c)
                m_grdHeats->item(r, c)->setBackground(QColor(255, 255, 160));
        if (heat.number == selected || (selected == 0 && proposed))
            m_grdHeats->selectRow(r);
        m_cmbMoveTo->addItem(Q(HeatCallName(heat)), heat.number);
    }
    ShowHeatRacers();
}

void FrmMeeting::ShowHeatRacers() {
    // The racer chosen stays chosen while it is in the heat shown.
    const QVariant chosen = m_cmbHeatRacer->currentData();
    m_cmbHeatRacer->clear();
    const int number = SelectedHeat();
    if (!m_desk.IsOpen() || number == 0)
        return;
    if (const Heat* heat = FindHeat(m_desk.meeting(), number))
        for (const HeatSlot& slot : heat->grid)
            m_cmbHeatRacer->addItem(Q(EntryName(m_desk.meeting(), slot.entry)), slot.entry);
    m_cmbHeatRacer->setCurrentIndex(std::max(0, m_cmbHeatRacer->findData(chosen)));
}

int FrmMeeting::SelectedHeat() const {
    const auto items = m_grdHeats->selectedItems();
    return items.isEmpty() ? 0 : items.first()->data(Qt::UserRole).toInt();
}

int FrmMeeting::SelectedRacer() const {
    return m_cmbHeatRacer->currentData().toInt();
}

void FrmMeeting::Act(const std::function<Refusal(Meeting&)>& change) {
    Tell(m_desk.Change(change));
    Refresh();
}

void FrmMeeting::Tell(const Refusal& refusal) {
    if (refusal)
        m_dialogs.Show(Message{"Meeting", *refusal, MessageIcon::Warning});
}

void FrmMeeting::cmdNewMeeting_Click() {
    Meeting meeting = NewMeeting(std::string(), std::string());
    TakeSetup(meeting);
    if (Refusal faulty = CheckSetup(meeting)) {
        Tell(faulty);
        return;
    }
    FileChoice choice;
    choice.save = true;
    choice.title = "New Meeting";
    choice.filter = MeetingFilter;
    choice.initialPath = (m_folder / MeetingFileName(meeting)).string();
    if (const auto path = m_dialogs.ChooseFile(choice))
        Tell(m_desk.Create(*path, std::move(meeting)));
    Refresh();
}

void FrmMeeting::cmdOpenMeeting_Click() {
    FileChoice choice;
    choice.title = "Open Meeting";
    choice.filter = MeetingFilter;
    choice.initialPath = m_folder.string();
    if (const auto path = m_dialogs.ChooseFile(choice))
        Tell(m_desk.Open(*path));
    Refresh();
}

void FrmMeeting::cmdAddEntry_Click() {
    const QListWidgetItem* item = m_lstRoster->currentItem();
    if (!item) {
        Tell(std::string("Choose a racer from the roster first."));
        return;
    }
    const std::string name = item->text().toStdString();
    const int transponder = m_spnTransponder->value();
    Act([&](Meeting& meeting) { return AddEntry(meeting, name, transponder); });
}

void FrmMeeting::cmdLoadHeat_Click() {
    if (m_hooks.loadHeat)
        Tell(m_hooks.loadHeat(SelectedHeat()));
    Refresh();
}

void FrmMeeting::cmdNoShow_Click() {
    const int heat = SelectedHeat(), entry = SelectedRacer();
    Act([heat, entry](Meeting& meeting) {
        const Heat* found = FindHeat(meeting, heat);
        const HeatSlot* slot = found ? FindSlot(*found, entry) : nullptr;
        return SetNoShow(meeting, heat, entry, !(slot && slot->noShow));
    });
}

void FrmMeeting::cmdMoveRacer_Click() {
    const int heat = SelectedHeat(), entry = SelectedRacer();
    const int to = m_cmbMoveTo->currentData().toInt();
    Act([=](Meeting& meeting) { return MoveRacer(meeting, entry, heat, to); });
}

} // namespace kesto
