// Resize_Class on a real QWidget window through the Qt adapter, offscreen.
#include "resize/qt/qt_resize_view.h"
#include "resize/resize_class.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QResizeEvent>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kesto {
namespace {

// A window that keeps its labels in proportion the way the race screen does:
// one resizer, fed from every resize event.
class ScaledWindow final : public QWidget {
public:
    ScaledWindow() {
        resize(400, 300);
        clock = AddLabel(this, QRect(40, 20, 120, 30), 10);
        lapTime = AddLabel(this, QRect(200, 100, 160, 40), 12);
        frame = new QFrame(this);
        frame->setGeometry(20, 160, 360, 120);
        frameName = AddLabel(frame, QRect(10, 10, 100, 20), 8);
        grid = new QTableWidget(3, 3, this);
        grid->setGeometry(0, 280, 400, 20);
        popup = new QDialog(this); // a window of its own, not a control
        popupLabel = AddLabel(popup, QRect(5, 5, 50, 20), 9);
    }

    static QLabel* AddLabel(QWidget* parent, const QRect& geometry, double points) {
        auto* label = new QLabel(QStringLiteral("1:23"), parent);
        label->setGeometry(geometry);
        QFont font = label->font();
        font.setPointSizeF(points);
        label->setFont(font);
        return label;
    }

    Resize_Class resizer;
    QLabel* clock;
    QLabel* lapTime;
    QFrame* frame;
    QLabel* frameName;
    QTableWidget* grid;
    QDialog* popup;
    QLabel* popupLabel;

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        QtResizeWindowView view(this);
        resizer.ResizeControls(view);
    }
};

class QtResizeViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.show(); // the first resize event records the design layout
        ASSERT_TRUE(window.resizer.Initialised());
        ASSERT_EQ(window.resizer.LastScaleWidth(), 400);
    }
    void ExpectDesign() {
        EXPECT_EQ(window.clock->geometry(), QRect(40, 20, 120, 30));
        EXPECT_DOUBLE_EQ(window.clock->font().pointSizeF(), 10);
        EXPECT_EQ(window.lapTime->geometry(), QRect(200, 100, 160, 40));
        EXPECT_DOUBLE_EQ(window.lapTime->font().pointSizeF(), 12);
        EXPECT_EQ(window.frame->geometry(), QRect(20, 160, 360, 120));
        EXPECT_EQ(window.frameName->geometry(), QRect(10, 10, 100, 20));
        EXPECT_DOUBLE_EQ(window.frameName->font().pointSizeF(), 8);
    }

    ScaledWindow window;
};

TEST_F(QtResizeViewTest, PresentsTheWindowsOwnWidgetsInAFixedOrder) {
    QtResizeWindowView view(&window);
    EXPECT_EQ(view.ScaleWidth(), 400);
    EXPECT_EQ(view.ScaleHeight(), 300);
    // clock, lapTime, frame, frameName, grid: the grid's inner parts and the
    // dialog are not controls.
    ASSERT_EQ(view.Count(), 5);
    std::vector<QWidget*> order;
    for (int i = 0; i < view.Count(); ++i)
        order.push_back(static_cast<QtResizeControlView*>(view.Control(i))->Widget());
    EXPECT_EQ(order, (std::vector<QWidget*>{window.clock, window.lapTime, window.frame,
                                            window.frameName, window.grid}));
    EXPECT_EQ(view.Control(5), nullptr);

    // Raising a widget reorders Qt's children but not the controls.
    window.clock->raise();
    QtResizeWindowView again(&window);
    ASSERT_EQ(again.Count(), 5);
    EXPECT_EQ(static_cast<QtResizeControlView*>(again.Control(0))->Widget(), window.clock);

    ControlView& clock = *view.Control(0);
    EXPECT_EQ(clock.Kind(), ControlKind::Other);
    EXPECT_EQ(clock.ContainerIsPaged(), false);
    EXPECT_EQ(clock.Get(ControlProperty::Left), 40);
    EXPECT_EQ(clock.Get(ControlProperty::Top), 20);
    EXPECT_EQ(clock.Get(ControlProperty::Width), 120);
    EXPECT_EQ(clock.Get(ControlProperty::Height), 30);
    EXPECT_EQ(clock.Get(ControlProperty::FontSize), 10);
    EXPECT_EQ(clock.Get(ControlProperty::X1), std::nullopt);
    EXPECT_FALSE(clock.Set(ControlProperty::BorderWidth, 2));
    EXPECT_FALSE(clock.Set(ControlProperty::FontSize, 0));
    EXPECT_FALSE(clock.Set(ControlProperty::Width, -5));
    EXPECT_FALSE(clock.Set(ControlProperty::Left, std::nan("")));
    EXPECT_EQ(window.clock->geometry(), QRect(40, 20, 120, 30));
}

