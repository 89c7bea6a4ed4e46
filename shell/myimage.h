// SPDX-License-Identifier: GPL-2.0-or-later
// CMyImage: the image list page's preview. It shows the current photo fitted into the control
// with the turn and levels recorded for it, and reads the photo again on request, so an edit
// made on the page or by the photo editor shows at once.
#pragma once

#include <QString>
#include <QWidget>

#include "images/preview.h"

class CMyImage : public QWidget
{
    Q_OBJECT
public:
    explicit CMyImage(QWidget* parent = nullptr);

    // Shows the photo at path; an empty path clears the preview.
    void Load(const QString& path);
    void Clear() { Load(QString()); }
    // Reads the current photo again (its file or side file changed).
    void Reload() { Load(m_path); }
    QString Path() const { return m_path; }
    // True when the shown photo has levels applied.
    bool HasLevels() const { return m_preview.transform.hasLevels(); }
    bool HasPicture() const { return !m_preview.picture.isNull(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QString m_path;
    PreviewPicture m_preview;
};
