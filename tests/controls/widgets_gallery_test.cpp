// Renders every custom control offscreen into tests/gallery/controls.png under the build folder,
// so a person can look at them.
#include "ColorEdit.h"
#include "ColorLabel.h"
#include "ControlResources.h"
#include "FlatButton.h"
#include "FontCombo.h"
#include "FrameworkContext.h"
#include "LevelMeter.h"
#include "LinkLabel.h"
#include "MaskEdit.h"
#include "NumEdit.h"
#include "SkinSlider.h"
#include "WorkProgressDlg.h"
#include "widgets_support.h"

#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

QString GalleryFolder()
{
    QDir bin(QStringLiteral(CORVANE_BIN_DIR));
    return QDir::cleanPath(bin.absoluteFilePath(QStringLiteral("../tests/gallery")));
}

QWidget* Row(std::initializer_list<QWidget*> widgets)
{
    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : widgets)
        row->addWidget(w);
    row->addStretch();
    return box;
}

QLabel* Picture(const QPixmap& pm)
{
    auto* l = new QLabel;
    l->setPixmap(pm);
    return l;
}

TEST(Gallery, RendersEveryCustomControl)
{
    ctltest::App();
    QWidget page;
    page.setAutoFillBackground(true);
    auto* form = new QFormLayout(&page);

    auto* plain = new CFlatButton("Flat");
    auto* raised = new CFlatButton("Raised");
    raised->SetFlat();
    auto* hovered = new CFlatButton("Hovered");
    hovered->SetColor(CFlatButton::kBkIn, RgbColor(200, 220, 255));
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(hovered, &enter);
    auto* check = new CFlatButton("Check");
    check->SetButtonType(CFlatButton::kCheckBox);
    check->SetCheck(1);
    check->SetFlat();
    auto* image = new CFlatButton("Image");
    QPixmap lamp(16, 16);
    lamp.fill(Qt::transparent);
    {
        QPainter p(&lamp);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(220, 40, 40));
        p.setPen(Qt::black);
        p.drawEllipse(1, 1, 13, 13);
    }
    image->SetIcon(lamp, CFlatButton::kGreyImage);
    auto* above = new CFlatButton("Above");
    above->SetIcon(lamp, lamp);
    above->SetAlign(1);
    auto* disabled = new CFlatButton("Disabled");
    disabled->SetFlat();
    disabled->setEnabled(false);
    form->addRow("CFlatButton", Row({plain, raised, hovered, check, image, above, disabled}));

    auto* on = new COnOffButton("ATT");
    on->SetOnOffColors(RgbColor(255, 0, 0), RgbColor(0, 0, 0));
    on->SetFlat();
    on->SetOn(true);
    auto* off = new COnOffButton("NB");
    off->SetOnOffColors(RgbColor(255, 0, 0), RgbColor(0, 0, 0));
    off->SetFlat();
    off->SetOn(false);
    form->addRow("COnOffButton", Row({on, off}));

    auto* color = new CColorEdit;
    color->SetBkColor(RgbColor(0, 0, 64));
    color->SetTextColor(RgbColor(255, 220, 0));
    color->SetPointFont(14, "Sans");
    color->SetBold();
    color->setText("Colour edit");
    form->addRow("CColorEdit", color);

    auto* freq = new CNumEdit;
    freq->SetFormat(0, ',');
    freq->SetValue(14175000);
    auto* offset = new CNumEdit;
    offset->SetFormat(0, ',', true, true);
    offset->SetValue(-600);
    auto* decimal = new CNumEdit;
    decimal->SetFormat(3, ',');
    decimal->SetValue(7.05);
    auto* status = new CNumEdit;
    status->SetWindowText("OFF LINE");
    form->addRow("CNumEdit", Row({freq, offset, decimal, status}));

    auto* time = new CTimeEdit;
    DDX_TimeEditSet(QDateTime(QDate(2024, 1, 1), QTime(23, 45)), *time);
    form->addRow("CTimeEdit", time);

    auto* meter = new CLevelMeter;
    meter->SetMeterBands();
    meter->SetRangeValue();
    meter->ShowGrid();
    int reading = 15;
    meter->SetData(&reading);
    meter->setFixedSize(216, 14);
    auto* full = new CLevelMeter;
    full->setFixedSize(160, 40);  // eight bars of eight, all lit after reset
    form->addRow("CLevelMeter", Row({meter, full}));

    auto* skin = new CSkinSlider;
    skin->setRange(0, 1000000);
    skin->setFixedSize(240, 40);
    skin->InitSkin(res::kBitmapChannel);
    skin->SetPosRedraw(350000);
    auto* skin2 = new CSkinSlider;
    skin2->setRange(0, 100);
    skin2->setFixedSize(160, 40);
    skin2->InitSkin(res::kBitmapChannel2);
    skin2->SetPosRedraw(80);
    form->addRow("CSkinSlider", Row({skin, skin2}));
    auto* my = new CMySlider;
    my->setRange(0, 100);
    my->setValue(30);
    form->addRow("CMySlider", my);

    auto* label = new CColorLabel("Colour label");
    label->SetTextColor(RgbColor(255, 255, 255));
    label->SetBkColor(RgbColor(0, 128, 0));
    auto* blink = new CColorLabel("Blinking");
    blink->SetBlinkTextColors();
    blink->SetBlinkText(1);
    form->addRow("CColorLabel", Row({label, blink}));
    auto* link = new CLinkLabel("https://example.invalid/corvane");
    auto* visited = new CLinkLabel("Visited link");
    visited->SetVisited();
    form->addRow("CLinkLabel", Row({link, visited}));

    auto* fonts = new CFontCombo;
    fonts->setMinimumWidth(200);
    form->addRow("CFontCombo", fonts);

    QWidget* images = Row({Picture(res::LoadCursor(res::kCursorAvailable)->pixmap()),
                           Picture(res::LoadCursor(res::kCursorUnavailable)->pixmap()),
                           Picture(res::LoadCursor(res::kCursorHand)->pixmap()),
                           Picture(res::LoadBitmap(res::kBitmapThumb)),
                           Picture(res::LoadBitmap(res::kBitmapThumbActive)),
                           Picture(res::LoadBitmap(res::kBitmapChannel)),
                           Picture(res::LoadBitmap(res::kBitmapChannel2))});
    form->addRow("207 106 289 287 288 285 286", images);

    QWidget owner;
    framework::SetMainWindow(&owner);
    CWorkProgressDlg progress;
    progress.SetRange(0, 40, "Reading memories");
    ASSERT_TRUE(progress.Create());
    progress.SetStatus("Progress");
    progress.SetPos(25);
    progress.adjustSize();
    form->addRow("CWorkProgressDlg", Picture(progress.grab()));

    page.resize(page.sizeHint().expandedTo(QSize(640, 0)));
    const QPixmap shot = page.grab();
    progress.DestroyWindow();
    framework::SetMainWindow(nullptr);

    ASSERT_TRUE(QDir().mkpath(GalleryFolder()));
    const QString file = GalleryFolder() + "/controls.png";
    ASSERT_TRUE(shot.save(file, "PNG")) << file.toStdString();
    const QImage back(file);
    ASSERT_FALSE(back.isNull());
    EXPECT_GE(back.width(), 640);
    // The frequency field and the meter are really there: the lit red meter segments.
    bool red = false;
    const QRect m(meter->mapTo(&page, QPoint(0, 0)), meter->size());
    for (int x = m.left(); x <= m.right() && !red; ++x) {
        const QColor c = back.pixelColor(x, m.center().y());
        red = c.red() > 200 && c.green() < 50 && c.blue() < 50;
    }
    EXPECT_TRUE(red);
}

}  // namespace
