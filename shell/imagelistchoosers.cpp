// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/imagelistchoosers.h"

#include <QCheckBox>
#include <QDialog>
#include <QFileDialog>
#include <QVBoxLayout>

#include "platform/stringtable.h"

QString DialogImageListChoosers::DialogFilter(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        filters << parts[i] + QStringLiteral(" (") + patterns + u')';
    }
    return filters.join(QStringLiteral(";;"));
}

QStringList DialogImageListChoosers::openImages(const QString& folder, const QString& filter)
{
    return QFileDialog::getOpenFileNames(nullptr, QString(), folder, DialogFilter(filter));
}

std::optional<ImageListChoosers::FolderChoice>
DialogImageListChoosers::imageFolder(const QString& title, const FolderChoice& preset)
{
    // The folder dialog is embedded so that the two check boxes sit under it.
    QDialog dialog;
    dialog.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&dialog);
    auto* chooser = new QFileDialog(&dialog, title, preset.folder);
    chooser->setWindowFlags(Qt::Widget);
    chooser->setOption(QFileDialog::DontUseNativeDialog);
    chooser->setFileMode(QFileDialog::Directory);
    chooser->setOption(QFileDialog::ShowDirsOnly);
    auto* recurse = new QCheckBox(loadString(IDS_ADD_FROM_SUBFOLDERS), &dialog);
    auto* parse = new QCheckBox(loadString(IDS_PARSE_SUBFOLDERS), &dialog);
    recurse->setChecked(preset.withSubfolders);
    parse->setChecked(preset.parseSubfolders);
    layout->addWidget(chooser);
    layout->addWidget(recurse);
    layout->addWidget(parse);
    QObject::connect(chooser, &QFileDialog::accepted, &dialog, &QDialog::accept);
    QObject::connect(chooser, &QFileDialog::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted || chooser->selectedFiles().isEmpty())
        return std::nullopt;
    return FolderChoice{chooser->selectedFiles().first(), recurse->isChecked(), parse->isChecked()};
}
