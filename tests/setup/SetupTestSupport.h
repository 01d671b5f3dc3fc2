// Shared by the setup dialog tests: one QApplication with the custom controls, a language table
// whose message boxes are recorded and answered from a queue, and a program folder with its INI
// and registry files and a fake device folder.
#pragma once

#include "CustomControls.h"
#include "FrameworkContext.h"
#include "Ini.h"
#include "Language.h"
#include "Profile.h"
#include "SetupContext.h"
#include "TempDir.h"
#include "TestWaveSystem.h"

#include <QApplication>
#include <QComboBox>
#include <QTimer>

#include <deque>
#include <filesystem>
#include <functional>
#include <vector>

namespace setuptest {

namespace fs = std::filesystem;

inline QApplication& App()
{
    static int argc = 1;
    static char name[] = "setup_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        auto* a = new QApplication(argc, argv);
        RegisterCustomControls();
        return a;
    }();
    return *app;
}

// Chooses entry `index` as a user does (the dialog hears of it).
inline void Choose(QComboBox* combo, int index)
{
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

// Runs `step` once the next modal loop runs.
inline void WhenModal(std::function<void()> step)
{
    QTimer::singleShot(0, &App(), std::move(step));
}

struct SetupFixture {
    QApplication& app = App();
    testing_support::TempDir folder{"corvane-setup"};
    std::string iniPath = folder / "Corvane.ini";
    std::string registryPath = folder / "registry.ini";
    std::string devFolder = folder / "dev";
    CIni ini;
    Profile registry{registryPath};
    CLanguage language;
    std::vector<MessageBoxRequest> boxes;
    std::deque<int> answers;
    platform::RegistryProfile ports{registryPath};
    setup::SetupContext context{ini, registry, language, folder.path};

    SetupFixture()
    {
        ini.SetPath(iniPath.c_str());
        fs::create_directories(devFolder);
        fs::create_directories(folder / "Drivers");
        context.scan.devFolder = devFolder;
        context.scan.registry = &ports;
        context.audioSystem = [] { return std::make_unique<audio::TestWaveSystem>(); };
        language.SetMessageBoxSink([this](const MessageBoxRequest& r) {
            boxes.push_back(r);
            if (answers.empty())
                return (r.style & mb::kButtonsMask) == mb::kYesNo ? mb::kIdNo : mb::kIdOk;
            const int a = answers.front();
            answers.pop_front();
            return a;
        });
        framework::SetLanguage(&language);
        framework::SetIni(&ini);
    }
    ~SetupFixture()
    {
        framework::SetIni(nullptr);
        framework::SetLanguage(nullptr);
    }

    std::string Ini() const { return testing_support::GetFile(iniPath); }
    std::string Registry() const { return testing_support::GetFile(registryPath); }
    void AddSimDriver() const
    {
        fs::copy_file(std::string(CORVANE_BIN_DIR) + "/Drivers/SimRadio.so",
                      folder / "Drivers/SimRadio.so", fs::copy_options::overwrite_existing);
    }
    std::vector<std::string> BoxTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& b : boxes)
            texts.push_back(b.text);
        return texts;
    }
};

}  // namespace setuptest
