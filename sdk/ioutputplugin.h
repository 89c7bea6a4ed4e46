// SPDX-License-Identifier: GPL-2.0-or-later
// IOutputPlugin: the object each output plug-in library makes, through which the host lists
// templates and their parameters, previews and generates albums. The host never deletes it:
// the library's GVDestroyOutputPlugin export does (see gvpluginexports.h).
//
// Lists a plug-in fills are built by the plug-in's own code, so the host copies what it keeps
// and drops the plug-in's lists before the library is unloaded.
#pragma once

#include <cstdint>

#include "sdk/gv_string.h"
#include "sdk/gv_vector.h"
#include "sdk/gvparaminfo.h"
#include "sdk/igallivex.h"
#include "sdk/resultcode.h"
#include "sdk/templateinfo.h"

class IOutputPlugin {
public:
    // Not 0 when *picture names a preview picture of the template.
    virtual int32_t GetPreview(int32_t templateId, gv_string* picture, IGallivex* host) = 0; // 0
    virtual void EndPreview() = 0;                                                         // 1
    // Fills the list with the plug-in's templates, in display order.
    virtual int32_t GetTemplates(gv_vector<TemplateInfo>* templates) = 0;                  // 2
    // Fills the list with the template's parameters and their defaults.
    virtual int32_t GetTemplateParams(int32_t templateId, gv_vector<GVParamInfo>* params) = 0; // 3
    virtual ResultCode Generate(int32_t templateId, IGallivex* host) = 0;                  // 4
    // Negative on failure.
    virtual int32_t ViewAlbum(int32_t templateId, gv_string* destination) = 0;             // 5
    virtual int32_t GetStartPage(int32_t templateId, gv_string* destination,
                                 gv_string* startPage) = 0;                                // 6
    virtual int32_t Reserved7() = 0;                                                       // 7
    // True when the template groups photos by their subfolder text.
    virtual bool UsesSubfolderText(int32_t templateId) = 0;                                // 8

protected:
    ~IOutputPlugin() = default;
};
