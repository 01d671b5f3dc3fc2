// The peak meter and the sliders, painted offscreen and driven with the mouse.
#include "ControlResources.h"
#include "LevelMeter.h"
#include "QtColor.h"
#include "SkinSlider.h"
#include "widgets_support.h"

#include <QPaintEvent>

#include <gtest/gtest.h>

namespace {

class MeterTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ctltest::App(); }
    void SetUp() override
    {
        ASSERT_TRUE(meter->Create(QRect(0, 0, 180, 12), &parent));
        meter->SetMeterBands();
        meter->SetRangeValue();
        meter->ShowGrid();
        meter->SetBackgroundColor(RgbColor(0xF0, 0xF0, 0xF0));
    }
    // The colour painted in the middle of segment j.
    QColor Segment(int j)
    {
        const QImage img = meter->grab().toImage();
        return img.pixelColor(j * 10 + 5, 3);  // above the grid line
    }
    ctltest::Recorder parent;
    CLevelMeter* meter = new CLevelMeter;
};

TEST_F(MeterTest, ResetShowsEverySegmentLit)
{
    EXPECT_EQ(ControlId(meter), CLevelMeter::kControlId);
    EXPECT_EQ(Segment(0), ToQColor(0x00FF00));
    EXPECT_EQ(Segment(9), ToQColor(0x00FFFF));
    EXPECT_EQ(Segment(17), ToQColor(0x0000FF));
}

TEST_F(MeterTest, ReadingsAreShownAsSet)
{
    const QColor unlit = ToQColor(DarkenColor(RgbColor(0xF0, 0xF0, 0xF0), 15));
    int v = 0;
    ASSERT_TRUE(meter->SetData(&v));
    for (int j : {0, 8, 17})
        EXPECT_EQ(Segment(j), unlit) << j;
    v = 10;
    meter->SetData(&v);
    EXPECT_EQ(Segment(9), ToQColor(0x00FFFF));
    EXPECT_EQ(Segment(10), unlit);
    v = 99;
    meter->SetData(&v);
    EXPECT_EQ(Segment(17), ToQColor(0x0000FF));
    v = 150;
    meter->SetData(&v);
    EXPECT_EQ(meter->Bands().front().peak, 150);
    v = 3;
    meter->SetData(&v);
    EXPECT_EQ(meter->Bands().front().peak, 150);  // the peak only rises
    EXPECT_EQ(meter->Bands().front().value, 3);
}

TEST_F(MeterTest, NullReadingIsRefused)
{
    const int before = meter->Bands().front().value;
    EXPECT_FALSE(meter->SetData(nullptr));
    EXPECT_EQ(meter->Bands().front().value, before);
}

// Records the areas it is asked to repaint.
class RecordingSlider : public CSkinSlider {
public:
    using CSkinSlider::CSkinSlider;
    QRegion painted;

protected:
    void paintEvent(QPaintEvent* e) override
    {
        painted += e->region();
        CSkinSlider::paintEvent(e);
    }
};

class SliderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ctltest::App(); }
    void SetUp() override
    {
        slider = new RecordingSlider(&parent);
        SetControlId(slider, 1200);
        slider->setRange(0, 1000000);
        slider->setPageStep(100000);
        slider->setGeometry(0, 0, 227, 40);
        slider->InitSkin(res::kBitmapChannel);
        EXPECT_EQ(slider->LoadHandCursor(), 0);
        parent.show();
        // The first full paint comes once the window is exposed; wait for it (bounded).
        for (int i = 0; i < 500 && slider->painted.isEmpty(); ++i)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        QApplication::processEvents();
        slider->painted = QRegion();
    }
    ctltest::Recorder parent;
    RecordingSlider* slider = nullptr;
};

TEST_F(SliderTest, MovingTheThumbRepaintsOnlyOldAndNewThumb)
{
    const QRect before = slider->ThumbRect();
    slider->SetPosRedraw(500000);
    const QRect after = slider->ThumbRect();
    QApplication::processEvents();
    ASSERT_FALSE(slider->painted.isEmpty());
    EXPECT_TRUE(QRegion(before.united(after)).contains(slider->painted.boundingRect()));
    EXPECT_FALSE(slider->painted.contains(QPoint(215, 5)));  // channel far right: untouched
    EXPECT_EQ(slider->GetPosText(), "500000");
}

TEST_F(SliderTest, NotifiesOnlyWhenEnabled)
{
    ctltest::Click(slider, Qt::LeftButton, {200, 5});
    EXPECT_TRUE(parent.commands.empty());
    slider->EnableNotify();
    ctltest::Click(slider, Qt::RightButton, {200, 5});
    ctltest::Click(slider, Qt::LeftButton, {200, 5});
    const std::vector<std::pair<int, int>> want{
        {1200, 0x204}, {1200, 0x205}, {1200, 0x201}, {1200, 0x202}};
    EXPECT_EQ(parent.commands, want);
}

TEST_F(SliderTest, ClickBesideThumbPagesAndDragMovesIt)
{
    ctltest::Click(slider, Qt::LeftButton, {200, 5});
    EXPECT_EQ(slider->value(), 100000);
    const QPoint grip = slider->ThumbRect().center();
    ctltest::Mouse(slider, QEvent::MouseButtonPress, Qt::LeftButton, grip);
    EXPECT_TRUE(slider->IsThumbPressed());
    QMouseEvent move(QEvent::MouseMove, QPointF(113, grip.y()),
                     slider->mapToGlobal(QPointF(113, grip.y())), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(slider, &move);
    EXPECT_EQ(slider->value(), 500000);
    ctltest::Mouse(slider, QEvent::MouseButtonRelease, Qt::LeftButton, {113, grip.y()});
    EXPECT_FALSE(slider->IsDragging());
    EXPECT_FALSE(slider->IsThumbPressed());
    ctltest::Key(slider, Qt::Key_End);
    EXPECT_EQ(slider->value(), 1000000);
}

TEST(MySliderTest, AnnouncesThePressBeforeMoving)
{
    ctltest::App();
    CMySlider s;
    s.setRange(0, 100);
    s.resize(200, 20);
    std::vector<int> seen;
    QObject::connect(&s, &CMySlider::leftButtonPressed, [&] { seen.push_back(s.value()); });
    ctltest::Click(&s, Qt::LeftButton, {190, 10});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], 0);
    ctltest::Click(&s, Qt::RightButton, {190, 10});
    EXPECT_EQ(seen.size(), 1u);
}

}  // namespace
