#include "resize/resize_class.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <vector>

namespace kesto {
namespace {

using P = ControlProperty;

// A control holding exactly the properties it was given; others fail, as do
// the ones listed in `failing`. Like a real control it refuses a font size
// or a width or height that is not positive.
class FakeControl final : public ControlView {
public:
    FakeControl(ControlKind kind, std::map<P, double> values) : kind(kind), values(values) {}

    ControlKind Kind() const override { return kind; }
    std::optional<bool> ContainerIsPaged() const override { return paged; }
    std::optional<double> Get(P property) const override {
        auto it = values.find(property);
        if (it == values.end() || failing.count(property))
            return std::nullopt;
        return it->second;
    }
    bool Set(P property, double value) override {
        ++sets;
        if (!values.count(property) || failing.count(property))
            return false;
        if (property == P::FontSize && value <= 0)
            return false;
        values[property] = value;
        return true;
    }

    double operator[](P property) const { return values.at(property); }

    ControlKind kind;
    std::map<P, double> values;
    std::set<P> failing;
    std::optional<bool> paged = false;
    int sets = 0;
};

class FakeWindow final : public WindowView {
public:
    std::optional<double> ScaleWidth() const override { return width; }
    std::optional<double> ScaleHeight() const override { return height; }
    int Count() const override { return static_cast<int>(controls.size()); }
    ControlView* Control(int index) override { return controls.at(static_cast<size_t>(index)); }

    FakeControl& Add(ControlKind kind, std::map<P, double> values) {
        owned.push_back(std::make_unique<FakeControl>(kind, values));
        controls.push_back(owned.back().get());
        return *owned.back();
    }
    FakeControl& AddBox(double left, double top, double w, double h) {
        return Add(ControlKind::Other,
                   {{P::Left, left}, {P::Top, top}, {P::Width, w}, {P::Height, h}});
    }
    FakeControl& AddLabel(double left, double top, double w, double h, double font) {
        FakeControl& label = AddBox(left, top, w, h);
        label.values[P::FontSize] = font;
        return label;
    }
    int TotalSets() const {
        int total = 0;
        for (const auto& control : owned)
            total += control->sets;
        return total;
    }

    std::optional<double> width = 1000;
    std::optional<double> height = 800;
    std::vector<std::unique_ptr<FakeControl>> owned;
    std::vector<ControlView*> controls; // may hold null
};

// A design layout: a clock label, a start button, a menu item without a
// body and a line under the header.
class ResizeClassTest : public ::testing::Test {
protected:
    ResizeClassTest()
        : clock(window.AddLabel(100, 50, 200, 40, 10)),
          start(window.AddLabel(0, 700, 1000, 100, 8)), menu(window.Add(ControlKind::Other, {})),
          line(window.Add(
              ControlKind::Line,
              {{P::X1, 10}, {P::Y1, 20}, {P::X2, 510}, {P::Y2, 60}, {P::BorderWidth, 2}})) {}

    void ResizeTo(double width, double height) {
        window.width = width;
        window.height = height;
        resizer.ResizeControls(window);
    }
    void ExpectBox(const FakeControl& control, double left, double top, double width,
                   double height) {
        EXPECT_DOUBLE_EQ(control[P::Left], left);
        EXPECT_DOUBLE_EQ(control[P::Top], top);
        EXPECT_DOUBLE_EQ(control[P::Width], width);
        EXPECT_DOUBLE_EQ(control[P::Height], height);
    }
    void ExpectLine(double x1, double y1, double x2, double y2, double border) {
        EXPECT_DOUBLE_EQ(line[P::X1], x1);
        EXPECT_DOUBLE_EQ(line[P::Y1], y1);
        EXPECT_DOUBLE_EQ(line[P::X2], x2);
        EXPECT_DOUBLE_EQ(line[P::Y2], y2);
        EXPECT_DOUBLE_EQ(line[P::BorderWidth], border);
    }
    void ExpectDesignLayout() {
        ExpectBox(clock, 100, 50, 200, 40);
        EXPECT_DOUBLE_EQ(clock[P::FontSize], 10);
        ExpectBox(start, 0, 700, 1000, 100);
        EXPECT_DOUBLE_EQ(start[P::FontSize], 8);
        ExpectLine(10, 20, 510, 60, 2);
    }

