// "...": the file dialog that picks a program to start. Only a file this user may run is taken;
// another choice shows message 171 and gives nothing.
#pragma once

#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace startup_programs {

using ProgramChooser = std::function<std::optional<std::string>(QWidget* owner)>;

std::optional<std::string> ChooseProgram(QWidget* owner);

// Message 171 "%s is not a valid path" for the path.
void ShowInvalidProgram(const std::string& path);

}  // namespace startup_programs
