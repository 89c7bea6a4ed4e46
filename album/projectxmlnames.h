// SPDX-License-Identifier: GPL-2.0-or-later
// The element and attribute names of the XML project file, shared by writer and reader.
#pragma once

namespace projectxml
{

inline constexpr const char* Project = "project";
inline constexpr const char* Version = "Version";
inline constexpr const char* ImageData = "ImageData";
inline constexpr const char* TemplateData = "TemplateData";
inline constexpr const char* VersionText = "1.0";
inline constexpr const char* FalseText = "false";

inline constexpr const char* Thumbnail = "thumbnail";
inline constexpr const char* File = "File";

inline constexpr const char* Images = "images";
inline constexpr const char* Quantity = "Quantity";
inline constexpr const char* Image = "image";
inline constexpr const char* ImageName = "ImageName";
inline constexpr const char* Path = "Path";
inline constexpr const char* RelativePath = "RelativePath";
inline constexpr const char* Description = "Description";
inline constexpr const char* Album = "Album";

inline constexpr const char* Settings = "gvsettings";
inline constexpr const char* AlbumName = "AlbumName";
inline constexpr const char* AlbumPath = "AlbumPath";
inline constexpr const char* Favorite = "Favorite";
inline constexpr const char* Param = "param";
inline constexpr const char* Type = "Type";
inline constexpr const char* Id = "Id";
inline constexpr const char* InternalName = "InternalName";
inline constexpr const char* FriendlyName = "FriendlyName";
inline constexpr const char* Value = "value";
inline constexpr const char* Font = "font";
inline constexpr const char* String = "String";
inline constexpr const char* Number = "Number";

inline constexpr const char* Plugin = "gvplugin";
inline constexpr const char* Name = "Name";
inline constexpr const char* Template = "template";

} // namespace projectxml