    FakeWindow window;
    FakeControl& clock;
    FakeControl& start;
    FakeControl& menu;
    FakeControl& line;
    Resize_Class resizer;
};

TEST_F(ResizeClassTest, RecordsRatiosOfTheDesignLayout) {
    EXPECT_FALSE(resizer.Initialised());
    resizer.InitResizeClass(window);
    EXPECT_TRUE(resizer.Initialised());
    EXPECT_EQ(resizer.LastScaleWidth(), 1000);
    EXPECT_EQ(resizer.LastScaleHeight(), 800);
    ASSERT_EQ(resizer.Ratios().size(), 4u);
    EXPECT_EQ(resizer.Ratios()[0], (ControlRatios{0.2, 0.05, 0.0625, 0.1, 0.01, 0.0125}));
    EXPECT_EQ(resizer.Ratios()[2], ControlRatios{}); // nothing to record on a menu item
    EXPECT_EQ(resizer.Ratios()[3], (ControlRatios{0.01, 0.51, 0.025, 0.075, 0.002, 0.0025}));
    EXPECT_EQ(window.TotalSets(), 0);
}

TEST_F(ResizeClassTest, DoublingBothDirectionsDoublesEverything) {
    resizer.InitResizeClass(window);
    ResizeTo(2000, 1600);
    ExpectBox(clock, 200, 100, 400, 80);
    EXPECT_DOUBLE_EQ(clock[P::FontSize], 20);
    ExpectBox(start, 0, 1400, 2000, 200);
    EXPECT_DOUBLE_EQ(start[P::FontSize], 16);
    ExpectLine(20, 40, 1020, 120, 4);
    EXPECT_EQ(resizer.LastScaleWidth(), 2000);
    EXPECT_EQ(resizer.LastScaleHeight(), 1600);
    // A control without a font is never given one.
    EXPECT_EQ(menu.values.count(P::FontSize), 0u);
}

TEST_F(ResizeClassTest, WidthOnlySpreadsColumnsAndKeepsTextSize) {
    resizer.InitResizeClass(window);
    ResizeTo(2000, 800);
    ExpectBox(clock, 200, 50, 400, 40);
    EXPECT_DOUBLE_EQ(clock[P::FontSize], 10);
    ExpectBox(start, 0, 700, 2000, 100);
    EXPECT_DOUBLE_EQ(start[P::FontSize], 8);
    ExpectLine(20, 20, 1020, 60, 2);
}

TEST_F(ResizeClassTest, HalvingTheHeightHalvesTheText) {
    resizer.InitResizeClass(window);
    ResizeTo(1000, 400);
    ExpectBox(clock, 100, 25, 200, 20);
    EXPECT_DOUBLE_EQ(clock[P::FontSize], 5);
    EXPECT_DOUBLE_EQ(start[P::FontSize], 4);
    ExpectLine(10, 10, 510, 30, 1);
}

TEST_F(ResizeClassTest, LineThicknessAndTextFollowTheTighterDirection) {
    resizer.InitResizeClass(window);
    ResizeTo(3000, 1200); // 3 times wider, 1.5 times taller
    EXPECT_DOUBLE_EQ(line[P::BorderWidth], 3);
    EXPECT_DOUBLE_EQ(clock[P::FontSize], 15);
    ResizeTo(500, 1600); // half as wide, twice as tall
    EXPECT_DOUBLE_EQ(line[P::BorderWidth], 1);
    EXPECT_DOUBLE_EQ(clock[P::FontSize], 5);
}

TEST_F(ResizeClassTest, BackToTheDesignSizeRestoresTheDesignValues) {
    resizer.InitResizeClass(window);
    for (auto [w, h] :
         {std::pair{1234.0, 567.0}, {333.0, 999.0}, {0.0, 0.0}, {17.0, 3.0}, {4000.0, 2500.0}})
        ResizeTo(w, h);
    ResizeTo(1000, 800);
    ExpectDesignLayout();
}

TEST_F(ResizeClassTest, SameSizeAgainChangesNothingUntilARealChange) {
    resizer.InitResizeClass(window);
    ResizeTo(2000, 1600);
    // Other code enlarges the clock text and moves it.
    clock.values[P::FontSize] = 30;
    clock.values[P::Left] = 5;
    int setsBefore = window.TotalSets();
    ResizeTo(2000, 1600);
    ResizeTo(2000.4, 1599.6); // the same size once rounded
    EXPECT_EQ(window.TotalSets(), setsBefore);
    EXPECT_DOUBLE_EQ(clock[P::FontSize], 30);
    EXPECT_DOUBLE_EQ(clock[P::Left], 5);
    ResizeTo(1000, 800);
    ExpectDesignLayout();
}

TEST_F(ResizeClassTest, ParkedControlsKeepTheirOffset) {
    FakeControl& hidden = window.AddBox(300 - 75000, 100, 50, 20);
    hidden.paged = true;
    FakeControl& shownOnPage = window.AddBox(300, 100, 50, 20);
    shownOnPage.paged = true;
    FakeControl& farLeft = window.AddBox(-8000, 100, 50, 20); // not in a paged container
    FakeControl& noContainer = window.AddBox(-8000, 100, 50, 20);
    noContainer.paged = std::nullopt;
    resizer.InitResizeClass(window);
    EXPECT_DOUBLE_EQ(resizer.Ratios()[4][3], 0.3);

    ResizeTo(2000, 800);
    EXPECT_DOUBLE_EQ(hidden[P::Left], 600 - 75000);
    EXPECT_DOUBLE_EQ(shownOnPage[P::Left], 600);
    EXPECT_DOUBLE_EQ(farLeft[P::Left], -16000);
    EXPECT_DOUBLE_EQ(noContainer[P::Left], -16000);
    ResizeTo(500, 800);
    EXPECT_DOUBLE_EQ(hidden[P::Left], 150 - 75000);
    ResizeTo(1000, 800);
    EXPECT_DOUBLE_EQ(hidden[P::Left], 300 - 75000);
    EXPECT_DOUBLE_EQ(hidden[P::Width], 50);
}

TEST_F(ResizeClassTest, FreshInstanceOnlyRecords) {
    window.width = 1500;
    window.height = 900;
    resizer.ResizeControls(window);
    EXPECT_TRUE(resizer.Initialised());
    EXPECT_EQ(resizer.LastScaleWidth(), 1500);
    EXPECT_EQ(resizer.LastScaleHeight(), 900);
    EXPECT_EQ(window.TotalSets(), 0);
    ExpectDesignLayout();
    // That size is now the design size.
    ResizeTo(3000, 1800);
    ExpectBox(clock, 200, 100, 400, 80);
    EXPECT_DOUBLE_EQ(clock[P::FontSize], 20);
}

TEST_F(ResizeClassTest, MinimisedToZeroThenRestoredBringsEverythingBack) {
    resizer.InitResizeClass(window);
    ResizeTo(0, 0);
    ExpectBox(clock, 0, 0, 0, 0);
    EXPECT_DOUBLE_EQ(clock[P::FontSize], 10); // a size of 0 is refused
    ExpectLine(0, 0, 0, 0, 0);
    ResizeTo(1500, 1200);
    ExpectBox(clock, 150, 75, 300, 60);
    EXPECT_DOUBLE_EQ(clock[P::FontSize], 15);
    ExpectLine(15, 30, 765, 90, 3);
}

TEST_F(ResizeClassTest, WindowWithoutSizeAtLoadIsRecordedAtItsFirstRealSize) {
    window.width = 0;
    window.height = 0;
    resizer.InitResizeClass(window);
    EXPECT_FALSE(resizer.Initialised());
    ResizeTo(1000, 800);
    EXPECT_TRUE(resizer.Initialised());
    ExpectDesignLayout();
    ResizeTo(2000, 1600);
    ExpectBox(clock, 200, 100, 400, 80);

    // An unreadable size at load is treated the same way, and a resize whose
    // size cannot be read moves nothing.
    Resize_Class other;
    window.width = std::nullopt;
    other.InitResizeClass(window);
    EXPECT_FALSE(other.Initialised());
    window.width = 2000;
    other.ResizeControls(window);
    EXPECT_TRUE(other.Initialised());
    window.height = std::nullopt;
    int setsBefore = window.TotalSets();
    other.ResizeControls(window);
    EXPECT_EQ(window.TotalSets(), setsBefore);
}

TEST_F(ResizeClassTest, FailingPropertiesAreSkippedAndTheRestGoesOn) {
    clock.failing = {P::Width};         // cannot be read at load
    window.controls.push_back(nullptr); // a control the window cannot present
    FakeControl& after = window.AddLabel(500, 400, 100, 50, 12);
    resizer.InitResizeClass(window);
    EXPECT_DOUBLE_EQ(resizer.Ratios()[0][0], 0);

    clock.failing = {P::Top}; // refuses to move down
    ResizeTo(2000, 1600);
    EXPECT_DOUBLE_EQ(clock[P::Left], 200);
    EXPECT_DOUBLE_EQ(clock[P::Top], 50);
    EXPECT_DOUBLE_EQ(clock[P::Width], 0); // from the ratio that could not be taken
    EXPECT_DOUBLE_EQ(clock[P::Height], 80);
    EXPECT_DOUBLE_EQ(clock[P::FontSize], 20);
    ExpectBox(after, 1000, 800, 200, 100);
    EXPECT_DOUBLE_EQ(after[P::FontSize], 24);
}

TEST_F(ResizeClassTest, ControlsAddedOrRemovedLaterAreHandledSafely) {
    resizer.InitResizeClass(window);
    FakeControl& added = window.AddLabel(10, 10, 10, 10, 9);
    ResizeTo(2000, 1600);
    ExpectBox(added, 10, 10, 10, 10);
    EXPECT_DOUBLE_EQ(added[P::FontSize], 9);
    EXPECT_EQ(added.sets, 0);

    // Fewer controls than recorded: the remaining positions are served.
    window.controls.resize(1);
    ResizeTo(1000, 800);
    ExpectBox(clock, 100, 50, 200, 40);

    // A fresh initialisation takes the window as it is now.
    resizer.InitResizeClass(window);
    EXPECT_EQ(resizer.Ratios().size(), 1u);
}

} // namespace
} // namespace kesto
