// SPDX-License-Identifier: GPL-2.0-or-later
// IGraphicProcessor: the host's image service for plug-ins. Plug-ins open photos and run
// short command scripts ("ResizeKeepAsp", "Border", "Out", ...) over them.
//
// Threads: OpenImage, OpenImageSized, CreateEmptyImage, ReleaseImage and ProcessImage may be
// called from several threads at once as long as each call works on a different image; the
// command being executed is tracked per call. GetCommandName reports the command of the most
// recent ProcessImage call that finished, so ask it from the thread that made that call.
// SetJpegQuality and SetInterpolationMode are meant to be set before such work starts.
#pragma once

#include <cstdint>

#include "sdk/gvcom.h"
#include "sdk/gv_string.h"
#include "sdk/gv_vector.h"
#include "sdk/gvimagestream.h"
#include "sdk/gvparaminfo.h"
#include "sdk/iplainimage.h"

// What a command parameter is read as: a number, a text, or a COLORREF in the number.
enum GVCommandParamKind : int32_t {
    GVCP_NUMBER = 0,
    GVCP_TEXT = 1,
    GVCP_COLOR = 2,
};

// One step of a script: a command name (any case) and its parameter values. A number is read
// from a value's number, a text from its text. DescribeCommand fills paramCount.
struct GVCommand {
    gv_string name;
    int32_t paramCount = 0;
    gv_vector<GVParamValue> params;

    GVCommand() = default;
    explicit GVCommand(const char* commandName) : name(commandName) {}
};

class IGraphicProcessor {
public:
    virtual bool DescribeCommand(GVCommand& command, gv_vector<int32_t>& kinds) = 0;    // 0
    virtual int32_t CheckCommand(int32_t value, GVCommand command) = 0;                 // 1
    virtual IPlainImage* OpenImage(GVImageStream* stream) = 0;                          // 2
    virtual IPlainImage* OpenImageSized(GVImageStream stream, int32_t width,
                                        int32_t height) = 0;                            // 3
    virtual IPlainImage* CreateEmptyImage() = 0;                                        // 4
    virtual void ReleaseImage(IPlainImage* image) = 0;                                  // 5
    virtual HRESULT ProcessImage(IPlainImage* image, gv_vector<GVCommand>& script,
                                 GVImageStream& output) = 0;                            // 6
    virtual int32_t SetJpegQuality(int32_t quality) = 0;                                // 7
    virtual int32_t SetInterpolationMode(int32_t mode) = 0;                             // 8
    virtual void GetCommandName(gv_string& name) = 0;                                   // 9
    virtual ~IGraphicProcessor() = default;                                             // 10
};
