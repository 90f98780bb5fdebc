#pragma once
// frmHits, the hits table: ID, Hits, Min and Max for the 14 IDs. Nothing in
// the timer fills the Hits, Min and Max cells; the window shows the numbered
// rows. Opened from "Hits" of the View Data menu without blocking.

#include <QWidget>

class QTableWidget;

namespace kesto {

class FrmHits final : public QWidget {
    Q_OBJECT
public:
    explicit FrmHits(QWidget* parent = nullptr);

    // The "Hits" menu command: a new window, shown without blocking, deleted
    // when closed.
    static FrmHits* ShowModeless(QWidget* parent);

    QTableWidget* Grid() const { return m_grdHits; }

private:
    QTableWidget* m_grdHits = nullptr;
};

} // namespace kesto
