#include "ProfileBatch.h"

#include "PrivateProfile.h"
#include "ProfileText.h"

namespace platform {

bool ProfileBatch::Write(std::string_view section, std::string_view key, std::string_view value,
                         std::string* error)
{
    if (!ProfileEntryValid(section, key, value, error))
        return false;
    edits_.push_back([s = std::string(section), k = std::string(key),
                      v = std::string(value)](ProfileDocument& doc) { doc.Set(s, k, v); });
    writesValue_ = true;
    return true;
}

bool ProfileBatch::DeleteKey(std::string_view section, std::string_view key, std::string*)
{
    // As DeleteProfileKey: a name no line can hold removes nothing and is no error.
    edits_.push_back([s = std::string(section), k = std::string(key)](ProfileDocument& doc) {
        doc.RemoveKey(s, k);
    });
    return true;
}

bool ProfileBatch::DeleteSection(std::string_view section, std::string*)
{
    edits_.push_back([s = std::string(section)](ProfileDocument& doc) { doc.RemoveSection(s); });
    return true;
}

void ProfileBatch::DeleteSectionsIf(std::function<bool(const std::string&)> drop)
{
    edits_.push_back(
        [drop = std::move(drop)](ProfileDocument& doc) { doc.RemoveSectionsIf(drop); });
}

void ProfileBatch::Apply(ProfileDocument& doc) const
{
    for (const Edit& edit : edits_)
        edit(doc);
}

std::unique_ptr<ProfileDocument> ProfileBatch::Current() const
{
    auto doc = std::make_unique<ProfileDocument>(detail::ReadProfileText(file_));
    Apply(*doc);
    return doc;
}

std::optional<std::string> ProfileBatch::Read(std::string_view section, std::string_view key,
                                              bool keepQuotes) const
{
    // Without queued edits the plain read does without building a document.
    if (edits_.empty())
        return ReadProfileValue(file_, section, key, keepQuotes);
    return Current()->Find(section, key, keepQuotes);
}

std::vector<std::string> ProfileBatch::SectionNames() const
{
    return Current()->Sections();
}

std::vector<std::string> ProfileBatch::KeyNames(std::string_view section) const
{
    return Current()->Keys(section);
}

bool ProfileBatch::Commit(std::string* error)
{
    std::vector<Edit> edits;
    edits.swap(edits_);
    const bool create = writesValue_;
    writesValue_ = false;
    if (edits.empty())
        return true;
    auto edit = [](std::string_view text, void* ctx) {
        ProfileDocument doc{std::string(text)};
        for (const Edit& e : *static_cast<std::vector<Edit>*>(ctx))
            e(doc);
        return doc.Text();
    };
    return detail::EditProfileFile(file_, create, edit, &edits, error);
}

void NestedProfileBatch::Begin(const std::string& file)
{
    if (depth_++ == 0)
        batch_ = std::make_unique<ProfileBatch>(file);
}

bool NestedProfileBatch::End(std::string* error)
{
    if (depth_ == 0)
        return true;
    if (--depth_ > 0)
        return true;
    bool ok = batch_->Commit(error);
    batch_.reset();
    return ok;
}

bool NestedProfileBatch::Retarget(const std::string& file, std::string* error)
{
    if (!batch_)
        return true;
    bool ok = batch_->Commit(error);
    batch_ = std::make_unique<ProfileBatch>(file);
    return ok;
}

}  // namespace platform
