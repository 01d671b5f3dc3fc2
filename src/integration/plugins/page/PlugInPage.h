// CPlugIn (page 274, "Plug-In"): up to eight buttons, one per plug-in whose program can be
// read, each with the program's icon; a click starts the program. "Config." opens the editor.
#pragma once

#include "ProgramChooser.h"
#include "TabPage.h"

#include <QIcon>

#include <array>
#include <functional>
#include <string>

class CPlugInGest;

class CPlugIn : public CTabPage {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 274;
    static constexpr int kFirstButton = 1113;
    static constexpr int kConfig = 1104;

    // Runs the editor; tests drive it themselves. By default it is run modally.
    using EditorRunner = std::function<void(CPlugInGest& editor)>;

    explicit CPlugIn(std::string programFolder);

    void SetEditorRunner(EditorRunner runner) { runEditor_ = std::move(runner); }

    void FillButtons();
    // The program of button slot k (empty when the slot is free).
    const std::string& SlotProgram(int slot) const;

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;

private:
    bool LoadButton(int slot, const std::string& fileName);
    void StartProgram(int slot);
    void RunEditor();

    std::string programFolder_;
    std::array<std::string, 8> programs_;
    EditorRunner runEditor_;
};
