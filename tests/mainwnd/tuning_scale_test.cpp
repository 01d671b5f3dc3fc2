// The "Bands" page: groups of band sliders, following the frequency, selecting and tuning from
// its controls, and a rendering of the page to a PNG file for a person to look at.
#include "CommandTarget.h"
#include "FlatButton.h"
#include "Ini.h"
#include "Scale.h"
#include "SkinSlider.h"
#include "TempDir.h"
#include "TuningGuiSupport.h"
#include "TuningTestSupport.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QImage>

#include <gtest/gtest.h>

namespace {

using testing_support::PutFile;
using testing_support::TempDir;

class ScalePageTest : public ::testing::Test {
protected:
    QApplication& app = tuninggui::App();
    TempDir dir;
    std::string path = dir / "Corvane.ini";
    CIni ini;
    bands::CBandTable table;
    tuningtest::FakeTarget target;
    bands::CTuning tuning{table, ini, target};
    QWidget parent;
    std::unique_ptr<CScale> page;

    void SetUp() override { ini.SetPath(path.c_str()); }
    // Builds and shows the page, as the tab control would.
    void Open()
    {
        page = std::make_unique<CScale>(tuning, ini);
        ASSERT_TRUE(page->Create(CScale::kTemplateId, &parent));
        parent.resize(520, 260);
        page->resize(520, 260);
        parent.show();
        page->show();
        QCoreApplication::processEvents();
    }
    std::string Label(int k) { return page->GetDlgItemText(CScale::kFirstLabel + k); }
    void Click(int id) { page->GetDlgItemAs<QAbstractButton>(id)->click(); }
};

TEST_F(ScalePageTest, ShowsTheStoredGroupAndKeepsTheChoice)
{
    PutFile(path, "[CurrentSet]\nBande=2\n");
    table.Row(5).frequency = 0;
    Open();
    EXPECT_EQ(page->Group(), 2);
    EXPECT_EQ(Label(0), "20mt");
    EXPECT_EQ(Label(3), "12mt");
    EXPECT_EQ(page->Slider(0)->minimum(), 14000000);
    EXPECT_EQ(page->Slider(0)->maximum(), 14350000);
    EXPECT_EQ(page->Slider(0)->value(), 14175000);
    EXPECT_EQ(page->Slider(1)->value(), 18068000 + (18168000 - 18068000) / 2);
    EXPECT_TRUE(page->GetDlgItemAs<COnOffButton>(1212)->IsOn());
    EXPECT_FALSE(page->GetDlgItemAs<COnOffButton>(1210)->IsOn());

    Click(1213);
    EXPECT_EQ(page->Group(), 3);
    EXPECT_EQ(Label(3), "70cm");
    EXPECT_EQ(page->Slider(3)->minimum(), 430000000);
    EXPECT_EQ(ini.GetInt("CurrentSet", "Bande", 0), 3);
    EXPECT_TRUE(page->GetDlgItemAs<COnOffButton>(1213)->IsOn());
    EXPECT_FALSE(page->GetDlgItemAs<COnOffButton>(1212)->IsOn());
}

TEST_F(ScalePageTest, StoredGroupOutOfRangeShowsTheFirst)
{
    PutFile(path, "[CurrentSet]\nBande=7\n");
    Open();
    EXPECT_EQ(page->Group(), 1);
    EXPECT_EQ(Label(0), "160mt");
    EXPECT_EQ(ini.GetInt("CurrentSet", "Bande", 0), 1);
}

TEST_F(ScalePageTest, FollowsTheFrequencyOnTheSliderThatHoldsIt)
{
    Open();
    page->SetFrequency(7100000);
    EXPECT_EQ(page->Slider(2)->value(), 7100000);
    // A slider's minimum itself, and frequencies outside every slider, move nothing.
    page->SetFrequency(3500000);
    EXPECT_EQ(page->Slider(1)->value(), 3650000);
    page->SetFrequency(14100000);
    for (int k = 0; k < 4; ++k)
        EXPECT_NE(page->Slider(k)->value(), 14100000);

    // The tuning's display reaches the page through SetFrequency as well.
    target.field = 10120000;
    page->SetFrequency(static_cast<int64_t>(target.field));
    EXPECT_EQ(page->Slider(3)->value(), 10120000);
}

TEST_F(ScalePageTest, LabelsSelectBandsAndSlidersTune)
{
    Open();
    Click(CScale::kFirstLabel + 1);
    EXPECT_EQ(target.field, 3650000);
    EXPECT_EQ(target.sent.front(), (tuningtest::Sent{0x05, 3650000, 0}));
    EXPECT_EQ(tuning.CurrentBand(), 1);

    page->Slider(2)->setValue(7123000);
    framework::SendCommand(page->Slider(2), CScale::kFirstSlider + 2, ctl::kLButtonUp);
    EXPECT_EQ(target.field, 7123000);
    EXPECT_EQ(target.applies, 1);
}

TEST_F(ScalePageTest, RendersToPng)
{
    PutFile(path, "[CurrentSet]\nBande=1\n");
    Open();
    page->SetFrequency(7100000);
    const QImage image = page->grab().toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(image.width(), 300);
    const QString file = QCoreApplication::applicationDirPath() + "/tuning_scale_page.png";
    EXPECT_TRUE(image.save(file));
    // The page is drawn: not one flat colour.
    const QRgb first = image.pixel(0, 0);
    bool varied = false;
    for (int y = 0; y < image.height() && !varied; y += 3) {
        for (int x = 0; x < image.width() && !varied; x += 3)
            varied = image.pixel(x, y) != first;
    }
    EXPECT_TRUE(varied);
}

}  // namespace
