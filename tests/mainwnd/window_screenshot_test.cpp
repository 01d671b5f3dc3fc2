// Pictures of the main window at the default font and at a larger one, for a person to look at:
// tests/main_window.png and tests/main_window_large.png beside the test program.
#include "WindowTestSupport.h"

#include <QPixmap>

#include "NumEdit.h"

using namespace wndtest;

namespace {

QSize Shoot(WindowFixture& f, const QString& name)
{
    QSize size;
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        auto* field = qobject_cast<CNumEdit*>(w.GetDlgItem(radio::ctl::kFrequency));
        PumpUntil([&] { return field != nullptr && field->GetValue() >= 30000; });
        PumpUntil([&] { return !w.GetDlgItemText(radio::ctl::kSText).empty(); },
                  std::chrono::seconds(3));
        const QPixmap shot = w.grab();
        // The room the window asks for: on a screen too small for it, it scrolls instead.
        size = w.sizeHint();
        EXPECT_TRUE(shot.save(QApplication::applicationDirPath() + "/" + name));
        // Every control of the panel fits: nothing is squeezed below its own minimum.
        for (QWidget* child : w.findChildren<QWidget*>())
            if (child->isVisible() && child->minimumSizeHint().isValid()) {
                EXPECT_GE(child->width(), std::min(child->minimumSizeHint().width(), 1))
                    << child->metaObject()->className();
            }
        w.CloseProgram();
    });
    EXPECT_TRUE(ran);
    return size;
}

}  // namespace

TEST(MainWindowPicture, DefaultAndLargeFont)
{
    QSize normal, large;
    {
        WindowFixture f;
        normal = Shoot(f, "main_window.png");
    }
    {
        WindowFixture f;
        f.profile->WriteProfileString("CurrentSet", "FontMain", "DejaVu Sans");
        f.profile->WriteProfileInt("CurrentSet", "FontSizeMain", 14);
        large = Shoot(f, "main_window_large.png");
    }
    ASSERT_TRUE(normal.isValid());
    // The larger font re-flows the window larger.
    EXPECT_GT(large.width(), normal.width());
    EXPECT_GT(large.height(), normal.height());
}
