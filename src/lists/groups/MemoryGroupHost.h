// What the memory groups page needs of the two memory windows, provided by the memories part.
#pragma once

#include <string>

class IMemoryGroupHost {
public:
    virtual ~IMemoryGroupHost() = default;
    // The file the PC memories window holds.
    virtual std::string PcFilePath() const = 0;
    // Writes the PC list to its file; false (the user was told) when it was not written.
    virtual bool SavePcList() = 0;
    // The window takes the file and loads it (a missing file is an empty list).
    virtual void LoadPcList(const std::string& path) = 0;
    virtual bool PcWindowShown() const = 0;
    virtual void ShowPcWindow(bool shown) = 0;
    virtual bool RadioWindowShown() const = 0;
    virtual void ShowRadioWindow(bool shown) = 0;
};
