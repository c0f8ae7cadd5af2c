// The library check's cache bytes. The input describes files (relative paths, stamps, references)
// written in any order of their places: what comes back must be those files, in order of path,
// each as it was written. The same input is then read as cache bytes of its own, as a damaged
// database would give them: taken or refused, never read past its end.
#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include "FuzzInput.h"
#include "check/CheckCache.h"

namespace {

using namespace bw::check;

int64_t Int64(bw::fuzz::FuzzInput& in) {
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v = v << 8 | in.Byte();
    return static_cast<int64_t>(v);
}

struct File {
    FileStamp stamp;
    std::vector<ExtractedReference> refs;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    bw::fuzz::FuzzInput in(data, size);
    std::map<std::string, File> files;  // by relative path: the order the places follow
    for (int n = in.Byte() % 16; n > 0 && !in.Rest().empty(); --n) {
        std::string relative = in.Field();
        if (relative.empty()) continue;
        File f;
        f.stamp = {static_cast<uint64_t>(Int64(in)), Int64(in), Int64(in)};
        for (int r = in.Byte() % 4; r > 0; --r) {
            const uint32_t line = 1 + in.Byte() * 1000u;
            const auto keyword = static_cast<Keyword>(in.Byte() % kKeywordCount);
            f.refs.push_back({line, keyword, in.Field()});
        }
        files[std::move(relative)] = std::move(f);
    }
    // Written in an order the input picks, each with its place among them.
    std::vector<size_t> places(files.size());
    for (size_t i = 0; i < places.size(); ++i) places[i] = i;
    for (size_t i = places.size(); i > 1; --i) std::swap(places[i - 1], places[in.Byte() % i]);
    std::vector<const std::pair<const std::string, File>*> byPlace;
    for (const auto& entry : files) byPlace.push_back(&entry);
    LibraryCacheWriter writer;
    for (const size_t place : places) {
        const auto& [relative, f] = *byPlace[place];
        FileReferences refs;
        std::vector<uint32_t> ids;
        for (const auto& r : f.refs) {
            refs.Add(r.line, r.keyword, r.path);
            ids.push_back(writer.PathId(r.path));
        }
        writer.SetFile(place, relative, f.stamp, refs, ids);
    }
    const auto lib = CachedLibrary::FromBytes(writer.Finish());
    FUZZ_REQUIRE(lib.files().size() == files.size());
    size_t i = 0;
    for (const auto& [relative, f] : files) {
        const CachedFile& got = lib.files()[i++];
        FUZZ_REQUIRE(got.relative == relative);
        FUZZ_REQUIRE(got.stamp == f.stamp);
        std::vector<ExtractedReference> refs;
        lib.ForEachReference(got, [&](const CachedLibrary::Reference& r) {
            refs.push_back({r.line, r.keyword, std::string(lib.path(r.path))});
        });
        FUZZ_REQUIRE(refs == f.refs);
    }

    // The raw input as cache bytes: whatever is taken holds together.
    const auto raw = CachedLibrary::FromBytes(std::string(reinterpret_cast<const char*>(data), size));
    for (size_t k = 1; k < raw.files().size(); ++k)
        FUZZ_REQUIRE(raw.files()[k - 1].relative < raw.files()[k].relative);
    for (const CachedFile& f : raw.files())
        raw.ForEachReference(f, [&](const CachedLibrary::Reference& r) {
            FUZZ_REQUIRE(r.path < raw.referenceCount());
        });
    return 0;
}
