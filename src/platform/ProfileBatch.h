// Many edits of one private-profile file, written with one rewrite.
//
// The edits are queued in memory and checked as WriteProfileValue checks them. Commit applies
// them in order, with the rules of ProfileText.h, to the file as it is then (one locked
// read-modify-write, so a writer that changed other keys meanwhile keeps its changes), and
// rewrites the file once, atomically. The result is the file that the single calls of
// PrivateProfile.h would have left, except that it is all or nothing: a failed Commit leaves the
// old file and reports why. Reads through the batch see the file on disk with the queued edits
// applied; nothing is cached between reads.
#pragma once

#include "ProfileDocument.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class ProfileBatch {
public:
    explicit ProfileBatch(std::string file) : file_(std::move(file)) {}

    const std::string& File() const { return file_; }
    bool Empty() const { return edits_.empty(); }

    // As WriteProfileValue, DeleteProfileKey and DeleteProfileSection; Write fails (nothing
    // queued) for names or a value that cannot be written.
    bool Write(std::string_view section, std::string_view key, std::string_view value,
               std::string* error = nullptr);
    bool DeleteKey(std::string_view section, std::string_view key, std::string* error = nullptr);
    bool DeleteSection(std::string_view section, std::string* error = nullptr);
    void DeleteSectionsIf(std::function<bool(const std::string&)> drop);

    std::optional<std::string> Read(std::string_view section, std::string_view key,
                                    bool keepQuotes = false) const;
    std::vector<std::string> SectionNames() const;
    std::vector<std::string> KeyNames(std::string_view section) const;

    // Writes the queued edits; the queue is empty afterwards whatever the outcome. A missing
    // file is created only when an edit writes a value.
    bool Commit(std::string* error = nullptr);

private:
    using Edit = std::function<void(ProfileDocument&)>;
    void Apply(ProfileDocument& doc) const;
    std::unique_ptr<ProfileDocument> Current() const;

    std::string file_;
    std::vector<Edit> edits_;
    bool writesValue_ = false;
};

// A batch shared by nested scopes: the first Begin opens it, the matching last End commits it.
class NestedProfileBatch {
public:
    void Begin(const std::string& file);
    // True when the batch was committed well or an outer scope still holds it.
    bool End(std::string* error = nullptr);
    // Commits what is queued and goes on with `file` (the file of an open batch changed).
    bool Retarget(const std::string& file, std::string* error = nullptr);
    // The open batch, or null.
    ProfileBatch* Get() const { return batch_.get(); }

private:
    std::unique_ptr<ProfileBatch> batch_;
    int depth_ = 0;
};

// A batch of a store (anything with BeginBatch and bool CommitBatch()) for the length of a
// scope. Commit tells the outcome; the end of the scope commits when Commit was not called.
template <class Store>
class BatchScope {
public:
    explicit BatchScope(Store& store) : store_(&store) { store.BeginBatch(); }
    ~BatchScope() { Commit(); }
    BatchScope(const BatchScope&) = delete;
    BatchScope& operator=(const BatchScope&) = delete;
    bool Commit()
    {
        if (store_)
            ok_ = store_->CommitBatch();
        store_ = nullptr;
        return ok_;
    }

private:
    Store* store_;
    bool ok_ = true;
};

}  // namespace platform
