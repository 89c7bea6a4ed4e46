// SPDX-License-Identifier: GPL-2.0-or-later
// CHtmlPlugin: the HTML output plug-in. Its templates are the themes of CThemeCatalog; it
// makes web albums (valid HTML5 with no outside resources) through the host alone.
#pragma once

#include "outputs/html/themecatalog.h"
#include "sdk/ioutputplugin.h"

class CHtmlPlugin final : public IOutputPlugin
{
public:
    // ViewAlbum only checks the start page when this is set to 1 (tests, headless use).
    static constexpr const char* NoBrowserVariable = "GALLIVEX_NO_BROWSER";

    int32_t GetPreview(int32_t templateId, gv_string* picture, IGallivex* host) override;
    void EndPreview() override;
    int32_t GetTemplates(gv_vector<TemplateInfo>* templates) override;
    int32_t GetTemplateParams(int32_t templateId, gv_vector<GVParamInfo>* params) override;
    ResultCode Generate(int32_t templateId, IGallivex* host) override;
    int32_t ViewAlbum(int32_t templateId, gv_string* destination) override;
    int32_t GetStartPage(int32_t templateId, gv_string* destination, gv_string* startPage) override;
    int32_t Reserved7() override;
    bool UsesSubfolderText(int32_t templateId) override;

    virtual ~CHtmlPlugin() = default;

private:
    QString startPageOf(int32_t templateId, const gv_string* destination);

    CThemeCatalog m_catalog;
};
