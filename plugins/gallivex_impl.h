// SPDX-License-Identifier: GPL-2.0-or-later
// CGallivexImpl: the host object that output plug-ins call while they preview or generate an
// album. It owns the one album the program edits and drives a generation through the chosen
// plug-in, with a progress report the user can cancel.
//
// Whatever a plug-in hands in is untrusted: a relative path must stay inside the album's
// destination folder (no absolute paths, no way out through ".." or a symbolic link), and an
// image index must name a photo of the album. Anything else gives the operation's failure
// answer (null, "" or GV_E_CREATEFILE); nothing is written outside the destination.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "album/albumproject.h"
#include "sdk/igallivex.h"

class CGallivexImpl final : public IGallivex {
public:
    CGallivexImpl();
    CGallivexImpl(const CGallivexImpl&) = delete;
    CGallivexImpl& operator=(const CGallivexImpl&) = delete;
    ~CGallivexImpl();

    AlbumProject& Album() { return m_album; }
    const AlbumProject& Album() const { return m_album; }

    // Has the chosen plug-in generate the album with the chosen template, showing the
    // "Generating album..." progress while it runs and removing it afterwards in any case.
    // The plug-in's result is returned: 0 marks the album generated, 1223 is a cancel. A
    // plug-in that throws gives GV_E_UNEXPECTED. Refused without running anything:
    // GV_E_PLUGINID when no plug-in is chosen, GV_E_TEMPLATE when no template is,
    // GV_E_PLUGINNOTINSTALLED when the plug-in has no object, GV_E_UNEXPECTED while another
    // long operation shows its progress.
    ResultCode Generate();

    // IGallivex. Texts returned by pointer stay valid until the next call of the same slot.
    IStream* OpenAlbumFile(gv_string& relativePath) override;
    IStream* CreateAlbumFile(gv_string& relativePath) override;
    bool ReleaseStream(IUnknown* stream) override;
    IStream* OpenImage(int32_t index, gv_string& extension, gv_string& path) override;
    IStream* OpenFile(gv_string fullPath) override;
    gv_string* GetImagePath(int32_t index) override;
    IGraphicProcessor* GetImageProcessor() override;
    ResultCode CopyImage(int32_t index, gv_string relativeDestination) override;
    ResultCode CopyFile(gv_string sourcePath, gv_string relativeDestination) override;
    gv_string* GetImageExtension(int32_t index) override;
    gv_string* GetAlbumFilePath(gv_string& relativePath) override;
    int32_t GetParams(gv_vector<GVParamInfo>* params) override;
    int32_t GetImages(gv_vector<AlbumImageInfo>& images) override;
    bool ReportProgress(int32_t percent, const char* text) override;
    bool Reserved14() override;
    const char* GetImageFingerprint(int32_t index) override;

    // The file that relative names below folder, or nothing when it would lie outside it:
    // folder empty, relative empty, absolute or ending in a separator, a ".." above folder,
    // or an existing symbolic link on the way that leads outside folder (or nowhere). Both
    // '/' and '\\' separate; the result has ".." and "." resolved.
    static std::optional<std::filesystem::path> ResolveBelow(const std::string& folder,
                                                             const char* relative);
    // The text after the last '.' of the file name in path, or nothing when it has none.
    static std::optional<std::string> ExtensionOf(const char* path);

private:
    const AlbumImage* photo(int32_t index) const;
    std::optional<std::filesystem::path> destinationFile(const gv_string& relative) const;
    ResultCode copyIntoDestination(const std::string& source, const gv_string& relative);

    AlbumProject m_album;
    gv_string m_imagePath;            // GetImagePath's answer
    gv_string m_extension;            // GetImageExtension's answer
    gv_string m_lastExtension{"jpg"}; // answered for photos whose name has no extension
    gv_string m_albumFilePath;        // GetAlbumFilePath's answer
    std::string m_fingerprint;        // GetImageFingerprint's answer
};
