#include "repair/ReferenceIndex.h"

#include "check/ReferenceResolver.h"
#include "check/RuntimeIndex.h"
#include "repair/ReferenceUse.h"

namespace bw::repair {

namespace {

// Every library file the cache holds is still there with the same stamp, and no other is.
bool SameLibraryFiles(const check::RuntimeIndex& index, const check::CachedLibrary& library) {
    const auto& walked = index.libraryFiles();
    const auto& cached = library.files();
    if (walked.size() != cached.size()) return false;
    const size_t from = index.runtime().size() + 1;
    for (size_t i = 0; i < walked.size(); ++i) {
        // Both lists are sorted by the path below the Runtime folder.
        if (!walked[i].stamped || walked[i].stamp != cached[i].stamp ||
            std::string_view(walked[i].path.str()).substr(from) != cached[i].relative)
            return false;
    }
    return true;
}

}  // namespace

ReferenceIndex ReferenceIndex::Load(const std::string& runtime, const std::string& cachePath,
                                    const DriveMap& drives, const std::atomic<bool>* cancel) {
    ReferenceIndex result;
    result.runtime_ = WithoutTrailingSlashes(runtime);
    {
        check::CheckCache cache(cachePath);
        if (!cache.enabled()) return result;
        result.library_ = cache.Load(result.runtime_);
    }
    if (result.library_.empty()) return result;
    result.state_ = IndexState::Stale;
    const auto index = check::RuntimeIndex::Build(result.runtime_, cancel);
    if ((cancel && cancel->load()) || !index.unlisted().empty() ||
        !SameLibraryFiles(index, result.library_))
        return result;

    check::ReferenceResolver resolver(index, drives);
    result.paths_.resize(result.library_.referenceCount());
    for (uint32_t id = 0; id < result.paths_.size(); ++id) {
        const std::string_view path = result.library_.path(id);
        const auto& r = resolver.Resolve(path);
        result.paths_[id] = {UsedRelatives(path, r.status, r.candidates, result.runtime_, drives),
                             r.status == check::RefStatus::Ok};
    }
    result.state_ = IndexState::Fresh;
    return result;
}

std::optional<std::vector<ReferenceIndex::Use>> ReferenceIndex::UsesOf(
    const std::string& target) const {
    if (!fresh()) return std::nullopt;
    std::vector<Use> uses;
    const auto relative = RelativeBelow(target, runtime_);
    if (!relative) return uses;
    // Each distinct path is matched once; its number then marks the references that hold it.
    std::vector<const std::string*> hit(paths_.size(), nullptr);
    bool any = false;
    for (size_t id = 0; id < paths_.size(); ++id)
        for (const auto& u : paths_[id].used)
            if (!hit[id] && IsAtOrUnder(u, *relative)) hit[id] = &u, any = true;
    if (!any) return uses;
    for (const auto& file : library_.files()) {
        library_.ForEachReference(file, [&](const check::CachedLibrary::Reference& ref) {
            if (!hit[ref.path]) return;
            uses.push_back({runtime_ + "/" + std::string(file.relative), ref.line,
                            std::string(library_.path(ref.path)), *hit[ref.path],
                            paths_[ref.path].named});
        });
    }
    return uses;
}

std::optional<std::vector<std::string>> ReferenceIndex::UsersOf(const std::string& target) const {
    auto uses = UsesOf(target);
    if (!uses) return std::nullopt;
    std::vector<std::string> users;
    for (auto& u : *uses)
        if (users.empty() || users.back() != u.file) users.push_back(std::move(u.file));
    return users;
}

}  // namespace bw::repair
