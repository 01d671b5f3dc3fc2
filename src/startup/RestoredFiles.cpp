#include "RestoredFiles.h"

#include "ProgramFolder.h"

namespace restored_files {

const std::vector<Pass>& Passes()
{
    static const std::vector<Pass> passes{
        {"*.bkp", "ini"},
        {"*.da_", "dat"},
        {"*.me_", "mem"},
        {"*.wa_", "wav"},
    };
    return passes;
}

std::string TargetName(const std::string& name, const char* extension)
{
    std::size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return {};
    return name.substr(0, dot + 1) + extension;
}

int RenamePending(const std::string& folder,
                  const std::function<void(const std::string&)>& showError)
{
    int renamed = 0;
    for (const Pass& pass : Passes()) {
        for (const std::string& name : platform::GlobFolder(folder, pass.pattern)) {
            std::string target = TargetName(name, pass.extension);
            if (target.empty())
                continue;
            // rename() replaces the target in one step, so the current file is removed only once
            // its replacement is in place; other spellings of the target go after that.
            std::string error;
            if (platform::RenameInFolder(folder, name, target, &error))
                ++renamed;
            else if (showError)
                showError("Error: " + error);
        }
    }
    return renamed;
}

}  // namespace restored_files
