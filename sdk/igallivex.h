// SPDX-License-Identifier: GPL-2.0-or-later
// IGallivex: what a plug-in may ask of the host while it previews or generates an album.
// Files of the album are addressed by paths relative to the destination folder, photos by
// their index in the album. Streams belong to the caller, who gives them back through
// ReleaseStream. Texts returned by pointer stay valid until the next call of the same
// operation.
#pragma once

#include <cstdint>

#include "sdk/albumimageinfo.h"
#include "sdk/gvcom.h"
#include "sdk/gv_string.h"
#include "sdk/gv_vector.h"
#include "sdk/gvparaminfo.h"
#include "sdk/igraphicprocessor.h"
#include "sdk/resultcode.h"

class IGallivex {
public:
    virtual IStream* OpenAlbumFile(gv_string& relativePath) = 0;                          // 0
    virtual IStream* CreateAlbumFile(gv_string& relativePath) = 0;                        // 1
    virtual bool ReleaseStream(IUnknown* stream) = 0;                                     // 2
    virtual IStream* OpenImage(int32_t index, gv_string& extension, gv_string& path) = 0; // 3
    virtual IStream* OpenFile(gv_string fullPath) = 0;                                    // 4
    virtual gv_string* GetImagePath(int32_t index) = 0;                                   // 5
    virtual IGraphicProcessor* GetImageProcessor() = 0;                                   // 6
    virtual ResultCode CopyImage(int32_t index, gv_string relativeDestination) = 0;       // 7
    virtual ResultCode CopyFile(gv_string sourcePath, gv_string relativeDestination) = 0; // 8
    virtual gv_string* GetImageExtension(int32_t index) = 0;                              // 9
    virtual gv_string* GetAlbumFilePath(gv_string& relativePath) = 0;                     // 10
    virtual int32_t GetParams(gv_vector<GVParamInfo>* params) = 0;                        // 11
    virtual int32_t GetImages(gv_vector<AlbumImageInfo>& images) = 0;                     // 12
    virtual bool ReportProgress(int32_t percent, const char* text) = 0;                   // 13
    virtual bool Reserved14() = 0;                                                        // 14
    virtual const char* GetImageFingerprint(int32_t index) = 0;                           // 15

protected:
    ~IGallivex() = default;
};
