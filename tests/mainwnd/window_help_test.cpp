// Help in the whole program: the Help button, F1 and the driver's help request open the topic's
// section of the help file shipped with the program; without the file the user is told.
#include "WindowTestSupport.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QUrl>

#include "MainWindowIds.h"
#include "MessageBoxRequest.h"

using namespace wndtest;

namespace {

// Takes the addresses handed to the desktop's opener in place of a browser.
class Opener : public QObject {
    Q_OBJECT
public:
    Opener() { QDesktopServices::setUrlHandler("file", this, "Open"); }
    ~Opener() override { QDesktopServices::unsetUrlHandler("file"); }
    std::vector<QUrl> opened;

public slots:
    void Open(const QUrl& url) { opened.push_back(url); }
};

}  // namespace

TEST(Help, EveryWayToHelpOpensItsTopicInTheShippedFile)
{
    WindowFixture f;
    Opener opener;
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        const auto control = f.SimRadioControl();
        ASSERT_NE(control, nullptr);
        const auto lastTopic = [&]() -> std::string {
            if (opener.opened.empty())
                return "";
            const QUrl& url = opener.opened.back();
            EXPECT_EQ(url.toLocalFile().toStdString(), (f.folder / "Corvane.html"));
            return url.fragment().toStdString();
        };

        // The Help button, F1 on the main window, the driver's request for its setup's topic.
        w.DispatchCommand(mainwnd::kHelp, ctl::kBnClicked);
        EXPECT_EQ(lastTopic(), "100");
        QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
        QApplication::sendEvent(&w, &f1);
        EXPECT_EQ(lastTopic(), "102");
        EXPECT_EQ(control("help 242", nullptr, 0), 1);
        EXPECT_TRUE(PumpUntil([&] { return lastTopic() == "242"; })) << lastTopic();

        // Each topic the program opens has its own section in the file.
        const std::string html = testing_support::GetFile(f.folder / "Corvane.html");
        for (const char* topic : {"100", "102", "242", "292", "130", "249"})
            EXPECT_NE(html.find(std::string("id=\"") + topic + "\""), std::string::npos) << topic;
        EXPECT_TRUE(f.boxes.empty());

        // Without the file: a message names it, and nothing is opened.
        std::filesystem::remove(f.folder / "Corvane.html");
        const std::size_t openedBefore = opener.opened.size();
        w.DispatchCommand(mainwnd::kHelp, ctl::kBnClicked);
        EXPECT_EQ(opener.opened.size(), openedBefore);
        ASSERT_EQ(f.boxes.size(), 1u);
        EXPECT_NE(f.boxes[0].text.find("Corvane.html\" is missing"), std::string::npos)
            << f.boxes[0].text;
        w.CloseProgram();
    });
    EXPECT_TRUE(ran);
}

#include "window_help_test.moc"
