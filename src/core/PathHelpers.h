#pragma once

#include <string>

namespace bw {

// ":Runtime:Geometries:Figure.obj" -> "c:\poser4\runtime\geometries\figure.obj" under the Runtime
// folder; a path that already holds a "\" comes back unchanged.
std::string PoserPathToFullPath(const std::string& path, const std::string& runtimeFolder);
// "C:\Poser4\Runtime\Textures\skin.jpg" -> "Runtime:Textures:skin.jpg"; empty without "\Runtime".
std::string FullPathToPoserPath(const std::string& path);
// Up to and including the last "\", lower-cased.
std::string GetFolderOfPath(const std::string& path);
// After the last "\", lower-cased.
std::string GetFileOfPath(const std::string& path);

}  // namespace bw