TEST_F(QtResizeViewTest, LabelsFollowTheWindowAndComeBack) {
    window.resize(800, 600);
    EXPECT_EQ(window.clock->geometry(), QRect(80, 40, 240, 60));
    EXPECT_DOUBLE_EQ(window.clock->font().pointSizeF(), 20);
    EXPECT_EQ(window.lapTime->geometry(), QRect(400, 200, 320, 80));
    EXPECT_DOUBLE_EQ(window.lapTime->font().pointSizeF(), 24);
    EXPECT_EQ(window.frame->geometry(), QRect(40, 320, 720, 240));
    // Inside the frame: scaled by the window's factors, relative to the frame.
    EXPECT_EQ(window.frameName->geometry(), QRect(20, 20, 200, 40));
    EXPECT_DOUBLE_EQ(window.frameName->font().pointSizeF(), 16);
    EXPECT_EQ(window.grid->geometry(), QRect(0, 560, 800, 40));
    // The dialog's label is no control of this window.
    EXPECT_EQ(window.popupLabel->geometry(), QRect(5, 5, 50, 20));

    window.resize(800, 300); // wider only: text keeps its size
    EXPECT_EQ(window.clock->geometry(), QRect(80, 20, 240, 30));
    EXPECT_DOUBLE_EQ(window.clock->font().pointSizeF(), 10);

    window.resize(400, 150); // half as tall: text halves
    EXPECT_EQ(window.clock->geometry(), QRect(40, 10, 120, 15));
    EXPECT_DOUBLE_EQ(window.clock->font().pointSizeF(), 5);

    window.resize(123, 457);
    window.resize(400, 300);
    ExpectDesign();
}

TEST_F(QtResizeViewTest, WidgetsAddedLaterAndLaidOutWidgetsAreLeftInPlace) {
    QLabel* late = ScaledWindow::AddLabel(&window, QRect(1, 2, 3, 4), 7);
    late->show();
    auto* laidOut = new QWidget(&window);
    laidOut->setGeometry(0, 0, 100, 100);
    auto* inLayout = ScaledWindow::AddLabel(laidOut, QRect(0, 0, 10, 10), 6);
    (new QVBoxLayout(laidOut))->addWidget(inLayout);

    QtResizeWindowView view(&window);
    ASSERT_EQ(view.Count(), 8);
    // New widgets come after the recorded ones.
    EXPECT_EQ(static_cast<QtResizeControlView*>(view.Control(5))->Widget(), late);
    QtResizeControlView inLayoutView(inLayout);
    EXPECT_FALSE(inLayoutView.Set(ControlProperty::Left, 50));
    EXPECT_TRUE(inLayoutView.Set(ControlProperty::FontSize, 9));
    EXPECT_DOUBLE_EQ(inLayout->font().pointSizeF(), 9);

    window.resize(800, 600);
    EXPECT_EQ(late->geometry(), QRect(1, 2, 3, 4));
    EXPECT_DOUBLE_EQ(late->font().pointSizeF(), 7);
    EXPECT_EQ(window.clock->geometry(), QRect(80, 40, 240, 60));
}

TEST_F(QtResizeViewTest, MinimisedToNothingAndBack) {
    window.resize(0, 0);
    EXPECT_DOUBLE_EQ(window.clock->font().pointSizeF(), 10); // size 0 refused
    window.resize(400, 300);
    ExpectDesign();
}

TEST_F(QtResizeViewTest, PixelSizedFontHasNoPointSizeForTheResizer) {
    QFont font = window.clock->font();
    font.setPixelSize(14);
    window.clock->setFont(font);
    QtResizeControlView clock(window.clock);
    EXPECT_EQ(clock.Get(ControlProperty::FontSize), std::nullopt);
    EXPECT_FALSE(clock.Set(ControlProperty::FontSize, 12));
    EXPECT_EQ(window.clock->font().pixelSize(), 14);
}

} // namespace
} // namespace kesto
