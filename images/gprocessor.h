// SPDX-License-Identifier: GPL-2.0-or-later
// CGProcessor: the host's image service for output plug-ins. It opens photos as plain images
// and runs the plug-ins' command scripts over them: each command is checked, then carried out
// by one operation of the plain image, and the result is written to the script's output.
//
// JPEG quality and interpolation mode are shared by every image the processor opens or
// creates, taken when the image is made. Opening, creating, releasing and processing may run
// on several threads at once on different images; GetCommandName answers per thread.
#pragma once

#include <atomic>
#include <cstdint>

#include "sdk/igraphicprocessor.h"

class CGProcessor : public IGraphicProcessor
{
public:
    static constexpr int32_t DefaultJpegQuality = 75;
    static constexpr int32_t DefaultInterpolationMode = 5; // nearest neighbour

    CGProcessor() = default;
    CGProcessor(const CGProcessor&) = delete;
    CGProcessor& operator=(const CGProcessor&) = delete;
    ~CGProcessor() override = default;

    // Sets command.paramCount and appends one GVCommandParamKind per parameter; false for a
    // name that is no command (names match in any case).
    bool DescribeCommand(GVCommand& command, gv_vector<int32_t>& kinds) override;
    // Kept for plug-ins that call it; checks nothing and returns 0.
    int32_t CheckCommand(int32_t value, GVCommand command) override;
    // A plain image opened from the stream's path (its two numbers go to the plain image),
    // with the current settings; null when the file cannot be opened.
    IPlainImage* OpenImage(GVImageStream* stream) override;
    // The same, decoded at about width x height.
    IPlainImage* OpenImageSized(GVImageStream stream, int32_t width, int32_t height) override;
    // An empty plain image with the current settings.
    IPlainImage* CreateEmptyImage() override;
    // Destroys an image from this processor; null is allowed.
    void ReleaseImage(IPlainImage* image) override;
    // Checks the whole script, then runs it on image (or on a new plain image when image is
    // null) and writes the result to output; a script that does not end with "Out" gets one.
    // S_OK destroys the image. E_FAIL for an unknown command, values that do not fit a
    // command or an operation that fails; STG_E_CANTSAVE when writing fails. On failure a
    // passed-in image stays the caller's.
    HRESULT ProcessImage(IPlainImage* image, gv_vector<GVCommand>& script,
                         GVImageStream& output) override;
    // Both return the value set, which applies to images made from then on.
    int32_t SetJpegQuality(int32_t quality) override;
    int32_t SetInterpolationMode(int32_t mode) override;
    // The command the calling thread's latest ProcessImage is running or last ran (the
    // implicit "Out" included); "Unknown" before any, or after a name that is no command.
    void GetCommandName(gv_string& name) override;

private:
    IPlainImage* newImageWithSettings() const;

    std::atomic<int32_t> m_jpegQuality{DefaultJpegQuality};
    std::atomic<int32_t> m_interpolationMode{DefaultInterpolationMode};
};
