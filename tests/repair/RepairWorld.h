#pragma once

#include <string>
#include <vector>

#include "check/CheckTestSupport.h"
#include "repair/ReferenceIndex.h"
#include "support/TestDir.h"

namespace bw::repair::fixture {

// C:\Poser4\Runtime with a few library files: references that name their files
// in another letter case, one as a Windows path, one moved and one ambiguous;
// content that nothing uses, in a second "textures" folder too.
class RepairWorld {
  public:
    RepairWorld() {
        for (const char* f :
             {"Textures/Skin/skin.jpg", "Textures/Skin/skin_bump.jpg", "Textures/New/eyes.jpg",
              "Textures/A/chrome.jpg", "Textures/B/chrome.jpg", "Textures/unused.png",
              "Textures/Spare/a.jpeg", "Textures/Spare/b.TIFF", "Textures/notes.txt",
              "textures/lower.gif", "Geometries/G/fig.obj", "Geometries/G/fig_old.obz"})
            c.createFile("Poser4/Runtime/" + std::string(f), std::string(Size(f), 'x'));
        Library("character/A/Fig.cr2",
                "{\r\nfigureResFile :Runtime:Geometries:G:fig.obj\r\n"
                "\ttextureMap :Runtime:Textures:SKIN:SKIN.JPG\r\n"
                "\ttextureMap :Runtime:Textures:Old:eyes.jpg\r\n}\r\n");
        Library("Pose/P/Pose.pz2",
                "{\n\tbumpMap \"C:\\Poser4\\Runtime\\Textures\\Skin\\skin_bump.jpg\"\n"
                "\treflectionMap :Runtime:Textures:Old:chrome.jpg\n"
                "\ttextureMap :Runtime:Textures:Skin:skin.jpg\n}\n");
        Library("Props/Prop.pp2", "textureMap :runtime:textures:skin:skin.jpg\n");
        options.runtime = runtime;
        options.drives = drives;
    }

    // Every row of a check, kept in the cache when `cached`.
    std::vector<check::CheckRow> Check(bool cached = true) {
        if (cached) options.cachePath = cachePath;
        check::fixture::RowCollector collector;
        const std::atomic<bool> cancel{false};
        check::RunLibraryCheck(options, collector, cancel);
        return std::move(collector.rows_);
    }

    // The index a check kept in the cache, as the program loads it.
    ReferenceIndex Index() const { return ReferenceIndex::Load(runtime, cachePath, drives); }

    std::string Library(const std::string& relative, const std::string& bytes) {
        return c.createFile("Poser4/Runtime/Libraries/" + relative, bytes);
    }
    // Host path below the Runtime folder.
    std::string At(const std::string& relative) const { return runtime + "/" + relative; }

    // Each file's size tells it apart in totals.
    static size_t Size(const std::string& name) { return name.size(); }

    test::TestDir c, cacheDir;
    const std::string runtime = c.host("Poser4/Runtime");
    const std::string cachePath = cacheDir.host("check.sqlite");
    const DriveMap drives = DriveMap::FromDrives({{"C:", c.path()}});
    check::CheckOptions options;
};

}  // namespace bw::repair::fixture
