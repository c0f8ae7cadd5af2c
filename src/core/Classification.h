#pragma once

#include <string>
#include <string_view>

namespace bw {

class Node;
struct Settings;

inline constexpr const char* PoserFileExtensions = ",,cm2,cr2,fc2,hd2,hr2,lt2,obj,pz2,pp2,pz3";
inline constexpr const char* ImageFileExtensions =
    ",,sgi,8bp,bmp,bum,dib,fpx,gif,jpg,mac,pct,pic,png,pnt,psd,tga,tif,tpi";
inline constexpr const char* SystemFileExtensions = ",,.exe,.dll,.sys,.bat,.ocx,.drv";

// Texts of the placeholder lines.
inline constexpr const char* kEmptyFolderText = "(no files found in this folder)";
inline constexpr const char* kFindLocationText =
    "(Click to find actual location- this may take a few moments.)";
inline constexpr const char* kScanForFileText =
    "(Click to scan for referencing files- this could take a few moments)";
inline constexpr const char* kScanForFileInFileText =
    "(Click to scan for files which reference this one- may take a little while)";

inline constexpr int32_t kRed = 255;

// The name's last three characters occur in the list, without regard to case (the whole name
// when it is shorter). A substring test on the tail, not a match against the items.
bool IsPoserFile(std::string_view name);
bool IsImageFile(std::string_view name);
// The same on the last four characters, against the system list.
bool IsSystemFile(std::string_view name);

// Pictures, colour and, for a system file, the tag of a file node, by its name's class.
void ClassifyFileNode(Node& node, const Settings& settings);

// Placeholder makers: each adds one red line as the last child of `parent`.
Node* AddEmptyFolderNode(Node& parent);
Node* AddFindLocationNode(Node& parent);
Node* AddScanForFileNode(Node& parent);
Node* AddScanForFileInFileNode(Node& parent);

}  // namespace bw
